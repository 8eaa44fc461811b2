#pragma once
// The check of a calculated design and its winding plan, from the texts of the fields of the
// window "Проверка и план намотки": will the windings fit the core window, which round wire to
// buy, is the no-load voltage safe and high enough to strike an arc, what a test winding says
// about the steel, the plan, and what current each tap welds with, with what choke, for how long. Every typed field is
// read once, for the check and the plan alike; the answer is rows of figures in sections, which every output renders as
// they are.

#include <optional>
#include <string_view>
#include <vector>

#include "connection_diagram.h"
#include "design_calculation.h"
#include "figures.h"
#include "weld.h"
#include "winding_plan.h"
#include "work_order.h"

namespace tremira::calc {

// The texts of the window's typed fields, as they stand; those left out are empty.
struct TypedFields {
    std::string_view windowWidth = {};   // mm; for a toroid the inner diameter
    std::string_view windowHeight = {};  // mm; not read for a toroid
    std::string_view fillFactor = {};    // share of the window that copper may take; empty means kDefaultFillFactor
    std::string_view testTurns = {};     // turns of the test winding
    std::string_view testVoltage = {};   // V measured on it
    std::string_view legWidth = {};      // mm; for a toroid the ring's radial width
    std::string_view legDepth = {};      // mm; for a toroid the ring's height
    std::string_view tapCount = {};
    std::string_view lowestTapVoltage = {};    // V
    std::string_view secondMainsVoltage = {};  // V
    // The welding current, the choke and the heating.
    std::string_view arrangement = {};        // "один" or "разные"; empty means "один"
    std::string_view gap = {};                // δ, mm; empty means kDefaultGap
    std::string_view measuredTurns = {};      // the tap a welding current was measured on
    std::string_view measuredCurrent = {};    // A
    std::string_view chokeLegWidth = {};      // mm
    std::string_view chokeLegDepth = {};      // mm
    std::string_view chokeWindowWidth = {};   // mm
    std::string_view chokeWindowHeight = {};  // mm
    std::string_view steelLoss = {};          // W/kg at 1,5 T and 50 Hz; empty means kDefaultSteelLoss
    std::string_view insulationClass = {};    // "B", "F" or "H"; empty means "B"
};

// A completed calculation and the typed fields.
struct CheckInput {
    InputNumbers design;
    ResultNumbers results{};
    TypedFields typed;
};

struct CheckOutcome {
    std::vector<FigureSection> check;  // the design's K, wire, core window, voltages, test winding
    std::vector<FigureSection> plan;   // the plan's inputs as used, core, wire, taps, mains
    Figure<WindingSizes> drawing;      // or why the window cannot be drawn
    Figure<Connections> connections;   // or why they cannot be drawn
    // The inputs as used, the induction at 50 Hz, the taps without and with the choke, the choke,
    // the heating of the transformer and of the choke.
    std::vector<FigureSection> weld;
    Figure<WeldChart> chart;  // the taps' output characteristics, or why they cannot be drawn
    FigureSection workOrder;  // the steps at the bench, with the plan's turns and wires
};

CheckOutcome CheckDesign(const CheckInput &input);

}  // namespace tremira::calc
