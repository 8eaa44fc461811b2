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
constexpr double kHuge = 1e308;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Run A as the calculation gives it (220 V, 65 V, 160 A, copper, rod core, 1,42 T), with a
// 50 × 60 mm window, k 0,35 and a 70 × 121 mm leg.
WindingPlanInput runA() {
    WindingPlanInput in;
    in.design.mainsVoltage = 220;
    in.design.outputVoltage = 65;
    in.design.weldingCurrent = 160;
    in.design.coreSection = 84.672F;
    in.results.w1 = 83;
    in.results.w2 = 25;
    in.results.q1 = 6;
    in.results.q2 = 20;
    in.results.i1 = 48.19277F;
    in.fillFactor = 0.35;
    in.windowWidth = 50;
    in.windowHeight = 60;
    in.legWidth = 70;
    in.legDepth = 121;
    return in;
}

// Run A on a toroid with aluminium winding I, as the calculation gives it, in a ring 40 mm
// wide and 152 mm high round a 120 mm hole.
WindingPlanInput toroidRun() {
    WindingPlanInput in = runA();
    in.design.coreType = kToroidIndex;
    in.design.materialI = Material::Aluminium;
    in.design.coreSection = 60.48F;
    in.results.w1 = 117;
    in.results.w2 = 35;
    in.results.q1 = 10;
    in.results.i1 = 47.86325F;
    in.windowWidth = 120;
    in.windowHeight = NoFigure::NotGiven;
    in.legWidth = 40;
    in.legDepth = 152;
    return in;
}

struct ExpectedWire {
    int turns, section;
    double meanTurn, length;
    int lengthToBuy;
    double massToBuy, resistance;
};

void expectWire(const Figure<WireToBuy> &figure, const ExpectedWire &expected) {
    ASSERT_TRUE(figure.known());
    const WireToBuy &wire = figure.value();
    EXPECT_EQ(wire.turns, expected.turns);
    EXPECT_EQ(wire.section, expected.section);
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
        EXPECT_EQ(taps[i].saturated, expected[i].saturated);
    }
}

void expectSpan(const TurnSpan &span, const TurnSpan &expected) {
    EXPECT_EQ(span.first, expected.first);
    EXPECT_EQ(span.last, expected.last);
    EXPECT_EQ(span.section, expected.section);
}

void expectSecondMains(const Figure<SecondMains> &figure, int turns, int section, const TurnSpan &lower,
                       const std::optional<TurnSpan> &higher) {
    ASSERT_TRUE(figure.known());
    const SecondMains &mains = figure.value();
    EXPECT_EQ(mains.turns, turns);
    EXPECT_EQ(mains.section, section);
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
// 220 V, then on to 143 turns of 3 mm² for 380 V, and both wires take their room in the window.
TEST(PlanWinding, TapsAndASecondMainsVoltageLengthenWindingI) {
    WindingPlanInput input = runA();
    input.tapCount = 4;
    input.lowestTapVoltage = 50;
    input.secondMainsVoltage = 380;
    const WindingPlan plan = PlanWinding(input);

    expectTaps(plan.taps, {{108, 50.926, 1.0969, false, false},
                           {98, 56.122, 1.2088, false, false},
                           {90, 61.111, 1.3162, false, false},
                           {83, 66.265, 1.4272, false, false}});
    expectSecondMains(plan.secondMains, 143, 3, {1, 108, 6}, TurnSpan{109, 143, 3});
    const SecondMains &mains = plan.secondMains.value();
    EXPECT_NEAR(mains.current, 27.901, 5e-4);  // 48,19277 × 220 ÷ 380
    ASSERT_TRUE(mains.breakerRating.known());
    EXPECT_EQ(mains.breakerRating.value(), 32);
    EXPECT_TRUE(mains.needsDedicatedLine);

    // (108 × 6 + 35 × 3) ÷ 0,35 ÷ 60 mm: with winding II's 23,81 mm more than the 50 mm window.
    ASSERT_TRUE(plan.buildI.known() && plan.fitsWindow.known());
    EXPECT_NEAR(plan.buildI.value(), 35.857, 5e-4);
    EXPECT_FALSE(plan.fitsWindow.value());
    expectWire(plan.wireI, {108, 6, 494.65, 53.422, 59, 3.1345, 0.15581});
    expectWire(plan.wireIOuter, {35, 3, 494.65, 17.313, 20, 0.50790, 0.10099});
    expectWire(plan.wireII, {25, 20, 682.10, 17.052, 19, 3.3351, 0.014921});
    // The design's current runs through its own 83 turns only.
    ASSERT_TRUE(plan.resistanceI.known() && plan.copperLosses.known());
    EXPECT_NEAR(plan.resistanceI.value(), 0.11975, 1e-5);
    EXPECT_NEAR(plan.copperLosses.value(), 660.1, 0.05);
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
    expectWire(plan.wireI, {117, 10, 414.29, 48.472, 54, 1.4396, 0.13669});
    expectWire(plan.wireII, {35, 20, 465.87, 16.306, 18, 3.1890, 0.014267});
    ASSERT_TRUE(plan.copperLosses.known());
    EXPECT_NEAR(plan.copperLosses.value(), 678.4, 0.05);
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
        {"far too small", 84.672F, 60, 100, 60, SectionMatch::SidesGiveLess},
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

TEST(PlanWinding, TapsFromTheLowestVoltageUpToTheDesign) {
    struct Case {
        const char *name;
        WindingPlanInput input;
        std::vector<Tap> taps;
    };
    // A design on a large core: 9 and 4 turns at 220 V, 90 V, S 560 cm².
    WindingPlanInput hot = runA();
    hot.design.outputVoltage = 90;
    hot.design.coreSection = 560;
    hot.results.w1 = 9;
    hot.results.w2 = 4;
    hot.tapCount = 2;
    hot.lowestTapVoltage = 60;
    // 21 and 7 turns at 220 V, 75 V, S 336 cm²: the lowest tap needs 52,5 turns.
    WindingPlanInput even = runA();
    even.design.outputVoltage = 75;
    even.design.coreSection = 336;
    even.results.w1 = 21;
    even.results.w2 = 7;
    even.tapCount = 3;
    even.lowestTapVoltage = 30;
    // 11 and 4 turns at 220 V, 80 V, S 560 cm²: the design's tap gives exactly 80 V.
    WindingPlanInput atLimit = hot;
    atLimit.design.outputVoltage = 80;
    atLimit.results.w1 = 11;
    atLimit.lowestTapVoltage = 40;
    WindingPlanInput twoTaps = runA();
    twoTaps.tapCount = 2;
    twoTaps.lowestTapVoltage = 40;

    const Case cases[] = {
        {"run A, two taps from 40 V",
         twoTaps,
         {{135, 40.741, 0.87748, false, false}, {83, 66.265, 1.4272, false, false}}},
        {"halves to even: 21 × 75 ÷ 30 = 52,5 turns",
         even,
         {{52, 29.615, 0.57408, false, false},
          {30, 51.333, 0.99506, false, false},
          {21, 73.333, 1.4215, false, false}}},
        {"above 80 V and saturated on the design's own tap",
         hot,
         {{14, 62.857, 1.2794, false, false}, {9, 97.778, 1.9901, true, true}}},
        {"exactly 80 V is not above it", atLimit, {{22, 40, 0.81416, false, false}, {11, 80, 1.6283, false, false}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        expectTaps(PlanWinding(c.input).taps, c.taps);
    }
}

TEST(PlanWinding, TapsThatCannotBeWound) {
    struct Case {
        const char *name;
        Figure<int> count;
        Figure<double> lowest;
        NoFigure reason;
    };
    const Case cases[] = {
        {"no taps asked for", kNotGiven, 70, NoFigure::NotGiven},
        {"no lowest voltage", 4, kNotGiven, NoFigure::NotGiven},
        {"one tap", 1, 50, NoFigure::OutOfRange},
        {"nine taps", 9, 50, NoFigure::OutOfRange},
        {"no count", 0, 50, NoFigure::OutOfRange},
        {"negative count", -4, 50, NoFigure::OutOfRange},
        {"lowest is the no-load voltage", 4, 65, NoFigure::NotBelowOutputVoltage},
        {"lowest above it", 8, 70, NoFigure::NotBelowOutputVoltage},
        {"lowest zero", 4, 0, NoFigure::OutOfRange},
        {"lowest not a number", 4, kNaN, NoFigure::OutOfRange},
        {"turns beyond any count: 83 × 65 ÷ 1e-6", 2, 1e-6, NoFigure::OutOfRange},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        WindingPlanInput input = runA();
        input.tapCount = c.count;
        input.lowestTapVoltage = c.lowest;
        EXPECT_EQ(PlanWinding(input).taps.reason(), c.reason);
    }
}

TEST(PlanWinding, SecondMainsVoltage) {
    struct Case {
        const char *name;
        Material materialI;
        Int16 sectionI;
        Figure<int> taps;  // from 50 V: the design's mains then runs winding I to 108 turns
        double voltage;
        int turns, section;
        TurnSpan lower;
        std::optional<TurnSpan> higher;
        double current;
        int breaker;
    };
    const Case cases[] = {
        {"380 V on copper", Material::Copper, 6, kNotGiven, 380, 143, 3, {1, 83, 6}, TurnSpan{84, 143, 3}, 27.901, 32},
        {"380 V on aluminium: 5 A/mm²",
         Material::Aluminium,
         10,
         kNotGiven,
         380,
         143,
         6,
         {1, 83, 10},
         TurnSpan{84, 143, 6},
         27.901,
         32},
        {"127 V, below the design's 220 V",
         Material::Copper,
         6,
         kNotGiven,
         127,
         48,
         10,
         {1, 48, 10},
         TurnSpan{49, 83, 6},
         83.484,
         100},
        {"127 V, taps on 220 V to 108 turns",
         Material::Copper,
         6,
         4,
         127,
         48,
         10,
         {1, 48, 10},
         TurnSpan{49, 108, 6},
         83.484,
         100},
        {"221 V on thicker wire: the same turns, the thicker section",
         Material::Copper,
         10,
         kNotGiven,
         221,
         83,
         6,
         {1, 83, 10},
         std::nullopt,
         47.975,
         50},
        {"221 V takes the same 83 turns",
         Material::Copper,
         6,
         kNotGiven,
         221,
         83,
         6,
         {1, 83, 6},
         std::nullopt,
         47.975,
         50},
        {"230 V within the taps, one section",
         Material::Copper,
         6,
         4,
         230,
         87,
         6,
         {1, 108, 6},
         std::nullopt,
         46.097,
         50},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        WindingPlanInput input = runA();
        input.design.materialI = c.materialI;
        input.results.q1 = c.sectionI;
        input.tapCount = c.taps;
        input.lowestTapVoltage = 50;
        input.secondMainsVoltage = c.voltage;
        const Figure<SecondMains> mains = PlanWinding(input).secondMains;
        expectSecondMains(mains, c.turns, c.section, c.lower, c.higher);
        EXPECT_NEAR(mains.value().current, c.current, 5e-4);
        ASSERT_TRUE(mains.value().breakerRating.known());
        EXPECT_EQ(mains.value().breakerRating.value(), c.breaker);
        EXPECT_EQ(mains.value().needsDedicatedLine, c.breaker > 16);
    }
}

TEST(PlanWinding, SecondMainsVoltageThatCannotBeWound) {
    struct Case {
        const char *name;
        Figure<double> voltage;
        NoFigure reason;
    };
    const Case cases[] = {
        {"not given", kNotGiven, NoFigure::NotGiven},
        {"not a number", NoFigure::NotANumber, NoFigure::NotANumber},
        {"1 V: 0,38 turns", 1, NoFigure::OutOfRange},
        {"100000 V: 0,01 mm²", 100000, NoFigure::OutOfRange},
        {"zero", 0, NoFigure::OutOfRange},
        {"infinite", kInfinity, NoFigure::OutOfRange},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        WindingPlanInput input = runA();
        input.secondMainsVoltage = c.voltage;
        const WindingPlan plan = PlanWinding(input);
        EXPECT_EQ(plan.secondMains.reason(), c.reason);
        EXPECT_EQ(plan.wireIOuter.reason(), c.reason);
        expectWire(plan.wireI, {83, 6, 456.50, 37.890, 42, 2.223, 0.11051});
    }
}

TEST(PlanWinding, BreakerOfTheSupply) {
    struct Case {
        float current;
        std::optional<int> rating;  // none: above the series
        bool dedicatedLine;
    };
    const Case cases[] = {
        {3, 6, false},
        {6, 6, false},
        {6.01F, 10, false},
        {16, 16, false},
        {16.5F, 20, true},
        {48.19277F, 50, true},
        {125, 125, true},
        {125.01F, std::nullopt, true},
        {400, std::nullopt, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.current);
        WindingPlanInput input = runA();
        input.results.i1 = c.current;
        const WindingPlan plan = PlanWinding(input);
        if (c.rating) {
            ASSERT_TRUE(plan.breakerRating.known());
            EXPECT_EQ(plan.breakerRating.value(), *c.rating);
        } else {
            EXPECT_EQ(plan.breakerRating.reason(), NoFigure::NoneInSeries);
        }
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

TEST(PlanWinding, ImpossibleInputsGiveReasonsNotNumbers) {
    struct Expected {
        std::optional<NoFigure> core, buildI, buildII, fits, wireI, wireIOuter, wireII, losses, taps, mains, breaker;
    };
    struct Case {
        const char *name;
        std::function<void(WindingPlanInput &)> change;
        Expected expected;
    };
    constexpr NoFigure kRange = NoFigure::OutOfRange;
    constexpr NoFigure kNaNText = NoFigure::NotANumber;
    const auto leg = [](double a) { return [a](WindingPlanInput &in) { in.legWidth = a; }; };
    const Case cases[] = {
        {"leg not given",
         [](WindingPlanInput &in) { in.legWidth = NoFigure::NotGiven; },
         {kNotGiven, kKnown, kKnown, kKnown, kNotGiven, kNotGiven, kNotGiven, kNotGiven, kKnown, kKnown, kKnown}},
        {"leg zero", leg(0), {kRange, kKnown, kKnown, kKnown, kRange, kRange, kRange, kRange, kKnown, kKnown, kKnown}},
        {"leg 1e308",
         leg(kHuge),
         {kRange, kKnown, kKnown, kKnown, kRange, kRange, kRange, kRange, kKnown, kKnown, kKnown}},
        {"leg infinite",
         leg(kInfinity),
         {kRange, kKnown, kKnown, kKnown, kRange, kRange, kRange, kRange, kKnown, kKnown, kKnown}},
        {"leg not a number",
         leg(kNaN),
         {kRange, kKnown, kKnown, kKnown, kRange, kRange, kRange, kRange, kKnown, kKnown, kKnown}},
        {"window height zero",
         [](WindingPlanInput &in) { in.windowHeight = 0; },
         {kKnown, kRange, kRange, kRange, kRange, kRange, kRange, kRange, kKnown, kKnown, kKnown}},
        {"window width not given",
         [](WindingPlanInput &in) { in.windowWidth = NoFigure::NotGiven; },
         {kKnown, kKnown, kKnown, kNotGiven, kKnown, kKnown, kKnown, kKnown, kKnown, kKnown, kKnown}},
        {"fill factor above 1",
         [](WindingPlanInput &in) { in.fillFactor = 1.5; },
         {kKnown, kRange, kRange, kRange, kRange, kRange, kRange, kRange, kKnown, kKnown, kKnown}},
        {"fill factor below 0,01",
         [](WindingPlanInput &in) { in.fillFactor = 0.009; },
         {kKnown, kRange, kRange, kRange, kRange, kRange, kRange, kRange, kKnown, kKnown, kKnown}},
        {"leg side no number",
         [](WindingPlanInput &in) { in.legDepth = NoFigure::NotANumber; },
         {kNaNText, kKnown, kKnown, kKnown, kNaNText, kNaNText, kNaNText, kNaNText, kKnown, kKnown, kKnown}},
        {"fill factor not given",
         [](WindingPlanInput &in) { in.fillFactor = NoFigure::NotGiven; },
         {kKnown, kNotGiven, kNotGiven, kNotGiven, kNotGiven, kNotGiven, kNotGiven, kNotGiven, kKnown, kKnown, kKnown}},
        // Winding II lies over winding I, so its turns need t₁ too.
        {"no turns on winding I",
         [](WindingPlanInput &in) { in.results.w1 = 0; },
         {kKnown, kRange, kKnown, kRange, kRange, kRange, kRange, kRange, kRange, kRange, kKnown}},
        {"negative wire section II",
         [](WindingPlanInput &in) { in.results.q2 = -20; },
         {kKnown, kKnown, kRange, kRange, kKnown, kKnown, kRange, kRange, kKnown, kKnown, kKnown}},
        {"core section zero",
         [](WindingPlanInput &in) { in.design.coreSection = 0; },
         {kRange, kKnown, kKnown, kKnown, kKnown, kKnown, kKnown, kKnown, kRange, kKnown, kKnown}},
        {"mains voltage zero",
         [](WindingPlanInput &in) { in.design.mainsVoltage = 0; },
         {kKnown, kKnown, kKnown, kKnown, kKnown, kRange, kKnown, kKnown, kRange, kRange, kKnown}},
        {"current of winding I infinite",
         [](WindingPlanInput &in) { in.results.i1 = std::numeric_limits<float>::infinity(); },
         {kKnown, kKnown, kKnown, kKnown, kKnown, kRange, kKnown, kRange, kKnown, kRange, kRange}},
        {"current of winding I not a number",
         [](WindingPlanInput &in) { in.results.i1 = std::numeric_limits<float>::quiet_NaN(); },
         {kKnown, kKnown, kKnown, kKnown, kKnown, kRange, kKnown, kRange, kKnown, kRange, kRange}},
        // Every input at its largest: builds of 1e21 mm and far more metres than a count holds.
        {"largest inputs",
         [](WindingPlanInput &in) {
             in.results.w1 = in.results.w2 = in.results.q1 = in.results.q2 = 32767;
             in.fillFactor = 0.01;
             in.windowHeight = 1e-6;
             in.legWidth = in.legDepth = 1e6;
         },
         {kKnown, kKnown, kKnown, kKnown, kRange, kRange, kRange, kRange, kKnown, kKnown, kKnown}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        WindingPlanInput input = runA();
        input.tapCount = 4;
        input.lowestTapVoltage = 50;
        input.secondMainsVoltage = 380;
        c.change(input);
        const WindingPlan plan = PlanWinding(input);
        const Expected &e = c.expected;
        EXPECT_EQ(plan.core.reason(), e.core);
        EXPECT_EQ(plan.buildI.reason(), e.buildI);
        EXPECT_EQ(plan.buildII.reason(), e.buildII);
        EXPECT_EQ(plan.fitsWindow.reason(), e.fits);
        EXPECT_EQ(plan.wireI.reason(), e.wireI);
        EXPECT_EQ(plan.wireIOuter.reason(), e.wireIOuter);
        EXPECT_EQ(plan.wireII.reason(), e.wireII);
        EXPECT_EQ(plan.copperLosses.reason(), e.losses);
        EXPECT_EQ(plan.taps.reason(), e.taps);
        EXPECT_EQ(plan.secondMains.reason(), e.mains);
        EXPECT_EQ(plan.breakerRating.reason(), e.breaker);
        EXPECT_EQ(plan.needsDedicatedLine.reason(), e.breaker);
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
