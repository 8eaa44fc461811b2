#include "weld_figures.h"

#include <array>
#include <functional>
#include <string>

#include "plan_figures.h"

namespace tremira::calc {
namespace {

constexpr double kMillihenriesPerHenry = 1000;
constexpr double kSecondsPerMinute = 60;
constexpr double kPercent = 100;

RowFormat answer(std::string_view name, std::string_view key, std::string_view caption, std::string_view unit,
                 int decimals) {
    return {name, key, caption, unit, decimals, Shown::Answer};
}
RowFormat verdict(std::string_view name, std::string_view key, std::string_view caption = "Итог") {
    return {name, key, caption, {}, 0, Shown::Verdict};
}
RowFormat note(std::string_view name) { return {name, {}, {}, {}, 0, Shown::Note}; }
RowFormat column(std::string_view key, int decimals = 0) {
    return {key, key, {}, {}, decimals, Shown::ColumnOnly, SmallFigure::BareStep};
}

std::string whole(double value) { return FormatDouble(value); }
std::string cell(const Figure<double> &figure, int decimals) { return NumberRow(column({}, decimals), figure).text; }
std::string joined(const std::vector<std::string> &parts) {
    std::string text;
    for (const std::string &part : parts) {
        if (part.empty()) continue;
        if (!text.empty()) text += " / ";
        text += part;
    }
    return text;
}

// --- Inputs ---------------------------------------------------------------------------------

template <typename Choice, std::size_t N>
Figure<std::string_view> entryOf(const Figure<Choice> &choice, const std::array<std::string_view, N> &entries) {
    return WhenKnown<std::string_view>([&](Choice c) { return entries[static_cast<std::size_t>(c)]; }, choice);
}

FigureSection inputsOf(const WeldInput &in, bool toroid) {
    std::vector<FigureRow> rows;
    // A toroid's windings lie one over the other.
    if (!toroid) {
        rows.push_back(InputRow("arrangement", "Обмотки на стержнях: один или разные",
                                entryOf(in.arrangement, kArrangementEntries), kArrangementEntries));
    }
    rows.push_back(InputRow("gap", "Зазор между обмотками δ (мм)", in.gap));
    rows.push_back(InputRow("measuredTurns", "Замер: витки отвода", in.measuredTurns));
    rows.push_back(InputRow("measuredCurrent", "Замер: ток сварки (А)", in.measuredCurrent));
    rows.push_back(InputRow("chokeLegWidth", "Дроссель: сторона a (мм)", in.chokeLegWidth));
    rows.push_back(InputRow("chokeLegDepth", "Дроссель: сторона b (мм)", in.chokeLegDepth));
    rows.push_back(InputRow("chokeWindowWidth", "Дроссель: ширина окна c (мм)", in.chokeWindowWidth));
    rows.push_back(InputRow("chokeWindowHeight", "Дроссель: высота окна h (мм)", in.chokeWindowHeight));
    rows.push_back(InputRow("steelLoss", "Потери в стали при 1,5 Тл и 50 Гц (Вт/кг)", in.steelLoss));
    rows.push_back(InputRow("insulationClass", "Класс изоляции: B, F или H",
                            entryOf(in.insulation, kInsulationClassEntries), kInsulationClassEntries));
    return {"weldInputs", "Ток и нагрев", std::move(rows), {}};
}

// --- Induction ------------------------------------------------------------------------------

std::string saturationVerdict(double induction) {
    const std::string warning = SaturationWarning(SaturationAt(induction));
    return warning.empty() ? "в норме" : warning;
}

FigureSection inductionOf(const Weld &weld) {
    return {"inductionAt50Hz",
            "Индукция при 50 Гц",
            {NumberRow(answer("inductionAtW1", "B50", "Индукция на w₁ (Тл)", " Тл", 3), weld.induction),
             TextRow(verdict("inductionAtW1Verdict", "B50_verdict"), weld.induction, saturationVerdict),
             TextRow(note("weldFrequencyNote"), std::string(kFiftyHertzNote))},
            {}};
}

// --- Taps -----------------------------------------------------------------------------------

// The figures of a tap in the order of their columns, without the choke and with it.
constexpr std::array<std::string_view, 12> kBareSuffixes{"w", "B",     "U20",  "U20_high", "R",         "X",
                                                         "I", "U_arc", "I_sc", "I_mains",  "electrode", "note"};
constexpr std::array<std::string_view, 6> kChokedSuffixes{"I_choke",       "U_arc_choke",     "I_sc_choke",
                                                          "I_mains_choke", "electrode_choke", "note_choke"};
constexpr std::size_t kColumnsPerTap = kBareSuffixes.size() + kChokedSuffixes.size();

// "tap_3_I": the column of a figure of the third tap.
const std::vector<std::string> &tapKeyTexts() {
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> all;
        for (int tap = 1; tap <= kMostTaps; ++tap) {
            const std::string prefix = "tap_" + std::to_string(tap) + "_";
            for (std::string_view suffix : kBareSuffixes) all.push_back(prefix + std::string(suffix));
            for (std::string_view suffix : kChokedSuffixes) all.push_back(prefix + std::string(suffix));
        }
        return all;
    }();
    return keys;
}

// Electrode diameters and the currents makers give for them, A.
struct Electrode {
    std::string_view diameter;
    double from, to;
};
constexpr std::array<Electrode, 5> kElectrodes{
    {{"1,6", 40, 50}, {"2,0", 50, 75}, {"2,5", 75, 105}, {"3,2", 105, 140}, {"4,0", 140, 160}}};

// The electrodes whose range holds the current as shown.
std::string electrodesFor(double current) {
    const double shown = RoundToDecimals(current, 1);
    if (shown < kElectrodes.front().from) return "ток меньше " + whole(kElectrodes.front().from) + " А";
    if (shown > kElectrodes.back().to) return "4,0 или 5,0";
    std::vector<std::string> fitting;
    for (const Electrode &e : kElectrodes) {
        if (shown >= e.from && shown <= e.to) fitting.emplace_back(e.diameter);
    }
    return fitting.size() == 1 ? fitting[0] : fitting[0] + " или " + fitting[1];
}

std::string breakerNote(const ArcPoint &arc, const Figure<int> &breaker) {
    if (!breaker.known() || arc.mainsCurrent <= breaker.value()) return {};
    return "ток сети больше автомата " + whole(breaker.value()) + " А";
}

// The check's rules for the no-load voltage, on mains 10 % high.
std::string highMainsNote(double noLoad) {
    if (noLoad > kSafeNoLoadVoltage) return "при сети +10 % выше " + whole(kSafeNoLoadVoltage) + " В: опасно";
    if (noLoad > kHighRiskNoLoadVoltage) {
        return "при сети +10 % выше " + whole(kHighRiskNoLoadVoltage) + " В: не для условий повышенной опасности";
    }
    return {};
}

// Current, arc voltage, short circuit, mains current, electrodes and the breaker's note.
std::vector<std::string> arcCells(const Figure<ArcPoint> &arc, const Figure<int> &breaker) {
    return {cell(PartOf(arc, &ArcPoint::current), 1),
            cell(PartOf(arc, &ArcPoint::arcVoltage), 1),
            cell(PartOf(arc, &ArcPoint::shortCircuit), 1),
            cell(PartOf(arc, &ArcPoint::mainsCurrent), 1),
            arc.known() ? electrodesFor(arc.value().current) : ReasonText(arc.why()),
            arc.known() ? breakerNote(arc.value(), breaker) : std::string()};
}

std::vector<std::string> bareCells(const WeldTap &tap, const Figure<int> &breaker) {
    std::vector<std::string> cells{whole(tap.turns),           cell(tap.induction, 3),
                                   cell(tap.noLoadVoltage, 1), cell(tap.highMainsNoLoadVoltage, 1),
                                   cell(tap.resistance, 4),    cell(tap.reactance, 4)};
    std::vector<std::string> arc = arcCells(tap.bare, breaker);
    arc.back() =
        joined({SaturationWarning(SaturationAt(tap.induction)), highMainsNote(tap.highMainsNoLoadVoltage), arc.back()});
    cells.insert(cells.end(), arc.begin(), arc.end());
    return cells;
}

// The taps' cells as rows of the window's table and, after the `tableOnly` first, as
// tremira-calc's columns from the tap's `firstKey`; past the last tap the columns are empty.
struct TapCells {
    std::function<std::vector<std::string>(const WeldTap &)> of;
    std::size_t tableOnly;
    std::size_t firstKey;
};

FigureSection tapsSection(std::string_view name, std::string_view title, std::vector<std::string_view> headers,
                          const Figure<std::vector<WeldTap>> &taps, const TapCells &cells) {
    FigureSection section{name, title, {}, {std::move(headers), {}}};
    const std::size_t columns = section.table.headers.size() - cells.tableOnly;
    const std::vector<std::string_view> &keys = WeldTapColumnKeys();
    for (std::size_t tap = 0; tap < kMostTaps; ++tap) {
        std::vector<std::string> texts(section.table.headers.size());
        if (!taps.known()) texts.assign(texts.size(), ReasonText(taps.why()));
        if (taps.known() && tap < taps.value().size()) {
            texts = cells.of(taps.value()[tap]);
            section.table.rows.push_back(texts);
        }
        for (std::size_t i = 0; i < columns; ++i) {
            FigureRow row =
                TextRow(column(keys[tap * kColumnsPerTap + cells.firstKey + i]), texts[cells.tableOnly + i]);
            row.asked = taps.reason() != NoFigure::NotGiven;
            section.rows.push_back(std::move(row));
        }
    }
    return section;
}

// Where X comes from: the first tap's reactance tells why there is none.
FigureRow reactanceSourceRow(const WeldInput &in, const Weld &weld) {
    const RowFormat format{"reactanceSource", "X_source", "Сопротивление рассеяния X", {}, 0, Shown::Answer};
    const Figure<double> reactance =
        WhenKnown<double>([](const std::vector<WeldTap> &taps) { return taps.front().reactance; }, weld.taps);
    return TextRow(format, reactance, [&](double) {
        if (!weld.measured) return std::string("по формуле Каппа (±30 %)");
        return "по замеру: " + whole(in.measuredCurrent.value()) + " А на " + whole(in.measuredTurns.value()) + " вит.";
    });
}

FigureSection bareTapsOf(const WeldInput &in, const Weld &weld, const Figure<int> &breaker) {
    FigureSection section =
        tapsSection("weldCurrents", "Ток сварки без дросселя",
                    {"Витки", "B (Тл)", "U хх (В)", "U хх при сети +10 % (В)", "R (Ом)", "X (Ом)", "Ток (А)",
                     "U дуги (В)", "Ток КЗ (А)", "Ток сети (А)", "Электрод (мм)", "Замечание"},
                    weld.taps, {[&](const WeldTap &tap) { return bareCells(tap, breaker); }, 0, 0});
    FigureRow measured =
        NumberRow(answer("measuredReactance", "X_measured", "X по замеру, на всех отводах (Ом)", " Ом", 4),
                  weld.measuredReactance);
    measured.asked = weld.measured;
    const std::vector<FigureRow> head{
        reactanceSourceRow(in, weld), std::move(measured),
        TextRow(note("currentsNote"),
                "R и X приведены ко II обмотке, R при 20 °C. Дуга — условная нагрузка IEC 60974-1: U = 20 + 0,04·I "
                "(44 В выше 600 А). Токи — верхняя граница: сопротивление сети их снижает.")};
    section.rows.insert(section.rows.begin(), head.begin(), head.end());
    return section;
}

FigureSection chokedTapsOf(const Weld &weld, const Figure<int> &breaker) {
    const auto cellsOf = [&](const WeldTap &tap) {
        std::vector<std::string> cells{whole(tap.turns)};
        const std::vector<std::string> arc = arcCells(tap.choked, breaker);
        cells.insert(cells.end(), arc.begin(), arc.end());
        return cells;
    };
    return tapsSection("chokedCurrents", "Ток сварки с дросселем",
                       {"Витки", "Ток (А)", "U дуги (В)", "Ток КЗ (А)", "Ток сети (А)", "Электрод (мм)", "Замечание"},
                       weld.taps, {cellsOf, 1, kBareSuffixes.size()});
}

// --- Choke ----------------------------------------------------------------------------------

// Needed where the design's own tap gives more than 1,1 × I without it.
FigureRow chokeVerdictRow(const Weld &weld, double current) {
    const RowFormat format = verdict("chokeVerdict", "choke", "Дроссель");
    if (!weld.chokeInductance.known() && weld.chokeInductance.reason() != NoFigure::ChokeNotNeeded) {
        return TextRow(format, ReasonText(weld.chokeInductance.why()), false);
    }
    const double without = weld.taps.value().back().bare.value().current;
    const std::string comparison = "больше " + whole(kChokeMargin) + " × " + whole(current) + " А";
    return TextRow(format, weld.chokeInductance.known()
                               ? "нужен: без него на w₁ " + cell(without, 1) + " А, " + comparison
                               : "не нужен: без него на w₁ " + cell(without, 1) + " А, не " + comparison);
}

std::string chokeFitText(const ChokeWinding &wound) {
    if (wound.fits) return "помещается";
    return "не помещается: нужно окно не меньше " + whole(RoundToDecimals(wound.neededWindow, 0, Rounding::Up)) +
           " мм²";
}

std::string chokeInductionText(double induction) {
    return SaturationAt(induction) == Saturation::AnySteel ? SaturationWarning(Saturation::AnySteel) : "в норме";
}

// The choke wound on its typed core; a core nobody typed leaves these columns empty.
std::vector<FigureRow> chokeWindingRows(const Weld &weld) {
    const Figure<ChokeWinding> &w = weld.chokeWinding;
    std::vector<FigureRow> rows{
        NumberRow(answer("chokeTurns", "w_choke", "Витки дросселя", {}, 0), PartOf(w, &ChokeWinding::turns)),
        NumberRow(answer("chokeGap", "gap_choke", "Немагнитный зазор, всего (мм)", " мм", 2),
                  PartOf(w, &ChokeWinding::gap)),
        NumberRow(answer("chokeBuild", "t_choke", "Толщина обмотки (мм)", " мм", 1), PartOf(w, &ChokeWinding::build)),
        NumberRow(answer("chokeMeanTurn", "MLT_choke", "Средний виток (мм)", " мм", 1),
                  PartOf(w, &ChokeWinding::meanTurn)),
        NumberRow(answer("chokeLength", "L_wire_choke", "Длина провода сечения II обмотки (м)", " м", 1),
                  PartOf(w, &ChokeWinding::length)),
        NumberRow(answer("chokeResistance", "R_choke", "Сопротивление дросселя (Ом)", " Ом", 4),
                  PartOf(w, &ChokeWinding::resistance)),
        NumberRow(answer("chokeMass", "mass_choke", "Масса провода (кг)", " кг", 2), PartOf(w, &ChokeWinding::mass)),
        TextRow(verdict("chokeFit", "choke_fit", "Окно дросселя"), w, chokeFitText),
        NumberRow(answer("chokeInduction", "B_choke", "Индукция при наибольшем токе КЗ (Тл)", " Тл", 2),
                  weld.chokeInduction),
        TextRow(verdict("chokeInductionVerdict", "B_choke_verdict"), weld.chokeInduction, chokeInductionText)};
    for (FigureRow &row : rows) row.asked = w.reason() != NoFigure::NotGiven;
    return rows;
}

FigureSection chokeOf(const WindingPlanInput &in, const Weld &weld) {
    std::vector<FigureRow> rows{
        NumberRow(answer("neededReactance", "X_n", "Нужное X_n на w₁ (Ом)", " Ом", 4), weld.neededReactance),
        chokeVerdictRow(weld, in.design.weldingCurrent),
        NumberRow(
            answer("chokeInductance", "L_choke", "Индуктивность L (мГн)", " мГн", 3),
            WhenKnown<double>([](double henries) { return henries * kMillihenriesPerHenry; }, weld.chokeInductance))};
    const std::vector<FigureRow> winding = chokeWindingRows(weld);
    rows.insert(rows.end(), winding.begin(), winding.end());
    rows.push_back(
        TextRow(note("chokeGapNote"),
                "Зазор — по половине в каждом стыке U-образного сердечника. Это начальное значение: выпучивание поля в "
                "зазоре увеличивает L, поэтому зазор увеличивают, пока ток сварки на w₁ не станет расчётным."));
    return {"choke", "Дроссель", std::move(rows), {}};
}

// --- Heating --------------------------------------------------------------------------------

// The rows of a heating, under the window's names and tremira-calc's columns.
struct HeatingRows {
    std::string_view title;
    std::string_view name;  // of the section
    std::array<std::string_view, 9> names;
    std::array<std::string_view, 9> keys;
};

constexpr HeatingRows kTransformerHeating{
    "Нагрев трансформатора на w₁",
    "transformerHeating",
    {"coreMass", "coreLoss", "copperLoss", "surface", "dutyCycle", "currentAt60", "currentAt100", "timeConstant",
     "timeFromCold"},
    {"core_mass", "core_loss", "copper_loss", "surface", "duty", "I_60", "I_100", "tau", "minutes_cold"}};
constexpr HeatingRows kChokeHeating{"Нагрев дросселя",
                                    "chokeHeating",
                                    {"chokeCoreMass", "chokeCoreLoss", "chokeCopperLoss", "chokeSurface",
                                     "chokeDutyCycle", "chokeCurrentAt60", "chokeCurrentAt100", "chokeTimeConstant",
                                     "chokeTimeFromCold"},
                                    {"choke_core_mass", "choke_core_loss", "choke_copper_loss", "choke_surface",
                                     "choke_duty", "choke_I_60", "choke_I_100", "choke_tau", "choke_minutes_cold"}};

// IEC 60974-1's duty cycle; above 100 % the load is continuous.
FigureRow dutyCycleRow(const RowFormat &format, const Figure<double> &dutyCycle) {
    if (dutyCycle.known() && dutyCycle.value() > 1) return TextRow(format, "больше 100 %: длительно", false);
    if (dutyCycle.known() && dutyCycle.value() < 0) return TextRow(format, "перегрев даже без сварки", false);
    return NumberRow(format, WhenKnown<double>([](double share) { return share * kPercent; }, dutyCycle));
}

FigureSection heatingOf(const Figure<Heating> &heating, const HeatingRows &n) {
    const auto part = [&heating](double Heating::*member, double scale = 1) {
        return WhenKnown<double>([=](const Heating &h) { return h.*member * scale; }, heating);
    };
    const auto current = [&heating](Figure<double> Heating::*member) {
        return WhenKnown<double>([member](const Heating &h) { return h.*member; }, heating);
    };
    return {n.name,
            n.title,
            {NumberRow(answer(n.names[0], n.keys[0], "Масса сердечника (кг)", " кг", 2), part(&Heating::coreMass)),
             NumberRow(answer(n.names[1], n.keys[1], "Потери в стали (Вт)", " Вт", 0), part(&Heating::coreLoss)),
             NumberRow(answer(n.names[2], n.keys[2], "Потери в меди при предельной температуре (Вт)", " Вт", 0),
                       part(&Heating::copperLoss)),
             NumberRow(answer(n.names[3], n.keys[3], "Поверхность охлаждения (м²)", " м²", 4), part(&Heating::surface)),
             dutyCycleRow(answer(n.names[4], n.keys[4], "ПВ за 10 мин (%)", " %", 1), part(&Heating::dutyCycle)),
             NumberRow(answer(n.names[5], n.keys[5], "Ток при ПВ 60 % (А)", " А", 0), current(&Heating::currentAt60)),
             NumberRow(answer(n.names[6], n.keys[6], "Ток при ПВ 100 % (А)", " А", 0), current(&Heating::currentAt100)),
             NumberRow(answer(n.names[7], n.keys[7], "Постоянная времени нагрева (мин)", " мин", 0),
                       part(&Heating::timeConstant, 1 / kSecondsPerMinute)),
             NumberRow(answer(n.names[8], n.keys[8], "Сварка без перерыва от холодного (мин)", " мин", 1),
                       part(&Heating::timeFromCold, 1 / kSecondsPerMinute))},
            {}};
}

FigureSection transformerHeatingOf(const Weld &weld) {
    FigureSection section = heatingOf(weld.transformerHeating, kTransformerHeating);
    section.rows.insert(
        section.rows.begin(),
        NumberRow(answer("windingLimit", "theta", "Предельная температура обмоток (°C)", " °C", 0),
                  WhenKnown<double>([](const Heating &h) { return h.windingLimit; }, weld.transformerHeating)));
    section.rows.push_back(TextRow(
        note("heatingNote"),
        "Охлаждение 12 Вт/(м²·К) на открытом воздухе: в корпусе меньше, с вентилятором больше. ПВ — по среднему "
        "нагреву за 10 мин; минуты от холодного — предел для обмоток, которые греются много быстрее стали."));
    return section;
}

// A choke core nobody typed leaves these columns empty too.
FigureSection chokeHeatingOf(const Weld &weld) {
    FigureSection section = heatingOf(weld.chokeHeating, kChokeHeating);
    for (FigureRow &row : section.rows) row.asked = weld.chokeHeating.reason() != NoFigure::NotGiven;
    return section;
}

}  // namespace

const std::vector<std::string_view> &WeldTapColumnKeys() {
    static const std::vector<std::string_view> keys(tapKeyTexts().begin(), tapKeyTexts().end());
    return keys;
}

std::vector<FigureSection> WeldSections(const WindingPlanInput &input, const WindingPlan &plan, const WeldInput &weld,
                                        const Weld &figures) {
    const bool toroid = input.design.coreType == kToroidIndex;
    return {inputsOf(weld, toroid),
            inductionOf(figures),
            bareTapsOf(weld, figures, plan.breakerRating),
            chokeOf(input, figures),
            chokedTapsOf(figures, plan.breakerRating),
            transformerHeatingOf(figures),
            chokeHeatingOf(figures)};
}

}  // namespace tremira::calc
