#include "winding_plan.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "design_calculation.h"

namespace tremira::calc {
namespace {

// Inputs outside this range are typing slips; inside it every figure stays a finite number.
constexpr double kSmallestInput = 1e-6;
constexpr double kLargestInput = 1e6;

constexpr double kSectionTolerance = 0.05;
constexpr double kLeadsAndWaste = 1.10;
constexpr double kMillimetresPerMetre = 1000;
constexpr double kSquareMillimetresPerSquareCentimetre = 100;
constexpr double kGramsPerKilogram = 1000;

struct MaterialData {
    double currentDensity;  // A/mm², as the calculation sizes the wire
    double density;         // g/cm³
    double resistivity;     // Ω·mm²/m at 20 °C
};
constexpr MaterialData kCopper{8, 8.89, 0.0175};
constexpr MaterialData kAluminium{5, 2.70, 0.0282};

const MaterialData &dataOf(Material material) { return material == Material::Copper ? kCopper : kAluminium; }

constexpr std::array kBreakerRatings{6, 10, 13, 16, 20, 25, 32, 40, 50, 63, 80, 100, 125};
constexpr double kLargestSocketCurrent = 16;

// The value computed from the inputs' values when all are known, else the first one's reason.
// `compute` may itself return a Figure when it can find the figure impossible.
template <typename Result, typename Compute, typename... T>
Figure<Result> whenKnown(Compute compute, const Figure<T> &...inputs) {
    for (const std::optional<NoFigure> reason : {inputs.reason()...}) {
        if (reason) return *reason;
    }
    return compute(inputs.value()...);
}

Figure<double> inRange(double value) {
    if (!(value >= kSmallestInput && value <= kLargestInput)) return NoFigure::OutOfRange;  // NaN too
    return value;
}

Figure<double> given(const std::optional<double> &value) {
    if (!value) return NoFigure::NotGiven;
    return inRange(*value);
}

Figure<double> fillFactorOf(const std::optional<double> &value) {
    const Figure<double> factor = given(value);
    if (factor.known() && factor.value() > 1) return NoFigure::OutOfRange;
    return factor;
}

Figure<int> tapCountOf(const std::optional<int> &value) {
    if (!value) return NoFigure::NotGiven;
    if (*value < kFewestTaps || *value > kMostTaps) return NoFigure::OutOfRange;
    return *value;
}

// The nearest whole number, halves to the even one, as the calculation rounds turns and sections.
Figure<int> nearest(double value) {
    if (const std::optional<int> rounded = RoundHalfEven<int>(value)) return *rounded;
    return NoFigure::OutOfRange;
}

// Every input read once, in the units of the plan.
struct Readings {
    Figure<double> u1, u2, current, coreSection, w1, w2, q1, q2, i1;
    Figure<double> fill, width, height, legA, legB, lowTap, secondMains;
    Figure<int> tapCount;
};

Readings read(const WindingPlanInput &in) {
    return {inRange(in.mainsVoltage),     inRange(in.outputVoltage), inRange(in.weldingCurrent),
            inRange(in.coreSection),      inRange(in.turnsI),        inRange(in.turnsII),
            inRange(in.wireSectionI),     inRange(in.wireSectionII), inRange(in.currentI),
            fillFactorOf(in.fillFactor),  given(in.windowWidth),     given(in.windowHeight),
            given(in.legWidth),           given(in.legDepth),        given(in.lowestTapVoltage),
            given(in.secondMainsVoltage), tapCountOf(in.tapCount)};
}

// --- Core and builds ----------------------------------------------------------------------

SectionMatch matchOf(double fromSides, double used) {
    if (std::abs(fromSides - used) <= kSectionTolerance * used) return SectionMatch::WithinTolerance;
    return fromSides < used ? SectionMatch::SidesGiveLess : SectionMatch::SidesGiveMore;
}

Figure<CoreFromSides> coreOf(const Readings &r) {
    return whenKnown<CoreFromSides>(
        [](double a, double b, double used) {
            const double section = a * b / kSquareMillimetresPerSquareCentimetre;
            return CoreFromSides{section, matchOf(section, used)};
        },
        r.legA, r.legB, r.coreSection);
}

// The window area a winding takes, wire and the gaps between the wires, mm².
Figure<double> windingArea(const Figure<double> &turns, const Figure<double> &section, const Figure<double> &fill) {
    return whenKnown<double>([](double w, double q, double k) { return w * q / k; }, turns, section, fill);
}

// The build of a winding of `area` laid round the inside of a round hole: the ring between the
// hole and the smaller hole it leaves.
Figure<double> ringBuild(double hole, double area) {
    const double holeLeftSquared = hole * hole - 4 * area / std::numbers::pi;
    if (holeLeftSquared < 0) return NoFigure::DoesNotFit;
    return (hole - std::sqrt(holeLeftSquared)) / 2;
}

struct Builds {
    Figure<double> I, II;
    Figure<bool> fit;
};

// Both windings sit on one leg, winding II over winding I, so across the window they take
// t₁ + t₂ of its width c; the plan keeps to that one leg.
Builds rodBuilds(const Readings &r, const Figure<double> &areaI, const Figure<double> &areaII) {
    const auto acrossHeight = [](double area, double h) { return area / h; };
    Figure<double> buildI = whenKnown<double>(acrossHeight, areaI, r.height);
    Figure<double> buildII = whenKnown<double>(acrossHeight, areaII, r.height);
    Figure<bool> fit =
        whenKnown<bool>([](double t1, double t2, double c) { return t1 + t2 <= c; }, buildI, buildII, r.width);
    return {std::move(buildI), std::move(buildII), std::move(fit)};
}

// Winding II inherits winding I's reason, so it alone tells whether both fit the hole.
Figure<bool> fitsHole(const Figure<double> &buildII) {
    if (buildII.known()) return true;
    if (buildII.reason() == NoFigure::DoesNotFit) return false;
    return *buildII.reason();
}

// Winding I in the hole D, winding II in the hole D − 2t₁ it leaves.
Builds toroidBuilds(const Readings &r, const Figure<double> &areaI, const Figure<double> &areaII) {
    Figure<double> buildI = whenKnown<double>(ringBuild, r.width, areaI);
    Figure<double> buildII = whenKnown<double>(
        [](double hole, double t1, double area) { return ringBuild(hole - 2 * t1, area); }, r.width, buildI, areaII);
    Figure<bool> fit = fitsHole(buildII);
    return {std::move(buildI), std::move(buildII), std::move(fit)};
}

// --- Wire -------------------------------------------------------------------------------

// A turn runs round the leg (2(a + b)) and round the middle of its winding's build, which lies
// `middleDepth` out from the leg: t₁/2 for winding I, t₁ + t₂/2 for winding II over it.
Figure<WireToBuy> wireOf(const Figure<double> &turns, const Figure<double> &section, Material material,
                         const Figure<double> &legA, const Figure<double> &legB, const Figure<double> &middleDepth) {
    const MaterialData &m = dataOf(material);
    return whenKnown<WireToBuy>(
        [&m](double w, double q, double a, double b, double depth) -> Figure<WireToBuy> {
            const double meanTurn = 2 * (a + b) + 2 * std::numbers::pi * depth;
            const double length = w * meanTurn / kMillimetresPerMetre;
            const double withWaste = length * kLeadsAndWaste;
            const Figure<int> toBuy = nearest(std::ceil(withWaste));
            if (!toBuy.known()) return *toBuy.reason();
            return WireToBuy{meanTurn, length, toBuy.value(), withWaste * q * m.density / kGramsPerKilogram,
                             m.resistivity * length / q};
        },
        turns, section, legA, legB, middleDepth);
}

Figure<double> copperLossesOf(const Readings &r, const Figure<WireToBuy> &wireI, const Figure<WireToBuy> &wireII) {
    return whenKnown<double>(
        [](double i1, double i2, const WireToBuy &first, const WireToBuy &second) {
            return i1 * i1 * first.resistance + i2 * i2 * second.resistance;
        },
        r.i1, r.current, wireI, wireII);
}

// --- Taps -------------------------------------------------------------------------------

// The induction with `turns` of winding I on the mains, K multiplied in the calculation's order.
double inductionAt(double mainsVoltage, double turns, double coreSection) {
    return mainsVoltage / (turns * kVoltsPerTurnFactor * coreSection * kCoreStackingFactor);
}

Figure<TapTable> tapsOf(const Readings &r) {
    return whenKnown<TapTable>(
        [](int count, double lowest, double u1, double u2, double s, double w1, double w2) -> Figure<TapTable> {
            if (lowest >= u2) return NoFigure::NotBelowOutputVoltage;
            TapTable table;
            table.count = static_cast<std::size_t>(count);
            for (int i = 0; i < count; ++i) {
                const double aimedVoltage = lowest + (u2 - lowest) * i / (count - 1);
                const Figure<int> turns =
                    i == count - 1 ? Figure<int>(static_cast<int>(w1)) : nearest(w1 * u2 / aimedVoltage);
                if (!turns.known()) return *turns.reason();
                const double noLoad = u1 * w2 / turns.value();
                const double induction = inductionAt(u1, turns.value(), s);
                table.items[i] = {turns.value(), noLoad, induction, noLoad > kSafeNoLoadVoltage,
                                  induction >= kInductionLimit};
            }
            return table;
        },
        r.tapCount, r.lowTap, r.u1, r.u2, r.coreSection, r.w1, r.w2);
}

// --- Second mains voltage -----------------------------------------------------------------

SecondMains spansOf(int firstTurns, int firstSection, int secondTurns, int secondSection, bool secondIsLower) {
    const int shared = std::min(firstTurns, secondTurns);
    const int all = std::max(firstTurns, secondTurns);
    const int lowerSection = secondIsLower ? secondSection : firstSection;
    const int higherSection = secondIsLower ? firstSection : secondSection;
    SecondMains mains{secondTurns, secondSection, {1, shared, lowerSection}, std::nullopt};
    if (all > shared) mains.higherMainsTurns = TurnSpan{shared + 1, all, higherSection};
    return mains;
}

// The same winding I runs on to w₁ᵇ turns for the same no-load voltage. The lower mains voltage
// draws the larger current, through the turns both voltages share.
Figure<SecondMains> secondMainsOf(const Readings &r, Material materialI) {
    const double density = dataOf(materialI).currentDensity;
    return whenKnown<SecondMains>(
        [density](double u1b, double u1, double w1, double i1, double q1) -> Figure<SecondMains> {
            const Figure<int> turns = nearest(w1 * u1b / u1);
            const Figure<int> section = nearest(i1 * u1 / u1b / density);
            if (!turns.known()) return *turns.reason();
            if (!section.known()) return *section.reason();
            if (turns.value() < 1) return NoFigure::OutOfRange;
            return spansOf(static_cast<int>(w1), static_cast<int>(q1), turns.value(), section.value(), u1b < u1);
        },
        r.secondMains, r.u1, r.w1, r.i1, r.q1);
}

// --- Mains supply -------------------------------------------------------------------------

Figure<int> breakerFor(double current) {
    const auto rating = std::ranges::find_if(kBreakerRatings, [current](int a) { return a >= current; });
    if (rating == kBreakerRatings.end()) return NoFigure::NoneInSeries;
    return *rating;
}

}  // namespace

WindingPlan PlanWinding(const WindingPlanInput &input) {
    const Readings r = read(input);
    const Figure<double> areaI = windingArea(r.w1, r.q1, r.fill);
    const Figure<double> areaII = windingArea(r.w2, r.q2, r.fill);
    Builds builds = input.coreType == CoreType::Toroid ? toroidBuilds(r, areaI, areaII) : rodBuilds(r, areaI, areaII);

    const Figure<double> middleI = whenKnown<double>([](double t1) { return t1 / 2; }, builds.I);
    const Figure<double> middleII =
        whenKnown<double>([](double t1, double t2) { return t1 + t2 / 2; }, builds.I, builds.II);
    Figure<WireToBuy> wireI = wireOf(r.w1, r.q1, input.materialI, r.legA, r.legB, middleI);
    Figure<WireToBuy> wireII = wireOf(r.w2, r.q2, input.materialII, r.legA, r.legB, middleII);
    Figure<double> losses = copperLossesOf(r, wireI, wireII);

    return {coreOf(r),
            std::move(builds.I),
            std::move(builds.II),
            std::move(builds.fit),
            std::move(wireI),
            std::move(wireII),
            std::move(losses),
            tapsOf(r),
            secondMainsOf(r, input.materialI),
            whenKnown<int>(breakerFor, r.i1),
            whenKnown<bool>([](double current) { return current > kLargestSocketCurrent; }, r.i1)};
}

}  // namespace tremira::calc
