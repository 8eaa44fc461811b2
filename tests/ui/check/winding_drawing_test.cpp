// The shapes of the winding drawing, worked out without a display: the window, the steel and
// the bands of the windings to scale, and what does not fit beyond the window.

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <vector>

#include "ui/check/winding_drawing.h"

namespace tremira::ui {
namespace {

// What a piece covers, in pixels of the area.
struct Shape {
    WindingPart part;
    QRectF outer;
    std::optional<QRectF> hole;
    friend bool operator==(const Shape &, const Shape &) = default;
};

void PrintTo(const Shape &shape, std::ostream *out) {
    const auto rect = [out](const QRectF &r) {
        *out << "(" << r.x() << ", " << r.y() << ", " << r.width() << " × " << r.height() << ")";
    };
    *out << "part " << static_cast<int>(shape.part) << " ";
    rect(shape.outer);
    if (shape.hole) {
        *out << " less ";
        rect(*shape.hole);
    }
}

std::vector<Shape> shapesOf(const WindingSizes &sizes, const QRectF &area) {
    std::vector<Shape> shapes;
    for (const WindingPiece &piece : LayOutWinding(sizes, area)) {
        shapes.push_back({piece.part, piece.outer, piece.hole});
    }
    return shapes;
}

using P = WindingPart;
constexpr WindowShape kRod = WindowShape::Rectangle;
constexpr WindowShape kRing = WindowShape::Circle;

TEST(WindingLayoutTest, DrawsTheWindowAndBothBuildsToScale) {
    const struct {
        const char *name;
        WindingSizes sizes;
        QRectF area;
        std::vector<Shape> expected;
    } cases[] = {
        // A 10 mm leg and frame round a 50 × 60 window: 70 × 80 mm, twice over in 140 × 160 pixels.
        {"rod core, both fit",
         {kRod, 50, 60, 10, 10, 15, true},
         {0, 0, 140, 160},
         {{P::Steel, {0, 0, 140, 160}, {}},
          {P::Window, {20, 20, 100, 120}, {}},
          {P::WindingI, {20, 20, 20, 120}, {}},
          {P::WindingII, {40, 20, 30, 120}, {}}}},
        // Both legs of 70 mm at their width; the yokes a frame of a fifth of the window's 50 mm.
        {"rod core, wide legs",
         {kRod, 50, 60, 70, 10, 15, true},
         {0, 0, 190, 80},
         {{P::Steel, {0, 0, 190, 80}, {}},
          {P::Window, {70, 10, 50, 60}, {}},
          {P::WindingI, {70, 10, 10, 60}, {}},
          {P::WindingII, {80, 10, 15, 60}, {}}}},
        // 30 + 35 mm in a 50 mm window: the last 15 mm lie over the steel beyond it.
        {"rod core, 15 mm too many",
         {kRod, 50, 60, 10, 30, 35, false},
         {0, 0, 75, 80},
         {{P::Steel, {0, 0, 70, 80}, {}},
          {P::Window, {10, 10, 50, 60}, {}},
          {P::WindingI, {10, 10, 30, 60}, {}},
          {P::WindingII, {40, 10, 35, 60}, {}},
          {P::Overflow, {60, 10, 15, 60}, {}}}},
        // 100 mm of windings reach past the steel: the drawing widens to 110 mm to show them,
        // and the wide area centres it.
        {"rod core, past the steel",
         {kRod, 50, 60, 10, 50, 50, false},
         {0, 0, 220, 80},
         {{P::Steel, {55, 0, 70, 80}, {}},
          {P::Window, {65, 10, 50, 60}, {}},
          {P::WindingI, {65, 10, 50, 60}, {}},
          {P::WindingII, {115, 10, 50, 60}, {}},
          {P::Overflow, {115, 10, 50, 60}, {}}}},
        // No leg: leg and frame of a fifth of the smaller side, 10 mm.
        {"rod core without the leg's width",
         {kRod, 50, 60, std::nullopt, std::nullopt, std::nullopt, true},
         {0, 0, 70, 80},
         {{P::Steel, {0, 0, 70, 80}, {}}, {P::Window, {10, 10, 50, 60}, {}}}},
        // A 100 mm hole in a 20 mm ring: winding I from ⌀100 to ⌀80, winding II on to ⌀70.
        {"toroid, both fit",
         {kRing, 100, 0, 20, 10, 5, true},
         {0, 0, 140, 140},
         {{P::Steel, {0, 0, 140, 140}, QRectF(20, 20, 100, 100)},
          {P::Window, {20, 20, 100, 100}, {}},
          {P::WindingI, {20, 20, 100, 100}, QRectF(30, 30, 80, 80)},
          {P::WindingII, {30, 30, 80, 80}, QRectF(35, 35, 70, 70)}}},
        {"toroid, winding I closes the hole",
         {kRing, 100, 0, 20, std::nullopt, std::nullopt, false},
         {0, 0, 280, 140},
         {{P::Steel, {70, 0, 140, 140}, QRectF(90, 20, 100, 100)},
          {P::Window, {90, 20, 100, 100}, {}},
          {P::Overflow, {90, 20, 100, 100}, {}}}},
        {"toroid, winding II closes what is left",
         {kRing, 100, 0, 20, 10, std::nullopt, false},
         {0, 0, 140, 140},
         {{P::Steel, {0, 0, 140, 140}, QRectF(20, 20, 100, 100)},
          {P::Window, {20, 20, 100, 100}, {}},
          {P::WindingI, {20, 20, 100, 100}, QRectF(30, 30, 80, 80)},
          {P::Overflow, {30, 30, 80, 80}, {}}}},
        {"toroid, builds not known yet",
         {kRing, 100, 0, 20, std::nullopt, std::nullopt, true},
         {0, 0, 140, 140},
         {{P::Steel, {0, 0, 140, 140}, QRectF(20, 20, 100, 100)}, {P::Window, {20, 20, 100, 100}, {}}}},
        {"no window width", {kRod, 0, 60, 20, 10, 15, true}, {0, 0, 90, 100}, {}},
        {"no window height", {kRod, 50, 0, 20, 10, 15, true}, {0, 0, 90, 100}, {}},
        {"no room", {kRod, 50, 60, 20, 10, 15, true}, {0, 0, 0, 100}, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(shapesOf(c.sizes, c.area), c.expected);
    }
}

TEST(WindingLayoutTest, NamesEachPartInsideIt) {
    const struct {
        const char *name;
        WindingSizes sizes;
        QRectF area;
        std::vector<std::pair<QString, QRectF>> expected;
    } cases[] = {
        {"rod core: the leg left of the window",
         {kRod, 50, 60, 20, 10, 15, true},
         {0, 0, 90, 80},
         {{QStringLiteral("стержень"), {0, 0, 20, 80}},
          {QStringLiteral("I"), {20, 10, 10, 60}},
          {QStringLiteral("II"), {30, 10, 15, 60}}}},
        {"toroid: the top of each ring",
         {kRing, 100, 0, 20, 10, 5, true},
         {0, 0, 140, 140},
         {{QStringLiteral("сердечник"), {35, 0, 70, 20}},
          {QStringLiteral("I"), {45, 20, 50, 10}},
          {QStringLiteral("II"), {50, 30, 40, 5}}}},
        // A name over a part under a pixel thick would smudge the parts beside it.
        {"rod core: a band of 0,001 mm unnamed",
         {kRod, 50, 60, 20, 0.001, 15, true},
         {0, 0, 90, 80},
         {{QStringLiteral("стержень"), {0, 0, 20, 80}}, {QStringLiteral("II"), {20.001, 10, 15, 60}}}},
        {"toroid: a ring of no build unnamed",
         {kRing, 100, 0, 20, 0, 5, true},
         {0, 0, 140, 140},
         {{QStringLiteral("сердечник"), {35, 0, 70, 20}}, {QStringLiteral("II"), {45, 20, 50, 5}}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::pair<QString, QRectF>> labels;
        for (const WindingPiece &piece : LayOutWinding(c.sizes, c.area)) {
            if (!piece.label.isEmpty()) labels.emplace_back(piece.label, piece.labelSpace);
        }
        EXPECT_EQ(labels, c.expected);
    }
}

}  // namespace
}  // namespace tremira::ui
