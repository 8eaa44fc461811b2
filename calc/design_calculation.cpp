#include "design_calculation.h"

#include <cmath>

namespace tremira::calc {
namespace {

constexpr std::string_view kInputErrorTitle = "Ошибка ввода!";

UserMessage inputError(std::string_view text) { return {text, kInputErrorTitle, MessageIcon::Error}; }

const UserMessage kFieldsNotFilled = inputError("Не все поля заполнены!");
const UserMessage kVoltageOrder = inputError("Выходное напряжение больше или равно входному!");
const UserMessage kInductionTooHigh = inputError("Значение Макс. индукции завышено! Исправте значение");
const UserMessage kCurrentTooLow = inputError("Ток сварки слишком мал! Введите другое значение.");
const UserMessage kCoreSectionTooSmall =
    inputError("Сечение сердечника слишком мало! Введите другое значение или оставте поле пустым,"
               "\rпрограмма сама подставит нужное значение.");
const UserMessage kOutputVoltageTooLow = inputError("Выходное напряжение мало! Введите другое значение.");
const UserMessage kValueTooSmall{"Введенное значение слишком мало!", std::nullopt, MessageIcon::None};

// "Произошла ошибка: " + Number + "-" + Description, one static text per error.
std::string_view errorTrapText(const CalcError &error) {
    switch (error.Number) {
    case CalcError::Overflow: return "Произошла ошибка: 6-Переполнение";
    case CalcError::DivisionByZero: return "Произошла ошибка: 11-Деление на ноль";
    default: return "Произошла ошибка: 13-Несоответствие типа";
    }
}

constexpr Single kCoreSectionLimit = 10.0F;
constexpr Int16 kMinimumCurrent = 25;
constexpr Int16 kMinimumOutputVoltage = 48;

bool isUnfilled(std::string_view text) { return text.empty() || text == "0"; }

void refuse(DesignOutcome &outcome, const UserMessage &message, AfterMessageAction action = AfterMessageAction::None) {
    outcome.status = Status::Refused;
    outcome.messages.push_back(message);
    outcome.afterMessages = action;
}

void fail(DesignOutcome &outcome, const CalcError &error) {
    outcome.status = Status::Failed;
    outcome.messages.push_back({errorTrapText(error), std::nullopt, MessageIcon::Information});
    if (error.Number == CalcError::Overflow) {
        outcome.messages.push_back(kValueTooSmall);
        outcome.afterMessages = AfterMessageAction::FocusCoreSection;
    }
}

// Everything after the checks, in the types the design fixes, written into `numbers`; the
// error that ends the arithmetic, if one does.
std::optional<CalcError> computeResults(Int16 u1, Int16 u2, Int16 current, Single b, Single s, const DesignInput &input,
                                        ResultNumbers &numbers) {
    double product = b;
    for (double factor : {kVoltsPerTurnFactor, static_cast<double>(s), kCoreStackingFactor}) {
        const Checked<double> next = CheckedMultiply(product, factor);
        if (!next) return next.error();
        product = *next;
    }
    const Checked<Single> k = NarrowToSingle(product);
    if (!k) return k.error();

    Int16 turns[2];
    const Int16 voltages[2] = {u1, u2};
    for (int i = 0; i < 2; ++i) {
        const Checked<double> quotient = CheckedDivide(voltages[i], *k);
        if (!quotient) return quotient.error();
        const Checked<Int16> rounded = RealToInt16(*quotient);
        if (!rounded) return rounded.error();
        turns[i] = *rounded;
    }
    const Int16 w1 = turns[0];
    const Int16 w2 = turns[1];

    const Checked<Int16> ampereTurns = MultiplyInt16(current, w2);
    if (!ampereTurns) return ampereTurns.error();
    const Checked<double> i1Wide = CheckedDivide(*ampereTurns, w1);
    if (!i1Wide) return i1Wide.error();
    const Checked<Single> i1 = NarrowToSingle(*i1Wide);
    if (!i1) return i1.error();

    const Checked<Int16> overallPower = MultiplyInt16(current, u2);
    if (!overallPower) return overallPower.error();

    const Checked<Int16> toroidPower = MultiplyInt16(current, 25);
    if (!toroidPower) return toroidPower.error();
    Int16 requiredPower = *toroidPower;
    if (input.coreType != kToroidIndex) {
        const Checked<Int16> rodPower = RealToInt16(*toroidPower * 1.4);
        if (!rodPower) return rodPower.error();
        requiredPower = *rodPower;
    }

    const Checked<Int16> q1 = RealToInt16(static_cast<double>(*i1) / CurrentDensityOf(MaterialOf(input.materialI)));
    if (!q1) return q1.error();
    const Checked<Int16> q2 =
        RealToInt16(static_cast<double>(current) / CurrentDensityOf(MaterialOf(input.materialII)));
    if (!q2) return q2.error();

    numbers = ResultNumbers{*overallPower, w1, w2, *q1, *q2, requiredPower, *i1};
    return std::nullopt;
}

// The steps in their order; each refusal or error ends the run where it stands.
void runDesign(const DesignInput &input, DesignOutcome &outcome) {
    if (isUnfilled(input.mainsVoltage) || isUnfilled(input.outputVoltage) || isUnfilled(input.weldingCurrent) ||
        isUnfilled(input.induction)) {
        return refuse(outcome, kFieldsNotFilled);
    }

    const Checked<Int16> u1 = ParseInt16(input.mainsVoltage);
    if (!u1) return fail(outcome, u1.error());
    const Checked<Int16> u2 = ParseInt16(input.outputVoltage);
    if (!u2) return fail(outcome, u2.error());
    if (*u2 >= *u1) return refuse(outcome, kVoltageOrder);

    const Checked<double> inductionText = ParseDouble(input.induction);
    if (!inductionText) return fail(outcome, inductionText.error());
    if (*inductionText >= kInductionLimit) return refuse(outcome, kInductionTooHigh);

    const Checked<Int16> current = ParseInt16(input.weldingCurrent);
    if (!current) return fail(outcome, current.error());
    if (*current < kMinimumCurrent) return refuse(outcome, kCurrentTooLow, AfterMessageAction::ClearCoreSection);

    // The induction as a single: the number already read, stored into the narrower type.
    const Checked<Single> induction = NarrowToSingle(*inductionText);
    if (!induction) return fail(outcome, induction.error());

    // A substituted section is read back from its text, as the window reads Text1 later.
    std::string substituted;
    std::string_view coreSectionText = input.coreSection;
    if (isUnfilled(coreSectionText)) {
        substituted =
            FormatDouble(outcome.substitutedCoreSection.emplace(RequiredCoreSection(*current, input.coreType)));
        coreSectionText = substituted;
    }
    const Checked<Single> coreSection = ParseSingle(coreSectionText);
    if (!coreSection) return fail(outcome, coreSection.error());
    if (*coreSection < kCoreSectionLimit) return refuse(outcome, kCoreSectionTooSmall);

    if (*u2 < kMinimumOutputVoltage) {
        return refuse(outcome, kOutputVoltageTooLow, AfterMessageAction::FocusOutputVoltage);
    }

    ResultNumbers &numbers = outcome.results.emplace();
    if (const std::optional<CalcError> error =
            computeResults(*u1, *u2, *current, *induction, *coreSection, input, numbers)) {
        outcome.results.reset();
        return fail(outcome, *error);
    }
    outcome.inputs = InputNumbers{*u1,
                                  *u2,
                                  *current,
                                  *coreSection,
                                  *induction,
                                  input.coreType,
                                  MaterialOf(input.materialI),
                                  MaterialOf(input.materialII)};
    outcome.status = Status::Completed;
}

}  // namespace

Material MaterialOf(Int16 listIndex) { return listIndex == 0 ? Material::Copper : Material::Aluminium; }

Int16 CurrentDensityOf(Material material) {
    return material == Material::Copper ? kCopperCurrentDensity : kAluminiumCurrentDensity;
}

double RequiredCoreSection(double weldingCurrent, Int16 coreType) {
    const double toroid = weldingCurrent * 0.378;
    return coreType == kToroidIndex ? toroid : toroid * 1.4;
}

std::optional<std::string> SuggestCoreSection(std::string_view weldingCurrentText, Int16 coreType) {
    if (isUnfilled(weldingCurrentText)) return std::nullopt;
    const Checked<double> current = ParseDouble(weldingCurrentText);
    if (!current) return std::nullopt;
    const double section = RequiredCoreSection(*current, coreType);
    if (!std::isfinite(section)) return std::nullopt;  // an overflow of the real arithmetic
    return FormatDouble(section);
}

DesignOutcome CalculateDesign(const DesignInput &input) {
    DesignOutcome outcome;
    runDesign(input, outcome);
    return outcome;
}

}  // namespace tremira::calc
