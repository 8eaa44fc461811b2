// The connection diagram painted and as screen readers find it: scaled into an area smaller than
// itself with nothing outside it, on every style's palette, and which leads go where in words.

#include <QAccessible>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "tests/support/style_palettes.h"
#include "tests/ui/check/run_a_connections.h"
#include "ui/check/connection_diagram.h"
#include "ui/check/winding_drawing.h"

namespace tremira::ui {
namespace {

using calc::Connections;

using testing::kRunAConnections;

TEST(ConnectionDiagramPainting, StaysInsideAnAreaSmallerThanItselfAndDrawsInIt) {
    const QColor around(0xff, 0x00, 0xff);
    const QRectF area(20, 20, 120, 90);
    std::vector<std::pair<QString, QPalette>> palettes = testing::EveryStylePalette();
    palettes.emplace_back(QStringLiteral("paper"), PaperPalette());
    for (const auto &[name, palette] : palettes) {
        SCOPED_TRACE(name.toStdString());
        QImage image(160, 130, QImage::Format_RGB32);
        image.fill(around);
        QPainter painter(&image);
        painter.fillRect(area, palette.color(QPalette::Base));
        PaintConnections(painter, area, kRunAConnections, palette);
        painter.end();
        int ink = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (!area.contains(QPointF(x + 0.5, y + 0.5))) {
                    ASSERT_EQ(image.pixelColor(x, y), around) << x << ", " << y;
                } else {
                    ink += image.pixelColor(x, y) != palette.color(QPalette::Base);
                }
            }
        }
        EXPECT_GT(ink, 200) << "the diagram is drawn";
    }
}

TEST(ConnectionDiagramAccessibility, SaysWhichLeadsGoWhere) {
    const struct {
        const char *name;
        calc::Figure<Connections> connections;
        QString description;
    } cases[] = {
        {"run A", kRunAConnections,
         u"Схема соединений. Обмотка I: начало и выводы после витков 83, 90, 98, 108, 143; сеть 220 В: начало и "
         u"переключатель отводов (витки 83, 90, 98, 108); сеть 380 В: начало и виток 143; включают одну сеть из "
         u"двух; отводы — только для сети 220 В; обмотка II: один вывод к держаку, другой к клемме массы."_qs},
        {"no taps", Connections{{{0, false, false}, {83, true, false}}, "220 В", "", false},
         u"Схема соединений. Обмотка I: начало и выводы после витков 83; сеть 220 В: начало и виток 83; обмотка "
         u"II: один вывод к держаку, другой к клемме массы."_qs},
        {"cannot be drawn", calc::Reason{calc::NoFigure::NotANumber, "отводы"}, u"отводы: не число"_qs},
    };
    ConnectionDiagram diagram;
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&diagram);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->text(QAccessible::Name).toStdString(), "Схема соединений");
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        diagram.setFigure(c.connections);
        EXPECT_EQ(accessible->text(QAccessible::Description).toStdString(), c.description.toStdString());
    }
}

}  // namespace
}  // namespace tremira::ui
