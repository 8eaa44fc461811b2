#include "ui/check/drawing/winding_layout.h"

#include <algorithm>
#include <cmath>

#include "calc/figures.h"
#include "ui/fields/utf8_text.h"

namespace tremira::ui {
namespace {

// Steel the plan knows no size of is drawn as a frame this share of the window's smaller side.
constexpr double kFrameShare = 0.2;
// A part narrower than this, in the area's units (pixels, or dots on paper), goes unnamed.
constexpr double kSmallestNamedSide = 1;
// A row of a dimension: its figure and, under it, its line.
constexpr double kRowLines = 1.6;
// The scale bar is at most this share of the drawing's width.
constexpr double kScaleBarShare = 1.0 / 3;

bool drawable(double millimetres) { return std::isfinite(millimetres) && millimetres > 0; }

std::optional<double> drawableBuild(const std::optional<double> &build) {
    if (build && std::isfinite(*build) && *build >= 0) return build;
    return std::nullopt;
}

// Millimetres of the drawing's own frame to pixels of the area, centred in it.
class Scale {
public:
    Scale(const QSizeF &scene, const QRectF &area)
        : m_factor(std::min(area.width() / scene.width(), area.height() / scene.height())),
          m_origin(area.center() - QPointF(scene.width(), scene.height()) * m_factor / 2) {}

    QPointF operator()(const QPointF &millimetres) const { return m_origin + millimetres * m_factor; }
    QRectF operator()(const QRectF &millimetres) const {
        return {(*this)(millimetres.topLeft()), millimetres.size() * m_factor};
    }
    double factor() const { return m_factor; }

private:
    double m_factor;
    QPointF m_origin;
};

// A circle of `diameter` round the centre of the square scene of `side`.
QRectF circle(double side, double diameter) {
    return {(side - diameter) / 2, (side - diameter) / 2, diameter, diameter};
}

// A size to dimension, in millimetres of the scene: from `from` to `to` across (or, vertical,
// down), measured off the part at `edge` down (or across).
struct Span {
    QString name;
    double from;
    double to;
    double edge;
};

// Pieces and the sizes to dimension in millimetres; the layout scales them.
struct Scene {
    QSizeF size;
    std::vector<WindingPiece> pieces;
    std::vector<Span> above;   // dimensioned over the drawing
    std::vector<Span> below;   // under it, each on a row of its own
    std::vector<Span> beside;  // right of it, vertical
};

void addBand(Scene &scene, WindingPart part, const QRectF &band, const QString &label) {
    if (band.width() > 0) scene.pieces.push_back({part, band, {}, band, false, label});
}

// The whole core: both legs and both yokes of the leg's width round the c × h window. The
// windings lie round the left leg, on both its sides: winding I on the leg, winding II over it;
// inside the window, what lies beyond its width c does not fit.
Scene rodScene(const WindingSizes &s, double leg) {
    const double c = s.windowWidth;
    const double h = s.windowHeight;
    const double t1 = drawableBuild(s.buildI).value_or(0);
    const double t2 = drawableBuild(s.buildII).value_or(0);
    const double out = t1 + t2;  // the windings outside the left leg
    const QRectF steel(out, 0, leg + c + leg, leg + h + leg);
    const double inner = out + leg;  // the left leg's edge towards the window
    Scene scene{{std::max(steel.right(), inner + t1 + t2), steel.height()}, {}, {}, {}, {}};
    scene.pieces.push_back(
        {WindingPart::Steel, steel, {}, {out, 0, leg, steel.height()}, false, QStringLiteral("стержень")});
    scene.pieces.push_back({WindingPart::Window, {inner, leg, c, h}, {}, {}, false, {}});
    addBand(scene, WindingPart::WindingI, {inner, leg, t1, h}, QStringLiteral("I"));
    addBand(scene, WindingPart::WindingII, {inner + t1, leg, t2, h}, QStringLiteral("II"));
    addBand(scene, WindingPart::WindingI, {t2, leg, t1, h}, {});
    addBand(scene, WindingPart::WindingII, {0, leg, t2, h}, {});
    if (t1 + t2 > c) {
        scene.pieces.push_back({WindingPart::Overflow, {inner + c, leg, t1 + t2 - c, h}, {}, {}, false, {}});
    }
    const double bottom = leg + h;
    if (s.legWidth) scene.above.push_back({QStringLiteral("a"), out, inner, 0});
    if (t1 > 0) scene.below.push_back({QStringLiteral("t₁"), inner, inner + t1, bottom});
    if (t2 > 0) scene.below.push_back({QStringLiteral("t₂"), inner + t1, inner + t1 + t2, bottom});
    scene.below.push_back({QStringLiteral("c"), inner, inner + c, bottom});
    scene.beside.push_back({QStringLiteral("h"), leg, bottom, inner + c});
    return scene;
}

// A ring of the winding, or, when it does not fit, the whole of the hole left, as overflow.
void addRing(Scene &scene, WindingPart part, const QString &label, double outerDiameter,
             const std::optional<double> &build) {
    const double side = scene.size.width();
    const QRectF outer = circle(side, outerDiameter);
    if (!build) {
        scene.pieces.push_back({WindingPart::Overflow, outer, {}, {}, true, {}});
        return;
    }
    const QRectF labelSpace(outer.center().x() - outer.width() / 4, outer.top(), outer.width() / 2, *build);
    scene.pieces.push_back({part, outer, circle(side, outerDiameter - 2 * *build), labelSpace, true, label});
}

// The hole D with the steel ring round it; winding I lines the hole, winding II lines what is left.
// The sizes are measured across the ring's middle.
Scene toroidScene(const WindingSizes &s, double frame) {
    const double d = s.windowWidth;
    const double side = d + 2 * frame;
    Scene scene{{side, side}, {}, {}, {}, {}};
    const QRectF top(side / 4, 0, side / 2, frame);
    scene.pieces.push_back(
        {WindingPart::Steel, {0, 0, side, side}, circle(side, d), top, true, QStringLiteral("сердечник")});
    scene.pieces.push_back({WindingPart::Window, circle(side, d), {}, {}, true, {}});
    const std::optional<double> t1 = drawableBuild(s.buildI);
    const std::optional<double> t2 = drawableBuild(s.buildII);
    if (t1 || !s.fits) addRing(scene, WindingPart::WindingI, QStringLiteral("I"), d, t1);
    if (t1 && (t2 || !s.fits)) addRing(scene, WindingPart::WindingII, QStringLiteral("II"), d - 2 * *t1, t2);
    const double middle = side / 2;
    if (s.legWidth) scene.above.push_back({QStringLiteral("a"), 0, frame, middle});
    if (t1 > 0) scene.below.push_back({QStringLiteral("t₁"), frame, frame + *t1, middle});
    if (t1 && t2 > 0) scene.below.push_back({QStringLiteral("t₂"), frame + *t1, frame + *t1 + *t2, middle});
    scene.below.push_back({QStringLiteral("⌀ D"), frame, frame + d, middle});
    if (s.legWidth) scene.below.push_back({QStringLiteral("⌀ D + 2a"), 0, side, middle});
    return scene;
}

std::optional<Scene> sceneOf(const WindingSizes &sizes) {
    const bool circle = sizes.shape == WindowShape::Circle;
    if (!drawable(sizes.windowWidth) || (!circle && !drawable(sizes.windowHeight))) return std::nullopt;
    const double smallerSide = circle ? sizes.windowWidth : std::min(sizes.windowWidth, sizes.windowHeight);
    const double frame = kFrameShare * smallerSide;
    const double leg = sizes.legWidth && drawable(*sizes.legWidth) ? *sizes.legWidth : frame;
    return circle ? toroidScene(sizes, leg) : rodScene(sizes, leg);
}

std::vector<WindingPiece> scaled(std::vector<WindingPiece> pieces, const Scale &scale) {
    for (WindingPiece &piece : pieces) {
        piece.outer = scale(piece.outer);
        if (piece.hole) piece.hole = scale(*piece.hole);
        piece.labelSpace = scale(piece.labelSpace);
        // A name over a part too thin to see would smudge the parts beside it.
        if (!(piece.labelSpace.width() >= kSmallestNamedSide && piece.labelSpace.height() >= kSmallestNamedSide)) {
            piece.label.clear();
        }
    }
    return pieces;
}

// The figure of a span: the diameter's sign stands before it, a letter before "=".
QString figureOf(const Span &span) {
    const QString size = Millimetres(span.to - span.from);
    if (span.name.startsWith(QStringLiteral("⌀"))) return QStringLiteral("⌀ ") + size;
    return span.name + QStringLiteral(" = ") + size;
}

// A horizontal dimension of `span` with its line at `lineY` and its figure in the row above
// the line, from `rowTop`, within the area's width.
Dimension horizontal(const Span &span, const Scale &scale, double rowTop, double lineY, const QRectF &area) {
    const QPointF from = scale(QPointF(span.from, span.edge));
    const QPointF to = scale(QPointF(span.to, span.edge));
    const QLineF line(from.x(), lineY, to.x(), lineY);
    const double width = std::max(line.length(), area.width() / 4);
    QRectF text(line.center().x() - width / 2, rowTop, width, lineY - rowTop);
    text.moveLeft(std::clamp(text.left(), area.left(), area.right() - width));
    return {span.name, span.to - span.from, line, {QLineF(from, line.p1()), QLineF(to, line.p2())},
            text,      figureOf(span),      false};
}

// A vertical dimension of `span` with its line at `lineX` and its figure, turned along it, in
// the column right of the line, up to `columnRight`.
Dimension vertical(const Span &span, const Scale &scale, double lineX, double columnRight) {
    const QPointF from = scale(QPointF(span.edge, span.from));
    const QPointF to = scale(QPointF(span.edge, span.to));
    const QLineF line(lineX, from.y(), lineX, to.y());
    const QRectF text(lineX, from.y(), columnRight - lineX, to.y() - from.y());
    return {span.name, span.to - span.from, line, {QLineF(from, line.p1()), QLineF(to, line.p2())},
            text,      figureOf(span),      true};
}

// The longest round length (1, 2 or 5 times a power of ten mm) in a third of the width.
double roundLength(double width) {
    const double most = width * kScaleBarShare;
    const double power = std::pow(10.0, std::floor(std::log10(most)));
    for (double factor : {5.0, 2.0, 1.0}) {
        if (factor * power <= most) return factor * power;
    }
    return power;
}

ScaleBar scaleBarOf(const Scene &scene, const Scale &scale, double rowTop, double lineY) {
    const double length = roundLength(scene.size.width());
    const QPointF start = scale(QPointF(0, 0));
    const QLineF bar(start.x(), lineY, start.x() + length * scale.factor(), lineY);
    return {bar, length, QRectF(bar.x1(), rowTop, bar.dx(), lineY - rowTop),
            QStringLiteral("%1 мм").arg(Millimetres(length))};
}

}  // namespace

QString Millimetres(double value) {
    return ToQString(calc::NumberRow({.decimals = 1, .small = calc::SmallFigure::BareStep}, value).text);
}

std::vector<WindingPiece> LayOutWinding(const WindingSizes &sizes, const QRectF &area) {
    const std::optional<Scene> scene = sceneOf(sizes);
    if (!scene || area.isEmpty()) return {};
    return scaled(scene->pieces, Scale(scene->size, area));
}

DimensionedWinding LayOutDimensioned(const WindingSizes &sizes, const QRectF &area, double lineHeight) {
    const std::optional<Scene> scene = sceneOf(sizes);
    if (!scene) return {};
    const double row = kRowLines * lineHeight;
    const double rowsBelow = static_cast<double>(scene->below.size()) + 1;  // and the scale bar's
    const QRectF picture = area.adjusted(0, row * static_cast<double>(scene->above.size()),
                                         -row * static_cast<double>(scene->beside.size()), -row * rowsBelow);
    if (picture.isEmpty() || !std::isfinite(row) || row <= 0) return {};
    const Scale scale(scene->size, picture);
    const QRectF drawn = scale(QRectF(QPointF(0, 0), scene->size));
    DimensionedWinding layout{scaled(scene->pieces, scale), {}, {}};
    double top = drawn.top() - row * static_cast<double>(scene->above.size());
    for (const Span &span : scene->above) {
        layout.dimensions.push_back(horizontal(span, scale, top, top + row - lineHeight / 4, area));
        top += row;
    }
    double left = drawn.right();
    for (const Span &span : scene->beside) {
        layout.dimensions.push_back(vertical(span, scale, left + lineHeight / 4, left + row));
        left += row;
    }
    top = drawn.bottom();
    for (const Span &span : scene->below) {
        layout.dimensions.push_back(horizontal(span, scale, top, top + row - lineHeight / 4, area));
        top += row;
    }
    layout.scaleBar = scaleBarOf(*scene, scale, top, top + row - lineHeight / 4);
    return layout;
}

}  // namespace tremira::ui
