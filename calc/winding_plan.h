#pragma once
// The winding plan of a calculated welding transformer: the core from its leg sides, how
// thick the windings build up, the wire to buy, current taps on winding I, a second mains
// voltage and the circuit breaker of the supply. Numbers in, numbers out; where the inputs
// make a figure impossible, the figure says why instead.

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <utility>
#include <variant>

#include "field_numbers.h"

namespace tremira::calc {

// Why a figure of the plan cannot be given.
enum class NoFigure {
    NotGiven,               // an input it needs is empty
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
enum class CoreType { Rod, Toroid };

// The no-load voltage above which a welding source is unsafe in normal conditions. The check
// of a design names the same limit in its own file.
inline constexpr double kSafeNoLoadVoltage = 80;

inline constexpr int kFewestTaps = 2;
inline constexpr int kMostTaps = 8;

struct WindingPlanInput {
    // The completed calculation, in its own types.
    Int16 mainsVoltage = 0;    // U₁, V
    Int16 outputVoltage = 0;   // U₂, no-load, V
    Int16 weldingCurrent = 0;  // I, A
    Single coreSection = 0;    // S used by the calculation, cm²
    Int16 turnsI = 0;          // w₁
    Int16 turnsII = 0;         // w₂
    Int16 wireSectionI = 0;    // q₁, mm²
    Int16 wireSectionII = 0;   // q₂, mm²
    Single currentI = 0;       // I₁, the maximum current of winding I, A
    Material materialI = Material::Copper;
    Material materialII = Material::Copper;
    CoreType coreType = CoreType::Rod;

    // The core window as the check of the design has it.
    std::optional<double> fillFactor;    // k, share of the window the wire may take
    std::optional<double> windowWidth;   // c, mm; for a toroid the inner diameter D
    std::optional<double> windowHeight;  // h, mm; not read for a toroid

    // The plan's own inputs.
    std::optional<double> legWidth;            // a, mm; for a toroid the ring's radial width
    std::optional<double> legDepth;            // b, mm; for a toroid the ring's height
    std::optional<int> tapCount;               // m
    std::optional<double> lowestTapVoltage;    // U_low, no-load, V
    std::optional<double> secondMainsVoltage;  // U₁ᵇ, V
};

enum class SectionMatch { WithinTolerance, SidesGiveLess, SidesGiveMore };

struct CoreFromSides {
    double section;      // S₀ = a·b, cm²
    SectionMatch match;  // against the calculation's S, 5 % either way
};

struct WireToBuy {
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
    int turns;                                 // w₁ᵇ, where the second mains voltage is connected
    int section;                               // q₁ᵇ, mm², for the current of the second mains voltage
    TurnSpan lowerMainsTurns;                  // 1 up to the smaller of w₁ and w₁ᵇ
    std::optional<TurnSpan> higherMainsTurns;  // the rest; none when both take the same turns
};

struct WindingPlan {
    Figure<CoreFromSides> core;
    Figure<double> buildI;    // t₁, mm
    Figure<double> buildII;   // t₂, mm
    Figure<bool> fitsWindow;  // both windings fit the window or the toroid's hole
    Figure<WireToBuy> wireI;
    Figure<WireToBuy> wireII;
    Figure<double> copperLosses;  // W at the maximum currents, 20 °C
    Figure<TapTable> taps;
    Figure<SecondMains> secondMains;
    Figure<int> breakerRating;        // A, the IEC 60898-1 series
    Figure<bool> needsDedicatedLine;  // more than a household socket gives
};

WindingPlan PlanWinding(const WindingPlanInput &input);

}  // namespace tremira::calc
