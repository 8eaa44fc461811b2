// Arbitrary typed sizes through the calculation and the check (PlanWinding, DrawingOf,
// ConnectionsOf) into the winding drawing's and the connection diagram's shapes: whatever was
// typed, every shape LayOutWinding gives is finite, of no negative size and inside the area it was
// given, and a named part has room for its name; the dimensions and the scale bar lie inside the
// area too, and no text of the connection diagram lies over another. The input is read as
// design_fields.h says; the seeds are calc_fuzz's.

#include <QLineF>
#include <QRectF>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "calc/design_check.h"
#include "fuzz/design_fields.h"
#include "fuzz/fuzz_check.h"
#include "ui/check/drawing/connection_layout.h"
#include "ui/check/drawing/winding_layout.h"

namespace {

using tremira::fuzz::require;

// Areas of the sizes the drawing is laid out in: the widget's, small and usual, in pixels, and
// the sheet's, in dots.
constexpr QRectF kAreas[] = {{4, 4, 152, 80}, {4, 4, 252, 160}, {319, 1200, 1488, 1340}};

bool finite(const QRectF &r) {
    return std::isfinite(r.x()) && std::isfinite(r.y()) && std::isfinite(r.width()) && std::isfinite(r.height());
}

// Finite, of no negative size and within `area`, give or take the rounding of the scale. (Qt's
// own contains() takes a shape of no width for no shape at all.)
bool sound(const QRectF &shape, const QRectF &area) {
    const double slack = 1e-9 * (area.width() + area.height());
    return finite(shape) && shape.width() >= 0 && shape.height() >= 0 && shape.left() >= area.left() - slack &&
           shape.top() >= area.top() - slack && shape.right() <= area.right() + slack &&
           shape.bottom() <= area.bottom() + slack;
}

// A line's ends within `area`.
bool soundLine(const QLineF &line, const QRectF &area) {
    return sound(QRectF(line.p1(), QSizeF(0, 0)), area) && sound(QRectF(line.p2(), QSizeF(0, 0)), area);
}

void checkPieces(const std::vector<tremira::ui::WindingPiece> &pieces, const QRectF &area) {
    for (const tremira::ui::WindingPiece &piece : pieces) {
        require(sound(piece.outer, area), "every shape lies finite inside the area");
        require(!piece.hole || sound(*piece.hole, area), "every hole lies finite inside the area");
        require(finite(piece.labelSpace) && piece.labelSpace.width() >= 0 && piece.labelSpace.height() >= 0,
                "every name's space is finite and of no negative size");
        require(piece.label.isEmpty() || (piece.labelSpace.width() >= 1 && piece.labelSpace.height() >= 1),
                "a named part has room for its name");
    }
}

void checkLayout(const tremira::calc::WindingSizes &sizes, const QRectF &area) {
    checkPieces(tremira::ui::LayOutWinding(sizes, area), area);
    // The dimensioned drawing with a font's line of the widget's and of the sheet's.
    for (const double line : {12.0, 60.0}) {
        const tremira::ui::DimensionedWinding layout = tremira::ui::LayOutDimensioned(sizes, area, line);
        checkPieces(layout.pieces, area);
        for (const tremira::ui::Dimension &dimension : layout.dimensions) {
            require(soundLine(dimension.line, area) && soundLine(dimension.extensions[0], area) &&
                        soundLine(dimension.extensions[1], area) && sound(dimension.textSpace, area),
                    "every dimension lies finite inside the area");
            require(std::isfinite(dimension.millimetres) && dimension.millimetres >= 0,
                    "every dimension states a size");
        }
        require(!layout.scaleBar || (soundLine(layout.scaleBar->bar, area) && layout.scaleBar->millimetres > 0),
                "the scale bar lies inside the area and has a length");
    }
}

// The connection diagram at its own size: every text within it and none over another.
void checkConnections(const tremira::calc::Connections &connections) {
    const auto width = [](const QString &text) { return 6.0 * static_cast<double>(text.size()); };
    const tremira::ui::ConnectionLayout layout = tremira::ui::LayOutConnections(connections, 12, width);
    const QRectF whole(QPointF(0, 0), layout.size);
    for (std::size_t i = 0; i < layout.texts.size(); ++i) {
        require(sound(layout.texts[i].space, whole), "every text of the diagram lies inside it");
        for (std::size_t j = i + 1; j < layout.texts.size(); ++j)
            require(!layout.texts[i].space.intersects(layout.texts[j].space), "no text of the diagram over another");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace tremira::calc;
    const std::optional<tremira::fuzz::DesignFields> fields = tremira::fuzz::ReadDesignFields(data, size);
    if (!fields) return 0;
    const DesignOutcome outcome = CalculateDesign(fields->design);
    if (!outcome.inputs || !outcome.results) return 0;
    const CheckOutcome checked = CheckDesign({*outcome.inputs, *outcome.results, fields->typed});
    if (checked.connections.known()) checkConnections(checked.connections.value());
    if (!checked.drawing.known()) return 0;
    for (const QRectF &area : kAreas) checkLayout(checked.drawing.value(), area);
    return 0;
}
