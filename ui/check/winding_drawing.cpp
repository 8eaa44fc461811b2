#include "ui/check/winding_drawing.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <optional>

#include "calc/figures.h"
#include "colours/readable_colour.h"
#include "ui/fields/utf8_text.h"

namespace tremira::ui {
namespace {

constexpr int kCaptionLines = 3;

// The drawing's part of `area`, above its captions.
QRectF pictureIn(const QRectF &area, const QFontMetricsF &metrics) {
    return area.adjusted(0, 0, 0, -kCaptionLines * metrics.lineSpacing());
}

QString sizesCaption(const WindingSizes &s) {
    const bool ring = s.shape == WindowShape::Circle;
    QString caption =
        ring ? QStringLiteral("отверстие ⌀ %1 мм").arg(Millimetres(s.windowWidth))
             : QStringLiteral("окно %1 × %2 мм").arg(Millimetres(s.windowWidth), Millimetres(s.windowHeight));
    if (s.legWidth && s.legDepth) {
        caption += (ring ? QStringLiteral(", кольцо a × b %1 × %2 мм") : QStringLiteral(", стержень a × b %1 × %2 мм"))
                       .arg(Millimetres(*s.legWidth), Millimetres(*s.legDepth));
    }
    return caption;
}

QString buildsCaption(const WindingSizes &s) {
    QStringList builds;
    if (s.buildI) builds << QStringLiteral("I: %1 мм").arg(Millimetres(*s.buildI));
    if (s.buildII) builds << QStringLiteral("II: %1 мм").arg(Millimetres(*s.buildII));
    return builds.join(QStringLiteral(", "));
}

QString verdictOf(const WindingSizes &s) {
    if (!s.fits) return QStringLiteral("не помещается");
    return s.buildI && s.buildII ? QStringLiteral("помещается") : QString();
}

// Winding II in the hue opposite the highlight's, so that where the palette has a hue the two
// windings differ in it as well as in lightness.
QColor oppositeHue(const QColor &colour) {
    const QColor hsl = colour.toHsl();
    return QColor::fromHslF(hsl.hslHue() < 0 ? -1 : std::fmod(hsl.hslHueF() + 0.5F, 1.0F), hsl.hslSaturationF(),
                            hsl.lightnessF());
}

colours::FillPair windingFills(const QPalette &palette) {
    const QColor highlight = palette.color(QPalette::Highlight);
    return colours::DistinctFills(palette.color(QPalette::Base), highlight, oppositeHue(highlight));
}

PartColours inked(const QColor &fill) { return {fill, colours::InkOn(fill)}; }

// The windings are told apart by the slant of their hatching as well as by their fills, which
// matters most on paper; what does not fit is hatched level across both.
constexpr double kRising = -45;
constexpr double kFalling = 45;
constexpr double kLevel = 0;

std::optional<double> slantOf(WindingPart part) {
    if (part == WindingPart::WindingI) return kRising;
    if (part == WindingPart::WindingII) return kFalling;
    return std::nullopt;
}

// Widths and spacing of the drawing's lines, from its font, so that the widget and the sheet
// look alike.
struct Strokes {
    double hatch;          // a line of hatching
    double pitch;          // between lines of a winding's hatching
    double overflowPitch;  // between lines of what does not fit, sparser, as it lies over a winding's
    double edge;           // the edges of the steel and the window
};

Strokes strokesOf(const QFontMetricsF &metrics) {
    const double spacing = metrics.lineSpacing();
    return {spacing / 14, spacing / 2.5, spacing / 1.5, spacing / 8};
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

// Parallel lines `angle` degrees from the horizontal, a pitch apart, across the region and
// nowhere outside it.
void hatch(QPainter &painter, const QPainterPath &region, double angle, double pitch, const QPen &pen) {
    painter.save();
    painter.setClipPath(region, Qt::IntersectClip);
    painter.setPen(pen);
    const QRectF bounds = region.boundingRect();
    const double reach = std::hypot(bounds.width(), bounds.height()) / 2;
    painter.translate(bounds.center());
    painter.rotate(angle);
    for (double y = -reach; y <= reach; y += pitch) painter.drawLine(QPointF(-reach, y), QPointF(reach, y));
    painter.restore();
}

// A line drawn over any fill: the palette's text colour on a wider band of its base, so that one
// of the two shows whatever lies beneath.
QPen haloPen(const QPalette &palette, double width) { return {palette.color(QPalette::Base), 3 * width}; }
QPen corePen(const QPalette &palette, double width) { return {palette.color(QPalette::Text), width}; }

void paintPiece(QPainter &painter, const WindingPiece &piece, const QPalette &palette, const Strokes &strokes) {
    const QPainterPath path = pathOf(piece);
    if (piece.part == WindingPart::Overflow) {
        hatch(painter, path, kLevel, strokes.overflowPitch, haloPen(palette, strokes.hatch));
        hatch(painter, path, kLevel, strokes.overflowPitch, corePen(palette, strokes.hatch));
        return;
    }
    const PartColours colours = ColoursOf(piece.part, palette);
    painter.fillPath(path, colours.fill);
    if (const std::optional<double> slant = slantOf(piece.part))
        hatch(painter, path, *slant, strokes.pitch, QPen(colours.ink, strokes.hatch));
    painter.strokePath(path, QPen(palette.color(QPalette::Text)));
}

// The steel's and the window's edges over everything, so that the window shows whatever
// overflows it.
void paintEdges(QPainter &painter, const std::vector<WindingPiece> &pieces, const QPalette &palette,
                const Strokes &strokes) {
    for (const QPen &pen : {haloPen(palette, strokes.edge), corePen(palette, strokes.edge)}) {
        for (const WindingPiece &piece : pieces) {
            if (piece.part == WindingPart::Steel || piece.part == WindingPart::Window)
                painter.strokePath(pathOf(piece), pen);
        }
    }
}

// The name across its space, or along it when the space is tall and narrow (a rod core's leg),
// in the ink of its part, on its plain fill: the hatching is cleared under it, within the part.
void paintLabel(QPainter &painter, const WindingPiece &piece, const QPalette &palette) {
    if (piece.label.isEmpty()) return;
    const QRectF space = piece.labelSpace;
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double width = metrics.horizontalAdvance(piece.label);
    const double margin = metrics.averageCharWidth() / 2;
    QTransform frame = QTransform::fromTranslate(space.center().x(), space.center().y());
    if (width + 2 * margin > space.width() && space.height() > space.width()) frame.rotate(-90);
    const PartColours colours = ColoursOf(piece.part, palette);
    painter.save();
    painter.setClipPath(pathOf(piece), Qt::IntersectClip);
    painter.setTransform(frame, true);
    painter.fillRect(QRectF(-width / 2 - margin, -metrics.height() / 2, width + 2 * margin, metrics.height()),
                     colours.fill);
    painter.restore();
    painter.save();
    painter.setTransform(frame, true);
    painter.setPen(colours.ink);
    painter.drawText(QRectF(-width, -space.height(), 2 * width, 2 * space.height()), Qt::AlignCenter, piece.label);
    painter.restore();
}

// An arrowhead at `tip`, pointing away from `from`.
void paintArrowhead(QPainter &painter, const QPointF &tip, const QPointF &from, double length) {
    QLineF back(tip, from);
    if (back.length() <= 0) return;
    back.setLength(std::min(length, back.length() / 2));
    const QLineF side = back.normalVector();
    const QPointF wing = (side.p2() - side.p1()) / 3;
    painter.drawPolygon(QPolygonF{tip, back.p2() + wing, back.p2() - wing});
}

// `text` in the middle of `space` on the plain page, so that lines beneath do not cross it;
// turned a quarter up when `vertical`.
void paintFigure(QPainter &painter, const QRectF &space, const QString &text, bool vertical, const QPalette &palette) {
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double width = metrics.horizontalAdvance(text) + metrics.averageCharWidth();
    painter.save();
    painter.translate(space.center());
    const QSizeF along = vertical ? space.size().transposed() : space.size();
    if (vertical) painter.rotate(-90);
    const QRectF box(-along.width() / 2, -along.height() / 2, along.width(), along.height());
    painter.fillRect(QRectF(-width / 2, box.bottom() - metrics.height(), width, metrics.height()),
                     palette.color(QPalette::Base));
    painter.drawText(box, Qt::AlignHCenter | Qt::AlignBottom | Qt::TextDontClip, text);
    painter.restore();
}

void paintDimensions(QPainter &painter, const DimensionedWinding &layout, const QPalette &palette,
                     const Strokes &strokes) {
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double arrow = metrics.height() / 2;
    painter.save();
    painter.setPen(QPen(palette.color(QPalette::Text), strokes.hatch));
    painter.setBrush(palette.color(QPalette::Text));
    for (const Dimension &dimension : layout.dimensions) {
        painter.drawLines(dimension.extensions.data(), static_cast<int>(dimension.extensions.size()));
        painter.drawLine(dimension.line);
        paintArrowhead(painter, dimension.line.p1(), dimension.line.p2(), arrow);
        paintArrowhead(painter, dimension.line.p2(), dimension.line.p1(), arrow);
        paintFigure(painter, dimension.textSpace, dimension.text, dimension.vertical, palette);
    }
    if (const std::optional<ScaleBar> &scale = layout.scaleBar) {
        painter.setPen(QPen(palette.color(QPalette::Text), strokes.edge, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(scale->bar);
        for (const QPointF &end : {scale->bar.p1(), scale->bar.p2()})
            painter.drawLine(end - QPointF(0, arrow / 2), end + QPointF(0, arrow / 2));
        paintFigure(painter, scale->textSpace, QStringLiteral("0 … ") + scale->text, false, palette);
    }
    painter.restore();
}

void paintCaptions(QPainter &painter, const QRectF &area, const WindingSizes &sizes) {
    const QStringList lines{sizesCaption(sizes), buildsCaption(sizes)};
    painter.drawText(area, Qt::AlignHCenter | Qt::AlignTop, lines.join(QLatin1Char('\n')));
    if (sizes.fits) return;
    QFont bold = painter.font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.drawText(area, Qt::AlignHCenter | Qt::AlignBottom, verdictOf(sizes));
}

// The drawing of sizes that can be drawn, its dimensions and its captions under it.
void paintDrawing(QPainter &painter, const QRectF &area, const WindingSizes &sizes, const QPalette &palette) {
    const QFontMetricsF metrics(painter.font(), painter.device());
    const Strokes strokes = strokesOf(metrics);
    const QRectF picture = pictureIn(area, metrics);
    const DimensionedWinding layout = LayOutPainted(sizes, area, metrics);
    const std::vector<WindingPiece> &pieces = layout.pieces;
    painter.save();
    // The halo of the steel's edge would stray past the area's border, where the steel lies.
    painter.setClipRect(picture, Qt::IntersectClip);
    for (const WindingPiece &piece : pieces) paintPiece(painter, piece, palette, strokes);
    for (const WindingPiece &piece : pieces) paintLabel(painter, piece, palette);
    paintEdges(painter, pieces, palette, strokes);
    paintDimensions(painter, layout, palette, strokes);
    painter.restore();
    paintCaptions(painter, area.adjusted(0, picture.height(), 0, 0), sizes);
}

}  // namespace

DimensionedWinding LayOutPainted(const WindingSizes &sizes, const QRectF &area, const QFontMetricsF &metrics) {
    return LayOutDimensioned(sizes, pictureIn(area, metrics), metrics.lineSpacing());
}

QString WindingDescription(const calc::Figure<WindingSizes> &sizes) {
    if (!sizes.known()) return ToQString(calc::ReasonText(sizes.why()));
    QStringList parts{sizesCaption(sizes.value()), buildsCaption(sizes.value()), verdictOf(sizes.value())};
    parts.removeAll(QString());
    return QStringLiteral("Окно сердечника в масштабе: %1.").arg(parts.join(QStringLiteral("; ")));
}

PartColours ColoursOf(WindingPart part, const QPalette &palette) {
    const QColor base = palette.color(QPalette::Base);
    const QColor text = palette.color(QPalette::Text);
    switch (part) {
    case WindingPart::Steel: return inked(colours::Blend(base, text, 0.25));
    case WindingPart::Window: return {base, text};
    case WindingPart::WindingI: return inked(windingFills(palette).first);
    case WindingPart::WindingII: return inked(windingFills(palette).second);
    case WindingPart::Overflow: return {Qt::transparent, text};
    }
    return {};
}

void PaintWinding(QPainter &painter, const QRectF &area, const calc::Figure<WindingSizes> &sizes,
                  const QPalette &palette) {
    painter.save();
    if (ReadyToPaint(painter, area, sizes, palette)) paintDrawing(painter, area, sizes.value(), palette);
    painter.restore();
}

QPalette PaperPalette() {
    QPalette paper;
    paper.setColor(QPalette::Base, Qt::white);
    paper.setColor(QPalette::Text, Qt::black);
    paper.setColor(QPalette::Highlight, Qt::gray);
    return paper;
}

WindingDrawing::WindingDrawing(QWidget *parent)
    : PaintedFigure(QStringLiteral("Чертёж намотки"), PaintWinding, WindingDescription, parent) {}

QSize WindingDrawing::sizeHint() const { return {360, 340}; }
QSize WindingDrawing::minimumSizeHint() const { return {240, 260}; }

}  // namespace tremira::ui
