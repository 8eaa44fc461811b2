#pragma once
// The shapes of the winding drawing, worked out without painting: the core window to scale (the
// c × h window of a rod core, or the toroid's round hole), the steel round it, and winding I and
// winding II as bands of their builds on the leg, with what does not fit beyond the window. The
// widget and the sheet paint the same shapes.

#include <QRectF>
#include <QString>

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

}  // namespace tremira::ui
