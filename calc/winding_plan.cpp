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

// Where a mains voltage ends on winding I, the section its current needs and the wire of it.
struct MainsEnd {
    int turns;
    double section;
    RoundWire wire;
};

// Every turn is wound of the thickest wire that any mains voltage connected at or past it needs:
// the turns both voltages use take the thicker, the rest that of the one reaching on; one wire
// when that is the same. Of one wire, the design's own section is the one the plan reckons with.
std::pair<TurnSpan, std::optional<TurnSpan>> spansOf(const MainsEnd &design, const MainsEnd &second) {
    const MainsEnd &nearer = design.turns <= second.turns ? design : second;
    const MainsEnd &further = design.turns <= second.turns ? second : design;
    const MainsEnd &thicker = second.wire.section > design.wire.section ? second : design;
    const TurnSpan shared{1, nearer.turns, thicker.section, thicker.wire};
    if (further.turns == nearer.turns || further.wire.section == thicker.wire.section) {
        return {TurnSpan{1, further.turns, thicker.section, thicker.wire}, std::nullopt};
    }
    return {shared, TurnSpan{nearer.turns + 1, further.turns, further.section, further.wire}};
}

// The same winding I runs on to w₁ᵇ turns for the same no-load voltage; its current is the
// design's in the ratio of the voltages, and its section that of the round wire the check would
// pick for it, so that the current density stays within the calculation's.
Figure<SecondMains> secondMainsOf(const Readings &r, Material materialI, const Figure<MainsEnd> &designEnd) {
    const double density = CurrentDensityOf(materialI);
    return WhenKnown<SecondMains>(
        [density](double u1b, double u1, double w1, double i1, const MainsEnd &design) -> Figure<SecondMains> {
            const Figure<int> turns = nearest(w1 * u1b / u1);
            if (!turns.known()) return *turns.reason();
            if (turns.value() < 1) return NoFigure::OutOfRange;
            const double current = i1 * u1 / u1b;
            const RoundWire wire = RoundWireFor(current / density);
            const auto [shared, rest] = spansOf(design, {turns.value(), wire.section, wire});
            return SecondMains{
                turns.value(), wire, shared, rest, current, breakerFor(current), needsDedicatedLine(current)};
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
                [](const MainsEnd &end) {
                    return TurnSpan{1, end.turns, end.section, end.wire};
                },
                designEnd),
            *secondMains.reason()};
}

int turnsOf(const TurnSpan &span) { return span.last - span.first + 1; }
// mm² of wire across the window.
double copperOf(const TurnSpan &span) { return static_cast<double>(turnsOf(span)) * span.section; }

Figure<WoundWindingI> woundOf(const WindingISpans &spans) {
    return WhenKnown<WoundWindingI>(
        [&spans](const TurnSpan &inner) {
            if (!spans.outer.known()) return WoundWindingI{inner.last, copperOf(inner)};
            const TurnSpan &outer = spans.outer.value();
            return WoundWindingI{outer.last, copperOf(inner) + copperOf(outer)};
        },
        spans.inner);
}

// The window area a span's wire takes with the gaps between the wires, mm².
Figure<double> areaOf(const Figure<TurnSpan> &span, const Figure<double> &fill) {
    return WhenKnown<double>([](const TurnSpan &turns, double k) { return copperOf(turns) / k; }, span, fill);
}

// The build of a winding of `area` laid round the inside of a round hole: the ring between the
// hole and the smaller hole it leaves.
Figure<double> ringBuild(double hole, double area) {
    const double holeLeftSquared = hole * hole - 4 * area / std::numbers::pi;
    if (holeLeftSquared < 0) return NoFigure::DoesNotFit;
    return (hole - std::sqrt(holeLeftSquared)) / 2;
}

// The build of a winding of `area` laid round the outside of a ring of `outer` diameter: an
// annulus of the same area. Hand-wound turns keep inside as many layers as outside, so the
// outer build is at least this.
double annulusBuild(double outer, double area) {
    return (std::sqrt(outer * outer + 4 * area / std::numbers::pi) - outer) / 2;
}

// How deep in from the steel the windings laid so far reach, inside the window (or the
// toroid's hole) and, on a toroid, outside the ring.
struct Depth {
    Figure<double> in = 0.0;
    Figure<double> out = 0.0;
};

// A winding, or a span of winding I, laid over the windings `under` it.
struct Laid {
    Figure<double> buildIn;      // t, mm, inside the window
    Figure<double> meanTurn;     // MLT, mm
    Figure<double> layerLength;  // mm a layer of its turns runs along
    Depth over;                  // the depth the next winding starts at
};

Figure<double> sum(const Figure<double> &a, const Figure<double> &b) {
    return WhenKnown<double>([](double x, double y) { return x + y; }, a, b);
}

// On a rod core a winding builds alike round the leg, t = area ÷ h, and each layer runs the
// window's height. On a toroid it builds inside the hole it starts on, round whose circumference
// its layers run, and outside the ring over the windings there. A turn runs round the steel
// (2(a + b)) and round the middle of its build on each side: MLT = 2(a + b) + π·(middle
// inside + middle outside), 2(a + b) + π·(2·t_under + t) on a rod core.
Laid layOver(const Readings &r, bool toroid, const Depth &under, const Figure<double> &area) {
    Figure<double> buildIn =
        toroid ? WhenKnown<double>([](double d, double depth, double a) { return ringBuild(d - 2 * depth, a); },
                                   r.width, under.in, area)
               : WhenKnown<double>([](double a, double h) { return a / h; }, area, r.height);
    const Figure<double> buildOut =
        toroid ? WhenKnown<double>([](double d, double ring, double depth,
                                      double a) { return annulusBuild(d + 2 * ring + 2 * depth, a); },
                                   r.width, r.legA, under.out, area)
               : buildIn;
    Figure<double> meanTurn = WhenKnown<double>(
        [](double a, double b, double depthIn, double tIn, double depthOut, double tOut) {
            return 2 * (a + b) + std::numbers::pi * (depthIn + tIn / 2 + depthOut + tOut / 2);
        },
        r.legA, r.legB, under.in, buildIn, under.out, buildOut);
    Figure<double> layerLength =
        toroid ? WhenKnown<double>([](double d, double depth) { return std::numbers::pi * (d - 2 * depth); }, r.width,
                                   under.in)
               : r.height;
    Depth over{sum(under.in, buildIn), sum(under.out, buildOut)};
    return {std::move(buildIn), std::move(meanTurn), std::move(layerLength), std::move(over)};
}

// Winding I's spans one over another from the leg out; a span not wound leaves the depth as it is.
struct LaidWindingI {
    Laid inner;
    std::optional<Laid> outer;
    Depth over;
};

LaidWindingI layWindingI(const Readings &r, bool toroid, const WindingISpans &spans) {
    Laid inner = layOver(r, toroid, {}, areaOf(spans.inner, r.fill));
    if (!spans.outer.known()) return {inner, std::nullopt, inner.over};
    Laid outer = layOver(r, toroid, inner.over, areaOf(spans.outer, r.fill));
    Depth over = outer.over;
    return {std::move(inner), std::move(outer), std::move(over)};
}

// Winding II inherits winding I's reason, so it alone tells whether both fit the hole.
Figure<bool> fitsHole(const Figure<double> &buildII) {
    if (buildII.known()) return true;
    if (buildII.reason() == NoFigure::DoesNotFit) return false;
    return *buildII.reason();
}

// Both windings sit on one leg, winding II over winding I, so across the window they take
// t₁ + t₂ of its width c; the plan keeps to that one leg. On a toroid winding II closes the
// hole or not.
Figure<bool> fitsOf(const Readings &r, bool toroid, const Figure<double> &buildI, const Figure<double> &buildII) {
    if (toroid) return fitsHole(buildII);
    return WhenKnown<bool>([](double t1, double t2, double c) { return t1 + t2 <= c; }, buildI, buildII, r.width);
}

// c − t₁ − t₂ beside a rod core's windings, D − 2(t₁ + t₂) inside a toroid's.
Figure<double> roomLeftOf(const Readings &r, bool toroid, const Figure<double> &depth) {
    return WhenKnown<double>(
        [toroid](double width, double t) -> Figure<double> {
            const double left = width - (toroid ? 2 : 1) * t;
            if (left < 0) return NoFigure::DoesNotFit;
            return left;
        },
        r.width, depth);
}

// --- Wire -------------------------------------------------------------------------------

double resistanceOf(const MaterialData &m, double turns, double section, double meanTurn) {
    return m.resistivity * turns * meanTurn / kMillimetresPerMetre / section;
}

// Turns side by side, each strand of a bundle beside the others, along `length` mm.
Figure<Layers> layersOf(int turns, const RoundWire &wire, double length) {
    const double perLayer = std::floor(length / (wire.strands * wire.overallDiameter));
    if (perLayer < 1) return NoFigure::NoTurnInLayer;
    const int whole = static_cast<int>(perLayer);
    return Layers{whole, (turns + whole - 1) / whole};
}

Figure<WireToBuy> wireOf(const Figure<TurnSpan> &span, Material material, const Laid &laid) {
    const MaterialData &m = DataOf(material);
    return WhenKnown<WireToBuy>(
        [&m](const TurnSpan &turns, double mlt, double layerLength) -> Figure<WireToBuy> {
            const int w = turnsOf(turns);
            const double length = w * mlt / kMillimetresPerMetre;
            const double withWaste = length * kLeadsAndWaste;
            const int strands = turns.wire.strands;
            const Figure<int> toBuy = nearest(std::ceil(withWaste));
            const Figure<int> toBuyInAll = nearest(std::ceil(withWaste) * strands);
            if (!toBuy.known() || !toBuyInAll.known()) return NoFigure::OutOfRange;
            return WireToBuy{w,
                             turns.section,
                             turns.wire,
                             mlt,
                             length,
                             length * strands,
                             toBuy.value(),
                             toBuyInAll.value(),
                             withWaste * turns.section * m.density / kGramsPerKilogram,
                             resistanceOf(m, w, turns.section, mlt),
                             layersOf(w, turns.wire, layerLength)};
        },
        span, laid.meanTurn, laid.layerLength);
}

Figure<TurnSpan> allTurns(const Figure<double> &turns, const Figure<double> &section) {
    return WhenKnown<TurnSpan>(
        [](double w, double q) {
            return TurnSpan{1, static_cast<int>(w), q, RoundWireFor(q)};
        },
        turns, section);
}

// Turns 1..w₁ of winding I, the part the design's current runs through on its own mains and tap:
// of the first wire, and of the second, round its own mean turn, where w₁ runs past it. A wire
// the plan cannot give gives its reason here too.
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
                    return ohms + resistanceOf(m, w1 - innerTurns, second.section, second.meanTurn);
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
    const bool toroid = input.design.coreType == kToroidIndex;
    Figure<TapTable> taps = tapsOf(r);
    // For the design's own mains voltage winding I runs to its lowest tap, or to w₁ without taps.
    const Figure<MainsEnd> designEnd = WhenKnown<MainsEnd>(
        [&taps](double w1, double q1) {
            return MainsEnd{taps.known() ? taps.value().items[0].turns : static_cast<int>(w1), q1, RoundWireFor(q1)};
        },
        r.w1, r.q1);
    Figure<SecondMains> secondMains = secondMainsOf(r, input.design.materialI, designEnd);

    const WindingISpans spans = spansOfWindingI(designEnd, secondMains);
    Figure<WoundWindingI> woundI = taps.known() || secondMains.known() ? woundOf(spans) : NoFigure::NotGiven;
    const LaidWindingI laidI = layWindingI(r, toroid, spans);
    const Figure<TurnSpan> turnsII = allTurns(r.w2, r.q2);
    const Laid laidII = layOver(r, toroid, laidI.over, areaOf(turnsII, r.fill));

    Figure<WireToBuy> wireI = wireOf(spans.inner, input.design.materialI, laidI.inner);
    Figure<WireToBuy> wireIOuter =
        laidI.outer ? wireOf(spans.outer, input.design.materialI, *laidI.outer) : Figure<WireToBuy>(spans.outer.why());
    Figure<WireToBuy> wireII = wireOf(turnsII, input.design.materialII, laidII);
    Figure<double> resistanceI = resistanceOfDesignTurns(r, wireI, wireIOuter, input.design.materialI);
    Figure<double> losses =
        WhenKnown<double>([](double i1, double i2, double r1,
                             const WireToBuy &second) { return i1 * i1 * r1 + i2 * i2 * second.resistance; },
                          r.i1, r.current, resistanceI, wireII);
    Figure<bool> fits = fitsOf(r, toroid, laidI.over.in, laidII.buildIn);

    return {coreOf(r),
            laidI.over.in,
            laidII.buildIn,
            std::move(fits),
            roomLeftOf(r, toroid, laidII.over.in),
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
