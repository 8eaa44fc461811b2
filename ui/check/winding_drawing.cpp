#include "ui/check/winding_drawing.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

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
constexpr int kCaptionLines = 3;

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

// Winding I on the left leg, winding II over it, across the window's width; what lies beyond
// the width c does not fit. The leg is drawn at its width; the yokes and the far side, whose
// sizes the plan does not know, as a frame no wider than the leg.
Scene rodScene(const WindingSizes &s, double leg, double frame) {
    const double c = s.windowWidth;
    const double h = s.windowHeight;
    const double t1 = drawableBuild(s.buildI).value_or(0);
    const double t2 = drawableBuild(s.buildII).value_or(0);
    const double steelWidth = leg + c + frame;
    Scene scene{{std::max(steelWidth, leg + t1 + t2), 2 * frame + h}, {}};
    scene.pieces.push_back({WindingPart::Steel,
                            {0, 0, steelWidth, 2 * frame + h},
                            {},
                            {0, 0, leg, 2 * frame + h},
                            false,
                            QStringLiteral("стержень")});
    scene.pieces.push_back({WindingPart::Window, {leg, frame, c, h}, {}, {}, false, {}});
    const QRectF bandI(leg, frame, t1, h);
    const QRectF bandII(leg + t1, frame, t2, h);
    if (t1 > 0) scene.pieces.push_back({WindingPart::WindingI, bandI, {}, bandI, false, QStringLiteral("I")});
    if (t2 > 0) scene.pieces.push_back({WindingPart::WindingII, bandII, {}, bandII, false, QStringLiteral("II")});
    if (t1 + t2 > c) {
        scene.pieces.push_back({WindingPart::Overflow, {leg + c, frame, t1 + t2 - c, h}, {}, {}, false, {}});
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

QString millimetres(double value) {
    return ToQString(calc::NumberRow({.decimals = 1, .small = calc::SmallFigure::BareStep}, value).text);
}

QString sizesCaption(const WindingSizes &s) {
    if (s.shape == WindowShape::Circle) return QStringLiteral("отверстие ⌀ %1 мм").arg(millimetres(s.windowWidth));
    return QStringLiteral("окно %1 × %2 мм").arg(millimetres(s.windowWidth), millimetres(s.windowHeight));
}

QString buildsCaption(const WindingSizes &s) {
    QStringList builds;
    if (const auto t1 = drawableBuild(s.buildI)) builds << QStringLiteral("I: %1 мм").arg(millimetres(*t1));
    if (const auto t2 = drawableBuild(s.buildII)) builds << QStringLiteral("II: %1 мм").arg(millimetres(*t2));
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
