#include "design_check.h"

#include <array>
#include <cmath>
#include <initializer_list>
#include <numbers>
#include <utility>
#include <variant>

namespace tremira::calc {
namespace {

// A number read or worked out, or the message that stands in the place of every figure
// that needs it.
using Reading = std::variant<double, std::string>;

bool isBlank(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

bool isKnown(const Reading &reading) { return std::holds_alternative<double>(reading); }
double valueOf(const Reading &reading) { return std::get<double>(reading); }

// The message of the first reading that has one; empty when all are numbers.
std::string firstProblem(std::initializer_list<const Reading *> readings) {
    for (const Reading *reading : readings) {
        if (!isKnown(*reading)) return std::get<std::string>(*reading);
    }
    return {};
}

// The computed value when every input is known, else the first input's message.
template <typename Compute>
Reading whenKnown(std::initializer_list<const Reading *> inputs, Compute compute) {
    std::string message = firstProblem(inputs);
    if (!message.empty()) return message;
    return compute();
}

Reading problem(std::string_view subject, std::string_view what) {
    std::string text(subject);
    text += ": ";
    text += what;
    return text;
}

// Units as the messages of figures too small to show name them.
constexpr std::string_view kVolts = " В";
constexpr std::string_view kSquareMillimetres = " мм²";

// Inputs outside this range are typing slips; within it every figure stays finite.
constexpr double kSmallestInput = 1e-6;
constexpr double kLargestInput = 1e6;

// A number above zero within the accepted range, or what is wrong with it.
Reading positive(double value, std::string_view subject) {
    if (value <= 0) return problem(subject, "нужно больше нуля");
    if (value < kSmallestInput) return problem(subject, "слишком малое число");
    if (value > kLargestInput) return problem(subject, "слишком большое число");
    return value;
}

Reading readPositive(std::string_view text, std::string_view subject) {
    if (isBlank(text)) return problem(subject, "не задано");
    const Checked<double> value = ParseDouble(text);
    if (!value) {
        return problem(subject, value.error().Number == CalcError::TypeMismatch ? "не число" : "слишком большое число");
    }
    return positive(*value, subject);
}

// A result of the calculation, or the message that it has none.
Reading result(const std::optional<ResultNumbers> &results, Int16 ResultNumbers::*member, std::string_view subject) {
    if (!results) return problem(subject, "не задано");
    return positive((*results).*member, subject);
}

CheckFigure unknown(std::string message) { return {std::move(message), false}; }

// The value rounded to `decimals` places on the digits shown, in the program's format.
std::string rounded(double value, int decimals, Rounding rounding = Rounding::Nearest) {
    return FormatDouble(RoundToDecimals(value, decimals, rounding));
}

// From here on the program's format writes a number in exponent form.
constexpr double kLargestFigure = 1e15;

// Every figure of the check is a quantity above zero. One that would read 0 says instead that
// it is below the last place shown, in its unit; one that would need the exponent form says
// that it is too large.
CheckFigure positiveFigure(double value, int decimals, std::string_view unit, Rounding rounding = Rounding::Nearest) {
    const double shown = RoundToDecimals(value, decimals, rounding);
    if (shown == 0) return unknown("меньше " + FormatDouble(std::pow(10.0, -decimals)) + std::string(unit));
    if (shown >= kLargestFigure) return unknown("слишком большое число");
    return {FormatDouble(shown), true};
}

CheckFigure figureOf(const Reading &reading, int decimals, std::string_view unit,
                     Rounding rounding = Rounding::Nearest) {
    if (!isKnown(reading)) return unknown(std::get<std::string>(reading));
    return positiveFigure(valueOf(reading), decimals, unit, rounding);
}

// The design's figures, each checked as a quantity above zero.
struct DesignFigures {
    Reading mainsVoltage, outputVoltage, current, coreSection, induction;
    Reading turnsI, turnsII, wireSectionI, wireSectionII;
};

DesignFigures readDesign(const DesignCheckInput &input) {
    const InputNumbers &d = input.design;
    const std::optional<ResultNumbers> &r = input.results;
    return {positive(d.mainsVoltage, "напряжение сети"),
            positive(d.outputVoltage, "выходное напряжение"),
            positive(d.weldingCurrent, "ток сварки"),
            positive(d.coreSection, "сечение сердечника"),
            positive(d.induction, "макс. индукция"),
            result(r, &ResultNumbers::w1, "витки обмотки I"),
            result(r, &ResultNumbers::w2, "витки обмотки II"),
            result(r, &ResultNumbers::q1, "сечение провода обмотки I"),
            result(r, &ResultNumbers::q2, "сечение провода обмотки II")};
}

// Volts per turn that one tesla gives in this core.
double voltsPerTurnPerTesla(double coreSection) { return kVoltsPerTurnFactor * coreSection * kCoreStackingFactor; }

// K multiplied in the calculation's order and stored as a single, as the calculation has it.
Reading voltsPerTurn(const DesignFigures &d) {
    return whenKnown({&d.induction, &d.coreSection}, [&] {
        const double product =
            valueOf(d.induction) * kVoltsPerTurnFactor * valueOf(d.coreSection) * kCoreStackingFactor;
        return static_cast<double>(static_cast<Single>(product));
    });
}

// --- Fill of the core window -------------------------------------------------------------

Reading readFillFactor(std::string_view text) {
    constexpr std::string_view kSubject = "коэффициент заполнения";
    // Left empty, the usual factor: the window and tremira-calc --check both take it from here.
    Reading factor = readPositive(isBlank(text) ? kDefaultFillFactor : text, kSubject);
    if (!isKnown(factor)) return factor;
    if (valueOf(factor) > 1) return problem(kSubject, "нужно не больше 1");
    if (valueOf(factor) < kSmallestFillFactor) {
        return problem(kSubject, "нужно не меньше " + FormatDouble(kSmallestFillFactor));
    }
    return factor;
}

// A fill of four digits or more only says that the window is far too small.
constexpr double kLargestPercent = 999;

CheckFigure percentFigure(const Reading &percent) {
    if (isKnown(percent) && RoundToDecimals(valueOf(percent), 0) > kLargestPercent) {
        return unknown("больше " + FormatDouble(kLargestPercent) + " %");
    }
    return figureOf(percent, 0, " %");
}

Reading windowAreaOf(const DesignCheckInput &input, bool toroid) {
    if (toroid) {
        const Reading diameter = readPositive(input.windowWidth, "внутренний диаметр");
        if (!isKnown(diameter)) return diameter;
        return std::numbers::pi * valueOf(diameter) * valueOf(diameter) / 4;
    }
    const Reading width = readPositive(input.windowWidth, "ширина окна");
    const Reading height = readPositive(input.windowHeight, "высота окна");
    return whenKnown({&width, &height}, [&] { return valueOf(width) * valueOf(height); });
}

std::string doesNotFitText(double neededArea, bool toroid) {
    std::string text = "не помещается: нужно окно не меньше " + rounded(neededArea, 0, Rounding::Up) + " мм²";
    if (toroid) {
        const double diameter = std::sqrt(4 * neededArea / std::numbers::pi);
        text += ", внутренний диаметр не меньше " + rounded(diameter, 1, Rounding::Up) + " мм";
    }
    return text;
}

void checkFill(const DesignCheckInput &input, const DesignFigures &d, bool toroid, DesignCheckOutcome &out) {
    // Every turn passes the window once.
    const Reading copper = whenKnown({&d.turnsI, &d.wireSectionI, &d.turnsII, &d.wireSectionII}, [&] {
        return valueOf(d.turnsI) * valueOf(d.wireSectionI) + valueOf(d.turnsII) * valueOf(d.wireSectionII);
    });
    const Reading factor = readFillFactor(input.fillFactor);
    const Reading needed = whenKnown({&copper, &factor}, [&] { return valueOf(copper) / valueOf(factor); });
    const Reading window = windowAreaOf(input, toroid);

    out.copperArea = figureOf(copper, 0, kSquareMillimetres);
    out.neededWindowArea = figureOf(needed, 0, kSquareMillimetres, Rounding::Up);
    out.windowArea = figureOf(window, 0, kSquareMillimetres);
    out.fillPercent =
        percentFigure(whenKnown({&copper, &window}, [&] { return valueOf(copper) / valueOf(window) * 100; }));
    if (std::string message = firstProblem({&needed, &window}); !message.empty()) {
        out.fillVerdict = unknown(std::move(message));
        return;
    }
    const bool fits = valueOf(needed) <= valueOf(window);
    out.fillVerdict = {fits ? "помещается" : doesNotFitText(valueOf(needed), toroid), true};
}

// --- Wire -------------------------------------------------------------------------------

// Nominal round-wire diameters, mm, smallest first: the preferred sizes with the
// intermediate ones, as wire is sold.
constexpr std::array<std::string_view, 33> kNominalDiameters{
    "0,80", "0,85", "0,90", "0,95", "1,00", "1,06", "1,12", "1,18", "1,25", "1,32", "1,40",
    "1,50", "1,60", "1,70", "1,80", "1,90", "2,00", "2,12", "2,24", "2,36", "2,50", "2,65",
    "2,80", "3,00", "3,15", "3,35", "3,55", "3,75", "4,00", "4,25", "4,50", "4,75", "5,00"};
// Thicker than this, a winding is wound of parallel strands, none above the strand limit.
constexpr std::string_view kThickestSingleWire = "5,00";
constexpr std::string_view kThickestStrand = "3,55";

double diameterOf(std::string_view nominal) { return *ParseDouble(nominal); }
double roundWireArea(double diameter) { return std::numbers::pi * diameter * diameter / 4; }

// The smallest nominal diameter whose `strands` wires together have at least `section`.
std::string_view smallestNominal(double section, double strands) {
    for (std::string_view nominal : kNominalDiameters) {
        if (strands * roundWireArea(diameterOf(nominal)) >= section) return nominal;
    }
    return kThickestStrand;  // not reached: strands of the thickest strand always suffice
}

WireChoice chooseWire(const Reading &section) {
    if (!isKnown(section)) return {unknown(std::get<std::string>(section)), unknown(std::get<std::string>(section))};
    const double q = valueOf(section);
    const double diameter = 2 * std::sqrt(q / std::numbers::pi);
    WireChoice choice{{rounded(diameter, 3), true}, {}};
    if (diameter <= diameterOf(kThickestSingleWire)) {
        choice.nominal = {std::string(smallestNominal(q, 1)), true};
        return choice;
    }
    const double strands = std::ceil(q / roundWireArea(diameterOf(kThickestStrand)));
    choice.nominal = {FormatDouble(strands) + " × " + std::string(smallestNominal(q, strands)), true};
    return choice;
}

// --- Voltages ---------------------------------------------------------------------------

constexpr double kHighRiskNoLoadVoltage = 48;  // the same where the risk of a shock is high
constexpr double kStrikeMargin = 1.8;          // no-load over load voltage for a reliable strike

void checkVoltages(const DesignFigures &d, DesignCheckOutcome &out) {
    if (std::string message = firstProblem({&d.current, &d.outputVoltage}); !message.empty()) {
        out.loadVoltage = out.strikeRatio = unknown(message);
        out.voltageVerdict = unknown(std::move(message));
        return;
    }
    const double noLoad = valueOf(d.outputVoltage);
    const double load = 20 + 0.04 * valueOf(d.current);
    out.loadVoltage = {rounded(load, 1), true};
    out.strikeRatio = positiveFigure(noLoad / load, 2, "");

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
    out.voltageVerdict = {verdict.empty() ? "в норме" : verdict, true};
}

// --- Test winding -----------------------------------------------------------------------

// Turns for `voltage` at `voltsPerTurn`: nearest integer, halves to the even one.
CheckFigure correctedTurns(const Reading &voltage, double voltsPerTurn) {
    if (!isKnown(voltage)) return unknown(std::get<std::string>(voltage));
    const Checked<Int16> turns = RealToInt16(valueOf(voltage) / voltsPerTurn);
    if (!turns) return unknown("слишком много витков");
    if (*turns == 0) return unknown("меньше одного витка");
    return {FormatInt16(*turns), true};
}

void setAllTestFigures(DesignCheckOutcome &out, const std::string &message) {
    for (CheckFigure *figure : {&out.testVoltsPerTurn, &out.correctedTurnsI, &out.correctedTurnsII,
                                &out.actualInduction, &out.inductionVerdict}) {
        *figure = unknown(message);
    }
}

void checkTestWinding(const DesignCheckInput &input, const DesignFigures &d, DesignCheckOutcome &out) {
    if (isBlank(input.testTurns) && isBlank(input.testVoltage))
        return setAllTestFigures(out, "пробная обмотка не задана");
    const Reading turns = readPositive(input.testTurns, "витки пробной обмотки");
    const Reading voltage = readPositive(input.testVoltage, "напряжение пробной обмотки");
    if (std::string message = firstProblem({&turns, &voltage}); !message.empty()) {
        return setAllTestFigures(out, message);
    }
    const double measured = valueOf(voltage) / valueOf(turns);  // K′
    out.testVoltsPerTurn = positiveFigure(measured, 3, kVolts);
    out.correctedTurnsI = correctedTurns(d.mainsVoltage, measured);
    out.correctedTurnsII = correctedTurns(d.outputVoltage, measured);
    if (!isKnown(d.coreSection)) {
        out.actualInduction = unknown(std::get<std::string>(d.coreSection));
        out.inductionVerdict = out.actualInduction;
        return;
    }
    const double induction = measured / voltsPerTurnPerTesla(valueOf(d.coreSection));
    out.actualInduction = positiveFigure(induction, 2, " Тл");
    out.inductionVerdict = {induction >= kInductionLimit
                                ? "не меньше " + FormatDouble(kInductionLimit) + " Тл: сталь в насыщении"
                                : "в норме",
                            true};
}

}  // namespace

DesignCheckOutcome CheckDesign(const DesignCheckInput &input) {
    DesignCheckOutcome out;
    const DesignFigures design = readDesign(input);
    out.voltsPerTurn = figureOf(voltsPerTurn(design), 3, kVolts);
    checkFill(input, design, input.design.coreType == kToroidIndex, out);
    out.wireI = chooseWire(design.wireSectionI);
    out.wireII = chooseWire(design.wireSectionII);
    checkVoltages(design, out);
    checkTestWinding(input, design, out);
    return out;
}

}  // namespace tremira::calc
