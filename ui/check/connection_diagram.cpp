#include "ui/check/connection_diagram.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QStringList>

#include <algorithm>

#include "ui/check/drawing/connection_layout.h"
#include "ui/fields/utf8_text.h"

namespace tremira::ui {
namespace {

ConnectionLayout layoutFor(const calc::Connections &connections, const QFontMetricsF &metrics) {
    return LayOutConnections(connections, metrics.lineSpacing(),
                             [&metrics](const QString &text) { return metrics.horizontalAdvance(text); });
}

QString turnsOf(const std::vector<int> &turns) {
    QStringList numbers;
    for (int count : turns) numbers << QString::number(count);
    return numbers.join(QStringLiteral(", "));
}

// The leads each mains voltage takes, besides the start.
std::vector<int> leadsFor(const calc::Connections &c, bool second) {
    std::vector<int> turns;
    for (const calc::LeadI &lead : c.leads) {
        if (second ? lead.secondMains : lead.designMains) turns.push_back(lead.turns);
    }
    return turns;
}

void paintLayout(QPainter &painter, const ConnectionLayout &layout, const QFontMetricsF &metrics,
                 const QPalette &palette) {
    const QColor ink = palette.color(QPalette::Text);
    const double stroke = metrics.lineSpacing() / 12;
    painter.setPen(QPen(ink, stroke));
    painter.setBrush(Qt::NoBrush);
    painter.drawLines(layout.wires.data(), static_cast<int>(layout.wires.size()));
    painter.setPen(QPen(ink, 2 * stroke));
    constexpr int kQuarter = 90 * 16;  // Qt's arcs are in sixteenths of a degree
    for (const QRectF &turn : layout.coilTurns) painter.drawArc(turn, kQuarter, 2 * kQuarter);
    painter.setPen(QPen(ink, stroke));
    painter.setBrush(palette.color(QPalette::Base));
    const double radius = metrics.lineSpacing() / 5;
    for (const QPointF &terminal : layout.terminals) painter.drawEllipse(terminal, radius, radius);
    for (const QRectF &choke : layout.chokes) painter.drawRect(choke);  // over its wire
    for (const DiagramText &text : layout.texts)
        painter.drawText(text.space, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, text.text);
}

}  // namespace

void PaintConnections(QPainter &painter, const QRectF &area, const calc::Figure<calc::Connections> &connections,
                      const QPalette &palette) {
    painter.save();
    if (ReadyToPaint(painter, area, connections, palette)) {
        const QFontMetricsF metrics(painter.font(), painter.device());
        const ConnectionLayout layout = layoutFor(connections.value(), metrics);
        // Smaller, text and all, where the area is smaller than the diagram; never larger.
        const double factor = std::min({1.0, area.width() / layout.size.width(), area.height() / layout.size.height()});
        painter.translate(area.left() + (area.width() - layout.size.width() * factor) / 2, area.top());
        painter.scale(factor, factor);
        paintLayout(painter, layout, metrics, palette);
    }
    painter.restore();
}

QString ConnectionsDescription(const calc::Figure<calc::Connections> &connections) {
    if (!connections.known()) return ToQString(calc::ReasonText(connections.why()));
    const calc::Connections &c = connections.value();
    std::vector<int> all;
    for (const calc::LeadI &lead : c.leads) all.push_back(lead.turns);
    all.erase(all.begin());  // the start
    QStringList parts{QStringLiteral("Схема соединений. Обмотка I: начало и выводы после витков %1").arg(turnsOf(all))};
    const QString mains = ToQString(c.mainsVoltage);
    const QString design = turnsOf(leadsFor(c, false));
    parts << (c.tapped ? QStringLiteral("сеть %1: начало и переключатель отводов (витки %2)").arg(mains, design)
                       : QStringLiteral("сеть %1: начало и виток %2").arg(mains, design));
    if (!c.secondMainsVoltage.empty()) {
        parts << QStringLiteral("сеть %1: начало и виток %2")
                     .arg(ToQString(c.secondMainsVoltage), turnsOf(leadsFor(c, true)));
        parts << QStringLiteral("включают одну сеть из двух");
    }
    if (c.tapped) parts << QStringLiteral("отводы — только для сети %1").arg(mains);
    parts << (c.choke ? QStringLiteral("обмотка II: один вывод через дроссель к держаку, другой к клемме массы")
                      : QStringLiteral("обмотка II: один вывод к держаку, другой к клемме массы"));
    return parts.join(QStringLiteral("; ")) + QLatin1Char('.');
}

ConnectionDiagram::ConnectionDiagram(QWidget *parent)
    : PaintedFigure(QStringLiteral("Схема соединений"), PaintConnections, ConnectionsDescription, parent) {}

QSize ConnectionDiagram::sizeHint() const {
    if (!figure().known()) return minimumSizeHint();
    const QSizeF size = layoutFor(figure().value(), QFontMetricsF(font())).size;
    return size.toSize() + QSize(2 * kMargin + 1, 2 * kMargin + 1);
}

QSize ConnectionDiagram::minimumSizeHint() const { return {200, 160}; }

}  // namespace tremira::ui
