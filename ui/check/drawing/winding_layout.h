#pragma once
// The shapes of the winding drawing, worked out without painting: the whole core to scale (a rod
// core's two legs and two yokes of the leg's width round the c × h window, or the toroid's ring
// round its hole), winding I and winding II where they lie on the leg, with what does not fit
// beyond the window, the dimension lines of the sizes in mm and a scale bar. The widget and the
// sheet paint the same shapes.

#include <QLineF>
#include <QRectF>
#include <QString>

#include <array>
#include <optional>
#include <vector>

#include "calc/winding_plan.h"

namespace tremira::ui {

using calc::WindingSizes;
using calc::WindowShape;

enum class WindingPart { Steel, Window, WindingI, WindingII, Overflow };

// One filled shape: a rectangle, or (round) an ellipse in `outer` less the ellipse in `hole`.
struct WindingPiece {
    WindingPart part;
    QRectF outer;
    std::optional<QRectF> hole;
    QRectF labelSpace;  // its name is written in the middle of it
    bool round = false;
    QString label;  // empty: no name of its own, or no room to show one
};

// The shapes of `sizes` in painting order, scaled to fit `area` and centred in it; none for
// sizes that cannot be drawn (a window without a size).
std::vector<WindingPiece> LayOutWinding(const WindingSizes &sizes, const QRectF &area);

// A size of the drawing as drafters draw it: a line with arrowheads at both ends between the
// extension lines that come out from the part measured, and its figure over the line.
struct Dimension {
    QString name;        // a, c, h, t₁, t₂, D, D + 2a
    double millimetres;  // the size it states
    QLineF line;         // from arrowhead to arrowhead
    std::array<QLineF, 2> extensions;
    QRectF textSpace;  // the figure is written in its middle, along the line
    QString text;      // "c = 50"
    bool vertical = false;
};

// A bar of a round length in mm at the drawing's scale, with its length written over it.
struct ScaleBar {
    QLineF bar;
    double millimetres;
    QRectF textSpace;
    QString text;  // "20 мм"
};

struct DimensionedWinding {
    std::vector<WindingPiece> pieces;
    std::vector<Dimension> dimensions;
    std::optional<ScaleBar> scaleBar;
};

// The drawing of `sizes` with its dimensions and scale bar, all inside `area`; each figure takes
// a row (a column, for a vertical one) `lineHeight` of the area's units high, which the text of
// the painter's font needs. Sizes that cannot be drawn, or an area too small for the rows, give
// nothing.
DimensionedWinding LayOutDimensioned(const WindingSizes &sizes, const QRectF &area, double lineHeight);

// Millimetres as the drawing writes them: to a tenth, without trailing zeros.
QString Millimetres(double value);

}  // namespace tremira::ui
