#include "winding_plan.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "materials.h"

namespace tremira::calc {
namespace {

constexpr double kLeadsAndWaste = 1.10;
constexpr double kMillimetresPerMetre = 1000;
constexpr double kSquareMillimetresPerSquareCentimetre = 100;
constexpr double kSquareMetresPerSquareCentimetre = 1e-4;
constexpr double kGramsPerKilogram = 1000;

constexpr std::array kBreakerRatings{6, 10, 13, 16, 20, 25, 32, 40, 50, 63, 80, 100, kLargestBreakerRating};

Figure<double> inRange(double value) {
    if (!(value >= kSmallestInput && value <= kLargestInput)) return NoFigure::OutOfRange;  // NaN too
    return value;
}

Figure<double> inRange(const Figure<double> &value) {
    return WhenKnown<double>([](double v) { return inRange(v); }, value);
}

Figure<double> fillFactorOf(const Figure<double> &value) {
    return WhenKnown<double>(
        [](double k) -> Figure<double> {
            if (!(k >= kSmallestFillFactor && k <= 1)) return NoFigure::OutOfRange;
            return k;
        },
        value);
}

Figure<int> tapCountOf(const Figure<int> &value) {
    return WhenKnown<int>(
        [](int count) -> Figure<int> {
            if (count < kFewestTaps || count > kMostTaps) return NoFigure::OutOfRange;
            return count;
        },
        value);
}

// The nearest whole number, halves to the even one, as the calculation rounds turns and sections.
Figure<int> nearest(double value) {
    if (const std::optional<int> rounded = RoundHalfEven<int>(value)) return *rounded;
    return NoFigure::OutOfRange;
}

// The plan's inputs, each held to the plan's limits.
struct Readings {
    Figure<double> u1, u2, current, coreSection, w1, w2, q1, q2, i1;
    Figure<double> fill, width, height, legA, legB, lowTap, secondMains;
    Figure<int> tapCount;
};

Readings read(const WindingPlanInput &in) {
    const InputNumbers &d = in.design;
    const ResultNumbers &r = in.results;
    return {inRange(d.mainsVoltage),
            inRange(d.outputVoltage),
            inRange(d.weldingCurrent),
            inRange(d.coreSection),
            inRange(r.w1),
            inRange(r.w2),
            inRange(r.q1),
            inRange(r.q2),
            inRange(r.i1),
            fillFactorOf(in.fillFactor),
            inRange(in.windowWidth),
            inRange(in.windowHeight),
            inRange(in.legWidth),
            inRange(in.legDepth),
            inRange(in.lowestTapVoltage),
            inRange(in.secondMainsVoltage),
            tapCountOf(in.tapCount)};
}

// --- Core ---------------------------------------------------------------------------------

SectionMatch matchOf(double fromSides, double used) {
    if (std::abs(fromSides - used) <= kSectionTolerance * used) return SectionMatch::WithinTolerance;
    return fromSides < used ? SectionMatch::SidesGiveLess : SectionMatch::SidesGiveMore;
}

Figure<CoreFromSides> coreOf(const Readings &r) {
    return WhenKnown<CoreFromSides>(
        [](double a, double b, double used) {
            const double section = a * b / kSquareMillimetresPerSquareCentimetre;
            return CoreFromSides{section, matchOf(section, used)};
        },
        r.legA, r.legB, r.coreSection);
}

// --- Taps -------------------------------------------------------------------------------

Figure<TapTable> tapsOf(const Readings &r) {
    return WhenKnown<TapTable>(
        [](int count, double lowest, double u1, double u2, double s, double w1, double w2) -> Figure<TapTable> {
            if (lowest >= u2) return NoFigure::NotBelowOutputVoltage;
            TapTable table;
            table.asked = count;
            for (int i = 0; i < count; ++i) {
                const double aimedVoltage = lowest + (u2 - lowest) * i / (count - 1);
                const Figure<int> turns =
                    i == count - 1 ? Figure<int>(static_cast<int>(w1)) : nearest(w1 * u2 / aimedVoltage);
                if (!turns.known()) return *turns.reason();
                // Voltages closer than a turn apart land on the same turns: that tap is there already.
                if (table.count > 0 && table.items[table.count - 1].turns == turns.value()) continue;
                const double noLoad = u1 * w2 / turns.value();
                const double induction = InductionAt50Hz(u1, turns.value(), s);
                table.items[table.count++] = {turns.value(), noLoad, induction, noLoad > kSafeNoLoadVoltage,
                                              SaturationAt(induction)};
            }
            return table;
        },
        r.tapCount, r.lowTap, r.u1, r.u2, r.coreSection, r.w1, r.w2);
}

// --- Mains supply -------------------------------------------------------------------------

Figure<int> breakerFor(double current) {
    const auto rating = std::ranges::find_if(kBreakerRatings, [current](int a) { return a >= current; });
    if (rating == kBreakerRatings.end()) return NoFigure::NoneInSeries;
    return *rating;
}

bool needsDedicatedLine(double current) { return current > kLargestSocketCurrent; }

// --- Second mains voltage -----------------------------------------------------------------

// Where a mains voltage ends on winding I and the section its current needs.
struct MainsEnd {
    int turns;
    int section;
};

// Every turn is wound of the thickest wire that any mains voltage connected at or past it needs:
// the turns both voltages use take the larger section, the rest that of the one reaching on;
// one wire when that is the same.
std::pair<TurnSpan, std::optional<TurnSpan>> spansOf(MainsEnd a, MainsEnd b) {
    const MainsEnd &nearer = a.turns <= b.turns ? a : b;
    const MainsEnd &further = a.turns <= b.turns ? b : a;
    const TurnSpan shared{1, nearer.turns, std::max(a.section, b.section)};
    if (further.turns == nearer.turns || further.section == shared.section) {
        return {TurnSpan{1, further.turns, shared.section}, std::nullopt};
    }
    return {shared, TurnSpan{nearer.turns + 1, further.turns, further.section}};
}

// The same winding I runs on to w₁ᵇ turns for the same no-load voltage; its current is the
// design's in the ratio of the voltages.
Figure<SecondMains> secondMainsOf(const Readings &r, Material materialI, const Figure<MainsEnd> &designEnd) {
    const double density = CurrentDensityOf(materialI);
    return WhenKnown<SecondMains>(
        [density](double u1b, double u1, double w1, double i1, MainsEnd design) -> Figure<SecondMains> {
            const Figure<int> turns = nearest(w1 * u1b / u1);
            const double current = i1 * u1 / u1b;
            const Figure<int> section = nearest(current / density);
            if (!turns.known()) return *turns.reason();
            if (!section.known()) return *section.reason();
            if (turns.value() < 1 || section.value() < 1) return NoFigure::OutOfRange;
            const auto [shared, rest] = spansOf(design, {turns.value(), section.value()});
            return SecondMains{turns.value(),
                               section.value(),
                               shared,
                               rest,
                               current,
                               breakerFor(current),
                               needsDedicatedLine(current)};
        },
        r.secondMains, r.u1, r.w1, r.i1, designEnd);
}

// --- Builds -------------------------------------------------------------------------------

// The turns of winding I as wound, in at most two wires of different sections.
struct WindingISpans {
    Figure<TurnSpan> inner;
    Figure<TurnSpan> outer;  // not given when one section serves every turn
};

WindingISpans spansOfWindingI(const Figure<MainsEnd> &designEnd, const Figure<SecondMains> &secondMains) {
    if (secondMains.known()) {
        const SecondMains &mains = secondMains.value();
        if (mains.higherMainsTurns) return {mains.lowerMainsTurns, *mains.higherMainsTurns};
        return {mains.lowerMainsTurns, NoFigure::NotGiven};
    }
    return {WhenKnown<TurnSpan>(
                [](MainsEnd end) {
                    return TurnSpan{1, end.turns, end.section};
                },
                designEnd),
            *secondMains.reason()};
}

int turnsOf(const TurnSpan &span) { return span.last - span.first + 1; }
// mm² of wire across the window.
double copperOf(const TurnSpan &span) { return static_cast<double>(turnsOf(span)) * span.section; }

// The window area the wire of winding I takes with the gaps between the wires, mm².
Figure<double> areaOfWindingI(const WindingISpans &spans, const Figure<double> &fill) {
    return WhenKnown<double>(
        [&spans](const TurnSpan &inner, double k) {
            double copper = copperOf(inner);
            if (spans.outer.known()) copper += copperOf(spans.outer.value());
            return copper / k;
        },
        spans.inner, fill);
}

Figure<WoundWindingI> woundOf(const WindingISpans &spans) {
    return WhenKnown<WoundWindingI>(
        [&spans](const TurnSpan &inner) {
            if (!spans.outer.known()) return WoundWindingI{inner.last, copperOf(inner)};
            const TurnSpan &outer = spans.outer.value();
            return WoundWindingI{outer.last, copperOf(inner) + copperOf(outer)};
        },
        spans.inner);
}

Figure<double> windingArea(const Figure<double> &turns, const Figure<double> &section, const Figure<double> &fill) {
    return WhenKnown<double>([](double w, double q, double k) { return w * q / k; }, turns, section, fill);
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
    Figure<double> buildI = WhenKnown<double>(acrossHeight, areaI, r.height);
    Figure<double> buildII = WhenKnown<double>(acrossHeight, areaII, r.height);
    Figure<bool> fit =
        WhenKnown<bool>([](double t1, double t2, double c) { return t1 + t2 <= c; }, buildI, buildII, r.width);
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
    Figure<double> buildI = WhenKnown<double>(ringBuild, r.width, areaI);
    Figure<double> buildII = WhenKnown<double>(
        [](double hole, double t1, double area) { return ringBuild(hole - 2 * t1, area); }, r.width, buildI, areaII);
    Figure<bool> fit = fitsHole(buildII);
    return {std::move(buildI), std::move(buildII), std::move(fit)};
}

// --- Wire -------------------------------------------------------------------------------

// A turn runs round the leg (2(a + b)) and round the middle of its winding's build, which lies
// `middleDepth` out from the leg: t₁/2 for winding I, t₁ + t₂/2 for winding II over it.
Figure<double> meanTurnOf(const Readings &r, const Figure<double> &middleDepth) {
    return WhenKnown<double>(
        [](double a, double b, double depth) { return 2 * (a + b) + 2 * std::numbers::pi * depth; }, r.legA, r.legB,
        middleDepth);
}

double resistanceOf(const MaterialData &m, double turns, double section, double meanTurn) {
    return m.resistivity * turns * meanTurn / kMillimetresPerMetre / section;
}

Figure<WireToBuy> wireOf(const Figure<TurnSpan> &span, Material material, const Figure<double> &meanTurn) {
    const MaterialData &m = DataOf(material);
    return WhenKnown<WireToBuy>(
        [&m](const TurnSpan &turns, double mlt) -> Figure<WireToBuy> {
            const int w = turnsOf(turns);
            const double length = w * mlt / kMillimetresPerMetre;
            const double withWaste = length * kLeadsAndWaste;
            const Figure<int> toBuy = nearest(std::ceil(withWaste));
            if (!toBuy.known()) return *toBuy.reason();
            return WireToBuy{w,
                             turns.section,
                             mlt,
                             length,
                             toBuy.value(),
                             withWaste * turns.section * m.density / kGramsPerKilogram,
                             resistanceOf(m, w, turns.section, mlt)};
        },
        span, meanTurn);
}

Figure<TurnSpan> allTurns(const Figure<double> &turns, const Figure<double> &section) {
    return WhenKnown<TurnSpan>(
        [](double w, double q) {
            return TurnSpan{1, static_cast<int>(w), static_cast<int>(q)};
        },
        turns, section);
}

// Turns 1..w₁ of winding I, the part the design's current runs through on its own mains and tap:
// of the first wire, and of the second where w₁ runs past it. A wire the plan cannot give gives
// its reason here too.
Figure<double> resistanceOfDesignTurns(const Readings &r, const Figure<WireToBuy> &inner,
                                       const Figure<WireToBuy> &outer, Material material) {
    const MaterialData &m = DataOf(material);
    return WhenKnown<double>(
        [&](double w1, const WireToBuy &first) -> Figure<double> {
            const int innerTurns = std::min(static_cast<int>(w1), first.turns);
            const double ohms = resistanceOf(m, innerTurns, first.section, first.meanTurn);
            if (w1 <= innerTurns) return ohms;
            return WhenKnown<double>(
                [&](const WireToBuy &second) {
                    return ohms + resistanceOf(m, w1 - innerTurns, second.section, first.meanTurn);
                },
                outer);
        },
        r.w1, inner);
}

// --- Drawing ----------------------------------------------------------------------------

// A size the drawing is made from, within the plan's limits, or why not, naming the size.
Figure<double> drawingSize(const Figure<double> &typed, std::string_view subject) {
    const Figure<double> size = inRange(typed);
    if (size.known()) return size;
    return Reason{size.why().kind, subject};
}

std::optional<double> knownValue(const Figure<double> &figure) {
    return figure.known() ? std::optional<double>(figure.value()) : std::nullopt;
}

}  // namespace

double InductionAt50Hz(double voltage, double turns, double coreSection) {
    return voltage /
           (4.44 * kMainsFrequency * turns * coreSection * kCoreStackingFactor * kSquareMetresPerSquareCentimetre);
}

Saturation SaturationAt(double induction) {
    if (induction >= kInductionLimit) return Saturation::AnySteel;
    if (induction >= kOrdinarySteelSaturation) return Saturation::OrdinarySteel;
    return Saturation::None;
}

Figure<double> PlanReading(const Figure<double> &reading) {
    if (reading.known()) return inRange(reading.value());
    const NoFigure kind = *reading.reason();
    if (kind == NoFigure::NotGiven || kind == NoFigure::NotANumber) return kind;
    return NoFigure::OutOfRange;
}

Figure<int> TapCountOf(const Figure<double> &reading) {
    return WhenKnown<int>(
        [](double count) -> Figure<int> {
            if (count != std::floor(count)) return NoFigure::OutOfRange;
            return nearest(count);
        },
        PlanReading(reading));
}

Figure<WindingSizes> DrawingOf(const WindingPlanInput &input, const WindingPlan &plan) {
    const bool toroid = input.design.coreType == kToroidIndex;
    const Figure<double> width = drawingSize(input.windowWidth, toroid ? "внутренний диаметр" : "ширина окна");
    const Figure<double> height = toroid ? Figure<double>(0.0) : drawingSize(input.windowHeight, "высота окна");
    const Figure<double> leg = drawingSize(input.legWidth, toroid ? "ширина кольца" : "ширина стержня");
    const Figure<double> depth = inRange(input.legDepth);
    for (const Figure<double> *needed : {&width, &height}) {
        if (!needed->known()) return needed->why();
    }
    // Steel of no typed width is drawn as a thin frame; a typed width must be one the plan takes.
    if (!leg.known() && leg.reason() != NoFigure::NotGiven) return leg.why();
    return WindingSizes{toroid ? WindowShape::Circle : WindowShape::Rectangle,
                        width.value(),
                        height.value(),
                        knownValue(leg),
                        knownValue(plan.buildI),
                        knownValue(plan.buildII),
                        !plan.fitsWindow.known() || plan.fitsWindow.value(),
                        knownValue(depth)};
}

WindingPlan PlanWinding(const WindingPlanInput &input) {
    const Readings r = read(input);
    Figure<TapTable> taps = tapsOf(r);
    // For the design's own mains voltage winding I runs to its lowest tap, or to w₁ without taps.
    const Figure<MainsEnd> designEnd = WhenKnown<MainsEnd>(
        [&taps](double w1, double q1) {
            return MainsEnd{taps.known() ? taps.value().items[0].turns : static_cast<int>(w1), static_cast<int>(q1)};
        },
        r.w1, r.q1);
    Figure<SecondMains> secondMains = secondMainsOf(r, input.design.materialI, designEnd);

    const WindingISpans spans = spansOfWindingI(designEnd, secondMains);
    Figure<WoundWindingI> woundI = taps.known() || secondMains.known() ? woundOf(spans) : NoFigure::NotGiven;
    const Figure<double> areaI = areaOfWindingI(spans, r.fill);
    const Figure<double> areaII = windingArea(r.w2, r.q2, r.fill);
    Builds builds =
        input.design.coreType == kToroidIndex ? toroidBuilds(r, areaI, areaII) : rodBuilds(r, areaI, areaII);

    const Figure<double> meanTurnI = meanTurnOf(r, WhenKnown<double>([](double t1) { return t1 / 2; }, builds.I));
    const Figure<double> meanTurnII =
        meanTurnOf(r, WhenKnown<double>([](double t1, double t2) { return t1 + t2 / 2; }, builds.I, builds.II));
    Figure<WireToBuy> wireI = wireOf(spans.inner, input.design.materialI, meanTurnI);
    Figure<WireToBuy> wireIOuter = wireOf(spans.outer, input.design.materialI, meanTurnI);
    Figure<WireToBuy> wireII = wireOf(allTurns(r.w2, r.q2), input.design.materialII, meanTurnII);
    Figure<double> resistanceI = resistanceOfDesignTurns(r, wireI, wireIOuter, input.design.materialI);
    Figure<double> losses =
        WhenKnown<double>([](double i1, double i2, double r1,
                             const WireToBuy &second) { return i1 * i1 * r1 + i2 * i2 * second.resistance; },
                          r.i1, r.current, resistanceI, wireII);

    return {coreOf(r),
            std::move(builds.I),
            std::move(builds.II),
            std::move(builds.fit),
            std::move(wireI),
            std::move(wireIOuter),
            std::move(wireII),
            std::move(resistanceI),
            std::move(losses),
            std::move(taps),
            std::move(secondMains),
            WhenKnown<int>(breakerFor, r.i1),
            WhenKnown<bool>(needsDedicatedLine, r.i1),
            std::move(woundI)};
}

}  // namespace tremira::calc
