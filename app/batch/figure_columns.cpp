#include "app/batch/figure_columns.h"

#include <array>
#include <span>
#include <string_view>
#include <vector>

#include "app/batch/field_separator.h"
#include "calc/weld_figures.h"

namespace tremira::batch {
namespace {

constexpr std::array<std::string_view, 18> kCheckKeys{"K",
                                                      "copper_area",
                                                      "window_area_needed",
                                                      "window_area",
                                                      "fill_percent",
                                                      "fill",
                                                      "wire_I_diameter",
                                                      "wire_I",
                                                      "wire_II_diameter",
                                                      "wire_II",
                                                      "load_voltage",
                                                      "strike_ratio",
                                                      "voltage",
                                                      "test_K",
                                                      "test_W1",
                                                      "test_W2",
                                                      "test_B",
                                                      "test_induction"};

// One column per tap, so that a spreadsheet shows the taps side by side, lowest voltage first.
// Columns added later follow the first ones, so that a spreadsheet made for those still reads them.
constexpr std::array<std::string_view, 53> kPlanKeys{
    "S0", "S0_vs_S", "t_I", "t_II", "windings_fit", "MLT_I", "MLT_II", "turns_I", "q_I", "L_I", "buy_I", "mass_I",
    "turns_I_2", "q_I_2", "L_I_2", "buy_I_2", "mass_I_2", "L_II", "buy_II", "mass_II", "R_I", "R_II", "losses", "tap_1",
    "tap_2", "tap_3", "tap_4", "tap_5", "tap_6", "tap_7", "tap_8", "W1_2", "q1_2", "I1_2", "breaker", "supply",
    "breaker_2", "supply_2",
    // The room the windings leave, the second mains voltage's wire, the outer span's mean turn,
    // each wire's strands together and its layers.
    "room_left", "wire1_2", "MLT_I_2", "L_I_all", "buy_I_all", "layer_I", "layers_I", "L_I_2_all", "buy_I_2_all",
    "layer_I_2", "layers_I_2", "L_II_all", "buy_II_all", "layer_II", "layers_II"};

// The welding current, the choke and the heating; the taps' groups follow.
constexpr std::array<std::string_view, 36> kWeldKeys{"B50",
                                                     "B50_verdict",
                                                     "X_source",
                                                     "X_measured",
                                                     "X_n",
                                                     "choke",
                                                     "L_choke",
                                                     "w_choke",
                                                     "gap_choke",
                                                     "t_choke",
                                                     "MLT_choke",
                                                     "L_wire_choke",
                                                     "R_choke",
                                                     "mass_choke",
                                                     "choke_fit",
                                                     "B_choke",
                                                     "B_choke_verdict",
                                                     "theta",
                                                     "core_mass",
                                                     "core_loss",
                                                     "copper_loss",
                                                     "surface",
                                                     "duty",
                                                     "I_60",
                                                     "I_100",
                                                     "tau",
                                                     "minutes_cold",
                                                     "choke_core_mass",
                                                     "choke_core_loss",
                                                     "choke_copper_loss",
                                                     "choke_surface",
                                                     "choke_duty",
                                                     "choke_I_60",
                                                     "choke_I_100",
                                                     "choke_tau",
                                                     "choke_minutes_cold"};

// Columns and the sections of the outcome their figures are in.
struct Part {
    std::span<const std::string_view> keys;
    std::vector<calc::FigureSection> calc::CheckOutcome::*sections;
};

std::vector<Part> partsOf(FigureColumns columns) {
    std::vector<Part> parts;
    if (columns == FigureColumns::None) return parts;
    parts.push_back({kCheckKeys, &calc::CheckOutcome::check});
    if (columns == FigureColumns::Check) return parts;
    parts.push_back({kPlanKeys, &calc::CheckOutcome::plan});
    if (columns == FigureColumns::CheckAndPlan) return parts;
    parts.push_back({kWeldKeys, &calc::CheckOutcome::weld});
    parts.push_back({calc::WeldTapColumnKeys(), &calc::CheckOutcome::weld});
    return parts;
}

// The line just written loses its line end, to be given it back after the new columns.
void reopenLine(std::string &out) {
    if (!out.empty() && out.back() == '\n') out.pop_back();
}

void appendCells(std::string &out, std::span<const std::string_view> keys,
                 const std::vector<calc::FigureSection> &sections) {
    for (std::string_view key : keys) {
        out += kFieldSeparator;
        // A part of the plan nobody asked for stays empty.
        if (const calc::FigureRow *row = calc::FindRow(sections, key); row && row->asked) out += row->text;
    }
}

std::size_t columnCount(FigureColumns columns) {
    std::size_t count = 0;
    for (const Part &part : partsOf(columns)) count += part.keys.size();
    return count;
}

}  // namespace

std::size_t OptionalFieldCount(FigureColumns columns) {
    switch (columns) {
    case FigureColumns::None: return 0;
    case FigureColumns::Check: return kCheckFieldCount;
    case FigureColumns::CheckAndPlan: return kCheckFieldCount + kPlanFieldCount;
    case FigureColumns::CheckPlanAndWeld: return kCheckFieldCount + kPlanFieldCount + kWeldFieldCount;
    }
    return 0;
}

void AppendFigureHeader(std::string &out, FigureColumns columns) {
    reopenLine(out);
    for (const Part &part : partsOf(columns)) {
        for (std::string_view key : part.keys) {
            out += kFieldSeparator;
            out += key;
        }
    }
    out += '\n';
}

void AppendFigureColumns(std::string &out, const calc::DesignOutcome &outcome, const calc::TypedFields &typed,
                         FigureColumns columns) {
    if (!outcome.inputs || !outcome.results) return AppendEmptyFigureColumns(out, columns);
    const calc::CheckOutcome figures = calc::CheckDesign({*outcome.inputs, *outcome.results, typed});
    reopenLine(out);
    for (const Part &part : partsOf(columns)) appendCells(out, part.keys, figures.*part.sections);
    out += '\n';
}

void AppendEmptyFigureColumns(std::string &out, FigureColumns columns) {
    reopenLine(out);
    out.append(columnCount(columns), kFieldSeparator);
    out += '\n';
}

}  // namespace tremira::batch
