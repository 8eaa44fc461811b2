#include "app/batch/figure_columns.h"

#include <array>
#include <string_view>

#include "app/batch/field_separator.h"

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
constexpr std::array<std::string_view, 38> kPlanKeys{
    "S0",    "S0_vs_S", "t_I",       "t_II",  "windings_fit", "MLT_I",   "MLT_II",    "turns_I", "q_I",    "L_I",
    "buy_I", "mass_I",  "turns_I_2", "q_I_2", "L_I_2",        "buy_I_2", "mass_I_2",  "L_II",    "buy_II", "mass_II",
    "R_I",   "R_II",    "losses",    "tap_1", "tap_2",        "tap_3",   "tap_4",     "tap_5",   "tap_6",  "tap_7",
    "tap_8", "W1_2",    "q1_2",      "I1_2",  "breaker",      "supply",  "breaker_2", "supply_2"};

// The line just written loses its line end, to be given it back after the new columns.
void reopenLine(std::string &out) {
    if (!out.empty() && out.back() == '\n') out.pop_back();
}

template <std::size_t N>
void appendCells(std::string &out, const std::array<std::string_view, N> &keys,
                 const std::vector<calc::FigureSection> &sections) {
    for (std::string_view key : keys) {
        out += kFieldSeparator;
        // A part of the plan nobody asked for stays empty.
        if (const calc::FigureRow *row = calc::FindRow(sections, key); row && row->asked) out += row->text;
    }
}

std::size_t columnCount(FigureColumns columns) {
    return kCheckKeys.size() + (columns == FigureColumns::CheckAndPlan ? kPlanKeys.size() : 0);
}

}  // namespace

void AppendFigureHeader(std::string &out, FigureColumns columns) {
    reopenLine(out);
    const auto appendKeys = [&out](const auto &keys) {
        for (std::string_view key : keys) {
            out += kFieldSeparator;
            out += key;
        }
    };
    appendKeys(kCheckKeys);
    if (columns == FigureColumns::CheckAndPlan) appendKeys(kPlanKeys);
    out += '\n';
}

void AppendFigureColumns(std::string &out, const calc::DesignOutcome &outcome, const calc::TypedFields &typed,
                         FigureColumns columns) {
    if (!outcome.inputs || !outcome.results) return AppendEmptyFigureColumns(out, columns);
    const calc::CheckOutcome figures = calc::CheckDesign({*outcome.inputs, *outcome.results, typed});
    reopenLine(out);
    appendCells(out, kCheckKeys, figures.check);
    if (columns == FigureColumns::CheckAndPlan) appendCells(out, kPlanKeys, figures.plan);
    out += '\n';
}

void AppendEmptyFigureColumns(std::string &out, FigureColumns columns) {
    reopenLine(out);
    out.append(columnCount(columns), kFieldSeparator);
    out += '\n';
}

}  // namespace tremira::batch
