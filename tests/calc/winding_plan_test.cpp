// The winding plan: core from the leg sides, builds, wire to buy, taps, a second mains voltage
// and the circuit breaker. Expected figures are worked out by hand from the formulas.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "calc/winding_plan.h"

namespace tremira::calc {
namespace {

constexpr std::optional<NoFigure> kKnown = std::nullopt;
constexpr NoFigure kNotGiven = NoFigure::NotGiven;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr Saturation kNone = Saturation::None;

// Run A as the calculation gives it (220 V, 65 V, 160 A, copper, rod core, 1,42 T), with a
// 50 × 60 mm window, k 0,35 and a 70 × 121 mm leg.
WindingPlanInput runA() {
    WindingPlanInput in;
    in.design = {220, 65, 160, 84.672F, 1.42F, 0, Material::Copper, Material::Copper};
    in.results = {10400, 83, 25, 6, 20, 5600, 48.19277F};
    in.fillFactor = 0.35;
    in.windowWidth = 50;
    in.windowHeight = 60;
    in.legWidth = 70;
    in.legDepth = 121;
    return in;
}

// A design on a toroid with a hole of D mm in a ring a mm wide and b mm high, at k 0,35.
WindingPlanInput onToroid(const InputNumbers &design, const ResultNumbers &results, double d, double a, double b) {
    WindingPlanInput in = runA();
    in.design = design;
    in.results = results;
    in.windowWidth = d;
    in.windowHeight = NoFigure::NotGiven;
    in.legWidth = a;
    in.legDepth = b;
    return in;
}

// Run A on a toroid with aluminium winding I, as the calculation gives it, in a ring 40 mm
// wide and 152 mm high round a 120 mm hole.
WindingPlanInput toroidRun() {
    return onToroid({220, 65, 160, 60.48F, 1.42F, kToroidIndex, Material::Aluminium, Material::Copper},
                    {10400, 117, 35, 10, 20, 4000, 47.86325F}, 120, 40, 152);
}

struct ExpectedWire {
    int turns;
    double section;
    double meanTurn, length;
    int lengthToBuy;
    double massToBuy, resistance;
};

void expectWire(const Figure<WireToBuy> &figure, const ExpectedWire &expected) {
    ASSERT_TRUE(figure.known());
    const WireToBuy &wire = figure.value();
    EXPECT_EQ(wire.turns, expected.turns);
    EXPECT_NEAR(wire.section, expected.section, 5e-5);
    EXPECT_NEAR(wire.meanTurn, expected.meanTurn, 0.05);
    EXPECT_NEAR(wire.length, expected.length, 0.005);
    EXPECT_EQ(wire.lengthToBuy, expected.lengthToBuy);
    EXPECT_NEAR(wire.massToBuy, expected.massToBuy, 0.0005);
    EXPECT_NEAR(wire.resistance, expected.resistance, expected.resistance * 1e-3);
}

void expectTaps(const Figure<TapTable> &table, const std::vector<Tap> &expected) {
    ASSERT_TRUE(table.known());
    const std::span<const Tap> taps = table.value().taps();
    ASSERT_EQ(taps.size(), expected.size());
    for (std::size_t i = 0; i < taps.size(); ++i) {
        SCOPED_TRACE("tap " + std::to_string(i + 1));
        EXPECT_EQ(taps[i].turns, expected[i].turns);
        EXPECT_NEAR(taps[i].noLoadVoltage, expected[i].noLoadVoltage, 5e-4);
        EXPECT_NEAR(taps[i].induction, expected[i].induction, 5e-5);
        EXPECT_EQ(taps[i].aboveSafeVoltage, expected[i].aboveSafeVoltage);
        EXPECT_EQ(taps[i].saturation, expected[i].saturation);
    }
}

// Turns first..last of a section, mm², of a wire.
struct Span {
    int first, last;
    double section;
    std::string_view wire;
};

void expectSpan(const TurnSpan &span, const Span &expected) {
    EXPECT_EQ(span.first, expected.first);
    EXPECT_EQ(span.last, expected.last);
    EXPECT_NEAR(span.section, expected.section, 5e-5);
    EXPECT_EQ(WireText(span.wire), expected.wire);
}

void expectSecondMains(const Figure<SecondMains> &figure, int turns, double section, const Span &lower,
                       const std::optional<Span> &higher) {
    ASSERT_TRUE(figure.known());
    const SecondMains &mains = figure.value();
    EXPECT_EQ(mains.turns, turns);
    EXPECT_NEAR(mains.wire.section, section, 5e-5);
    expectSpan(mains.lowerMainsTurns, lower);
    ASSERT_EQ(mains.higherMainsTurns.has_value(), higher.has_value());
    if (higher) expectSpan(*mains.higherMainsTurns, *higher);
}

TEST(PlanWinding, WorkedPlanOfRunA) {
    const WindingPlan plan = PlanWinding(runA());

    ASSERT_TRUE(plan.core.known());
    EXPECT_NEAR(plan.core.value().section, 84.7, 1e-9);
    EXPECT_EQ(plan.core.value().match, SectionMatch::WithinTolerance);
    ASSERT_TRUE(plan.buildI.known() && plan.buildII.known() && plan.fitsWindow.known());
    EXPECT_NEAR(plan.buildI.value(), 23.714, 5e-4);
    EXPECT_NEAR(plan.buildII.value(), 23.810, 5e-4);
    EXPECT_TRUE(plan.fitsWindow.value());
    // Winding I: 37,89 m with 10 % is 41,68 m, so 42 m to buy and 41,68 m × 6 mm² × 8,89 g/cm³
    // = 2,223 kg of it.
    expectWire(plan.wireI, {83, 6, 456.50, 37.890, 42, 2.223, 0.11051});
    EXPECT_EQ(plan.wireIOuter.reason(), NoFigure::NotGiven);
    expectWire(plan.wireII, {25, 20, 605.80, 15.145, 17, 2.962, 0.013252});
    ASSERT_TRUE(plan.resistanceI.known() && plan.copperLosses.known());
    EXPECT_NEAR(plan.resistanceI.value(), 0.11051, 1e-4);
    EXPECT_NEAR(plan.copperLosses.value(), 595.9, 0.05);
    EXPECT_EQ(plan.taps.reason(), NoFigure::NotGiven);
    EXPECT_EQ(plan.secondMains.reason(), NoFigure::NotGiven);

    ASSERT_TRUE(plan.breakerRating.known() && plan.needsDedicatedLine.known());
    EXPECT_EQ(plan.breakerRating.value(), 50);
    EXPECT_TRUE(plan.needsDedicatedLine.value());
}

// Four taps from 50 V and 380 V besides: winding I runs to 108 turns of 6 mm² for the taps on
// 220 V, then on to 143 turns for 380 V, of the round wire for 48,19 × 220 ÷ 380 ÷ 8 = 3,49 mm²:
// 2,12 mm, 3,53 mm². Both wires take their room in the window, each span round its own mean turn.
TEST(PlanWinding, TapsAndASecondMainsVoltageLengthenWindingI) {
    WindingPlanInput input = runA();
    input.tapCount = 4;
    input.lowestTapVoltage = 50;
    input.secondMainsVoltage = 380;
    const WindingPlan plan = PlanWinding(input);

    expectTaps(plan.taps, {{108, 50.926, 1.1407, false, kNone},
                           {98, 56.122, 1.2571, false, kNone},
                           {90, 61.111, 1.3689, false, kNone},
                           {83, 66.265, 1.4843, false, kNone}});
    expectSecondMains(plan.secondMains, 143, 3.5299, {1, 108, 6, "2,80"}, Span{109, 143, 3.5299, "2,12"});
    const SecondMains &mains = plan.secondMains.value();
    EXPECT_NEAR(mains.current, 27.901, 5e-4);  // 48,19277 × 220 ÷ 380
    ASSERT_TRUE(mains.breakerRating.known());
    EXPECT_EQ(mains.breakerRating.value(), 32);
    EXPECT_TRUE(mains.needsDedicatedLine);

    // t = 108 × 6 ÷ 0,35 ÷ 60 = 30,857 mm, then 35 × 3,5299 ÷ 0,35 ÷ 60 = 5,883 mm: 36,740 mm,
    // with winding II's 23,81 mm more than the 50 mm window by 10,55 mm.
    ASSERT_TRUE(plan.buildI.known() && plan.fitsWindow.known());
    EXPECT_NEAR(plan.buildI.value(), 36.740, 5e-4);
    EXPECT_FALSE(plan.fitsWindow.value());
    EXPECT_EQ(plan.roomLeft.reason(), NoFigure::DoesNotFit);
    // MLT = 2(70 + 121) + π·(2·t_under + t): 382 + π × 30,857 = 478,94 mm for turns 1–108;
    // 382 + π × (61,714 + 5,883) = 594,36 mm for turns 109–143, 35 × 0,59436 = 20,80 m, with
    // 10 % 22,88 m, so 23 m to buy; 382 + π × (73,480 + 23,810) = 687,65 mm for winding II.
    expectWire(plan.wireI, {108, 6, 478.94, 51.726, 57, 3.0349, 0.15087});
    expectWire(plan.wireIOuter, {35, 3.5299, 594.36, 20.803, 23, 0.71809, 0.10313});
    expectWire(plan.wireII, {25, 20, 687.65, 17.191, 19, 3.3622, 0.015042});
    // The design's current runs through its own 83 turns only, all of the first wire:
    // 0,0175 × 83 × 0,47894 ÷ 6 Ω; 48,19² × 0,11594 + 160² × 0,015042 W.
    ASSERT_TRUE(plan.resistanceI.known() && plan.copperLosses.known());
    EXPECT_NEAR(plan.resistanceI.value(), 0.11594, 1e-5);
    EXPECT_NEAR(plan.copperLosses.value(), 654.4, 0.05);
}

TEST(PlanWinding, ToroidWithAluminiumWindingI) {
    const WindingPlan plan = PlanWinding(toroidRun());

    ASSERT_TRUE(plan.core.known());
    EXPECT_NEAR(plan.core.value().section, 60.8, 1e-9);
    EXPECT_EQ(plan.core.value().match, SectionMatch::WithinTolerance);
    ASSERT_TRUE(plan.buildI.known() && plan.buildII.known() && plan.fitsWindow.known());
    EXPECT_NEAR(plan.buildI.value(), 9.6419, 5e-4);   // in the 120 mm hole
    EXPECT_NEAR(plan.buildII.value(), 6.7769, 5e-4);  // in the 100,72 mm hole left
    EXPECT_TRUE(plan.fitsWindow.value());
    ASSERT_TRUE(plan.roomLeft.known());
    EXPECT_NEAR(plan.roomLeft.value(), 87.162, 5e-4);  // 120 − 2 × (9,6419 + 6,7769)
    // Outside the ring, 200 mm across, winding I's 3342,9 mm² build (√(200² + 4 × 3342,9 ÷ π)
    // − 200) ÷ 2 = 5,1859 mm, winding II's 2000 mm² over it 2,9838 mm: MLT₁ = 2(40 + 152) + π ×
    // (9,6419 + 5,1859) ÷ 2 = 407,29 mm, MLT₂ = 384 + π × (26,061 + 13,356) ÷ 2 = 445,92 mm.
    expectWire(plan.wireI, {117, 10, 407.29, 47.653, 53, 1.4153, 0.13438});
    expectWire(plan.wireII, {35, 20, 445.92, 15.607, 18, 3.0524, 0.013656});
    ASSERT_TRUE(plan.copperLosses.known());
    EXPECT_NEAR(plan.copperLosses.value(), 657.5, 0.05);
}

WindingPlanInput changed(WindingPlanInput input, const std::function<void(WindingPlanInput &)> &change) {
    change(input);
    return input;
}

// A toroid from a burnt autotransformer: 220 V, 65 V, 100 A, 24 cm², aluminium winding II, in a
// ring 40 mm wide and 60 mm high round a 110 mm hole, as the calculation gives it.
WindingPlanInput trialToroid() {
    return onToroid({220, 65, 100, 24, 1.42F, kToroidIndex, Material::Copper, Material::Aluminium},
                    {6500, 294, 87, 4, 20, 2500, 29.59184F}, 110, 40, 60);
}

// Inside the hole winding I's 294 × 4 ÷ 0,35 = 3360 mm² build (110 − √(110² − 4 × 3360 ÷ π)) ÷ 2
// = 10,779 mm, winding II's 4971,4 mm² in the 88,441 mm hole left 24,907 mm. Outside, round the
// ring's 190 mm, the same areas build (√(190² + 4278,1) − 190) ÷ 2 = 5,471 mm and, from 200,943 mm,
// 7,589 mm. MLT₁ = 2(40 + 60) + π × (10,779 + 5,471) ÷ 2 = 225,53 mm and MLT₂ = 200 + π ×
// ((21,558 + 24,907) + (10,943 + 7,589)) ÷ 2 = 302,10 mm, where the build inside all the way
// round gave 346. The hole left is 110 − 2 × (10,779 + 24,907) = 38,63 mm.
TEST(PlanWinding, ToroidBuildsLessOutsideTheRingThanInTheHole) {
    const WindingPlan plan = PlanWinding(trialToroid());
    ASSERT_TRUE(plan.buildI.known() && plan.buildII.known() && plan.roomLeft.known());
    EXPECT_NEAR(plan.buildI.value(), 10.779, 5e-4);
    EXPECT_NEAR(plan.buildII.value(), 24.907, 5e-4);
    EXPECT_NEAR(plan.roomLeft.value(), 38.628, 5e-4);
    ASSERT_TRUE(plan.wireI.known() && plan.wireII.known());
    EXPECT_NEAR(plan.wireI.value().meanTurn, 225.53, 5e-3);
    EXPECT_NEAR(plan.wireII.value().meanTurn, 302.10, 5e-3);
}

struct ExpectedLayers {
    const char *name;
    WindingPlanInput input;
    Figure<WireToBuy> WindingPlan::*wire;
    std::optional<Layers> layers;  // none: not one turn fits a layer
    int strands;
    double length, lengthInAll;
    int toBuy, toBuyInAll;
};

// A layer holds ⌊h ÷ (strands × d over the enamel)⌋ turns on a rod core, ⌊π·D ÷ (strands × d)⌋
// round the hole D a toroid's winding starts on; the layers are ⌈turns ÷ that⌉. A bundle of
// strands is bought strand by strand, each as long as the winding.
TEST(PlanWinding, TurnsPerLayerAndStrandLengths) {
    WindingPlanInput runATapped = runA();
    runATapped.tapCount = 4;
    runATapped.lowestTapVoltage = 50;
    runATapped.secondMainsVoltage = 380;
    const ExpectedLayers cases[] = {
        // 60 ÷ 2,880 = 20,8: 108 turns of 2,80 in 20 a layer make 6 layers.
        {"run A, turns 1–108", runATapped, &WindingPlan::wireI, Layers{20, 6}, 1, 51.726, 51.726, 57, 57},
        // 60 ÷ 2,196 = 27,3: 35 turns of 2,12.
        {"run A, turns 109–143", runATapped, &WindingPlan::wireIOuter, Layers{27, 2}, 1, 20.803, 20.803, 23, 23},
        // 60 ÷ (3 × 3,083) = 6,49: 25 turns of 3 × 3,00 in 6 a layer; 17,191 m of each strand, 19 m to
        // buy, so 3 × 19 = 57 m of 3,00 wire.
        {"run A, winding II", runATapped, &WindingPlan::wireII, Layers{6, 5}, 3, 17.191, 51.573, 19, 57},
        // π × 120 ÷ 3,842 = 98,1: 117 turns of 3,75 round the toroid's hole.
        {"toroid, winding I", toroidRun(), &WindingPlan::wireI, Layers{98, 2}, 1, 47.653, 47.653, 53, 53},
        // π × (120 − 2 × 9,6419) ÷ 9,249 = 34,2 round the hole winding I leaves.
        {"toroid, winding II", toroidRun(), &WindingPlan::wireII, Layers{34, 2}, 3, 15.607, 46.821, 18, 54},
        // 5 ÷ 2,880: one turn a layer; 5 ÷ 9,249: not one.
        {"5 mm high, winding I", changed(runA(), [](auto &in) { in.windowHeight = 5; }), &WindingPlan::wireI,
         Layers{1, 83}, 1, 105.909, 105.909, 117, 117},
        {"5 mm high, winding II", changed(runA(), [](auto &in) { in.windowHeight = 5; }), &WindingPlan::wireII,
         std::nullopt, 3, 76.690, 230.071, 85, 255},
    };
    for (const ExpectedLayers &c : cases) {
        SCOPED_TRACE(c.name);
        const Figure<WireToBuy> wire = PlanWinding(c.input).*c.wire;
        ASSERT_TRUE(wire.known());
        const WireToBuy &w = wire.value();
        if (c.layers) {
            ASSERT_TRUE(w.layers.known());
            EXPECT_EQ(w.layers.value().turnsPerLayer, c.layers->turnsPerLayer);
            EXPECT_EQ(w.layers.value().count, c.layers->count);
        } else {
            EXPECT_EQ(w.layers.reason(), NoFigure::NoTurnInLayer);
        }
        EXPECT_EQ(w.wire.strands, c.strands);
        EXPECT_NEAR(w.length, c.length, 5e-3);
        EXPECT_NEAR(w.lengthInAll, c.lengthInAll, 5e-3);
        EXPECT_EQ(w.lengthToBuy, c.toBuy);
        EXPECT_EQ(w.lengthToBuyInAll, c.toBuyInAll);
    }
}

TEST(PlanWinding, AluminiumWindingIIOutgrowsTheRodWindow) {
    WindingPlanInput input = runA();
    input.design.materialII = Material::Aluminium;
    input.results.q2 = 32;
    const WindingPlan plan = PlanWinding(input);

    ASSERT_TRUE(plan.buildII.known() && plan.fitsWindow.known());
    EXPECT_NEAR(plan.buildII.value(), 38.095, 5e-4);
    EXPECT_FALSE(plan.fitsWindow.value());  // 23,71 + 38,10 mm across a 50 mm window
    expectWire(plan.wireII, {25, 32, 650.68, 16.267, 18, 1.5460, 0.014335});
    ASSERT_TRUE(plan.copperLosses.known());
    EXPECT_NEAR(plan.copperLosses.value(), 623.7, 0.05);
}

TEST(PlanWinding, CoreFromTheLegSidesAgainstTheSectionUsed) {
    struct Case {
        const char *name;
        float used;
        double a, b, section;
        SectionMatch match;
    };
    const Case cases[] = {
        {"run A", 84.672F, 70, 121, 84.7, SectionMatch::WithinTolerance},
        {"5 % more", 80, 70, 120, 84, SectionMatch::WithinTolerance},
        {"over 5 % more", 80, 70, 120.15, 84.105, SectionMatch::SidesGiveMore},
        {"5 % less", 80, 40, 190, 76, SectionMatch::WithinTolerance},
        {"under 5 % less", 80, 40, 189.5, 75.8, SectionMatch::SidesGiveLess},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        WindingPlanInput input = runA();
        input.design.coreSection = c.used;
        input.legWidth = c.a;
        input.legDepth = c.b;
        const Figure<CoreFromSides> core = PlanWinding(input).core;
        ASSERT_TRUE(core.known());
        EXPECT_NEAR(core.value().section, c.section, 1e-9);
        EXPECT_EQ(core.value().match, c.match);
    }
}

void expectBuild(const Figure<double> &build, std::optional<double> expected) {
    if (!expected) {
        EXPECT_EQ(build.reason(), NoFigure::DoesNotFit);
        return;
    }
    ASSERT_TRUE(build.known());
    EXPECT_NEAR(build.value(), *expected, 5e-4);
}

TEST(PlanWinding, WindingsFitTheWindowOrTheHole) {
    struct Case {
        const char *name;
        WindingPlanInput input;
        Figure<double> width, height;
        std::optional<double> t1, t2;  // none: the winding does not fit the hole
        bool fits;
        std::optional<NoFigure> wireI, wireII;
    };
    const Case cases[] = {
        {"rod, 47,6 mm wide holds 47,52 mm", runA(), 47.6, 60, 23.714, 23.810, true, kKnown, kKnown},
        {"rod, 47 mm wide does not", runA(), 47, 60, 23.714, 23.810, false, kKnown, kKnown},
        {"rod, 40 mm high builds thicker", runA(), 50, 40, 35.571, 35.714, false, kKnown, kKnown},
        {"toroid, winding II closes the 80 mm hole", toroidRun(), 80, kNotGiven, 16.850, std::nullopt, false, kKnown,
         NoFigure::DoesNotFit},
        {"toroid, winding I closes the 60 mm hole", toroidRun(), 60, kNotGiven, std::nullopt, std::nullopt, false,
         NoFigure::DoesNotFit, NoFigure::DoesNotFit},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        WindingPlanInput input = c.input;
        input.windowWidth = c.width;
        input.windowHeight = c.height;
        const WindingPlan plan = PlanWinding(input);
        expectBuild(plan.buildI, c.t1);
        expectBuild(plan.buildII, c.t2);
        ASSERT_TRUE(plan.fitsWindow.known());
        EXPECT_EQ(plan.fitsWindow.value(), c.fits);
        EXPECT_EQ(plan.wireI.reason(), c.wireI);
        EXPECT_EQ(plan.wireII.reason(), c.wireII);
    }
}

// The drawing takes the window and the leg within the plan's limits; a size outside them, or a
// window size not given, is named instead. A leg not given is drawn as a frame.
TEST(PlanWinding, DrawingTakesOnlySizesWithinThePlansLimits) {
    constexpr double kHuge = 1.7e308;
    struct Case {
        const char *name;
        WindingPlanInput input;
        const char *reason;  // none: drawn
        double width = 0, height = 0;
        std::optional<double> leg = {};
        std::optional<double> depth = {};
    };
    const Case cases[] = {
        {"run A", runA(), nullptr, 50, 60, 70, 121},
        {"rod, no leg", changed(runA(), [](auto &in) { in.legWidth = kNotGiven; }), nullptr, 50, 60, std::nullopt, 121},
        {"rod, huge depth drawn without it", changed(runA(), [](auto &in) { in.legDepth = kHuge; }), nullptr, 50, 60,
         70, std::nullopt},
        {"toroid, no height read", toroidRun(), nullptr, 120, 0, 40, 152},
        {"rod, no width", changed(runA(), [](auto &in) { in.windowWidth = kNotGiven; }), "ширина окна: не задано"},
        {"rod, huge width and height", changed(runA(), [](auto &in) { in.windowWidth = in.windowHeight = kHuge; }),
         "ширина окна: вне разумных пределов"},
        {"rod, huge height", changed(runA(), [](auto &in) { in.windowHeight = kHuge; }),
         "высота окна: вне разумных пределов"},
        {"rod, height no number", changed(runA(), [](auto &in) { in.windowHeight = NoFigure::NotANumber; }),
         "высота окна: не число"},
        {"rod, huge leg", changed(runA(), [](auto &in) { in.legWidth = 1e308; }),
         "ширина стержня: вне разумных пределов"},
        {"toroid, huge hole", changed(toroidRun(), [](auto &in) { in.windowWidth = kHuge; }),
         "внутренний диаметр: вне разумных пределов"},
        {"toroid, ring of NaN", changed(toroidRun(), [](auto &in) { in.legWidth = kNaN; }),
         "ширина кольца: вне разумных пределов"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const Figure<WindingSizes> drawing = DrawingOf(c.input, PlanWinding(c.input));
        if (c.reason) {
            ASSERT_FALSE(drawing.known());
            EXPECT_EQ(ReasonText(drawing.why()), c.reason);
            continue;
        }
        ASSERT_TRUE(drawing.known());
        EXPECT_EQ(drawing.value().windowWidth, c.width);
        EXPECT_EQ(drawing.value().windowHeight, c.height);
        EXPECT_EQ(drawing.value().legWidth, c.leg);
        EXPECT_EQ(drawing.value().legDepth, c.depth);
    }
}

// Designs at 220 V of w₁ and w₂ turns for U₂ on a core of S cm², with taps from a lowest voltage.
WindingPlanInput tapped(Int16 u2, float s, Int16 w1, Int16 w2, int count, double lowest) {
    WindingPlanInput in = runA();
    in.design.outputVoltage = u2;
    in.design.coreSection = s;
    in.results.w1 = w1;
    in.results.w2 = w2;
    in.tapCount = count;
    in.lowestTapVoltage = lowest;
    return in;
}

TEST(PlanWinding, TapsFromTheLowestVoltageUpToTheDesign) {
    struct Case {
        const char *name;
        WindingPlanInput input;
        std::vector<Tap> taps;
    };
    const Case cases[] = {
        {"run A, two taps from 40 V",
         tapped(65, 84.672F, 83, 25, 2, 40),
         {{135, 40.741, 0.91258, false, kNone}, {83, 66.265, 1.4843, false, kNone}}},
        {"halves to even: 21 × 75 ÷ 30 = 52,5 turns",
         tapped(75, 336, 21, 7, 3, 30),
         {{52, 29.615, 0.59704, false, kNone},
          {30, 51.333, 1.03487, false, kNone},
          {21, 73.333, 1.47838, false, kNone}}},
        {"above 80 V and saturated on the design's own tap",
         tapped(90, 560, 9, 4, 2, 60),
         {{14, 62.857, 1.33055, false, kNone}, {9, 97.778, 2.06974, true, Saturation::AnySteel}}},
        {"exactly 80 V is not above it, 1,69 T may saturate ordinary steel",
         tapped(80, 560, 11, 4, 2, 40),
         {{22, 40, 0.84671, false, kNone}, {11, 80, 1.69342, false, Saturation::OrdinarySteel}}},
        // 63 V to 65 V in seven steps: 85,6; 85,3; 84,9; 84,5; 84,1; 83,7; 83,4 and 83 turns.
        {"eight taps from 63 V land on four turns, each once",
         tapped(65, 84.672F, 83, 25, 8, 63),
         {{86, 63.953, 1.43254, false, kNone},
          {85, 64.706, 1.44940, false, kNone},
          {84, 65.476, 1.46665, false, kNone},
          {83, 66.265, 1.4843, false, kNone}}},
        {"eight taps from 64,9999 V are all w₁",
         tapped(65, 84.672F, 83, 25, 8, 64.9999),
         {{83, 66.265, 1.4843, false, kNone}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        expectTaps(PlanWinding(c.input).taps, c.taps);
    }
}

// The taps, where asked, run from 50 V: the design's mains then runs winding I to 108 turns.
TEST(PlanWinding, SecondMainsVoltage) {
    constexpr Material kCu = Material::Copper;
    struct Case {
        Material materialI;
        Int16 sectionI;
        Figure<int> taps;
        double voltage;
        int turns;
        double section;
        Span lower;
        std::optional<Span> higher;
        double current;
        int breaker;
        // Ω of turns 1..w₁; on 127 V they run on from the first wire to the second, round its own
        // mean turn: 0,0175 × 48 × 461,31 ÷ 11,045 + 0,0175 × 35 × 572,03 ÷ 6 Ω without taps.
        double resistanceI;
    };
    const Case cases[] = {
        // 27,901 ÷ 8 = 3,488 mm²: 2,12 mm.
        {kCu, 6, kNotGiven, 380, 143, 3.5299, {1, 83, 6, "2,80"}, Span{84, 143, 3.5299, "2,12"}, 27.901, 32, 0.11051},
        // Aluminium at 5 A/mm²: 5,580 mm², 2,80 mm.
        {Material::Aluminium,
         10,
         kNotGiven,
         380,
         143,
         6.1575,
         {1, 83, 10, "3,75"},
         Span{84, 143, 6.1575, "2,80"},
         27.901,
         32,
         0.11847},
        // 83,484 ÷ 8 = 10,436 mm²: 3,75 mm, thicker than winding I's 2,80.
        {kCu, 6, kNotGiven, 127, 48, 11.0447, {1, 48, 11.0447, "3,75"}, Span{49, 83, 6, "2,80"}, 83.484, 100, 0.093480},
        {kCu, 6, 4, 127, 48, 11.0447, {1, 48, 11.0447, "3,75"}, Span{49, 108, 6, "2,80"}, 83.484, 100, 0.095771},
        // The same turns, the thicker wire.
        {kCu, 10, kNotGiven, 221, 83, 6.1575, {1, 83, 10, "3,75"}, std::nullopt, 47.975, 50, 0.073521},
        // Within the taps, and 5,762 mm² is the 2,80 mm wire of winding I's 6 mm²: one wire.
        {kCu, 6, 4, 230, 87, 6.1575, {1, 108, 6, "2,80"}, std::nullopt, 46.097, 50, 0.11594},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.voltage << " V on " << c.sectionI << " mm², taps " << c.taps.known());
        WindingPlanInput input = runA();
        input.design.materialI = c.materialI;
        input.results.q1 = c.sectionI;
        input.tapCount = c.taps;
        input.lowestTapVoltage = 50;
        input.secondMainsVoltage = c.voltage;
        const WindingPlan plan = PlanWinding(input);
        const Figure<SecondMains> &mains = plan.secondMains;
        expectSecondMains(mains, c.turns, c.section, c.lower, c.higher);
        EXPECT_NEAR(mains.value().current, c.current, 5e-4);
        ASSERT_TRUE(mains.value().breakerRating.known());
        EXPECT_EQ(mains.value().breakerRating.value(), c.breaker);
        EXPECT_EQ(mains.value().needsDedicatedLine, c.breaker > 16);
        ASSERT_TRUE(plan.resistanceI.known());
        EXPECT_NEAR(plan.resistanceI.value(), c.resistanceI, 5e-6);
    }
}

TEST(PlanWinding, BreakerOfTheSupply) {
    struct Case {
        float current;
        std::optional<int> rating;  // none: above the series
        bool dedicatedLine;
    };
    const Case cases[] = {
        {6, 6, false},     {6.01F, 10, false}, {16, 16, false},
        {16.5F, 20, true}, {125, 125, true},   {125.01F, std::nullopt, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.current);
        WindingPlanInput input = runA();
        input.results.i1 = c.current;
        const WindingPlan plan = PlanWinding(input);
        const Figure<int> &rating = plan.breakerRating;
        EXPECT_EQ(rating.known() ? std::optional(rating.value()) : std::nullopt, c.rating);
        EXPECT_EQ(rating.reason(), c.rating ? std::nullopt : std::optional(NoFigure::NoneInSeries));
        ASSERT_TRUE(plan.needsDedicatedLine.known());
        EXPECT_EQ(plan.needsDedicatedLine.value(), c.dedicatedLine);
    }
}

bool isFinite(const WireToBuy &wire) {
    return std::isfinite(wire.meanTurn) && std::isfinite(wire.length) && std::isfinite(wire.massToBuy) &&
           std::isfinite(wire.resistance);
}

// Every number the plan gives is finite; a figure it cannot give has a reason instead.
void expectOnlyFiniteNumbers(const WindingPlan &plan) {
    EXPECT_TRUE(!plan.core.known() || std::isfinite(plan.core.value().section));
    for (const Figure<double> *figure : {&plan.buildI, &plan.buildII, &plan.resistanceI, &plan.copperLosses}) {
        EXPECT_TRUE(!figure->known() || std::isfinite(figure->value()));
    }
    for (const Figure<WireToBuy> *wire : {&plan.wireI, &plan.wireIOuter, &plan.wireII}) {
        EXPECT_TRUE(!wire->known() || isFinite(wire->value()));
    }
    if (!plan.taps.known()) return;
    for (const Tap &tap : plan.taps.value().taps()) {
        EXPECT_TRUE(std::isfinite(tap.noLoadVoltage) && std::isfinite(tap.induction));
    }
}

// What each figure of the plan shows, one letter a figure in the order core, t₁, t₂, fit, wire I,
// wire I past w₁, wire II, resistance of w₁, losses, taps, second mains, breaker: '.' known,
// 'g' not given, 'n' not a number, 'r' out of range, 'b' not below the no-load voltage.
std::optional<NoFigure> reasonOf(char letter) {
    switch (letter) {
    case 'g': return NoFigure::NotGiven;
    case 'n': return NoFigure::NotANumber;
    case 'r': return NoFigure::OutOfRange;
    case 'b': return NoFigure::NotBelowOutputVoltage;
    default: return std::nullopt;
    }
}

TEST(PlanWinding, ImpossibleInputsGiveReasonsNotNumbers) {
    struct Case {
        const char *name;
        std::function<void(WindingPlanInput &)> change;
        const char *expected;
    };
    const auto leg = [](Figure<double> a) { return [a](WindingPlanInput &in) { in.legWidth = a; }; };
    const auto taps = [](Figure<int> count, Figure<double> lowest) {
        return [=](WindingPlanInput &in) {
            in.tapCount = count;
            in.lowestTapVoltage = lowest;
        };
    };
    const Case cases[] = {
        {"leg not given", leg(kNotGiven), "g...ggggg..."},
        {"leg zero", leg(0), "r...rrrrr..."},
        {"leg not a number", leg(kNaN), "r...rrrrr..."},
        {"leg side no number", leg(NoFigure::NotANumber), "n...nnnnn..."},
        {"no taps asked for", taps(kNotGiven, 70), ".........g.."},
        {"no lowest tap voltage", taps(4, kNotGiven), ".........g.."},
        {"one tap", taps(1, 50), ".........r.."},
        {"nine taps", taps(9, 50), ".........r.."},
        {"no tap count", taps(0, 50), ".........r.."},
        {"lowest tap at the no-load voltage", taps(4, 65), ".........b.."},
        {"lowest tap voltage zero", taps(4, 0), ".........r.."},
        {"lowest tap voltage not a number", taps(4, kNaN), ".........r.."},
        {"tap turns beyond any count: 83 × 65 ÷ 1e-6", taps(2, 1e-6), ".........r.."},
        {"window height zero", [](WindingPlanInput &in) { in.windowHeight = 0; }, ".rrrrrrrr..."},
        {"window width not given", [](WindingPlanInput &in) { in.windowWidth = kNotGiven; }, "...g........"},
        {"fill factor below 0,01", [](WindingPlanInput &in) { in.fillFactor = 0.009; }, ".rrrrrrrr..."},
        {"fill factor not given", [](WindingPlanInput &in) { in.fillFactor = kNotGiven; }, ".gggggggg..."},
        // Winding II lies over winding I, so its turns need t₁ too.
        {"no turns on winding I", [](WindingPlanInput &in) { in.results.w1 = 0; }, ".r.rrrrrrrr."},
        {"negative wire section II", [](WindingPlanInput &in) { in.results.q2 = -20; }, "..rr..r.r..."},
        {"core section zero", [](WindingPlanInput &in) { in.design.coreSection = 0; }, "r........r.."},
        {"no second mains voltage", [](WindingPlanInput &in) { in.secondMainsVoltage = kNotGiven; }, ".....g....g."},
        {"second mains voltage no number", [](WindingPlanInput &in) { in.secondMainsVoltage = NoFigure::NotANumber; },
         ".....n....n."},
        {"1 V: 0,38 turns", [](WindingPlanInput &in) { in.secondMainsVoltage = 1; }, ".....r....r."},
        // 83 × 100000 ÷ 220 = 37727 turns of the thinnest wire for 0,013 mm².
        {"100000 V", [](WindingPlanInput &in) { in.secondMainsVoltage = 100000; }, "............"},
        {"mains voltage zero", [](WindingPlanInput &in) { in.design.mainsVoltage = 0; }, ".....r...rr."},
        {"current of winding I not a number",
         [](WindingPlanInput &in) { in.results.i1 = std::numeric_limits<float>::quiet_NaN(); }, ".....r..r.rr"},
        // Every input at its largest: builds of 1e21 mm and far more metres than a count holds,
        // so no wire and no resistance of it.
        {"largest inputs",
         [](WindingPlanInput &in) {
             in.results.w1 = in.results.w2 = in.results.q1 = in.results.q2 = 32767;
             in.fillFactor = 0.01;
             in.windowHeight = 1e-6;
             in.legWidth = in.legDepth = 1e6;
         },
         "....rrrrr..."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        WindingPlanInput input = runA();
        input.tapCount = 4;
        input.lowestTapVoltage = 50;
        input.secondMainsVoltage = 380;
        c.change(input);
        const WindingPlan plan = PlanWinding(input);
        const std::optional<NoFigure> reasons[] = {
            plan.core.reason(),       plan.buildI.reason(),      plan.buildII.reason(),
            plan.fitsWindow.reason(), plan.wireI.reason(),       plan.wireIOuter.reason(),
            plan.wireII.reason(),     plan.resistanceI.reason(), plan.copperLosses.reason(),
            plan.taps.reason(),       plan.secondMains.reason(), plan.breakerRating.reason()};
        for (std::size_t i = 0; i < std::size(reasons); ++i) EXPECT_EQ(reasons[i], reasonOf(c.expected[i])) << i;
        EXPECT_EQ(plan.needsDedicatedLine.reason(), reasons[11]);
        expectOnlyFiniteNumbers(plan);
    }
}

TEST(PlanWinding, MaterialOfTheListIndex) {
    EXPECT_EQ(MaterialOf(0), Material::Copper);
    EXPECT_EQ(MaterialOf(1), Material::Aluminium);
    EXPECT_EQ(MaterialOf(-1), Material::Aluminium);
}

}  // namespace
}  // namespace tremira::calc
