#include "design_check.h"

#include <cmath>
#include <numbers>
#include <string>

#include "plan_figures.h"
#include "round_wire.h"
#include "weld_figures.h"

namespace tremira::calc {
namespace {

// Units as the messages of figures too small to show name them.
constexpr std::string_view kVolts = " В";
constexpr std::string_view kSquareMillimetres = " мм²";

RowFormat answer(std::string_view name, std::string_view key, std::string_view caption, std::string_view unit,
                 int decimals, Rounding rounding = Rounding::Nearest) {
    return {name, key, caption, unit, decimals, Shown::Answer, SmallFigure::NamesUnit, rounding};
}
RowFormat verdict(std::string_view name, std::string_view key) { return {name, key, "Итог", {}, 0, Shown::Verdict}; }
std::string rounded(double value, int decimals, Rounding rounding = Rounding::Nearest) {
    return FormatDouble(RoundToDecimals(value, decimals, rounding));
}

// Every typed field read once, for the check and the plan alike.
struct Readings {
    Figure<double> width, height, fill, testTurns, testVoltage;
    Figure<double> legWidth, legDepth, tapCount, lowestTap, secondMains;
    WeldInput weld;
};

WeldInput readWeld(const TypedFields &typed) {
    return {ReadArrangement(typed.arrangement),
            ReadPositiveOr(typed.gap, kDefaultGap, "зазор между обмотками"),
            ReadPositive(typed.measuredTurns, "витки отвода замера"),
            ReadPositive(typed.measuredCurrent, "ток замера"),
            ReadPositive(typed.chokeLegWidth, "сторона a дросселя"),
            ReadPositive(typed.chokeLegDepth, "сторона b дросселя"),
            ReadPositive(typed.chokeWindowWidth, "ширина окна дросселя"),
            ReadPositive(typed.chokeWindowHeight, "высота окна дросселя"),
            ReadPositiveOr(typed.steelLoss, kDefaultSteelLoss, "потери в стали"),
            ReadInsulationClass(typed.insulationClass)};
}

Readings read(const TypedFields &typed, bool toroid) {
    return {ReadPositive(typed.windowWidth, toroid ? "внутренний диаметр" : "ширина окна"),
            ReadPositive(typed.windowHeight, "высота окна"),
            ReadFillFactor(typed.fillFactor),
            ReadPositive(typed.testTurns, "витки пробной обмотки"),
            ReadPositive(typed.testVoltage, "напряжение пробной обмотки"),
            ReadPositive(typed.legWidth, {}),
            ReadPositive(typed.legDepth, {}),
            ReadPositive(typed.tapCount, {}),
            ReadPositive(typed.lowestTapVoltage, {}),
            ReadPositive(typed.secondMainsVoltage, {}),
            readWeld(typed)};
}

// The design's figures, each checked as a quantity above zero.
struct DesignFigures {
    Figure<double> mainsVoltage, outputVoltage, current, coreSection, induction;
    Figure<double> turnsI, turnsII, wireSectionI, wireSectionII;
};

DesignFigures readDesign(const InputNumbers &d, const ResultNumbers &r) {
    return {Positive(d.mainsVoltage, "напряжение сети"), Positive(d.outputVoltage, "выходное напряжение"),
            Positive(d.weldingCurrent, "ток сварки"),    Positive(d.coreSection, "сечение сердечника"),
            Positive(d.induction, "макс. индукция"),     Positive(r.w1, "витки обмотки I"),
            Positive(r.w2, "витки обмотки II"),          Positive(r.q1, "сечение провода обмотки I"),
            Positive(r.q2, "сечение провода обмотки II")};
}

// K multiplied in the calculation's order and stored as a single, as the calculation has it.
FigureSection designOf(const DesignFigures &d) {
    const Figure<double> k = WhenKnown<double>(
        [](double b, double s) {
            return static_cast<double>(static_cast<Single>(b * kVoltsPerTurnFactor * s * kCoreStackingFactor));
        },
        d.induction, d.coreSection);
    return {"design", "Расчёт", {NumberRow(answer("voltsPerTurn", "K", "Вольт на виток K (В)", kVolts, 3), k)}, {}};
}

// --- Fill of the core window -------------------------------------------------------------

// A fill of four digits or more only says that the window is far too small.
constexpr double kLargestPercent = 999;

FigureRow percentRow(const Figure<double> &percent) {
    const RowFormat format = answer("fillPercent", "fill_percent", "Заполнение (%)", " %", 0);
    if (percent.known() && RoundToDecimals(percent.value(), 0) > kLargestPercent) {
        return TextRow(format, "больше " + FormatDouble(kLargestPercent) + " %", false);
    }
    return NumberRow(format, percent);
}

Figure<double> windowAreaOf(const Readings &r, bool toroid) {
    if (toroid) return WhenKnown<double>([](double d) { return std::numbers::pi * d * d / 4; }, r.width);
    return WhenKnown<double>([](double c, double h) { return c * h; }, r.width, r.height);
}

std::string doesNotFitText(double neededArea, bool toroid) {
    std::string text = "не помещается: нужно окно не меньше " + rounded(neededArea, 0, Rounding::Up) + " мм²";
    if (toroid) {
        const double diameter = std::sqrt(4 * neededArea / std::numbers::pi);
        text += ", внутренний диаметр не меньше " + rounded(diameter, 1, Rounding::Up) + " мм";
    }
    return text;
}

// When the plan winds winding I on past w₁, the fill counts every turn it winds, and says so.
std::string woundNote(const WindingPlan &plan) {
    if (!plan.woundI.known()) return {};
    const std::string with = plan.taps.known() && plan.secondMains.known() ? "с отводами и вторым напряжением сети"
                             : plan.taps.known()                           ? "с отводами"
                                                 : "со вторым напряжением сети";
    return " (I обмотка " + with + ", как намотана: " + FormatDouble(plan.woundI.value().turns) + " вит.)";
}

FigureSection coreWindowOf(const Readings &r, const DesignFigures &d, const WindingPlan &plan, bool toroid) {
    // Every turn passes the window once.
    const Figure<double> copperI =
        plan.woundI.known() ? Figure<double>(plan.woundI.value().copper)
                            : WhenKnown<double>([](double w, double q) { return w * q; }, d.turnsI, d.wireSectionI);
    const Figure<double> copper = WhenKnown<double>([](double i, double w2, double q2) { return i + w2 * q2; }, copperI,
                                                    d.turnsII, d.wireSectionII);
    const Figure<double> needed = WhenKnown<double>([](double c, double k) { return c / k; }, copper, r.fill);
    const Figure<double> window = windowAreaOf(r, toroid);
    const Figure<bool> fits = WhenKnown<bool>([](double n, double w) { return n <= w; }, needed, window);

    std::vector<FigureRow> rows{
        InputRow("windowWidth", toroid ? "Внутренний диаметр (мм)" : "Ширина окна (мм)", r.width)};
    if (!toroid) rows.push_back(InputRow("windowHeight", "Высота окна (мм)", r.height));
    rows.push_back(InputRow("fillFactor", "Коэффициент заполнения", r.fill));
    rows.push_back(NumberRow(answer("copperArea", "copper_area", "Площадь меди (мм²)", kSquareMillimetres, 0), copper));
    rows.push_back(NumberRow(
        answer("neededWindowArea", "window_area_needed", "Нужно окно (мм²)", kSquareMillimetres, 0, Rounding::Up),
        needed));
    rows.push_back(NumberRow(answer("windowArea", "window_area", "Площадь окна (мм²)", kSquareMillimetres, 0), window));
    rows.push_back(percentRow(WhenKnown<double>([](double c, double w) { return c / w * 100; }, copper, window)));
    rows.push_back(TextRow(verdict("fillVerdict", "fill"), fits, [&](bool yes) {
        return (yes ? std::string("помещается") : doesNotFitText(needed.value(), toroid)) + woundNote(plan);
    }));
    return {"coreWindow", "Окно сердечника", std::move(rows), {}};
}

// --- Wire -------------------------------------------------------------------------------

// The round wire of a winding's section: its diameter, and the nominal size to buy.
void addWire(std::vector<FigureRow> &rows, const Figure<double> &section, const RowFormat &diameterFormat,
             const RowFormat &nominalFormat) {
    rows.push_back(NumberRow(diameterFormat,
                             WhenKnown<double>([](double q) { return 2 * std::sqrt(q / std::numbers::pi); }, section)));
    rows.push_back(TextRow(nominalFormat, section, [](double q) { return WireText(RoundWireFor(q)); }));
}

FigureSection wireOf(const DesignFigures &d) {
    std::vector<FigureRow> rows;
    addWire(rows, d.wireSectionI, answer("wireDiameterI", "wire_I_diameter", "Диаметр провода I (мм)", " мм", 3),
            {"wireNominalI", "wire_I", "Провод I по IEC 60317 (мм)", {}});
    addWire(rows, d.wireSectionII, answer("wireDiameterII", "wire_II_diameter", "Диаметр провода II (мм)", " мм", 3),
            {"wireNominalII", "wire_II", "Провод II по IEC 60317 (мм)", {}});
    return {"checkWire", "Провод", std::move(rows), {}};
}

// --- Voltages ---------------------------------------------------------------------------

constexpr double kStrikeMargin = 1.8;  // no-load over load voltage for a reliable strike

std::string voltageVerdict(double load, double noLoad) {
    std::string verdict;
    if (noLoad > kSafeNoLoadVoltage) {
        verdict = "выше " + FormatDouble(kSafeNoLoadVoltage) + " В: опасно (в условиях повышенной опасности не выше " +
                  FormatDouble(kHighRiskNoLoadVoltage) + " В)";
    }
    if (noLoad < kStrikeMargin * load) {
        if (!verdict.empty()) verdict += ", ";
        verdict += "ниже " + rounded(kStrikeMargin * load, 2) + " В (" + FormatDouble(kStrikeMargin) + " × " +
                   rounded(load, 1) + " В): дуга зажигается ненадёжно";
    }
    return verdict.empty() ? "в норме" : verdict;
}

FigureSection voltagesOf(const DesignFigures &d) {
    // The conventional load voltage of arc welding, 20 + 0,04·I; the current's reason comes first.
    const Figure<double> load =
        WhenKnown<double>([](double i, double) { return 20 + 0.04 * i; }, d.current, d.outputVoltage);
    const Figure<double> ratio = WhenKnown<double>([](double l, double u2) { return u2 / l; }, load, d.outputVoltage);
    return {
        "noLoadVoltage",
        "Напряжение холостого хода",
        {NumberRow(answer("loadVoltage", "load_voltage", "Напряжение дуги (В)", kVolts, 1), load),
         NumberRow(answer("strikeRatio", "strike_ratio", "Запас U2 : Uдуги", {}, 2), ratio),
         TextRow(verdict("voltageVerdict", "voltage"), WhenKnown<std::string>(voltageVerdict, load, d.outputVoltage),
                 [](const std::string &text) { return text; })},
        {}};
}

// --- Test winding -----------------------------------------------------------------------

// Turns for `voltage` at `voltsPerTurn`: nearest integer, halves to the even one.
Figure<double> correctedTurns(double voltsPerTurn, double voltage) {
    const Checked<Int16> turns = RealToInt16(voltage / voltsPerTurn);
    if (!turns) return NoFigure::TooManyTurns;
    if (*turns == 0) return NoFigure::LessThanOneTurn;
    return static_cast<double>(*turns);
}

std::string inductionVerdict(double induction) {
    const Saturation saturation = SaturationAt(induction);
    if (saturation == Saturation::AnySteel)
        return "не меньше " + FormatDouble(kInductionLimit) + " Тл: сталь в насыщении";
    if (saturation == Saturation::OrdinarySteel) return SaturationWarning(saturation);
    return "в норме";
}

FigureSection testWindingOf(const Readings &r, const DesignFigures &d) {
    // Nothing typed is no mistake: every figure says the test winding is not given.
    const bool untyped = r.testTurns.reason() == NoFigure::NotGiven && r.testVoltage.reason() == NoFigure::NotGiven;
    const Figure<double> measured =
        untyped ? Figure<double>(NoFigure::TestWindingNotGiven)
                : WhenKnown<double>([](double w, double u) { return u / w; }, r.testTurns, r.testVoltage);  // K′
    const auto turnsFor = [&measured](const Figure<double> &voltage) {
        return WhenKnown<double>(correctedTurns, measured, voltage);
    };
    // K′ is the voltage of one turn.
    const Figure<double> induction =
        WhenKnown<double>([](double k, double s) { return InductionAt50Hz(k, 1, s); }, measured, d.coreSection);
    return {"testWinding",
            "Пробная обмотка (перемотка готового трансформатора)",
            {InputRow("testTurns", "Витки пробной обмотки", r.testTurns),
             InputRow("testVoltage", "Напряжение на ней (В)", r.testVoltage),
             NumberRow(answer("testVoltsPerTurn", "test_K", "Вольт на виток K′ (В)", kVolts, 3), measured),
             NumberRow(answer("correctedTurnsI", "test_W1", "Действующие витки I обмотки w1′", {}, 0),
                       turnsFor(d.mainsVoltage)),
             NumberRow(answer("correctedTurnsII", "test_W2", "Витки новой II обмотки w2′", {}, 0),
                       turnsFor(d.outputVoltage)),
             NumberRow(answer("actualInduction", "test_B", "Индукция сердечника B′ (Тл)", " Тл", 2), induction),
             TextRow(verdict("inductionVerdict", "test_induction"), induction, inductionVerdict),
             TextRow({"testFrequencyNote", {}, {}, {}, 0, Shown::Note}, std::string(kFiftyHertzNote))},
            {}};
}

// The plan takes the same readings, in its own terms.
WindingPlanInput planInputOf(const CheckInput &in, const Readings &r) {
    WindingPlanInput plan;
    plan.design = in.design;
    plan.results = in.results;
    plan.fillFactor = PlanReading(r.fill);
    plan.windowWidth = PlanReading(r.width);
    plan.windowHeight = PlanReading(r.height);
    plan.legWidth = PlanReading(r.legWidth);
    plan.legDepth = PlanReading(r.legDepth);
    plan.tapCount = TapCountOf(r.tapCount);
    plan.lowestTapVoltage = PlanReading(r.lowestTap);
    plan.secondMainsVoltage = PlanReading(r.secondMains);
    return plan;
}

}  // namespace

CheckOutcome CheckDesign(const CheckInput &input) {
    const bool toroid = input.design.coreType == kToroidIndex;
    const Readings readings = read(input.typed, toroid);
    const WindingPlanInput planInput = planInputOf(input, readings);
    const WindingPlan plan = PlanWinding(planInput);
    const DesignFigures design = readDesign(input.design, input.results);
    Weld weld = WeldOf(planInput, plan, readings.weld);
    Figure<Connections> connections = ConnectionsOf(planInput, plan, weld.chokeInductance.known());
    FigureSection workOrder = WorkOrderOf(plan, connections);
    return {{designOf(design), wireOf(design), coreWindowOf(readings, design, plan, toroid), voltagesOf(design),
             testWindingOf(readings, design)},
            PlanSections(planInput, plan),
            DrawingOf(planInput, plan),
            std::move(connections),
            WeldSections(planInput, plan, readings.weld, weld),
            std::move(weld.chart),
            std::move(workOrder)};
}

}  // namespace tremira::calc
