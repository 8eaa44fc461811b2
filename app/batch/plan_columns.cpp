#include "app/batch/plan_columns.h"

#include <vector>

#include "app/batch/field_separator.h"
#include "calc/winding_plan_texts.h"

namespace tremira::batch {
namespace {

using calc::Figure;
using calc::NoFigure;

// One column per tap, so that a spreadsheet shows the taps side by side, lowest voltage first.
constexpr std::string_view kPlanHeader =
    ";S0;S0_vs_S;t_I;t_II;windings_fit;MLT_I;MLT_II;turns_I;q_I;L_I;buy_I;mass_I;turns_I_2;q_I_2;L_I_2;buy_I_2;"
    "mass_I_2;L_II;buy_II;mass_II;R_I;R_II;losses;tap_1;tap_2;tap_3;tap_4;tap_5;tap_6;tap_7;tap_8;W1_2;q1_2;I1_2;"
    "breaker;supply;breaker_2;supply_2";
constexpr std::size_t kPlanColumnCount = 38;

void reopenLine(std::string &out) {
    if (!out.empty() && out.back() == '\n') out.pop_back();
}

// The cells of the plan, in the order of the header.
class Cells {
public:
    void add(std::string text) { m_cells.push_back(std::move(text)); }
    void add(const Figure<double> &figure, int decimals) { add(calc::FigureText(figure, decimals)); }
    // The texts of a figure's parts, or its reason in each of their `count` cells.
    template <typename T, typename Texts>
    void add(const Figure<T> &figure, std::size_t count, Texts texts) {
        if (!figure.known()) {
            for (std::size_t i = 0; i < count; ++i) add(calc::ReasonText(*figure.reason()));
            return;
        }
        const std::size_t before = m_cells.size();
        texts(figure.value());
        addEmpty(count - (m_cells.size() - before));
    }
    // The same for an optional part of the plan: empty when it was not asked for.
    template <typename T, typename Texts>
    void addOptional(const Figure<T> &figure, std::size_t count, Texts texts) {
        if (figure.reason() == NoFigure::NotGiven) return addEmpty(count);
        add(figure, count, texts);
    }
    void addEmpty(std::size_t count) { m_cells.insert(m_cells.end(), count, std::string()); }
    void appendTo(std::string &out) const {
        for (const std::string &cell : m_cells) {
            out += kFieldSeparator;
            out += cell;
        }
    }

private:
    std::vector<std::string> m_cells;
};

template <typename T, typename Member>
Figure<double> partOf(const Figure<T> &figure, Member member) {
    if (!figure.known()) return *figure.reason();
    return static_cast<double>(figure.value().*member);
}

Figure<double> asReal(const Figure<int> &figure) {
    if (!figure.known()) return *figure.reason();
    return figure.value();
}

// Section, length, to buy and mass of one wire.
void addWire(Cells &cells, const calc::WireToBuy &wire) {
    cells.add(calc::FormatDouble(wire.section));
    cells.add(calc::FigureText(wire.length, 1));
    cells.add(calc::FigureText(wire.lengthToBuy, 0));
    cells.add(calc::FigureText(wire.massToBuy, 2));
}

// Winding I's wires: the first from turn 1, the second on from where the first ends.
void addWindingI(Cells &cells, const calc::WindingPlan &plan) {
    cells.add(plan.wireI, 5, [&cells](const calc::WireToBuy &wire) {
        cells.add(calc::SpanText({1, wire.turns, wire.section}));
        addWire(cells, wire);
    });
    const int firstEnds = plan.wireI.known() ? plan.wireI.value().turns : 0;
    cells.addOptional(plan.wireIOuter, 5, [&cells, firstEnds](const calc::WireToBuy &wire) {
        cells.add(calc::SpanText({firstEnds + 1, firstEnds + wire.turns, wire.section}));
        addWire(cells, wire);
    });
}

calc::WindingPlanInput planInput(const calc::DesignInput &design, const calc::DesignOutcome &outcome,
                                 const CheckFields &check, const PlanFields &plan) {
    calc::WindingPlanInput input;
    input.design = *outcome.inputs;
    input.results = *outcome.results;
    input.materialI = calc::MaterialOf(design.materialI);
    input.materialII = calc::MaterialOf(design.materialII);
    input.fillFactor = calc::ReadFillFactor(check.fillFactor);
    input.windowWidth = calc::ReadPlanNumber(check.windowWidth);
    input.windowHeight = calc::ReadPlanNumber(check.windowHeight);
    input.legWidth = calc::ReadPlanNumber(plan.legWidth);
    input.legDepth = calc::ReadPlanNumber(plan.legDepth);
    input.tapCount = calc::ReadTapCount(plan.tapCount);
    input.lowestTapVoltage = calc::ReadPlanNumber(plan.lowestTapVoltage);
    input.secondMainsVoltage = calc::ReadPlanNumber(plan.secondMainsVoltage);
    return input;
}

Cells cellsOf(const calc::WindingPlan &plan) {
    Cells cells;
    cells.add(partOf(plan.core, &calc::CoreFromSides::section), 2);
    cells.add(plan.core.known() ? calc::SectionMatchText(plan.core.value().match)
                                : calc::ReasonText(*plan.core.reason()));
    cells.add(plan.buildI, 1);
    cells.add(plan.buildII, 1);
    cells.add(calc::FitText(plan.fitsWindow));
    cells.add(partOf(plan.wireI, &calc::WireToBuy::meanTurn), 1);
    cells.add(partOf(plan.wireII, &calc::WireToBuy::meanTurn), 1);
    addWindingI(cells, plan);
    cells.add(partOf(plan.wireII, &calc::WireToBuy::length), 1);
    cells.add(partOf(plan.wireII, &calc::WireToBuy::lengthToBuy), 0);
    cells.add(partOf(plan.wireII, &calc::WireToBuy::massToBuy), 2);
    cells.add(plan.resistanceI, 4);
    cells.add(partOf(plan.wireII, &calc::WireToBuy::resistance), 4);
    cells.add(plan.copperLosses, 0);
    cells.addOptional(plan.taps, calc::kMostTaps, [&cells](const calc::TapTable &table) {
        for (const calc::Tap &tap : table.taps()) cells.add(calc::TapText(tap));
    });
    cells.addOptional(plan.secondMains, 3, [&cells](const calc::SecondMains &mains) {
        cells.add(calc::FormatDouble(mains.turns));
        cells.add(calc::FormatDouble(mains.section));
        cells.add(calc::FigureText(mains.current, 2));
    });
    cells.add(asReal(plan.breakerRating), 0);
    cells.add(plan.needsDedicatedLine.known() ? calc::SupplyText(plan.needsDedicatedLine.value())
                                              : calc::ReasonText(*plan.needsDedicatedLine.reason()));
    cells.addOptional(plan.secondMains, 2, [&cells](const calc::SecondMains &mains) {
        cells.add(asReal(mains.breakerRating), 0);
        cells.add(calc::SupplyText(mains.needsDedicatedLine));
    });
    return cells;
}

}  // namespace

void AppendPlanHeader(std::string &out) {
    reopenLine(out);
    out += kPlanHeader;
    out += '\n';
}

void AppendPlanColumns(std::string &out, const calc::DesignInput &design, const calc::DesignOutcome &outcome,
                       const CheckFields &check, const PlanFields &plan) {
    if (!outcome.inputs || !outcome.results) return AppendEmptyPlanColumns(out);
    const calc::WindingPlan result = calc::PlanWinding(planInput(design, outcome, check, plan));
    reopenLine(out);
    cellsOf(result).appendTo(out);
    out += '\n';
}

void AppendEmptyPlanColumns(std::string &out) {
    reopenLine(out);
    out.append(kPlanColumnCount, kFieldSeparator);
    out += '\n';
}

}  // namespace tremira::batch
