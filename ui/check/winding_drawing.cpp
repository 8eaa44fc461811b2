#include "ui/check/winding_drawing.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include "calc/figures.h"
#include "ui/fields/utf8_text.h"

namespace tremira::ui {
namespace {

constexpr int kCaptionLines = 3;

QString millimetres(double value) {
    return ToQString(calc::NumberRow({.decimals = 1, .small = calc::SmallFigure::BareStep}, value).text);
}

QString sizesCaption(const WindingSizes &s) {
    if (s.shape == WindowShape::Circle) return QStringLiteral("отверстие ⌀ %1 мм").arg(millimetres(s.windowWidth));
    return QStringLiteral("окно %1 × %2 мм").arg(millimetres(s.windowWidth), millimetres(s.windowHeight));
}

QString buildsCaption(const WindingSizes &s) {
    QStringList builds;
    if (s.buildI) builds << QStringLiteral("I: %1 мм").arg(millimetres(*s.buildI));
    if (s.buildII) builds << QStringLiteral("II: %1 мм").arg(millimetres(*s.buildII));
    return builds.join(QStringLiteral(", "));
}

QColor blend(const QColor &base, const QColor &tint, double share) {
    const auto mix = [share](double a, double b) { return a + (b - a) * share; };
    return QColor::fromRgbF(static_cast<float>(mix(base.redF(), tint.redF())),
                            static_cast<float>(mix(base.greenF(), tint.greenF())),
                            static_cast<float>(mix(base.blueF(), tint.blueF())));
}

QBrush fillOf(WindingPart part, const QPalette &palette) {
    const QColor base = palette.color(QPalette::Base);
    switch (part) {
    case WindingPart::Steel: return blend(base, palette.color(QPalette::Text), 0.35);
    case WindingPart::Window: return base;
    case WindingPart::WindingI: return blend(base, palette.color(QPalette::Highlight), 0.45);
    case WindingPart::WindingII: return blend(base, palette.color(QPalette::LinkVisited), 0.35);
    case WindingPart::Overflow: return QBrush(palette.color(QPalette::Text), Qt::BDiagPattern);
    }
    return {};
}

QPainterPath pathOf(const WindingPiece &piece) {
    QPainterPath path;
    if (!piece.round) {
        path.addRect(piece.outer);
        return path;
    }
    path.addEllipse(piece.outer);
    if (piece.hole) path.addEllipse(*piece.hole);  // the odd-even fill leaves the hole empty
    return path;
}

// The name across its space, or along it when the space is tall and narrow (a rod core's leg).
void paintLabel(QPainter &painter, const WindingPiece &piece) {
    if (piece.label.isEmpty()) return;
    const QRectF space = piece.labelSpace;
    const double width = painter.fontMetrics().horizontalAdvance(piece.label);
    painter.save();
    painter.translate(space.center());
    if (width > space.width() && space.height() > space.width()) painter.rotate(-90);
    painter.drawText(QRectF(-width, -space.height(), 2 * width, 2 * space.height()), Qt::AlignCenter, piece.label);
    painter.restore();
}

void paintCaptions(QPainter &painter, const QRectF &area, const WindingSizes &sizes) {
    const QStringList lines{sizesCaption(sizes), buildsCaption(sizes)};
    painter.drawText(area, Qt::AlignHCenter | Qt::AlignTop, lines.join(QLatin1Char('\n')));
    if (sizes.fits) return;
    QFont bold = painter.font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.drawText(area, Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral("не помещается"));
}

}  // namespace

void PaintWinding(QPainter &painter, const QRectF &area, const calc::Figure<WindingSizes> &sizes,
                  const QPalette &palette) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(palette.color(QPalette::Text));
    if (!sizes.known()) {
        painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, ToQString(calc::ReasonText(sizes.why())));
        painter.restore();
        return;
    }
    const double captionHeight = kCaptionLines * QFontMetricsF(painter.font()).lineSpacing();
    const QRectF picture = area.adjusted(0, 0, 0, -captionHeight);
    const std::vector<WindingPiece> pieces = LayOutWinding(sizes.value(), picture);
    for (const WindingPiece &piece : pieces) {
        painter.setBrush(fillOf(piece.part, palette));
        painter.drawPath(pathOf(piece));
    }
    // Over every fill, so that the hatching of what does not fit leaves the names readable.
    for (const WindingPiece &piece : pieces) paintLabel(painter, piece);
    paintCaptions(painter, area.adjusted(0, picture.height(), 0, 0), sizes.value());
    painter.restore();
}

QPalette PaperPalette() {
    QPalette paper;
    paper.setColor(QPalette::Base, Qt::white);
    paper.setColor(QPalette::Text, Qt::black);
    paper.setColor(QPalette::Highlight, Qt::gray);
    paper.setColor(QPalette::LinkVisited, Qt::darkGray);
    return paper;
}

WindingDrawing::WindingDrawing(QWidget *parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void WindingDrawing::setSizes(const calc::Figure<WindingSizes> &sizes) {
    m_sizes = sizes;
    update();
}

void WindingDrawing::paint(QPainter &painter, const QRectF &area, const QPalette &palette) const {
    PaintWinding(painter, area, m_sizes, palette);
}

QSize WindingDrawing::sizeHint() const { return {260, 220}; }
QSize WindingDrawing::minimumSizeHint() const { return {160, 140}; }

void WindingDrawing::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    paint(painter, QRectF(rect()).adjusted(4, 4, -4, -4), palette());
}

}  // namespace tremira::ui
