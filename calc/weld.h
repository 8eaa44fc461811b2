#pragma once
// Will the transformer weld, and for how long: the current each tap drives into the arc, the
// choke that brings the design's own tap down to the design's current, and how warm the
// transformer and the choke run. Worked out from the design, its winding plan and a few typed
// inputs on 50 Hz mains; where the inputs make a figure impossible, the figure says why.

#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "figures.h"
#include "winding_plan.h"

namespace tremira::calc {

enum class Arrangement { OneLeg, SeparateLegs };  // of the windings on a rod core
enum class InsulationClass { B, F, H };

// The choices as typed; a blank field is the first.
inline constexpr std::array<std::string_view, 2> kArrangementEntries{"один", "разные"};
inline constexpr std::array<std::string_view, 3> kInsulationClassEntries{"B", "F", "H"};
inline constexpr std::string_view kDefaultGap = "2";          // mm of insulation between the windings
inline constexpr std::string_view kDefaultSteelLoss = "4,0";  // W/kg, the loss M400-50A is named for
// A current up to this many times the design's needs no choke.
inline constexpr double kChokeMargin = 1.10;

Figure<Arrangement> ReadArrangement(std::string_view text);
Figure<InsulationClass> ReadInsulationClass(std::string_view text);

// The inputs as read. The measurement is of one tap, while welding without a choke, with a
// true-RMS clamp meter; the choke core is a U-core of leg a × b round a window c × h.
struct WeldInput {
    Figure<Arrangement> arrangement = Arrangement::OneLeg;  // not read for a toroid
    Figure<double> gap = NoFigure::NotGiven;                // δ between winding I and II, mm
    Figure<double> measuredTurns = NoFigure::NotGiven;      // the turns of the tap measured on
    Figure<double> measuredCurrent = NoFigure::NotGiven;    // A
    Figure<double> chokeLegWidth = NoFigure::NotGiven;      // a, mm
    Figure<double> chokeLegDepth = NoFigure::NotGiven;      // b, mm
    Figure<double> chokeWindowWidth = NoFigure::NotGiven;   // c, mm
    Figure<double> chokeWindowHeight = NoFigure::NotGiven;  // h, mm
    Figure<double> steelLoss = NoFigure::NotGiven;          // W/kg at 1,5 T and 50 Hz
    Figure<InsulationClass> insulation = InsulationClass::B;
};

// One tap feeding the conventional arc load.
struct ArcPoint {
    double current;       // A
    double arcVoltage;    // V
    double shortCircuit;  // A, the electrode stuck
    double mainsCurrent;  // A, the magnetising current left out
};

struct WeldTap {
    int turns;                      // of winding I on the mains
    double induction;               // T at 50 Hz
    double noLoadVoltage;           // U₂₀, V
    double highMainsNoLoadVoltage;  // U₂₀ on mains 10 % above the nominal, V
    Figure<double> resistance;      // Ω at 20 °C, referred to winding II
    Figure<double> reactance;       // Ω of leakage, referred to winding II
    Figure<ArcPoint> bare;          // without the choke
    Figure<ArcPoint> choked;        // with it
};

// The choke wound on its typed core, the gap setting its inductance.
struct ChokeWinding {
    int turns;
    double gap;           // mm, the two joints of a U-core together
    double build;         // mm
    double meanTurn;      // mm
    double length;        // m
    double resistance;    // Ω at 20 °C
    double mass;          // kg of wire as wound
    double neededWindow;  // mm² the wire takes at the fill factor
    bool fits;
};

// The heating of a transformer or a choke at the design's current, its windings at the limit of
// their insulation class.
struct Heating {
    double windingLimit;         // °C, the insulation class's
    double coreMass;             // kg
    double coreLoss;             // W
    double copperLoss;           // W
    double surface;              // m² that gives off the heat
    double dutyCycle;            // share of the 10-minute period: above 1 continuous, below 0 never
    Figure<double> currentAt60;  // A at a duty cycle of 60 %
    Figure<double> currentAt100;
    double timeConstant;  // s
    double timeFromCold;  // s of continuous arc until the hotter winding reaches its limit
};

struct ChartPoint {
    double current;  // A
    double voltage;  // V
};

// The output characteristic of a tap: its voltage against its current from no load to short
// circuit, and where it meets the arc.
struct TapCurves {
    int turns;
    std::vector<ChartPoint> bare;
    std::vector<ChartPoint> choked;  // empty without a choke
    std::optional<ChartPoint> bareOperating;
    std::optional<ChartPoint> chokedOperating;
};

struct WeldChart {
    std::vector<TapCurves> taps;      // lowest voltage first
    std::vector<ChartPoint> arcLoad;  // from no current to the largest short-circuit current
};

struct Weld {
    Figure<double> induction;           // T at 50 Hz on w₁
    Figure<std::vector<WeldTap>> taps;  // lowest voltage first, w₁ the last; w₁ alone without taps
    bool measured = false;              // a current was measured, well or not
    Figure<double> measuredReactance;   // Ω, for every tap when measured
    Figure<double> neededReactance;     // X_n, Ω, in all at w₁ for the design's current
    // H, of the reactance X_n − X₁ w₁ lacks; ChokeNotNeeded where w₁ gives no more than 1,1 × I.
    Figure<double> chokeInductance;
    Figure<ChokeWinding> chokeWinding;  // on a typed choke core
    Figure<double> chokeInduction;      // T at the largest short-circuit current
    Figure<Heating> transformerHeating;
    Figure<Heating> chokeHeating;
    Figure<WeldChart> chart;
};

Weld WeldOf(const WindingPlanInput &input, const WindingPlan &plan, const WeldInput &weld);

}  // namespace tremira::calc
