// Arbitrary field texts and list indexes through CalculateDesign, SuggestCoreSection, and
// CheckDesign (with the welding current, the choke, the heating and the chart), PlanWinding and
// DrawingOf of each completed design. The input is read as design_fields.h says.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/design_calculation.h"
#include "calc/design_check.h"
#include "calc/winding_plan.h"
#include "fuzz/design_fields.h"
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

bool isReadable(const std::string &text) {
    return text.find("inf") == std::string::npos && text.find("nan") == std::string::npos;
}

// Every row is a text without an infinity or a NaN, empty only where nobody asked for it or a
// tap column past the taps; a known number reads back.
void checkRows(const std::vector<FigureSection> &sections) {
    for (const FigureSection &section : sections) {
        for (const FigureRow &row : section.rows) {
            require(isReadable(row.text), "no row shows an infinity or a NaN");
            require(!row.text.empty() || !row.asked || row.format.key.starts_with("tap_"),
                    "every asked row has a text");
            const bool number = row.format.shown == Shown::Answer && row.format.decimals > 0;
            require(!row.known || !number || !isPlain(row.text) || ParseDouble(row.text).ok(),
                    "a known number reads back");
        }
    }
}

void checkFinite(double value) { require(std::isfinite(value), "a known plan figure is finite"); }

template <typename T, typename Member>
void checkPart(const Figure<T> &figure, Member member) {
    if (figure.known()) checkFinite(static_cast<double>(figure.value().*member));
}

void checkWire(const Figure<WireToBuy> &wire) {
    for (double WireToBuy::*member : {&WireToBuy::meanTurn, &WireToBuy::length, &WireToBuy::lengthInAll,
                                      &WireToBuy::massToBuy, &WireToBuy::resistance}) {
        checkPart(wire, member);
    }
    if (!wire.known()) return;
    // The second mains voltage's wire may be thinner than 1 mm², never thinner than the series' thinnest.
    require(wire.value().turns >= 1 && wire.value().section > 0 && wire.value().lengthToBuy >= 1 &&
                wire.value().lengthToBuyInAll >= wire.value().lengthToBuy,
            "a wire to buy has turns, a section and a length");
}

void checkPlan(const WindingPlan &plan) {
    checkPart(plan.core, &CoreFromSides::section);
    for (const Figure<double> *figure :
         {&plan.buildI, &plan.buildII, &plan.roomLeft, &plan.resistanceI, &plan.copperLosses}) {
        if (figure->known()) checkFinite(figure->value());
    }
    for (const Figure<WireToBuy> *wire : {&plan.wireI, &plan.wireIOuter, &plan.wireII}) checkWire(*wire);
    if (plan.taps.known()) {
        for (const Tap &tap : plan.taps.value().taps()) {
            checkFinite(tap.noLoadVoltage);
            checkFinite(tap.induction);
        }
    }
    checkPart(plan.secondMains, &SecondMains::current);
    checkPart(plan.woundI, &WoundWindingI::copper);
}

// The drawing is made of finite sizes, whatever was typed.
void checkDrawing(const Figure<WindingSizes> &drawing) {
    if (!drawing.known()) return;
    const WindingSizes *sizes = &drawing.value();
    checkFinite(sizes->windowWidth);
    checkFinite(sizes->windowHeight);
    for (const std::optional<double> *size : {&sizes->legWidth, &sizes->buildI, &sizes->buildII}) {
        if (*size) checkFinite(**size);
    }
}

// The chart's curves and line are made of finite points of no negative current or voltage, and
// each curve runs from no load to short circuit.
void checkChart(const Figure<WeldChart> &chart) {
    if (!chart.known()) return;
    const auto checkLine = [](const std::vector<ChartPoint> &line) {
        for (const ChartPoint &point : line) {
            checkFinite(point.current);
            checkFinite(point.voltage);
            require(point.current >= 0 && point.voltage >= 0, "no point of the chart below zero");
        }
    };
    checkLine(chart.value().arcLoad);
    for (const TapCurves &tap : chart.value().taps) {
        require(!tap.bare.empty(), "every tap has its curve");
        for (const std::vector<ChartPoint> *curve : {&tap.bare, &tap.choked}) {
            checkLine(*curve);
            require(curve->empty() || curve->back().voltage == 0, "a curve ends at the short circuit");
        }
    }
}

// The plan of the typed fields as the check reads them.
WindingPlanInput planInputOf(const CheckInput &check) {
    const TypedFields &t = check.typed;
    const auto read = [](std::string_view text) { return PlanReading(ReadPositive(text, {})); };
    WindingPlanInput plan;
    plan.design = check.design;
    plan.results = check.results;
    plan.fillFactor = PlanReading(ReadFillFactor(t.fillFactor));
    plan.windowWidth = read(t.windowWidth);
    plan.windowHeight = read(t.windowHeight);
    plan.legWidth = read(t.legWidth);
    plan.legDepth = read(t.legDepth);
    plan.tapCount = TapCountOf(ReadPositive(t.tapCount, {}));
    plan.lowestTapVoltage = read(t.lowestTapVoltage);
    plan.secondMainsVoltage = read(t.secondMainsVoltage);
    return plan;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    checkFormat<double>(data, size, &FormatDouble, 1e-14);
    checkFormat<Single>(data, size, &FormatSingle, 1e-6);
    const std::optional<tremira::fuzz::DesignFields> fields = tremira::fuzz::ReadDesignFields(data, size);
    if (!fields) return 0;
    const DesignInput &input = fields->design;

    const DesignOutcome outcome = CalculateDesign(input);
    checkMessages(outcome);
    checkSubstitution(input, outcome);
    if (outcome.results) checkResults(input, *outcome.results);
    checkSuggestion(input.weldingCurrent, input.coreType);

    if (!outcome.inputs || !outcome.results) return 0;
    const CheckInput check{*outcome.inputs, *outcome.results, fields->typed};
    const CheckOutcome checked = CheckDesign(check);
    checkRows(checked.check);
    checkRows(checked.plan);
    checkRows(checked.weld);
    checkChart(checked.chart);
    checkDrawing(checked.drawing);

    const WindingPlanInput planInput = planInputOf(check);
    const WindingPlan plan = PlanWinding(planInput);
    checkPlan(plan);
    checkDrawing(DrawingOf(planInput, plan));
    return 0;
}
