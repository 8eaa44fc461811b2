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
#include "design_check.h"

namespace tremira::calc {

// Why a figure of the plan cannot be given.
enum class NoFigure {
    NotGiven,               // an input it needs is empty
    NotANumber,             // an input it needs is a text that is no number
    OutOfRange,             // an input, or the figure itself, lies outside any sensible range
    DoesNotFit,             // the windings close the toroid's hole before they are wound
    NotBelowOutputVoltage,  // the lowest tap voltage is not below the no-load voltage
    NoneInSeries,           // the current is above the largest circuit breaker
};

// A figure of the plan, or why the inputs give none.
template <typename T>
class Figure {
public:
    Figure(T value) : m_state(std::move(value)) {}
    Figure(NoFigure reason) : m_state(reason) {}

    bool known() const { return std::holds_alternative<T>(m_state); }
    // Throws std::bad_variant_access for a figure that is not known.
    const T &value() const { return std::get<T>(m_state); }
    // Nothing for a known figure.
    std::optional<NoFigure> reason() const {
        if (known()) return std::nullopt;
        return std::get<NoFigure>(m_state);
    }

private:
    std::variant<T, NoFigure> m_state;
};

enum class Material { Copper, Aluminium };
// The material of a winding by the index of its list: only the first entry is copper, and
// nothing selected (-1) counts as aluminium, as the calculation sizes the wire.
Material MaterialOf(Int16 listIndex);

// S₀ from the leg sides that differs from S by more than this share is worth a word.
inline constexpr double kSectionTolerance = 0.05;
// Amperes a household socket gives; above it the supply needs a line of its own.
inline constexpr double kLargestSocketCurrent = 16;
// The largest rating of the circuit-breaker series.
inline constexpr int kLargestBreakerRating = 125;

inline constexpr int kFewestTaps = 2;
inline constexpr int kMostTaps = 8;

// The texts of the plan's fields, read as the window and tremira-calc have them: blank is not
// given, a text that is no number says so.
Figure<double> ReadPlanNumber(std::string_view text);
// A blank fill factor is the check's usual one, so that both read the same window.
Figure<double> ReadFillFactor(std::string_view text);
// A count of taps is a whole number.
Figure<int> ReadTapCount(std::string_view text);

struct WindingPlanInput {
    InputNumbers design;      // U₁, U₂, I, S and the core type the calculation worked from
    ResultNumbers results{};  // w₁, w₂, q₁, q₂, I₁
    Material materialI = Material::Copper;
    Material materialII = Material::Copper;

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

// One wire of a winding: `turns` turns of `section` mm².
struct WireToBuy {
    int turns;
    int section;        // mm²
    double meanTurn;    // MLT, mm
    double length;      // L, m
    int lengthToBuy;    // L with 10 % for leads and waste, whole metres up
    double massToBuy;   // kg of L with the 10 %, before rounding up
    double resistance;  // Ω at 20 °C
};

struct Tap {
    int turns;              // from the start of winding I
    double noLoadVoltage;   // V
    double induction;       // T, when the mains is on this tap
    bool aboveSafeVoltage;  // above kSafeNoLoadVoltage
    bool saturated;         // kInductionLimit or more
};

// The taps from the lowest voltage (most turns) up to the design's own, which is w₁.
struct TapTable {
    std::array<Tap, kMostTaps> items{};
    std::size_t count = 0;

    std::span<const Tap> taps() const { return {items.data(), count}; }
};

// Turns first..last of winding I, counted from its start, wound of wire of `section` mm².
struct TurnSpan {
    int first;
    int last;
    int section;
};

struct SecondMains {
    int turns;    // w₁ᵇ, where the second mains voltage is connected
    int section;  // q₁ᵇ, mm², for the current of the second mains voltage
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

struct WindingPlan {
    Figure<CoreFromSides> core;
    Figure<double> buildI;    // t₁, mm, of every turn winding I has, its taps and second mains too
    Figure<double> buildII;   // t₂, mm
    Figure<bool> fitsWindow;  // both windings fit the window or the toroid's hole
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
};

WindingPlan PlanWinding(const WindingPlanInput &input);

}  // namespace tremira::calc
