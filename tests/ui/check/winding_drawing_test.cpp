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
        // A 10 mm leg and yokes round a 50 × 60 window, 25 mm of windings on either side of the
        // left leg: 95 × 80 mm, twice over in 190 × 160 pixels.
        {"rod core, both fit",
         {kRod, 50, 60, 10, 10, 15, true, {}},
         {0, 0, 190, 160},
         {{P::Steel, {50, 0, 140, 160}, {}},
          {P::Window, {70, 20, 100, 120}, {}},
          {P::WindingI, {70, 20, 20, 120}, {}},
          {P::WindingII, {90, 20, 30, 120}, {}},
          {P::WindingI, {30, 20, 20, 120}, {}},
          {P::WindingII, {0, 20, 30, 120}, {}}}},
        // Both legs and both yokes 70 mm, the leg's width.
        {"rod core, wide legs",
         {kRod, 50, 60, 70, 10, 15, true, {}},
         {0, 0, 215, 200},
         {{P::Steel, {25, 0, 190, 200}, {}},
          {P::Window, {95, 70, 50, 60}, {}},
          {P::WindingI, {95, 70, 10, 60}, {}},
          {P::WindingII, {105, 70, 15, 60}, {}},
          {P::WindingI, {15, 70, 10, 60}, {}},
          {P::WindingII, {0, 70, 15, 60}, {}}}},
        // 30 + 35 mm in a 50 mm window: the last 15 mm lie over the steel beyond it.
        {"rod core, 15 mm too many",
         {kRod, 50, 60, 10, 30, 35, false, {}},
         {0, 0, 140, 80},
         {{P::Steel, {65, 0, 70, 80}, {}},
          {P::Window, {75, 10, 50, 60}, {}},
          {P::WindingI, {75, 10, 30, 60}, {}},
          {P::WindingII, {105, 10, 35, 60}, {}},
          {P::WindingI, {35, 10, 30, 60}, {}},
          {P::WindingII, {0, 10, 35, 60}, {}},
          {P::Overflow, {125, 10, 15, 60}, {}}}},
        // 100 mm of windings reach past the steel: the drawing widens to 210 mm to show them,
        // and the wide area centres it.
        {"rod core, past the steel",
         {kRod, 50, 60, 10, 50, 50, false, {}},
         {0, 0, 230, 80},
         {{P::Steel, {110, 0, 70, 80}, {}},
          {P::Window, {120, 10, 50, 60}, {}},
          {P::WindingI, {120, 10, 50, 60}, {}},
          {P::WindingII, {170, 10, 50, 60}, {}},
          {P::WindingI, {60, 10, 50, 60}, {}},
          {P::WindingII, {10, 10, 50, 60}, {}},
          {P::Overflow, {170, 10, 50, 60}, {}}}},
        // No leg: legs and yokes of a fifth of the smaller side, 10 mm.
        {"rod core without the leg's width",
         {kRod, 50, 60, std::nullopt, std::nullopt, std::nullopt, true, {}},
         {0, 0, 70, 80},
         {{P::Steel, {0, 0, 70, 80}, {}}, {P::Window, {10, 10, 50, 60}, {}}}},
        // A 100 mm hole in a 20 mm ring: winding I from ⌀100 to ⌀80, winding II on to ⌀70.
        {"toroid, both fit",
         {kRing, 100, 0, 20, 10, 5, true, {}},
         {0, 0, 140, 140},
         {{P::Steel, {0, 0, 140, 140}, QRectF(20, 20, 100, 100)},
          {P::Window, {20, 20, 100, 100}, {}},
          {P::WindingI, {20, 20, 100, 100}, QRectF(30, 30, 80, 80)},
          {P::WindingII, {30, 30, 80, 80}, QRectF(35, 35, 70, 70)}}},
        {"toroid, winding I closes the hole",
         {kRing, 100, 0, 20, std::nullopt, std::nullopt, false, {}},
         {0, 0, 280, 140},
         {{P::Steel, {70, 0, 140, 140}, QRectF(90, 20, 100, 100)},
          {P::Window, {90, 20, 100, 100}, {}},
          {P::Overflow, {90, 20, 100, 100}, {}}}},
        {"toroid, winding II closes what is left",
         {kRing, 100, 0, 20, 10, std::nullopt, false, {}},
         {0, 0, 140, 140},
         {{P::Steel, {0, 0, 140, 140}, QRectF(20, 20, 100, 100)},
          {P::Window, {20, 20, 100, 100}, {}},
          {P::WindingI, {20, 20, 100, 100}, QRectF(30, 30, 80, 80)},
          {P::Overflow, {30, 30, 80, 80}, {}}}},
        {"toroid, builds not known yet",
         {kRing, 100, 0, 20, std::nullopt, std::nullopt, true, {}},
         {0, 0, 140, 140},
         {{P::Steel, {0, 0, 140, 140}, QRectF(20, 20, 100, 100)}, {P::Window, {20, 20, 100, 100}, {}}}},
        {"no window width", {kRod, 0, 60, 20, 10, 15, true, {}}, {0, 0, 90, 100}, {}},
        {"no window height", {kRod, 50, 0, 20, 10, 15, true, {}}, {0, 0, 90, 100}, {}},
        {"no room", {kRod, 50, 60, 20, 10, 15, true, {}}, {0, 0, 0, 100}, {}},
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
         {kRod, 50, 60, 20, 10, 15, true, {}},
         {0, 0, 115, 100},
         {{QStringLiteral("стержень"), {25, 0, 20, 100}},
          {QStringLiteral("I"), {45, 20, 10, 60}},
          {QStringLiteral("II"), {55, 20, 15, 60}}}},
        {"toroid: the top of each ring",
         {kRing, 100, 0, 20, 10, 5, true, {}},
         {0, 0, 140, 140},
         {{QStringLiteral("сердечник"), {35, 0, 70, 20}},
          {QStringLiteral("I"), {45, 20, 50, 10}},
          {QStringLiteral("II"), {50, 30, 40, 5}}}},
        // A name over a part under a pixel thick would smudge the parts beside it.
        {"rod core: a band of 0,001 mm unnamed",
         {kRod, 50, 60, 20, 0.001, 15, true, {}},
         {0, 0, 105.001, 100},
         {{QStringLiteral("стержень"), {15.001, 0, 20, 100}}, {QStringLiteral("II"), {35.002, 20, 15, 60}}}},
        {"toroid: a ring of no build unnamed",
         {kRing, 100, 0, 20, 0, 5, true, {}},
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

// The first piece of `part`.
QRectF outerOf(const DimensionedWinding &layout, WindingPart part) {
    for (const WindingPiece &piece : layout.pieces) {
        if (piece.part == part) return piece.outer;
    }
    return {};
}

// Pixels a millimetre, read off the window's width c.
double scaleOf(const DimensionedWinding &layout, double windowWidth) {
    return outerOf(layout, P::Window).width() / windowWidth;
}

constexpr double kLine = 10;  // the font's line, pixels

TEST(WindingLayoutTest, DrawsBothLegsAndYokesOfTheLegsWidth) {
    for (const std::optional<double> leg :
         {std::optional<double>(70), std::optional<double>(5), std::optional<double>()}) {
        SCOPED_TRACE(leg.value_or(0));
        const DimensionedWinding layout =
            LayOutDimensioned({kRod, 50, 60, leg, 10, 15, true, 121}, {0, 0, 400, 300}, kLine);
        const QRectF steel = outerOf(layout, P::Steel);
        const QRectF window = outerOf(layout, P::Window);
        // No leg typed: legs and yokes of a fifth of the window's smaller side, 10 mm.
        const double legPixels = leg.value_or(10) * scaleOf(layout, 50);
        EXPECT_NEAR(window.left() - steel.left(), legPixels, 1e-9) << "left leg";
        EXPECT_NEAR(steel.right() - window.right(), legPixels, 1e-9) << "right leg";
        EXPECT_NEAR(window.top() - steel.top(), legPixels, 1e-9) << "upper yoke";
        EXPECT_NEAR(steel.bottom() - window.bottom(), legPixels, 1e-9) << "lower yoke";
    }
}

TEST(WindingLayoutTest, DimensionsStateTheSizesAtTheDrawingsScale) {
    const struct {
        const char *name;
        WindingSizes sizes;
        std::vector<std::pair<QString, double>> figures;  // each dimension's text and its size, mm
        double scaleBar;                                  // mm
    } cases[] = {
        // 25 + 70 + 50 + 70 mm wide: the longest round length in a third of 215 mm is 50 mm.
        {"rod core, leg typed",
         {kRod, 50, 60, 70, 10, 15.25, true, 121},
         {{u"a = 70"_qs, 70}, {u"h = 60"_qs, 60}, {u"t₁ = 10"_qs, 10}, {u"t₂ = 15,3"_qs, 15.25}, {u"c = 50"_qs, 50}},
         50},
        // Legs of the thin frame, 10 mm: no size to state; 70 mm wide, so 20 mm.
        {"rod core, no leg nor builds",
         {kRod, 50, 60, std::nullopt, std::nullopt, std::nullopt, true, {}},
         {{u"h = 60"_qs, 60}, {u"c = 50"_qs, 50}},
         20},
        // A 110 mm hole in a 40 mm ring, 190 mm across: 50 mm.
        {"toroid",
         {kRing, 110, 0, 40, 20, 17, true, 60},
         {{u"a = 40"_qs, 40}, {u"t₁ = 20"_qs, 20}, {u"t₂ = 17"_qs, 17}, {u"⌀ 110"_qs, 110}, {u"⌀ 190"_qs, 190}},
         50},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const DimensionedWinding layout = LayOutDimensioned(c.sizes, {0, 0, 500, 400}, kLine);
        const double scale = scaleOf(layout, c.sizes.windowWidth);
        std::vector<std::pair<QString, double>> figures;
        for (const Dimension &dimension : layout.dimensions) {
            figures.emplace_back(dimension.text, dimension.millimetres);
            EXPECT_NEAR(dimension.line.length(), dimension.millimetres * scale, 1e-9) << dimension.text.toStdString();
        }
        EXPECT_EQ(figures, c.figures);
        ASSERT_TRUE(layout.scaleBar);
        EXPECT_EQ(layout.scaleBar->millimetres, c.scaleBar);
        EXPECT_EQ(layout.scaleBar->text, QStringLiteral("%1 мм").arg(c.scaleBar));
        EXPECT_NEAR(layout.scaleBar->bar.length(), c.scaleBar * scale, 1e-9);
    }
}

// Everything drawn, its lines and its figures' spaces within the area, and no figure over
// another's.
TEST(WindingLayoutTest, KeepsEverythingInsideTheAreaAndTheFiguresApart) {
    const auto inside = [](const QRectF &shape, const QRectF &area) {
        const QRectF slack = area.adjusted(-1e-9, -1e-9, 1e-9, 1e-9);
        return slack.contains(shape.topLeft()) && slack.contains(shape.bottomRight());
    };
    const QRectF areas[] = {{0, 0, 500, 400}, {10, 20, 160, 140}, {0, 0, 900, 120}};
    const WindingSizes sizes[] = {{kRod, 50, 60, 70, 10, 15, true, 121},
                                  {kRod, 50, 60, 10, 50, 50, false, {}},
                                  {kRing, 110, 0, 40, 20, 17, true, 60},
                                  {kRing, 100, 0, 20, std::nullopt, std::nullopt, false, {}}};
    for (const QRectF &area : areas) {
        for (const WindingSizes &s : sizes) {
            SCOPED_TRACE(QStringLiteral("%1 × %2 in %3 × %4")
                             .arg(s.windowWidth)
                             .arg(s.windowHeight)
                             .arg(area.width())
                             .arg(area.height())
                             .toStdString());
            const DimensionedWinding layout = LayOutDimensioned(s, area, kLine);
            ASSERT_FALSE(layout.pieces.empty());
            for (const WindingPiece &piece : layout.pieces) EXPECT_TRUE(inside(piece.outer, area));
            std::vector<QRectF> texts{layout.scaleBar->textSpace};
            EXPECT_TRUE(inside(QRectF(layout.scaleBar->bar.p1(), layout.scaleBar->bar.p2()), area));
            for (const Dimension &d : layout.dimensions) {
                SCOPED_TRACE(d.text.toStdString());
                EXPECT_TRUE(inside(QRectF(d.line.p1(), d.line.p2()), area));
                for (const QLineF &extension : d.extensions)
                    EXPECT_TRUE(inside(QRectF(extension.p1(), extension.p2()), area));
                EXPECT_TRUE(inside(d.textSpace, area));
                for (const QRectF &other : texts) EXPECT_FALSE(d.textSpace.intersects(other));
                texts.push_back(d.textSpace);
            }
        }
    }
}

}  // namespace
}  // namespace tremira::ui
