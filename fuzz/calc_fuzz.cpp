// Arbitrary field texts and list indexes through CalculateDesign, SuggestCoreSection, and
// CheckDesign and PlanWinding of each completed design. Input: three bytes, the list indexes of
// Combo1..Combo3 (signed), then the texts of Text4;Text3;Text2;Text1;Text10, of the check's
// window width;window height;fill factor;test turns;test voltage and of the plan's leg side
// a;leg side b;taps;lowest tap voltage;second mains voltage, separated by ";" (the seeds are
// real designs).

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "calc/design_calculation.h"
#include "calc/design_check.h"
#include "calc/winding_plan.h"
#include "calc/winding_plan_texts.h"
#include "fuzz/fuzz_check.h"

namespace {

using namespace tremira::calc;
using tremira::fuzz::require;

constexpr std::string_view kTrapPrefix = "Произошла ошибка: ";

bool isPlain(std::string_view text) { return text.find('E') == std::string_view::npos; }

void checkMessages(const DesignOutcome &outcome) {
    switch (outcome.status) {
    case Status::Completed:
        require(outcome.messages.empty(), "a completed design shows no message");
        require(outcome.afterMessages == AfterMessageAction::None, "a completed design has no action");
        require(outcome.results.has_value(), "a completed design has results");
        break;
    case Status::Refused:
        require(outcome.messages.size() == 1, "a refusal shows exactly one box");
        require(outcome.messages[0].title == "Ошибка ввода!", "a refusal has the input-error title");
        require(outcome.messages[0].icon == MessageIcon::Error, "a refusal has the error icon");
        require(outcome.afterMessages != AfterMessageAction::FocusCoreSection, "a refusal never focuses Text1");
        require(!outcome.results, "a refusal has no results");
        break;
    case Status::Failed: {
        require(!outcome.results, "a failure has no results");
        require(!outcome.messages.empty() && outcome.messages[0].text.starts_with(kTrapPrefix),
                "a failure starts with the error-trap box");
        require(outcome.messages[0].icon == MessageIcon::Information && !outcome.messages[0].title,
                "the error-trap box has the information icon and no title");
        const bool overflow = outcome.messages[0].text.ends_with("6-Переполнение");
        require(outcome.messages.size() == (overflow ? 2U : 1U), "only an overflow adds the second box");
        require(outcome.afterMessages == (overflow ? AfterMessageAction::FocusCoreSection : AfterMessageAction::None),
                "only an overflow moves the focus to Text1");
        break;
    }
    }
}

// The results agree with the inputs, and Text12 reads back as the number it came from.
void checkResults(const DesignInput &input, const ResultNumbers &r) {
    const Checked<Int16> current = ParseInt16(input.weldingCurrent);
    const Checked<Int16> output = ParseInt16(input.outputVoltage);
    require(current.ok() && output.ok() && *current >= 25 && *output >= 48, "completed inputs passed the checks");
    require(r.overallPower == *current * *output, "Text5 is current times output voltage");
    const std::string i1 = FormatSingle(r.i1);
    require(!isPlain(i1) || ParseSingle(i1).ok(), "Text12 reads back");
}

void checkSubstitution(const DesignInput &input, const DesignOutcome &outcome) {
    if (!outcome.substitutedCoreSection) return;
    require(input.coreSection.empty() || input.coreSection == "0", "only an empty or 0 section is replaced");
    require(ParseSingle(FormatDouble(*outcome.substitutedCoreSection)).ok(), "a substituted section is a number");
}

void checkSuggestion(std::string_view current, Int16 coreType) {
    const std::optional<std::string> suggestion = SuggestCoreSection(current, coreType);
    if (current.empty() || current == "0" || !ParseDouble(current).ok()) {
        require(!suggestion, "no number, no suggestion");
        return;
    }
    if (!suggestion) return;  // a current so large that the section overflows
    require(!suggestion->empty(), "a suggestion is a text");
    require(!isPlain(*suggestion) || ParseDouble(*suggestion).ok(), "a plain suggestion reads back");
}

// Any bit pattern formats to a text; a plain text reads back to within its digits.
template <typename Real>
void checkFormat(const std::uint8_t *data, std::size_t size, std::string (*format)(Real), double tolerance) {
    if (size < sizeof(Real)) return;
    Real value;
    std::memcpy(&value, data, sizeof value);
    const std::string text = format(value);
    require(!text.empty() && text.find('.') == std::string::npos, "formatted numbers use the comma");
    if (!std::isfinite(value) || !isPlain(text)) return;
    const Checked<double> back = ParseDouble(text);
    require(back.ok(), "a plain formatted number reads back");
    const double exact = static_cast<double>(value);
    require(std::abs(*back - exact) <= std::abs(exact) * tolerance, "formatting keeps the leading digits");
}

// Every figure of the check is a text, never a NaN or an infinity; a known number reads back.
void checkDesignCheck(const DesignCheckOutcome &out) {
    const DesignCheckOutcome *o = &out;
    const CheckFigure *numbers[] = {
        &o->voltsPerTurn,    &o->copperArea,       &o->neededWindowArea, &o->windowArea,  &o->fillPercent,
        &o->wireI.diameter,  &o->wireII.diameter,  &o->loadVoltage,      &o->strikeRatio, &o->testVoltsPerTurn,
        &o->correctedTurnsI, &o->correctedTurnsII, &o->actualInduction};
    for (const CheckFigure *figure : numbers) {
        require(!figure->text.empty(), "every figure has a text");
        require(figure->text.find("inf") == std::string::npos && figure->text.find("nan") == std::string::npos,
                "no figure shows an infinity or a NaN");
        require(!figure->known || !isPlain(figure->text) || ParseDouble(figure->text).ok(),
                "a known figure reads back");
    }
    for (const CheckFigure *verdict :
         {&o->fillVerdict, &o->wireI.nominal, &o->wireII.nominal, &o->voltageVerdict, &o->inductionVerdict}) {
        require(!verdict->text.empty(), "every verdict has a text");
    }
}

bool isReadable(const std::string &text) {
    return !text.empty() && text.find("inf") == std::string::npos && text.find("nan") == std::string::npos;
}

// A known figure of the plan is a finite number and its text says so; any other says why.
void checkPlanFigure(const Figure<double> &figure) {
    require(!figure.known() || std::isfinite(figure.value()), "a known plan figure is finite");
    require(isReadable(FigureText(figure, 2)), "every plan figure has a text without an infinity or a NaN");
}

template <typename T, typename Member>
void checkPlanPart(const Figure<T> &figure, Member member) {
    if (figure.known()) checkPlanFigure(static_cast<double>(figure.value().*member));
}

void checkWire(const Figure<WireToBuy> &wire) {
    for (double WireToBuy::*member :
         {&WireToBuy::meanTurn, &WireToBuy::length, &WireToBuy::massToBuy, &WireToBuy::resistance}) {
        checkPlanPart(wire, member);
    }
    if (!wire.known()) return;
    require(wire.value().turns >= 1 && wire.value().section >= 1 && wire.value().lengthToBuy >= 1,
            "a wire to buy has turns, a section and a length");
}

void checkPlan(const WindingPlan &plan) {
    checkPlanPart(plan.core, &CoreFromSides::section);
    for (const Figure<double> *figure : {&plan.buildI, &plan.buildII, &plan.resistanceI, &plan.copperLosses}) {
        checkPlanFigure(*figure);
    }
    for (const Figure<WireToBuy> *wire : {&plan.wireI, &plan.wireIOuter, &plan.wireII}) checkWire(*wire);
    if (plan.taps.known()) {
        for (const Tap &tap : plan.taps.value().taps()) {
            checkPlanFigure(tap.noLoadVoltage);
            checkPlanFigure(tap.induction);
            require(isReadable(TapText(tap)), "a tap's text has no infinity or NaN");
        }
    }
    if (plan.secondMains.known()) checkPlanFigure(plan.secondMains.value().current);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    checkFormat<double>(data, size, &FormatDouble, 1e-14);
    checkFormat<Single>(data, size, &FormatSingle, 1e-6);
    if (size < 3) return 0;
    DesignInput input;
    input.materialI = static_cast<std::int8_t>(data[0]);
    input.materialII = static_cast<std::int8_t>(data[1]);
    input.coreType = static_cast<std::int8_t>(data[2]);

    std::string_view rest(reinterpret_cast<const char *>(data + 3), size - 3);
    DesignCheckInput check;
    std::string_view legWidth, legDepth, tapCount, lowestTap, secondMains;
    std::array<std::string_view *, 15> texts{&input.mainsVoltage,
                                             &input.outputVoltage,
                                             &input.weldingCurrent,
                                             &input.coreSection,
                                             &input.induction,
                                             &check.windowWidth,
                                             &check.windowHeight,
                                             &check.fillFactor,
                                             &check.testTurns,
                                             &check.testVoltage,
                                             &legWidth,
                                             &legDepth,
                                             &tapCount,
                                             &lowestTap,
                                             &secondMains};
    for (std::string_view *text : texts) {
        const std::size_t end = rest.find(';');
        *text = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }

    const DesignOutcome outcome = CalculateDesign(input);
    checkMessages(outcome);
    checkSubstitution(input, outcome);
    if (outcome.results) checkResults(input, *outcome.results);
    checkSuggestion(input.weldingCurrent, input.coreType);

    if (!outcome.inputs) return 0;
    check.design = *outcome.inputs;
    check.results = outcome.results;
    checkDesignCheck(CheckDesign(check));
    if (!outcome.results) return 0;

    WindingPlanInput plan;
    plan.design = *outcome.inputs;
    plan.results = *outcome.results;
    plan.materialI = MaterialOf(input.materialI);
    plan.materialII = MaterialOf(input.materialII);
    plan.fillFactor = ReadFillFactor(check.fillFactor);
    plan.windowWidth = ReadPlanNumber(check.windowWidth);
    plan.windowHeight = ReadPlanNumber(check.windowHeight);
    plan.legWidth = ReadPlanNumber(legWidth);
    plan.legDepth = ReadPlanNumber(legDepth);
    plan.tapCount = ReadTapCount(tapCount);
    plan.lowestTapVoltage = ReadPlanNumber(lowestTap);
    plan.secondMainsVoltage = ReadPlanNumber(secondMains);
    checkPlan(PlanWinding(plan));
    return 0;
}
