// The winding drawing painted and as screen readers find it: the windings' fills and hatchings
// told apart on every style's palette and on paper, the window's edge over whatever overflows it,
// nothing outside the drawing's area, and a description that follows the figures.

#include <QAccessible>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

#include "colours/readable_colour.h"
#include "tests/support/style_palettes.h"
#include "ui/check/winding_drawing.h"

namespace tremira::ui {
namespace {

using colours::ContrastRatio;
using P = WindingPart;
constexpr WindowShape kRod = WindowShape::Rectangle;
constexpr WindowShape kRing = WindowShape::Circle;

std::vector<std::pair<QString, QPalette>> screenAndPaperPalettes() {
    std::vector<std::pair<QString, QPalette>> palettes = testing::EveryStylePalette();
    palettes.emplace_back(QStringLiteral("paper"), PaperPalette());
    return palettes;
}

TEST(WindingDrawingColours, WindingsStandOutFromEachOtherAndTheWindowAndTheirNamesRead) {
    for (auto [name, palette] : screenAndPaperPalettes()) {
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
            SCOPED_TRACE(name.toStdString() + (group == QPalette::Active ? " active" : " inactive"));
            palette.setCurrentColorGroup(group);
            const QColor window = ColoursOf(P::Window, palette).fill;
            const QColor first = ColoursOf(P::WindingI, palette).fill;
            const QColor second = ColoursOf(P::WindingII, palette).fill;
            EXPECT_GE(ContrastRatio(first, window), colours::kDistinctContrast);
            EXPECT_GE(ContrastRatio(second, window), colours::kDistinctContrast);
            EXPECT_GE(ContrastRatio(first, second), colours::kDistinctContrast);
            for (const P part : {P::Steel, P::WindingI, P::WindingII}) {
                const PartColours colours = ColoursOf(part, palette);
                EXPECT_GE(ContrastRatio(colours.ink, colours.fill), colours::kReadableContrast)
                    << "part " << static_cast<int>(part);
            }
        }
    }
}

// Large enough that the edges' lines cover whole pixels wherever they fall.
QFont drawingFont() {
    QFont font;
    font.setPixelSize(24);
    return font;
}

// The drawing painted into `area` of an image of a colour it never uses, 20 pixels larger on
// every side, in a font of a fixed size.
QImage painted(const WindingSizes &sizes, const QPalette &palette, const QRectF &area, QColor around) {
    QImage image(QSize(area.right() + 20, area.bottom() + 20), QImage::Format_RGB32);
    image.fill(around);
    QPainter painter(&image);
    painter.setFont(drawingFont());
    PaintWinding(painter, area, sizes, palette);
    return image;
}

// The first piece of `part` as the drawing places it in `area`.
QRectF placed(const WindingSizes &sizes, const QRectF &area, WindingPart part) {
    QImage device(1, 1, QImage::Format_RGB32);
    for (const WindingPiece &piece : LayOutPainted(sizes, area, QFontMetricsF(drawingFont(), &device)).pieces) {
        if (piece.part == part) return piece.outer;
    }
    return {};
}

bool near(QColor pixel, QColor colour) {
    return std::abs(pixel.red() - colour.red()) + std::abs(pixel.green() - colour.green()) +
               std::abs(pixel.blue() - colour.blue()) <
           30;
}

// The pixel at `x` or one beside it, as a line's antialiased edge may fall between two.
bool nearAround(const QImage &image, double x, int y, QColor colour) {
    const int middle = static_cast<int>(std::floor(x));
    for (int column = middle - 1; column <= middle + 1; ++column) {
        if (near(image.pixelColor(column, y), colour)) return true;
    }
    return false;
}

TEST(WindingDrawingPainting, TheWindowsEdgeShowsOverWhatOverflowsAndNothingLeavesTheArea) {
    const QColor around(0xff, 0x00, 0xff);
    // 30 + 70 mm of windings in a 50 mm window on a 10 mm leg: winding II runs over the window's
    // edge and the right leg and past the steel.
    const WindingSizes sizes{kRod, 50, 60, 10, 30, 70, false, {}};
    const QRectF area(20.5, 20.5, 700, 800);
    const QRectF window = placed(sizes, area, P::Window);
    for (const auto &[name, palette] : screenAndPaperPalettes()) {
        SCOPED_TRACE(name.toStdString());
        const QImage image = painted(sizes, palette, area, around);
        const QColor edge = palette.color(QPalette::Text);
        int edgeRows = 0;
        for (int y = static_cast<int>(window.top()) + 2; y < window.bottom() - 2; ++y) {
            ++edgeRows;
            EXPECT_TRUE(nearAround(image, window.left(), y, edge)) << "row " << y;
            EXPECT_TRUE(nearAround(image, window.right(), y, edge)) << "row " << y;
        }
        EXPECT_GT(edgeRows, 100);
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (area.intersects(QRectF(x, y, 1, 1))) continue;
                ASSERT_EQ(image.pixelColor(x, y), around) << x << ", " << y;
            }
        }
    }
}

// How many pixels of a winding's ink in `patch` continue up to the right (as in "/") and how many
// down to the right (as in "\").
struct Slants {
    int rising = 0;
    int falling = 0;
};

Slants slantsOf(const QImage &image, const QRect &patch, const PartColours &colours) {
    const auto ink = [&](int x, int y) {
        const QColor pixel = image.pixelColor(x, y);
        return ContrastRatio(pixel, colours.ink) < ContrastRatio(pixel, colours.fill);
    };
    Slants slants;
    for (int y = patch.top(); y <= patch.bottom(); ++y) {
        for (int x = patch.left(); x <= patch.right(); ++x) {
            if (!ink(x, y)) continue;
            slants.rising += ink(x + 1, y - 1);
            slants.falling += ink(x + 1, y + 1);
        }
    }
    return slants;
}

// A square of `side` pixels in the upper part of the band, clear of its edges and its name.
QRect patchIn(const QRectF &band, int side) {
    return QRect(static_cast<int>(band.center().x()) - side / 2, static_cast<int>(band.top()) + side / 2, side, side);
}

TEST(WindingDrawingPainting, TheWindingsAreHatchedAtOppositeSlants) {
    const WindingSizes sizes{kRod, 50, 60, 10, 20, 20, true, {}};
    const QRectF area(0, 0, 700, 900);
    const QRect first = patchIn(placed(sizes, area, P::WindingI), 30);
    const QRect second = patchIn(placed(sizes, area, P::WindingII), 30);
    ASSERT_GE(placed(sizes, area, P::WindingI).width(), 40);
    for (const auto &[name, palette] : screenAndPaperPalettes()) {
        SCOPED_TRACE(name.toStdString());
        const QImage image = painted(sizes, palette, area, Qt::black);
        const Slants one = slantsOf(image, first, ColoursOf(P::WindingI, palette));
        const Slants two = slantsOf(image, second, ColoursOf(P::WindingII, palette));
        EXPECT_GT(one.rising, 2 * one.falling);
        EXPECT_GT(two.falling, 2 * two.rising);
    }
}

TEST(WindingDrawingAccessibility, NamesTheDrawingAndDescribesItsFiguresAndVerdict) {
    const struct {
        const char *name;
        calc::Figure<WindingSizes> sizes;
        QString description;
    } cases[] = {
        {"both fit", WindingSizes{kRod, 50, 60, 10, 10, 15.25, true, {}},
         u"Окно сердечника в масштабе: окно 50 × 60 мм; I: 10 мм, II: 15,3 мм; помещается."_qs},
        {"too many", WindingSizes{kRod, 50, 60, 10, 30, 35, false, {}},
         u"Окно сердечника в масштабе: окно 50 × 60 мм; I: 30 мм, II: 35 мм; не помещается."_qs},
        {"winding I closes the hole", WindingSizes{kRing, 100, 0, 20, std::nullopt, std::nullopt, false, {}},
         u"Окно сердечника в масштабе: отверстие ⌀ 100 мм; не помещается."_qs},
        {"builds not known yet", WindingSizes{kRing, 100, 0, 20, 10, std::nullopt, true, {}},
         u"Окно сердечника в масштабе: отверстие ⌀ 100 мм; I: 10 мм."_qs},
        {"cannot be drawn", calc::Reason{calc::NoFigure::NotGiven, "ширина окна"}, u"ширина окна: не задано"_qs},
    };
    WindingDrawing drawing;
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&drawing);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->text(QAccessible::Name).toStdString(), "Чертёж намотки");
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        drawing.setFigure(c.sizes);
        EXPECT_EQ(accessible->text(QAccessible::Description).toStdString(), c.description.toStdString());
    }
}

}  // namespace
}  // namespace tremira::ui
