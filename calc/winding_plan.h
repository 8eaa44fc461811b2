#pragma once
// The winding plan of a calculated welding transformer: the core from its leg sides, how
// thick the windings build up, the wire to buy, current taps on winding I, a second mains
// voltage and the circuit breaker of the supply. Numbers in, numbers out; where the inputs
// make a figure impossible, the figure says why instead.

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

#include "design_calculation.h"
#include "figures.h"
#include "round_wire.h"

namespace tremira::calc {

// S₀ from the leg sides that differs from S by more than this share is worth a word.
inline constexpr double kSectionTolerance = 0.05;
// Amperes a household socket gives; above it the supply needs a line of its own.
inline constexpr double kLargestSocketCurrent = 16;
inline constexpr int kFewestTaps = 2;
inline constexpr int kMostTaps = 8;

inline constexpr double kMainsFrequency = 50;  // Hz

// The peak induction, T, with `turns` turns on `voltage` V of the 50 Hz mains round a core of
// `coreSection` cm², by the transformer equation U = 4,44·f·w·B·S with the stacking factor. The
// calculation's volts-per-turn factor 0,023088 is 4,44 × 52 Hz × 10⁻⁴: on 50 Hz mains the core
// runs 4 % above the induction it was designed for.
double InductionAt50Hz(double voltage, double turns, double coreSection);

// Ordinary or unknown steel saturates from about 1,6 T; none is short of saturation at
// kInductionLimit.
inline constexpr double kOrdinarySteelSaturation = 1.6;
enum class Saturation { None, OrdinarySteel, AnySteel };
Saturation SaturationAt(double induction);

// An input as the plan takes it: any number outside the sensible range is out of range,
// whatever the check says of it, and the plan's figures carry no subject.
Figure<double> PlanReading(const Figure<double> &reading);
// A count of taps is a whole number from kFewestTaps to kMostTaps.
Figure<int> TapCountOf(const Figure<double> &reading);

struct WindingPlanInput {
    InputNumbers design;      // U₁, U₂, I, S, the core type and the materials the calculation worked from
    ResultNumbers results{};  // w₁, w₂, q₁, q₂, I₁

    // The core window as the check of the design has it.
    Figure<double> fillFactor = NoFigure::NotGiven;    // k, share of the window the wire may take
    Figure<double> windowWidth = NoFigure::NotGiven;   // c, mm; for a toroid the inner diameter D
    Figure<double> windowHeight = NoFigure::NotGiven;  // h, mm; not read for a toroid

    // The plan's own inputs.
    Figure<double> legWidth = NoFigure::NotGiven;            // a, mm; for a toroid the ring's radial width
    Figure<double> legDepth = NoFigure::NotGiven;            // b, mm; for a toroid the ring's height
    Figure<int> tapCount = NoFigure::NotGiven;               // m
    Figure<double> lowestTapVoltage = NoFigure::NotGiven;    // U_low, no-load, V
    Figure<double> secondMainsVoltage = NoFigure::NotGiven;  // U₁ᵇ, V
};

enum class SectionMatch { WithinTolerance, SidesGiveLess, SidesGiveMore };

struct CoreFromSides {
    double section;      // S₀ = a·b, cm²
    SectionMatch match;  // against the calculation's S, 5 % either way
};

// Turns laid side by side along the window's height, or round the hole a toroid's winding starts
// on, and the layers they make.
struct Layers {
    int turnsPerLayer;
    int count;
};

// One wire of a winding: `turns` turns of `section` mm², bought as `wire`.
struct WireToBuy {
    int turns;
    double section;  // mm², as the plan reckons the winding with
    RoundWire wire;
    double meanTurn;     // MLT, mm
    double length;       // L, m, of each strand
    double lengthInAll;  // m, of all strands together
    int lengthToBuy;     // L with 10 % for leads and waste, whole metres up, of each strand
    int lengthToBuyInAll;
    double massToBuy;   // kg of L with the 10 %, before rounding up
    double resistance;  // Ω at 20 °C
    Figure<Layers> layers;
};

struct Tap {
    int turns;              // from the start of winding I
    double noLoadVoltage;   // V
    double induction;       // T at 50 Hz, when the mains is on this tap
    bool aboveSafeVoltage;  // above kSafeNoLoadVoltage
    Saturation saturation;
};

// The taps from the lowest voltage (most turns) up to the design's own, which is w₁; taps that
// land on the same turns are one tap.
struct TapTable {
    std::array<Tap, kMostTaps> items{};
    std::size_t count = 0;  // the taps that differ
    int asked = 0;          // the taps asked for; more than count where some were one

    std::span<const Tap> taps() const { return {items.data(), count}; }
};

// Turns first..last of winding I, counted from its start, wound of wire of `section` mm².
struct TurnSpan {
    int first;
    int last;
    double section;  // mm²
    RoundWire wire;
};

struct SecondMains {
    int turns;       // w₁ᵇ, where the second mains voltage is connected
    RoundWire wire;  // for the current of the second mains voltage; its section is q₁ᵇ
    // Winding I's turns up to where the first of the two mains voltages ends (the design's own
    // at w₁ or its lowest tap, the second at w₁ᵇ) carry both currents, so the larger section;
    // the rest, up to where the other ends, that of the voltage connected there.
    TurnSpan lowerMainsTurns;
    std::optional<TurnSpan> higherMainsTurns;  // none when one section serves every turn
    // The supply on the second mains voltage, as on the design's own.
    double current;             // I₁ᵇ = I₁·U₁ ÷ U₁ᵇ, A
    Figure<int> breakerRating;  // A
    bool needsDedicatedLine;
};

// Winding I as wound, with every turn to its lowest tap and to the second mains voltage.
struct WoundWindingI {
    int turns;
    double copper;  // mm² across the window
};

struct WindingPlan {
    Figure<CoreFromSides> core;
    Figure<double> buildI;    // t₁, mm, of every turn winding I has, its taps and second mains too
    Figure<double> buildII;   // t₂, mm
    Figure<bool> fitsWindow;  // both windings fit the window or the toroid's hole
    // mm: the window's width beside a rod core's windings, or the hole's diameter a toroid's leave.
    Figure<double> roomLeft;
    // Winding I as wound: its first wire from turn 1, and, when a second mains voltage asks for
    // another section, the wire of the turns after it (not given otherwise).
    Figure<WireToBuy> wireI;
    Figure<WireToBuy> wireIOuter;
    Figure<WireToBuy> wireII;
    Figure<double> resistanceI;   // Ω of turns 1..w₁, the design's own winding I
    Figure<double> copperLosses;  // W at the maximum currents on the design's mains, 20 °C
    Figure<TapTable> taps;
    Figure<SecondMains> secondMains;
    Figure<int> breakerRating;        // A, the IEC 60898-1 series, for I₁
    Figure<bool> needsDedicatedLine;  // more than a household socket gives
    // The copper of winding I across the window, mm², when the taps or the second mains voltage
    // add to it; not given otherwise.
    Figure<WoundWindingI> woundI;
};

WindingPlan PlanWinding(const WindingPlanInput &input);

enum class WindowShape { Rectangle, Circle };

// The sizes the drawing is made from, mm, each within the plan's limits.
struct WindingSizes {
    WindowShape shape = WindowShape::Rectangle;
    double windowWidth = 0;          // c; for the circle its diameter D
    double windowHeight = 0;         // h; not read for the circle
    std::optional<double> legWidth;  // a: the steel round the window; none draws a thin frame
    std::optional<double> buildI;    // t₁
    std::optional<double> buildII;   // t₂
    bool fits = true;                // false: the windings do not fit; a build that is none then
                                     // fills the rest of the hole as what does not fit
    std::optional<double> legDepth;  // b, written beside the leg's width as its section a × b
};

// The drawing of the plan's builds in the window, or why it cannot be drawn: a size of the window
// or the leg that is not given or lies outside the plan's limits, named.
Figure<WindingSizes> DrawingOf(const WindingPlanInput &input, const WindingPlan &plan);

}  // namespace tremira::calc
