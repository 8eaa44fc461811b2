#include "ui/check/weld_chart.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

#include "calc/field_numbers.h"
#include "colours/readable_colour.h"
#include "ui/fields/utf8_text.h"

namespace tremira::ui {
namespace {

// A round step between grid lines: 1, 2 or 5 times a power of ten, about a fifth of the range.
double gridStep(double range) {
    const double rough = range / 5;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= rough) return factor * power;
    }
    return 10 * power;
}

// Amperes and volts of the chart to points of the plot.
class Axes {
public:
    Axes(const QRectF &plot, double currentMax, double voltageMax)
        : m_plot(plot), m_currentMax(currentMax), m_voltageMax(voltageMax) {}

    QPointF operator()(const calc::ChartPoint &point) const {
        return {m_plot.left() + m_plot.width() * point.current / m_currentMax,
                m_plot.bottom() - m_plot.height() * point.voltage / m_voltageMax};
    }
    const QRectF &plot() const { return m_plot; }
    double currentMax() const { return m_currentMax; }
    double voltageMax() const { return m_voltageMax; }

private:
    QRectF m_plot;
    double m_currentMax;
    double m_voltageMax;
};

// The chart's whole range, to the next grid line above the largest current and voltage.
std::pair<double, double> rangeOf(const calc::WeldChart &chart) {
    double current = 1;
    double voltage = 1;
    const auto take = [&](const std::vector<calc::ChartPoint> &points) {
        for (const calc::ChartPoint &point : points) {
            current = std::max(current, point.current);
            voltage = std::max(voltage, point.voltage);
        }
    };
    take(chart.arcLoad);
    for (const calc::TapCurves &tap : chart.taps) {
        take(tap.bare);
        take(tap.choked);
    }
    const auto roundUp = [](double value) { return std::ceil(value / gridStep(value)) * gridStep(value); };
    return {roundUp(current), roundUp(voltage)};
}

// A current or voltage read off the chart, to the ampere or volt.
QString number(double value) { return ToQString(calc::NumberRow({.decimals = 0}, value).text); }

// A grid line's value as it stands, 0 included (a figure's format would call it "меньше 1").
QString tick(double value) { return ToQString(calc::FormatDouble(value)); }

void paintGrid(QPainter &painter, const Axes &axes, const QColor &ink, const QColor &grid) {
    const QFontMetricsF metrics(painter.font());
    const QRectF &plot = axes.plot();
    const double currentStep = gridStep(axes.currentMax());
    const double voltageStep = gridStep(axes.voltageMax());
    painter.setPen(QPen(grid, 0));
    for (double current = currentStep; current <= axes.currentMax() + currentStep / 2; current += currentStep) {
        const double x = axes({current, 0}).x();
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    }
    for (double voltage = voltageStep; voltage <= axes.voltageMax() + voltageStep / 2; voltage += voltageStep) {
        const double y = axes({0, voltage}).y();
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    }
    painter.setPen(QPen(ink, 0));
    painter.drawRect(plot);
    for (double current = 0; current <= axes.currentMax() + currentStep / 2; current += currentStep) {
        const QPointF at = axes({current, 0});
        const QString text = tick(current);
        painter.drawText(QPointF(at.x() - metrics.horizontalAdvance(text) / 2, plot.bottom() + metrics.ascent() + 2),
                         text);
    }
    for (double voltage = 0; voltage <= axes.voltageMax() + voltageStep / 2; voltage += voltageStep) {
        const QPointF at = axes({0, voltage});
        const QString text = tick(voltage);
        painter.drawText(QPointF(plot.left() - metrics.horizontalAdvance(text) - 3, at.y() + metrics.ascent() / 2),
                         text);
    }
    painter.drawText(QRectF(plot.left(), plot.bottom() + metrics.lineSpacing(), plot.width(), metrics.lineSpacing()),
                     Qt::AlignRight, QStringLiteral("ток, А"));
    painter.drawText(QPointF(plot.left() + 4, plot.top() + metrics.ascent()), QStringLiteral("U, В"));
}

QPainterPath pathOf(const Axes &axes, const std::vector<calc::ChartPoint> &points) {
    QPainterPath path;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (i == 0)
            path.moveTo(axes(points[i]));
        else
            path.lineTo(axes(points[i]));
    }
    return path;
}

// The taps' colours: hues round the circle, each readable on the background.
QColor tapColour(std::size_t tap, std::size_t taps, const QColor &background) {
    const int hue = static_cast<int>(360 * tap / std::max<std::size_t>(taps, 1) + 210) % 360;
    return colours::ReadableOn(QColor::fromHsv(hue, 200, 180), background);
}

// A width given in pixels of a 96 dpi screen, on whatever the painter paints (300 dpi paper too).
double onDevice(const QPainter &painter, double pixels) { return pixels * painter.device()->logicalDpiX() / 96; }

void paintTap(QPainter &painter, const Axes &axes, const calc::TapCurves &tap, const QColor &colour) {
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(colour, onDevice(painter, 1.5), Qt::SolidLine));
    painter.drawPath(pathOf(axes, tap.bare));
    painter.setPen(QPen(colour, onDevice(painter, 1.5), Qt::DashLine));
    painter.drawPath(pathOf(axes, tap.choked));
    const double radius = onDevice(painter, 3);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    for (const auto &point : {tap.bareOperating, tap.chokedOperating}) {
        if (point) painter.drawEllipse(axes(*point), radius, radius);
    }
}

// One line a tap: its colour, its turns; the line styles named once.
void paintLegend(QPainter &painter, const QRectF &plot, const calc::WeldChart &chart, const QColor &ink,
                 const QColor &background) {
    const QFontMetricsF metrics(painter.font());
    double y = plot.top() + metrics.lineSpacing() * 1.5;
    const double x = plot.right() - metrics.horizontalAdvance(QStringLiteral("— — с дросселем")) - 6;
    for (std::size_t i = 0; i < chart.taps.size(); ++i) {
        painter.setPen(tapColour(i, chart.taps.size(), background));
        painter.drawText(QPointF(x, y), QStringLiteral("— %1 вит.").arg(chart.taps[i].turns));
        y += metrics.lineSpacing();
    }
    painter.setPen(ink);
    painter.drawText(QPointF(x, y), QStringLiteral("—— без дросселя"));
    painter.drawText(QPointF(x, y + metrics.lineSpacing()), QStringLiteral("— — с дросселем"));
    painter.drawText(QPointF(x, y + 2 * metrics.lineSpacing()), QStringLiteral("━ дуга"));
}

}  // namespace

void PaintWeldChart(QPainter &painter, const QRectF &area, const calc::Figure<calc::WeldChart> &chart,
                    const QPalette &palette) {
    painter.save();
    painter.setClipRect(area);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor background = palette.color(QPalette::Base);
    const QColor ink = palette.color(QPalette::Text);
    painter.fillRect(area, background);
    painter.setPen(ink);
    if (!chart.known()) {
        painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, ToQString(calc::ReasonText(chart.why())));
        painter.restore();
        return;
    }
    const QFontMetricsF metrics(painter.font());
    const auto [currentMax, voltageMax] = rangeOf(chart.value());
    // Room on the right for half the last current's label, which stands centred on the frame.
    const QRectF plot =
        area.adjusted(metrics.horizontalAdvance(QStringLiteral("0000")) + 6, metrics.lineSpacing(),
                      -metrics.horizontalAdvance(tick(currentMax)) / 2 - 1, -2.5 * metrics.lineSpacing());
    const Axes axes(plot, currentMax, voltageMax);
    // Faint beside the curves, in the palette's own tones on a light page and a dark one alike.
    const QColor grid = colours::Blend(background, ink, 0.2);
    paintGrid(painter, axes, ink, grid);
    const std::vector<calc::TapCurves> &taps = chart.value().taps;
    for (std::size_t i = 0; i < taps.size(); ++i)
        paintTap(painter, axes, taps[i], tapColour(i, taps.size(), background));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(ink, onDevice(painter, 3)));
    painter.drawPath(pathOf(axes, chart.value().arcLoad));
    paintLegend(painter, plot, chart.value(), ink, background);
    painter.restore();
}

QString WeldChartDescription(const calc::Figure<calc::WeldChart> &chart) {
    if (!chart.known()) return ToQString(calc::ReasonText(chart.why()));
    QStringList taps;
    for (const calc::TapCurves &tap : chart.value().taps) {
        QString said = QStringLiteral("%1 вит.: ").arg(tap.turns);
        said += tap.bareOperating ? QStringLiteral("%1 А без дросселя").arg(number(tap.bareOperating->current))
                                  : QStringLiteral("без дуги");
        if (tap.chokedOperating) said += QStringLiteral(", %1 А с дросселем").arg(number(tap.chokedOperating->current));
        taps << said;
    }
    return QStringLiteral("Ток сварки по отводам: ") + taps.join(QStringLiteral("; ")) + QLatin1Char('.');
}

WeldChart::WeldChart(QWidget *parent)
    : PaintedFigure(QStringLiteral("График тока сварки"), PaintWeldChart, WeldChartDescription, parent) {}

QSize WeldChart::sizeHint() const { return {fontMetrics().averageCharWidth() * 60, fontMetrics().height() * 22}; }

QSize WeldChart::minimumSizeHint() const {
    return {fontMetrics().averageCharWidth() * 40, fontMetrics().height() * 14};
}

}  // namespace tremira::ui
