#include "weld.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "materials.h"

namespace tremira::calc {
namespace {

constexpr double kMagneticConstant = 4e-7 * std::numbers::pi;                 // μ₀, H/m
constexpr double kAngularFrequency = 2 * std::numbers::pi * kMainsFrequency;  // ω, 1/s
constexpr double kMetresPerMillimetre = 1e-3;
constexpr double kSquareMillimetresPerSquareMetre = 1e6;
constexpr double kCubicMillimetresPerCubicCentimetre = 1000;
constexpr double kGramsPerKilogram = 1000;

constexpr double kHighMains = 1.10;      // the mains may run 10 % above its nominal voltage
constexpr int kMostChokePasses = 5;      // its turns settle in two or three
constexpr double kMostChokeTurns = 1e6;  // more is a typing slip in the core's sides

// Heat leaves a bare transformer in still air by convection and radiation at about
// 12 W/(m²·K); less in a case, more with a fan.
constexpr double kOpenAirCooling = 12;
constexpr double kAmbientTemperature = 40;    // °C, IEC 60974-1's reference
constexpr double kReferenceTemperature = 20;  // °C of the plan's resistances
constexpr double kSteelLossInduction = 1.5;   // T the steel loss is given at
constexpr std::size_t kChartPoints = 33;

// Winding temperature rise by resistance over 40 °C that IEC 60974-1 allows for each class.
double temperatureRiseLimit(InsulationClass insulation) {
    switch (insulation) {
    case InsulationClass::B: return 80;
    case InsulationClass::F: return 105;
    case InsulationClass::H: return 125;
    }
    return 80;
}

// A choice by its entry; a blank text is the first entry.
template <typename Choice, std::size_t N>
Figure<Choice> readChoice(std::string_view text, const std::array<std::string_view, N> &entries, NoFigure unknown,
                          std::string_view subject) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return static_cast<Choice>(0);
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    for (std::size_t i = 0; i < N; ++i) {
        if (entries[i] == text) return static_cast<Choice>(i);
    }
    return Reason{unknown, subject};
}

// A figure the inputs allow but no sensible design has.
Figure<double> finite(double value) {
    if (!std::isfinite(value)) return NoFigure::OutOfRange;
    return value;
}

// The design's numbers, each held to the plan's limits.
struct Design {
    Figure<double> u1, current, section, induction, w1, w2, q1, q2, i1;
};

Design readDesign(const WindingPlanInput &in) {
    const InputNumbers &d = in.design;
    const ResultNumbers &r = in.results;
    return {PlanReading(d.mainsVoltage),
            PlanReading(d.weldingCurrent),
            PlanReading(d.coreSection),
            PlanReading(d.induction),
            PlanReading(r.w1),
            PlanReading(r.w2),
            PlanReading(r.q1),
            PlanReading(r.q2),
            PlanReading(r.i1)};
}

// --- The arc --------------------------------------------------------------------------------

// The conventional load of manual metal arc welding, IEC 60974-1: 20 + 0,04·I up to 600 A, 44 V
// above.
double conventionalArcVoltage(double current) { return current <= 600 ? 20 + 0.04 * current : 44; }

// The current into the conventional arc load behind R + jX from the no-load voltage U₂₀: the
// positive root of (U_d + I·R)² + (I·X)² = U₂₀², the arc in phase with its current. With
// U_d = u + s·I the root is written so that it loses no digits when U₂₀ is close to u.
double arcCurrent(double noLoad, double r, double x) {
    const auto root = [&](double u, double s) {
        const double a = (r + s) * (r + s) + x * x;
        const double b = 2 * u * (r + s);
        const double c = noLoad * noLoad - u * u;
        return 2 * c / (b + std::sqrt(b * b + 4 * a * c));
    };
    const double current = root(20, 0.04);
    return current <= 600 ? current : root(44, 0);
}

// The current of the arc, its voltage, the stuck electrode's current and the current from the
// mains of a tap of `turns` with U₂₀ behind R + jX.
Figure<ArcPoint> arcOf(double noLoad, double r, double x, double turns, double w2) {
    if (noLoad <= conventionalArcVoltage(0)) return NoFigure::NoArc;
    const double current = arcCurrent(noLoad, r, x);
    const ArcPoint point{current, conventionalArcVoltage(current), noLoad / std::hypot(r, x), current * w2 / turns};
    if (!std::isfinite(point.current) || !std::isfinite(point.shortCircuit)) return NoFigure::OutOfRange;
    return point;
}

// The voltage at `current` of U₂₀ behind R + jX into a resistive load.
double terminalVoltage(double noLoad, double r, double x, double current) {
    const double reactive = current * x;
    return std::sqrt(std::max(0.0, noLoad * noLoad - reactive * reactive)) - current * r;
}

// --- Leakage reactance ----------------------------------------------------------------------

// Winding I's copper across the window in its turns 1..`turns`, mm².
double copperUpTo(double turns, const WireToBuy &inner, const Figure<WireToBuy> &outer) {
    double copper = std::min<double>(turns, inner.turns) * inner.section;
    if (turns > inner.turns && outer.known()) copper += (turns - inner.turns) * outer.value().section;
    return copper;
}

// What Kapp's formula needs of the windings, mm.
struct Channel {
    double meanTurn;  // of both windings
    double buildI, buildII, gap;
    double length;  // of the windings along the field
    WireToBuy inner;
    Figure<WireToBuy> outer;
    bool toroid;
};

Figure<Channel> channelOf(const WindingPlanInput &in, const WindingPlan &plan, const Figure<double> &gap) {
    const bool toroid = in.design.coreType == kToroidIndex;
    // The field runs along the window's height, or round the ring's mean circumference.
    const Figure<double> length = toroid
                                      ? WhenKnown<double>([](double d, double a) { return std::numbers::pi * (d + a); },
                                                          in.windowWidth, in.legWidth)
                                      : in.windowHeight;
    return WhenKnown<Channel>(
        [&](const WireToBuy &inner, const WireToBuy &second, double t1, double t2, double delta, double l) {
            return Channel{(inner.meanTurn + second.meanTurn) / 2, t1, t2, delta, l, inner, plan.wireIOuter, toroid};
        },
        plan.wireI, plan.wireII, plan.buildI, plan.buildII, gap, length);
}

// Kapp's formula for the leakage reactance of concentric windings, referred to winding II
// (±30 %): X = ω·μ₀·w₂²·MLT·(δ + (t₁ + t₂)/3) ÷ l. On a rod core the turns of winding I past
// the tap carry no current and widen the channel between the windings.
double kappReactance(const Channel &c, double turns, double w2) {
    double buildI = c.buildI;
    double gap = c.gap;
    if (!c.toroid) {
        const double wholeCopper =
            copperUpTo(c.inner.turns + (c.outer.known() ? c.outer.value().turns : 0), c.inner, c.outer);
        buildI = c.buildI * copperUpTo(turns, c.inner, c.outer) / wholeCopper;
        gap += c.buildI - buildI;
    }
    const double width = (gap + (buildI + c.buildII) / 3) * kMetresPerMillimetre;
    return kAngularFrequency * kMagneticConstant * w2 * w2 * c.meanTurn * kMetresPerMillimetre * width /
           (c.length * kMetresPerMillimetre);
}

// The resistance of turns 1..wᵢ is R_I·wᵢ/w₁ of the same wire; referred to winding II by (w₂/wᵢ)².
double referredResistance(double rI, double rII, double w1, double w2, double turns) {
    return rII + rI * w2 * w2 / (w1 * turns);
}

// What the taps share: the windings' resistances and the reactance.
struct Circuit {
    Figure<double> u1, w1, w2, rI, rII;
    bool measured;
    Figure<double> measuredReactance;
    Figure<Channel> channel;
    Figure<Arrangement> arrangement;
    bool toroid;
};

// One X for every tap from a current measured on tap m: X = √(U₂₀ₘ² − (U_d(Iₘ) + Iₘ·Rₘ)²) ÷ Iₘ.
Figure<double> measuredReactanceOf(const Circuit &c, const Figure<double> &turns, const Figure<double> &current) {
    return WhenKnown<double>(
        [](double u1, double w1, double w2, double rI, double rII, double wm, double im) -> Figure<double> {
            if (wm != std::floor(wm)) return Reason{NoFigure::OutOfRange, "витки отвода замера"};
            const double noLoad = u1 * w2 / wm;
            const double resistive = conventionalArcVoltage(im) + im * referredResistance(rI, rII, w1, w2, wm);
            if (resistive > noLoad) return NoFigure::MeasuredAboveReach;
            return finite(std::sqrt(noLoad * noLoad - resistive * resistive) / im);
        },
        c.u1, c.w1, c.w2, c.rI, c.rII, turns, current);
}

Figure<double> reactanceAt(const Circuit &c, double turns) {
    if (c.measured) return c.measuredReactance;
    if (!c.toroid && !c.arrangement.known()) return c.arrangement.why();
    // Approximate formulas for windings on separate legs are no better than ±50 %.
    if (!c.toroid && c.arrangement.value() == Arrangement::SeparateLegs) return NoFigure::NeedsMeasurement;
    return WhenKnown<double>([turns](const Channel &channel, double w2) { return kappReactance(channel, turns, w2); },
                             c.channel, c.w2);
}

WeldTap tapOf(const Circuit &c, const Design &d, int turns) {
    const double u1 = d.u1.value();
    const double w2 = d.w2.value();
    const double noLoad = u1 * w2 / turns;
    WeldTap tap{turns,
                InductionAt50Hz(u1, turns, d.section.value()),
                noLoad,
                kHighMains * noLoad,
                WhenKnown<double>([turns](double rI, double rII, double w1,
                                          double n2) { return referredResistance(rI, rII, w1, n2, turns); },
                                  c.rI, c.rII, c.w1, c.w2),
                reactanceAt(c, turns),
                NoFigure::NotGiven,
                NoFigure::NotGiven};
    tap.bare = WhenKnown<ArcPoint>([&](double r, double x) { return arcOf(noLoad, r, x, turns, w2); }, tap.resistance,
                                   tap.reactance);
    return tap;
}

// The taps asked for, or w₁ alone.
Figure<std::vector<int>> tapTurnsOf(const WindingPlan &plan, const Figure<double> &w1) {
    if (plan.taps.known()) {
        std::vector<int> turns;
        for (const Tap &tap : plan.taps.value().taps()) turns.push_back(tap.turns);
        return turns;
    }
    if (plan.taps.reason() != NoFigure::NotGiven) return plan.taps.why();
    return WhenKnown<std::vector<int>>([](double w) { return std::vector<int>{static_cast<int>(w)}; }, w1);
}

Figure<std::vector<WeldTap>> tapsOf(const Circuit &c, const Design &d, const WindingPlan &plan) {
    return WhenKnown<std::vector<WeldTap>>(
        [&](const std::vector<int> &turns, double, double, double) {
            std::vector<WeldTap> taps;
            for (const int w : turns) taps.push_back(tapOf(c, d, w));
            return taps;
        },
        tapTurnsOf(plan, d.w1), d.u1, d.w2, d.section);
}

// --- Choke ----------------------------------------------------------------------------------

// What the choke is worked out from.
struct ChokeBasis {
    double noLoad;      // U₂₀ at w₁
    double resistance;  // R at w₁
    double current;     // I, the design's
    double induction;   // the design's, taken as the choke's peak
    double section;     // q₂, mm²: the choke is wound of winding II's wire
    double fill;        // k
    const MaterialData *material;
};

// X_n = √(U₂₀² − (U_d(I) + I·(R + R_ch))²) ÷ I: the reactance that leaves the design's current.
Figure<double> neededReactanceOf(const ChokeBasis &b, double chokeResistance) {
    const double resistive = conventionalArcVoltage(b.current) + b.current * (b.resistance + chokeResistance);
    if (resistive >= b.noLoad) return NoFigure::CurrentOutOfReach;
    return finite(std::sqrt(b.noLoad * b.noLoad - resistive * resistive) / b.current);
}

struct ChokeCore {
    double a, b, c, h;  // mm

    double section() const { return a * b * kCoreStackingFactor / kSquareMillimetresPerSquareMetre; }  // m²
};

// Turns for the peak current at the design's induction, w = ⌈L·√2·I ÷ (B·S)⌉, and the total gap
// that gives L, l_g = μ₀·w²·S ÷ L, the iron's own reluctance and the fringing left out.
Figure<ChokeWinding> windChoke(const ChokeBasis &b, const ChokeCore &core, double inductance) {
    const double turns = std::ceil(inductance * std::numbers::sqrt2 * b.current / (b.induction * core.section()));
    if (!(turns <= kMostChokeTurns)) return NoFigure::TooManyTurns;
    const double neededWindow = turns * b.section / b.fill;
    const double build = neededWindow / core.h;
    const double meanTurn = 2 * (core.a + core.b) + std::numbers::pi * build;
    const double length = turns * meanTurn * kMetresPerMillimetre;
    return ChokeWinding{static_cast<int>(turns),
                        kMagneticConstant * turns * turns * core.section() / inductance / kMetresPerMillimetre,
                        build,
                        meanTurn,
                        length,
                        b.material->resistivity * length / b.section,
                        length * b.section * b.material->density / kGramsPerKilogram,
                        neededWindow,
                        neededWindow <= core.c * core.h};
}

struct ChokeResult {
    Figure<double> neededReactance;
    Figure<double> inductance;
    Figure<ChokeWinding> winding;
};

// The choke makes up the reactance w₁ lacks, X_n − X₁; there is one only where X_n > X₁. On a typed
// core its own resistance lowers X_n: X_n again with it, until the turns stop changing.
ChokeResult chokeOf(const Figure<ChokeBasis> &basis, const Figure<double> &ownReactance,
                    const Figure<ChokeCore> &core) {
    ChokeResult result{WhenKnown<double>([](const ChokeBasis &b) { return neededReactanceOf(b, 0); }, basis),
                       NoFigure::NotGiven, NoFigure::NotGiven};
    const Reason *none = !ownReactance.known()             ? &ownReactance.why()
                         : !result.neededReactance.known() ? &result.neededReactance.why()
                                                           : nullptr;
    // A choke core nobody typed is not asked for, whatever the choke.
    if (none) return {result.neededReactance, *none, core.reason() == NoFigure::NotGiven ? core.why() : *none};
    for (int pass = 0; pass < kMostChokePasses; ++pass) {
        const double inductance = (result.neededReactance.value() - ownReactance.value()) / kAngularFrequency;
        result.inductance = inductance;
        if (!core.known()) {
            result.winding = core.why();
            return result;
        }
        Figure<ChokeWinding> winding = windChoke(basis.value(), core.value(), inductance);
        const bool settled =
            winding.known() && result.winding.known() && winding.value().turns == result.winding.value().turns;
        result.winding = std::move(winding);
        if (!result.winding.known() || settled) return result;
        // A winding whose own resistance already holds the current below I keeps its turns.
        const Figure<double> next = neededReactanceOf(basis.value(), result.winding.value().resistance);
        if (!next.known() || next.value() <= ownReactance.value()) return result;
        result.neededReactance = next;
    }
    return result;
}

// Each tap with the choke in series.
std::vector<WeldTap> withChoke(std::vector<WeldTap> taps, const ChokeResult &choke, double w2) {
    for (WeldTap &tap : taps) {
        if (!choke.inductance.known()) {
            tap.choked = choke.inductance.why();
            continue;
        }
        const double chokeR = choke.winding.known() ? choke.winding.value().resistance : 0;
        const double chokeX = kAngularFrequency * choke.inductance.value();
        tap.choked = WhenKnown<ArcPoint>(
            [&](double r, double x) { return arcOf(tap.noLoadVoltage, r + chokeR, x + chokeX, tap.turns, w2); },
            tap.resistance, tap.reactance);
    }
    return taps;
}

// B = L·√2·I ÷ (w·S) at the largest short-circuit current of any tap with the choke.
Figure<double> chokeInductionOf(const ChokeResult &choke, const Figure<ChokeCore> &core,
                                const std::vector<WeldTap> &taps) {
    double largest = 0;
    for (const WeldTap &tap : taps) {
        if (tap.choked.known()) largest = std::max(largest, tap.choked.value().shortCircuit);
    }
    return WhenKnown<double>(
        [largest](double inductance, const ChokeWinding &w, const ChokeCore &k) {
            return inductance * std::numbers::sqrt2 * largest / (w.turns * k.section());
        },
        choke.inductance, choke.winding, core);
}

// --- Heating --------------------------------------------------------------------------------

struct WindingLoad {
    double current;     // A
    double resistance;  // Ω at 20 °C
    double section;     // mm²
    double mass;        // kg
    const MaterialData *material;
};

struct Body {
    double coreMass;   // kg
    double induction;  // T of the core
    double surface;    // m²
    std::vector<WindingLoad> windings;
};

// IEC 60974-1's duty cycle over its 10-minute period from the average heat balance at the
// limit Δθ: Δθ·12·A = P_fe + ПВ·P_cu, the copper at 40 °C + Δθ; the time constant is the heat
// capacity over 12·A.
Heating heatingOf(const Body &body, double steelLoss, InsulationClass insulation, double current) {
    const double rise = temperatureRiseLimit(insulation);
    const double limit = kAmbientTemperature + rise;
    const double coreLoss = steelLoss * std::pow(body.induction / kSteelLossInduction, 2) * body.coreMass;
    double copperLoss = 0;
    double heatCapacity = body.coreMass * kSteelSpecificHeat;
    const WindingLoad *densest = &body.windings.front();
    for (const WindingLoad &w : body.windings) {
        const MaterialData &m = *w.material;
        copperLoss +=
            w.current * w.current * w.resistance * (1 + m.temperatureCoefficient * (limit - kReferenceTemperature));
        heatCapacity += w.mass * m.specificHeat;
        if (w.current / w.section > densest->current / densest->section) densest = &w;
    }
    const double spare = rise * kOpenAirCooling * body.surface - coreLoss;  // W the copper may give off
    const auto currentAt = [&](double dutyCycle) -> Figure<double> {
        if (spare <= 0) return NoFigure::OverheatsIdle;
        return current * std::sqrt(spare / (copperLoss * dutyCycle));
    };
    // The windings heat far faster than the iron: with no heat leaving them, the winding of the
    // larger current density j rises by Δθ in Δθ·d·c ÷ (ρ·j²), ρ at the mean of its way up.
    const MaterialData &m = *densest->material;
    const double currentDensity = densest->current / densest->section * kSquareMillimetresPerSquareMetre;  // A/m²
    const double resistivity =
        m.resistivity / kSquareMillimetresPerSquareMetre *
        (1 + m.temperatureCoefficient * (kAmbientTemperature + rise / 2 - kReferenceTemperature));  // Ω·m
    const double massDensity = m.density * kGramsPerKilogram;  // kg/m³ from g/cm³
    return {limit,
            body.coreMass,
            coreLoss,
            copperLoss,
            body.surface,
            spare / copperLoss,
            currentAt(0.6),
            currentAt(1),
            heatCapacity / (kOpenAirCooling * body.surface),
            rise * massDensity * m.specificHeat / (resistivity * currentDensity * currentDensity)};
}

// Steel of the leg's section along its mean path, with the stacking factor, kg.
double coreMass(double a, double b, double meanPath) {
    return kSteelDensity * kCoreStackingFactor * a * b * meanPath / kCubicMillimetresPerCubicCentimetre /
           kGramsPerKilogram;
}

// The mean path of a U-core whose yokes have the leg's section: 2(c + a) + 2(h + a).
double uCorePath(double a, double c, double h) { return 2 * (c + a) + 2 * (h + a); }

// The surface of the box round a U-core and its windings, m²: the windings stand out of the
// window by their builds.
double boxSurface(double width, double height, double depth) {
    return 2 * (width * height + width * depth + height * depth) / kSquareMillimetresPerSquareMetre;
}

double cylinderSurface(double diameter, double height) {
    return (std::numbers::pi * diameter * diameter / 2 + std::numbers::pi * diameter * height) /
           kSquareMillimetresPerSquareMetre;
}

double massOf(const WireToBuy &wire, const MaterialData &m) {
    return wire.length * wire.section * m.density / kGramsPerKilogram;
}

Figure<Heating> transformerHeatingOf(const WindingPlanInput &in, const WindingPlan &plan, const Design &d,
                                     const Figure<double> &induction, const WeldInput &weld) {
    const bool toroid = in.design.coreType == kToroidIndex;
    const MaterialData &materialI = DataOf(in.design.materialI);
    const MaterialData &materialII = DataOf(in.design.materialII);
    // A toroid's steel and windings are taken as a cylinder round them.
    const Figure<Arrangement> arrangement = toroid ? Figure<Arrangement>(Arrangement::OneLeg) : weld.arrangement;
    const Figure<double> height = toroid ? Figure<double>(0.0) : in.windowHeight;
    const Figure<Body> body = WhenKnown<Body>(
        [&](double a, double b, double c, double h, double t1, double t2, Arrangement arranged, double b50,
            const WireToBuy &wireI, const WireToBuy &wireII, double rI, double i1, double current, double q1) {
            const double massI =
                massOf(wireI, materialI) + (plan.wireIOuter.known() ? massOf(plan.wireIOuter.value(), materialI) : 0);
            const std::vector<WindingLoad> windings{{i1, rI, q1, massI, &materialI},
                                                    {current, wireII.resistance, static_cast<double>(wireII.section),
                                                     massOf(wireII, materialII), &materialII}};
            if (toroid) {
                const double builds = 2 * (t1 + t2);
                return Body{coreMass(a, b, std::numbers::pi * (c + a)), b50,
                            cylinderSurface(c + 2 * a + builds, b + builds), windings};
            }
            // On separate legs each winding stands out of the stack by its own build only.
            const double depth = b + (arranged == Arrangement::OneLeg ? 2 * (t1 + t2) : 2 * std::max(t1, t2));
            return Body{coreMass(a, b, uCorePath(a, c, h)), b50, boxSurface(2 * a + c + t1 + t2, h + 2 * a, depth),
                        windings};
        },
        in.legWidth, in.legDepth, in.windowWidth, height, plan.buildI, plan.buildII, arrangement, induction, plan.wireI,
        plan.wireII, plan.resistanceI, d.i1, d.current, d.q1);
    return WhenKnown<Heating>([&](const Body &heated, double loss, InsulationClass insulation,
                                  double current) { return heatingOf(heated, loss, insulation, current); },
                              body, weld.steelLoss, weld.insulation, d.current);
}

// The choke, wound on one leg: its build alone stands out of the window.
Figure<Heating> chokeHeatingOf(const Figure<ChokeCore> &core, const Figure<ChokeWinding> &winding, const Design &d,
                               Material material, const WeldInput &weld) {
    const MaterialData &m = DataOf(material);
    return WhenKnown<Heating>(
        [&](const ChokeCore &k, const ChokeWinding &w, double induction, double current, double q2, double loss,
            InsulationClass insulation) {
            const Body body{coreMass(k.a, k.b, uCorePath(k.a, k.c, k.h)),
                            induction,
                            boxSurface(2 * k.a + k.c + w.build, k.h + 2 * k.a, k.b + 2 * w.build),
                            {{current, w.resistance, q2, w.mass, &m}}};
            return heatingOf(body, loss, insulation, current);
        },
        core, winding, d.induction, d.current, d.q2, weld.steelLoss, weld.insulation);
}

// --- Chart ----------------------------------------------------------------------------------

// U against I from no load to short circuit, the points closer together where the curve falls
// steeply, near the short circuit.
std::vector<ChartPoint> characteristicOf(double noLoad, double r, double x) {
    const double shortCircuit = noLoad / std::hypot(r, x);
    std::vector<ChartPoint> points;
    for (std::size_t i = 0; i < kChartPoints; ++i) {
        const double share = std::sin(std::numbers::pi / 2 * static_cast<double>(i) / (kChartPoints - 1));
        const double current = shortCircuit * share;
        points.push_back({current, std::max(0.0, terminalVoltage(noLoad, r, x, current))});
    }
    points.back() = {shortCircuit, 0};
    return points;
}

std::optional<ChartPoint> operatingPoint(const Figure<ArcPoint> &arc) {
    if (!arc.known()) return std::nullopt;
    return ChartPoint{arc.value().current, arc.value().arcVoltage};
}

std::vector<ChartPoint> arcLoadUpTo(double current) {
    std::vector<ChartPoint> line{{0, conventionalArcVoltage(0)}};
    constexpr double kLastSloped = 600;
    if (current > kLastSloped) line.push_back({kLastSloped, conventionalArcVoltage(kLastSloped)});
    line.push_back({current, conventionalArcVoltage(current)});
    return line;
}

Figure<WeldChart> chartOf(const Figure<std::vector<WeldTap>> &taps, const Figure<double> &chokeInductance,
                          const Figure<ChokeWinding> &winding) {
    return WhenKnown<WeldChart>(
        [&](const std::vector<WeldTap> &all) -> Figure<WeldChart> {
            WeldChart chart;
            double largest = 0;
            for (const WeldTap &tap : all) {
                if (!tap.resistance.known()) return tap.resistance.why();
                if (!tap.reactance.known()) return tap.reactance.why();
                const double r = tap.resistance.value();
                const double x = tap.reactance.value();
                TapCurves curves{tap.turns,
                                 characteristicOf(tap.noLoadVoltage, r, x),
                                 {},
                                 operatingPoint(tap.bare),
                                 operatingPoint(tap.choked)};
                if (chokeInductance.known()) {
                    const double chokeR = winding.known() ? winding.value().resistance : 0;
                    curves.choked = characteristicOf(tap.noLoadVoltage, r + chokeR,
                                                     x + kAngularFrequency * chokeInductance.value());
                }
                largest = std::max(largest, curves.bare.back().current);
                chart.taps.push_back(std::move(curves));
            }
            chart.arcLoad = arcLoadUpTo(largest);
            return chart;
        },
        taps);
}

}  // namespace

Figure<Arrangement> ReadArrangement(std::string_view text) {
    return readChoice<Arrangement>(text, kArrangementEntries, NoFigure::NotAnArrangement, "расположение обмоток");
}

Figure<InsulationClass> ReadInsulationClass(std::string_view text) {
    return readChoice<InsulationClass>(text, kInsulationClassEntries, NoFigure::NotAnInsulationClass, "класс изоляции");
}

Weld WeldOf(const WindingPlanInput &in, const WindingPlan &plan, const WeldInput &weld) {
    const Design d = readDesign(in);
    const bool measured =
        weld.measuredTurns.reason() != NoFigure::NotGiven || weld.measuredCurrent.reason() != NoFigure::NotGiven;
    Circuit circuit{d.u1,
                    d.w1,
                    d.w2,
                    plan.resistanceI,
                    PartOf(plan.wireII, &WireToBuy::resistance),
                    measured,
                    NoFigure::NotGiven,
                    channelOf(in, plan, weld.gap),
                    weld.arrangement,
                    in.design.coreType == kToroidIndex};
    if (measured) circuit.measuredReactance = measuredReactanceOf(circuit, weld.measuredTurns, weld.measuredCurrent);
    Figure<std::vector<WeldTap>> taps = tapsOf(circuit, d, plan);

    // The choke is worked out at the design's own tap, w₁, the last; it is needed where w₁ alone
    // gives more than 1,1 × I.
    const Figure<WeldTap> own = WhenKnown<WeldTap>([](const std::vector<WeldTap> &all) { return all.back(); }, taps);
    const Figure<ChokeBasis> basis = WhenKnown<ChokeBasis>(
        [&](const WeldTap &tap, double r, double current, double b, double q2, double k) {
            return ChokeBasis{tap.noLoadVoltage, r, current, b, q2, k, &DataOf(in.design.materialII)};
        },
        own, WhenKnown<double>([](const WeldTap &tap) { return tap.resistance; }, own), d.current, d.induction, d.q2,
        in.fillFactor);
    const Figure<double> ownReactance = WhenKnown<double>(
        [](const WeldTap &tap, double current) -> Figure<double> {
            if (!tap.bare.known()) return tap.bare.why();
            if (tap.bare.value().current <= kChokeMargin * current) return NoFigure::ChokeNotNeeded;
            return tap.reactance;
        },
        own, d.current);
    const Figure<ChokeCore> core = WhenKnown<ChokeCore>(
        [](double a, double b, double c, double h) {
            return ChokeCore{a, b, c, h};
        },
        weld.chokeLegWidth, weld.chokeLegDepth, weld.chokeWindowWidth, weld.chokeWindowHeight);
    const ChokeResult choke = chokeOf(basis, ownReactance, core);
    taps = WhenKnown<std::vector<WeldTap>>(
        [&](const std::vector<WeldTap> &bare, double w2) { return withChoke(bare, choke, w2); }, taps, d.w2);

    const Figure<double> induction = WhenKnown<double>(InductionAt50Hz, d.u1, d.w1, d.section);
    Weld result{
        induction,
        taps,
        measured,
        circuit.measuredReactance,
        choke.neededReactance,
        choke.inductance,
        choke.winding,
        WhenKnown<double>([&](const std::vector<WeldTap> &all) { return chokeInductionOf(choke, core, all); }, taps),
        transformerHeatingOf(in, plan, d, induction, weld),
        chokeHeatingOf(core, choke.winding, d, in.design.materialII, weld),
        chartOf(taps, choke.inductance, choke.winding)};
    return result;
}

}  // namespace tremira::calc
