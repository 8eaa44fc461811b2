#include "plan_figures.h"

#include "round_wire.h"

#include <array>
#include <string>

namespace tremira::calc {
namespace {

std::string percentOf(double share) { return FormatDouble(share * 100) + " %"; }
std::string whole(int value) { return FormatDouble(value); }

// The plan's columns have always given the bare step of a figure below its last place.
RowFormat number(std::string_view name, std::string_view key, std::string_view caption, int decimals,
                 std::string_view unit = {}) {
    return {name, key, caption, unit, decimals, Shown::Answer, SmallFigure::BareStep};
}
RowFormat text(std::string_view name, std::string_view key, std::string_view caption) {
    return {name, key, caption, {}, 0, Shown::Answer};
}
RowFormat column(std::string_view key, int decimals = 0) {
    return {key, key, {}, {}, decimals, Shown::ColumnOnly, SmallFigure::BareStep};
}
RowFormat note(std::string_view name, std::string_view key) { return {name, key, {}, {}, 0, Shown::Note}; }

// A whole count as a figure the rows render like any other number.
Figure<double> realOf(const Figure<int> &figure) {
    return WhenKnown<double>([](int count) { return static_cast<double>(count); }, figure);
}

std::string textOf(const Figure<double> &figure, int decimals) { return NumberRow(column({}, decimals), figure).text; }

std::string sectionMatchText(SectionMatch match) {
    switch (match) {
    case SectionMatch::WithinTolerance: return "совпадает с S (в пределах " + percentOf(kSectionTolerance) + ")";
    case SectionMatch::SidesGiveLess:
        return "меньше S более чем на " + percentOf(kSectionTolerance) + ", расчёт сделан для S";
    case SectionMatch::SidesGiveMore:
        return "больше S более чем на " + percentOf(kSectionTolerance) + ", расчёт сделан для S";
    }
    return {};
}

std::string fitText(bool fits) { return fits ? "помещается" : "не помещается"; }

// Turns first–last with an en dash, which no spreadsheet takes for a date.
std::string spanText(const TurnSpan &span) { return whole(span.first) + "–" + whole(span.last); }
std::string sectionText(double section) { return textOf(section, 2); }
// "3,53 мм², провод 2,12"
std::string sectionAndWireText(const TurnSpan &span) {
    return sectionText(span.section) + " мм², провод " + WireText(span.wire);
}
// "109–143: 3,53 мм², провод 2,12"
std::string spanWithWireText(const TurnSpan &span) { return spanText(span) + ": " + sectionAndWireText(span); }

std::string tapWarningsText(const Tap &tap) {
    std::string text;
    if (tap.aboveSafeVoltage) text = "выше " + FormatDouble(kSafeNoLoadVoltage) + " В";
    const std::string saturation = SaturationWarning(tap.saturation);
    if (!saturation.empty()) {
        if (!text.empty()) text += " / ";
        text += saturation;
    }
    return text;
}

// "108 вит. / 50,9 В / 1,1 Тл", and the warnings of the tap.
std::string tapText(const Tap &tap) {
    std::string text =
        whole(tap.turns) + " вит. / " + textOf(tap.noLoadVoltage, 1) + " В / " + textOf(tap.induction, 2) + " Тл";
    const std::string warnings = tapWarningsText(tap);
    if (!warnings.empty()) text += " / " + warnings;
    return text;
}

// The order of the taps; where several landed on the same turns, that each such tap is given once.
std::string tapsNoteText(const TapTable &table) {
    std::string text = "От наибольшего числа витков к w₁";
    const int given = static_cast<int>(table.count);
    if (given < table.asked) {
        text +=
            " (отводы с одинаковым числом витков даны один раз: " + whole(given) + " из " + whole(table.asked) + ")";
    }
    return text + ":";
}

std::string supplyText(bool needsDedicatedLine) {
    if (!needsDedicatedLine) return "бытовая розетка (до " + FormatDouble(kLargestSocketCurrent) + " А)";
    return "не от бытовой розетки (до " + FormatDouble(kLargestSocketCurrent) + " А): нужна отдельная линия";
}

// Metres of a bundle of strands are metres of each strand: "57 м (3 провода 3,00 по 19 м)".
std::string lengthToBuyText(const WireToBuy &wire) {
    std::string text = whole(wire.lengthToBuyInAll) + " м";
    if (wire.wire.strands > 1) {
        text += " (" + whole(wire.wire.strands) + " провода " + std::string(wire.wire.nominal) + " по " +
                whole(wire.lengthToBuy) + " м)";
    }
    return text;
}

std::string toBuyText(const WireToBuy &wire) {
    return lengthToBuyText(wire) + ", " + textOf(wire.massToBuy, 2) + " кг";
}

std::string layersText(const Figure<Layers> &layers, bool count) {
    return NumberRow(column({}), realOf(WhenKnown<int>(
                                     [count](const Layers &l) { return count ? l.count : l.turnsPerLayer; }, layers)))
        .text;
}

// A part of the plan nobody asked for leaves its columns empty.
FigureRow optional(FigureRow row, std::optional<NoFigure> reason) {
    row.asked = reason != NoFigure::NotGiven;
    return row;
}

FigureSection inputsOf(const WindingPlanInput &in) {
    const bool toroid = in.design.coreType == kToroidIndex;
    const Figure<double> taps = realOf(in.tapCount);
    return {"planInputs",
            "План намотки",
            {InputRow("legWidth", toroid ? "Ширина кольца a (мм)" : "Ширина стержня a (мм)", in.legWidth),
             InputRow("legDepth", toroid ? "Высота кольца b (мм)" : "Толщина набора b (мм)", in.legDepth),
             InputRow("tapCount", "Число отводов", taps),
             InputRow("lowestTapVoltage", "Нижнее напряжение отводов (В)", in.lowestTapVoltage),
             InputRow("secondMainsVoltage", "Второе напряжение сети (В)", in.secondMainsVoltage)},
            {}};
}

FigureSection coreOf(const WindingPlanInput &in, const WindingPlan &plan) {
    const bool toroid = in.design.coreType == kToroidIndex;
    return {"core",
            "Сердечник и намотка",
            {NumberRow(number("coreFromSides", "S0", "Сечение по сторонам S₀ (см²)", 2),
                       PartOf(plan.core, &CoreFromSides::section)),
             TextRow(note("sectionMatch", "S0_vs_S"), plan.core,
                     [](const CoreFromSides &core) { return sectionMatchText(core.match); }),
             NumberRow(number("buildI", "t_I", "Толщина I обмотки t₁ (мм)", 1), plan.buildI),
             NumberRow(number("buildII", "t_II", "Толщина II обмотки t₂ (мм)", 1), plan.buildII),
             TextRow({"fitVerdict", "windings_fit", "Окно", {}, 0, Shown::Verdict}, plan.fitsWindow, fitText),
             NumberRow(number("roomLeft", "room_left",
                              toroid ? "Остаётся отверстие диаметром (мм)" : "Остаётся ширины окна (мм)", 1),
                       plan.roomLeft)},
            {}};
}

// The columns of one wire's figures.
struct WireKeys {
    std::string_view turns, section, length, toBuy, mass, lengthInAll, toBuyInAll, turnsPerLayer, layers;
};

// Turns, section, length, metres to buy and their mass of one wire; of a bundle, the metres of
// every strand together, and how it lies in layers.
void addWireRows(std::vector<FigureRow> &rows, const Figure<WireToBuy> &wire, int firstTurn, const WireKeys &keys,
                 std::string_view lengthName, std::string_view lengthCaption) {
    if (!keys.turns.empty()) {
        rows.push_back(TextRow(column(keys.turns), wire, [firstTurn](const WireToBuy &w) {
            return spanText({firstTurn, firstTurn + w.turns - 1, w.section, w.wire});
        }));
        rows.push_back(TextRow(column(keys.section), wire, [](const WireToBuy &w) { return sectionText(w.section); }));
    }
    rows.push_back(NumberRow(number(lengthName, keys.length, lengthCaption, 1), PartOf(wire, &WireToBuy::length)));
    rows.push_back(NumberRow(column(keys.toBuy), PartOf(wire, &WireToBuy::lengthToBuy)));
    rows.push_back(NumberRow(column(keys.mass, 2), PartOf(wire, &WireToBuy::massToBuy)));
    rows.push_back(NumberRow(column(keys.lengthInAll, 1), PartOf(wire, &WireToBuy::lengthInAll)));
    rows.push_back(NumberRow(column(keys.toBuyInAll), PartOf(wire, &WireToBuy::lengthToBuyInAll)));
    rows.push_back(
        TextRow(column(keys.turnsPerLayer), wire, [](const WireToBuy &w) { return layersText(w.layers, false); }));
    rows.push_back(TextRow(column(keys.layers), wire, [](const WireToBuy &w) { return layersText(w.layers, true); }));
}

// "57 (3 × 19)": the metres of all strands, and of each.
std::string metresToBuyText(const WireToBuy &wire) {
    std::string text = whole(wire.lengthToBuyInAll);
    if (wire.wire.strands > 1) text += " (" + whole(wire.wire.strands) + " × " + whole(wire.lengthToBuy) + ")";
    return text;
}

// A row of the windings' table: what a builder winds, cuts and measures, wire by wire.
std::vector<std::string> tableRowOf(std::string_view winding, int firstTurn, const WireToBuy &w) {
    return {std::string(winding) + ": " + spanText({firstTurn, firstTurn + w.turns - 1, w.section, w.wire}),
            WireText(w.wire),
            sectionText(w.section),
            textOf(w.length, 1),
            textOf(w.lengthInAll, 1),
            metresToBuyText(w),
            textOf(w.massToBuy, 2),
            textOf(w.resistance, 4),
            layersText(w.layers, false),
            layersText(w.layers, true)};
}

FigureTable windingsTableOf(const WindingPlan &plan, int outerStart) {
    FigureTable table{{"Обмотка: витки", "Провод (мм)", "Сечение (мм²)", "Длина провода (м)", "Всех проводов (м)",
                       "Купить (м)", "Масса (кг)", "Сопротивление (Ом)", "Витков в слое", "Слоёв"},
                      {}};
    if (plan.wireI.known()) table.rows.push_back(tableRowOf("I", 1, plan.wireI.value()));
    if (plan.wireIOuter.known()) table.rows.push_back(tableRowOf("I", outerStart, plan.wireIOuter.value()));
    if (plan.wireII.known()) table.rows.push_back(tableRowOf("II", 1, plan.wireII.value()));
    return table;
}

FigureSection wireOf(const WindingPlan &plan) {
    std::vector<FigureRow> rows;
    rows.push_back(
        NumberRow(number("meanTurnI", "MLT_I", "Средний виток I (мм)", 1), PartOf(plan.wireI, &WireToBuy::meanTurn)));
    addWireRows(rows, plan.wireI, 1,
                {"turns_I", "q_I", "L_I", "buy_I", "mass_I", "L_I_all", "buy_I_all", "layer_I", "layers_I"}, "lengthI",
                "Длина провода I (м)");
    rows.push_back(TextRow(text("toBuyI", {}, "Купить провода I"), plan.wireI, toBuyText));

    const int outerStart = plan.wireI.known() ? plan.wireI.value().turns + 1 : 1;
    const std::size_t outerFirst = rows.size();
    rows.push_back(
        TextRow(text("outerTurnsI", {}, "Второй провод I: витки"), plan.wireIOuter, [outerStart](const WireToBuy &w) {
            return spanWithWireText({outerStart, outerStart + w.turns - 1, w.section, w.wire});
        }));
    rows.push_back(NumberRow(number("meanTurnIOuter", "MLT_I_2", "Средний виток второго провода I (мм)", 1),
                             PartOf(plan.wireIOuter, &WireToBuy::meanTurn)));
    addWireRows(
        rows, plan.wireIOuter, outerStart,
        {"turns_I_2", "q_I_2", "L_I_2", "buy_I_2", "mass_I_2", "L_I_2_all", "buy_I_2_all", "layer_I_2", "layers_I_2"},
        "outerLengthI", "Длина второго провода I (м)");
    rows.push_back(TextRow(text("outerToBuyI", {}, "Купить второго провода I"), plan.wireIOuter, toBuyText));
    for (std::size_t i = outerFirst; i < rows.size(); ++i) rows[i] = optional(rows[i], plan.wireIOuter.reason());

    rows.push_back(NumberRow(number("resistanceI", "R_I", "Сопротивление I (Ом)", 4), plan.resistanceI));
    rows.push_back(NumberRow(number("meanTurnII", "MLT_II", "Средний виток II (мм)", 1),
                             PartOf(plan.wireII, &WireToBuy::meanTurn)));
    addWireRows(rows, plan.wireII, 1,
                {{}, {}, "L_II", "buy_II", "mass_II", "L_II_all", "buy_II_all", "layer_II", "layers_II"}, "lengthII",
                "Длина провода II (м)");
    rows.push_back(TextRow(text("toBuyII", {}, "Купить провода II"), plan.wireII, toBuyText));
    rows.push_back(NumberRow(number("resistanceII", "R_II", "Сопротивление II (Ом)", 4),
                             PartOf(plan.wireII, &WireToBuy::resistance)));
    rows.push_back(NumberRow(number("copperLosses", "losses", "Потери в меди (Вт)", 0), plan.copperLosses));
    return {"planWire", "Провод", std::move(rows), windingsTableOf(plan, outerStart)};
}

constexpr std::array<std::string_view, kMostTaps> kTapKeys{"tap_1", "tap_2", "tap_3", "tap_4",
                                                           "tap_5", "tap_6", "tap_7", "tap_8"};

FigureSection tapsOf(const WindingPlan &plan) {
    FigureSection section{"taps", "Отводы I обмотки", {}, {{"Витки", "U хх (В)", "B (Тл)", "Замечание"}, {}}};
    section.rows.push_back(TextRow(note("tapsFrequencyNote", {}), std::string(kFiftyHertzNote)));
    section.rows.push_back(TextRow(note("tapsNote", {}), plan.taps, tapsNoteText));
    const std::span<const Tap> taps = plan.taps.known() ? plan.taps.value().taps() : std::span<const Tap>{};
    for (std::size_t i = 0; i < kTapKeys.size(); ++i) {
        FigureRow row = TextRow(column(kTapKeys[i]), plan.taps,
                                [&](const TapTable &) { return i < taps.size() ? tapText(taps[i]) : std::string(); });
        section.rows.push_back(optional(std::move(row), plan.taps.reason()));
    }
    for (const Tap &tap : taps) {
        section.table.rows.push_back(
            {whole(tap.turns), textOf(tap.noLoadVoltage, 1), textOf(tap.induction, 2), tapWarningsText(tap)});
    }
    return section;
}

// "109–143 (только на 380 В): 3,53 мм², провод 2,12": the turns past where one mains voltage
// ends belong to the other alone.
std::string onlyOneVoltageText(const WindingPlanInput &in, const SecondMains &mains) {
    if (!mains.higherMainsTurns) return "нет";
    const TurnSpan &span = *mains.higherMainsTurns;
    const double voltage = span.last == mains.turns ? in.secondMainsVoltage.value() : in.design.mainsVoltage;
    return spanText(span) + " (только на " + FormatDouble(voltage) + " В): " + sectionAndWireText(span);
}

FigureSection mainsOf(const WindingPlanInput &in, const WindingPlan &plan) {
    const Figure<SecondMains> &mains = plan.secondMains;
    std::vector<FigureRow> rows{NumberRow(number("breaker", "breaker", "Автомат (А)", 0), realOf(plan.breakerRating)),
                                TextRow(note("socketNote", "supply"), plan.needsDedicatedLine, supplyText)};
    const std::size_t secondFirst = rows.size();
    rows.push_back(TextRow(text("secondMainsTurns", "W1_2", "Витки до второго напряжения"), mains,
                           [](const SecondMains &m) { return whole(m.turns); }));
    rows.push_back(TextRow(column("q1_2"), mains, [](const SecondMains &m) { return sectionText(m.wire.section); }));
    rows.push_back(TextRow(column("wire1_2"), mains, [](const SecondMains &m) { return WireText(m.wire); }));
    rows.push_back(TextRow(text("lowerMainsTurns", {}, "Витки обоих напряжений сети"), mains,
                           [](const SecondMains &m) { return spanWithWireText(m.lowerMainsTurns); }));
    rows.push_back(TextRow(text("higherMainsTurns", {}, "Витки одного напряжения сети"), mains,
                           [&in](const SecondMains &m) { return onlyOneVoltageText(in, m); }));
    rows.push_back(NumberRow(number("secondMainsCurrent", "I1_2", "Ток сети на втором напряжении (А)", 2),
                             PartOf(mains, &SecondMains::current)));
    rows.push_back(TextRow(text("secondMainsBreaker", "breaker_2", "Автомат на втором напряжении (А)"), mains,
                           [](const SecondMains &m) { return NumberRow(column({}), realOf(m.breakerRating)).text; }));
    rows.push_back(TextRow(note("secondSocketNote", "supply_2"), mains,
                           [](const SecondMains &m) { return supplyText(m.needsDedicatedLine); }));
    for (std::size_t i = secondFirst; i < rows.size(); ++i) rows[i] = optional(rows[i], mains.reason());
    return {"mains", "Сеть", std::move(rows), {}};
}

}  // namespace

std::string SaturationWarning(Saturation saturation) {
    switch (saturation) {
    case Saturation::None: return {};
    case Saturation::OrdinarySteel:
        return "не меньше " + FormatDouble(kOrdinarySteelSaturation) + " Тл: обычная сталь может насыщаться";
    case Saturation::AnySteel: return "не меньше " + FormatDouble(kInductionLimit) + " Тл: насыщение";
    }
    return {};
}

std::vector<FigureSection> PlanSections(const WindingPlanInput &input, const WindingPlan &plan) {
    return {inputsOf(input), coreOf(input, plan), wireOf(plan), tapsOf(plan), mainsOf(input, plan)};
}

}  // namespace tremira::calc
