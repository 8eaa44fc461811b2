#include "ui/check/drawing/winding_layout.h"

#include <algorithm>
#include <cmath>

namespace tremira::ui {
namespace {

// Steel the plan knows no size of is drawn as a frame this share of the window's smaller side.
constexpr double kFrameShare = 0.2;
// A part narrower than this, in the area's units (pixels, or dots on paper), goes unnamed.
constexpr double kSmallestNamedSide = 1;

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

    QRectF operator()(const QRectF &millimetres) const {
        return {m_origin + millimetres.topLeft() * m_factor, millimetres.size() * m_factor};
    }

private:
    double m_factor;
    QPointF m_origin;
};

// A circle of `diameter` round the centre of the square scene of `side`.
QRectF circle(double side, double diameter) {
    return {(side - diameter) / 2, (side - diameter) / 2, diameter, diameter};
}

// Pieces in millimetres; LayOutWinding scales them.
struct Scene {
    QSizeF size;
    std::vector<WindingPiece> pieces;
};

// The whole core: both legs at their width round the c × h window, and the yokes, whose height
// the plan does not know, as a frame no higher than a leg is wide. Winding I on the left leg,
// winding II over it, across the window's width; what lies beyond the width c does not fit.
Scene rodScene(const WindingSizes &s, double leg, double yoke) {
    const double c = s.windowWidth;
    const double h = s.windowHeight;
    const double t1 = drawableBuild(s.buildI).value_or(0);
    const double t2 = drawableBuild(s.buildII).value_or(0);
    const QSizeF steel(leg + c + leg, yoke + h + yoke);
    Scene scene{{std::max(steel.width(), leg + t1 + t2), steel.height()}, {}};
    scene.pieces.push_back(
        {WindingPart::Steel, {{0, 0}, steel}, {}, {0, 0, leg, steel.height()}, false, QStringLiteral("стержень")});
    scene.pieces.push_back({WindingPart::Window, {leg, yoke, c, h}, {}, {}, false, {}});
    const QRectF bandI(leg, yoke, t1, h);
    const QRectF bandII(leg + t1, yoke, t2, h);
    if (t1 > 0) scene.pieces.push_back({WindingPart::WindingI, bandI, {}, bandI, false, QStringLiteral("I")});
    if (t2 > 0) scene.pieces.push_back({WindingPart::WindingII, bandII, {}, bandII, false, QStringLiteral("II")});
    if (t1 + t2 > c) {
        scene.pieces.push_back({WindingPart::Overflow, {leg + c, yoke, t1 + t2 - c, h}, {}, {}, false, {}});
    }
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
Scene toroidScene(const WindingSizes &s, double frame) {
    const double d = s.windowWidth;
    const double side = d + 2 * frame;
    Scene scene{{side, side}, {}};
    const QRectF top(side / 4, 0, side / 2, frame);
    scene.pieces.push_back(
        {WindingPart::Steel, {0, 0, side, side}, circle(side, d), top, true, QStringLiteral("сердечник")});
    scene.pieces.push_back({WindingPart::Window, circle(side, d), {}, {}, true, {}});
    const std::optional<double> t1 = drawableBuild(s.buildI);
    const std::optional<double> t2 = drawableBuild(s.buildII);
    if (t1 || !s.fits) addRing(scene, WindingPart::WindingI, QStringLiteral("I"), d, t1);
    if (t1 && (t2 || !s.fits)) addRing(scene, WindingPart::WindingII, QStringLiteral("II"), d - 2 * *t1, t2);
    return scene;
}

}  // namespace

std::vector<WindingPiece> LayOutWinding(const WindingSizes &sizes, const QRectF &area) {
    const bool circle = sizes.shape == WindowShape::Circle;
    if (!drawable(sizes.windowWidth) || (!circle && !drawable(sizes.windowHeight)) || area.isEmpty()) return {};
    const double smallerSide = circle ? sizes.windowWidth : std::min(sizes.windowWidth, sizes.windowHeight);
    const double frame = kFrameShare * smallerSide;
    const double leg = sizes.legWidth && drawable(*sizes.legWidth) ? *sizes.legWidth : frame;
    Scene scene = circle ? toroidScene(sizes, leg) : rodScene(sizes, leg, std::min(leg, frame));
    const Scale scale(scene.size, area);
    for (WindingPiece &piece : scene.pieces) {
        piece.outer = scale(piece.outer);
        if (piece.hole) piece.hole = scale(*piece.hole);
        piece.labelSpace = scale(piece.labelSpace);
        // A name over a part too thin to see would smudge the parts beside it.
        if (!(piece.labelSpace.width() >= kSmallestNamedSide && piece.labelSpace.height() >= kSmallestNamedSide)) {
            piece.label.clear();
        }
    }
    return std::move(scene.pieces);
}

}  // namespace tremira::ui
