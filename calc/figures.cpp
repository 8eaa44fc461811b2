#include "figures.h"

#include <cmath>

namespace tremira::calc {
namespace {

// From here on the program's number format turns to the exponent form.
constexpr double kLargestShownFigure = 1e15;

std::string wordsOf(NoFigure kind) {
    switch (kind) {
    case NoFigure::NotGiven: return "не задано";
    case NoFigure::NotANumber: return "не число";
    case NoFigure::OutOfRange: return "вне разумных пределов";
    case NoFigure::NotAboveZero: return "нужно больше нуля";
    case NoFigure::TooSmallNumber: return "слишком малое число";
    case NoFigure::TooLargeNumber: return "слишком большое число";
    case NoFigure::AboveOne: return "нужно не больше 1";
    case NoFigure::BelowSmallestFillFactor: return "нужно не меньше " + FormatDouble(kSmallestFillFactor);
    case NoFigure::DoesNotFit: return "не помещается";
    case NoFigure::NoTurnInLayer: return "в слой не помещается ни одного витка";
    case NoFigure::NotBelowOutputVoltage: return "нижнее напряжение отводов не ниже выходного";
    case NoFigure::NoneInSeries: return "больше " + FormatDouble(kLargestBreakerRating) + " А: автомата этого ряда нет";
    case NoFigure::TestWindingNotGiven: return "пробная обмотка не задана";
    case NoFigure::TooManyTurns: return "слишком много витков";
    case NoFigure::LessThanOneTurn: return "меньше одного витка";
    case NoFigure::NotAnArrangement: return "нужно «один» или «разные»";
    case NoFigure::NotAnInsulationClass: return "нужно B, F или H";
    case NoFigure::NeedsMeasurement: return "обмотки на разных стержнях: нужен замер тока сварки";
    case NoFigure::MeasuredAboveReach: return "замер больше тока, возможного на этом отводе";
    case NoFigure::NoArc: return "нет дуги: U хх не выше 20 В";
    case NoFigure::CurrentOutOfReach: return "ток сварки не достигается даже без дросселя";
    case NoFigure::ChokeNotNeeded: return "дроссель не нужен";
    case NoFigure::OverheatsIdle: return "перегрев даже без сварки";
    }
    return {};
}

bool isBlank(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

}  // namespace

std::string ReasonText(const Reason &reason) {
    if (reason.subject.empty()) return wordsOf(reason.kind);
    std::string text(reason.subject);
    text += ": ";
    text += wordsOf(reason.kind);
    return text;
}

Figure<double> Positive(double value, std::string_view subject) {
    if (std::isnan(value)) return Reason{NoFigure::NotANumber, subject};
    if (value <= 0) return Reason{NoFigure::NotAboveZero, subject};
    if (value < kSmallestInput) return Reason{NoFigure::TooSmallNumber, subject};
    if (value > kLargestInput) return Reason{NoFigure::TooLargeNumber, subject};
    return value;
}

Figure<double> ReadPositive(std::string_view text, std::string_view subject) {
    if (isBlank(text)) return Reason{NoFigure::NotGiven, subject};
    const Checked<double> value = ParseDouble(text);
    if (!value) {
        return Reason{value.error().Number == CalcError::TypeMismatch ? NoFigure::NotANumber : NoFigure::TooLargeNumber,
                      subject};
    }
    return Positive(*value, subject);
}

Figure<double> ReadPositiveOr(std::string_view text, std::string_view usual, std::string_view subject) {
    return ReadPositive(isBlank(text) ? usual : text, subject);
}

Figure<double> ReadFillFactor(std::string_view text) {
    constexpr std::string_view kSubject = "коэффициент заполнения";
    const Figure<double> factor = ReadPositiveOr(text, kDefaultFillFactor, kSubject);
    if (!factor.known()) return factor;
    if (factor.value() > 1) return Reason{NoFigure::AboveOne, kSubject};
    if (factor.value() < kSmallestFillFactor) return Reason{NoFigure::BelowSmallestFillFactor, kSubject};
    return factor;
}

FigureRow NumberRow(const RowFormat &format, const Figure<double> &figure) {
    if (!figure.known()) return {format, ReasonText(figure.why()), false};
    const double shown = RoundToDecimals(figure.value(), format.decimals, format.rounding);
    if (shown == 0) {
        std::string text = "меньше " + FormatDouble(std::pow(10.0, -format.decimals));
        if (format.small == SmallFigure::NamesUnit) text += format.unit;
        return {format, std::move(text), false};
    }
    if (!(std::abs(shown) < kLargestShownFigure)) return {format, wordsOf(NoFigure::TooLargeNumber), false};
    return {format, FormatDouble(shown), true};
}

FigureRow TextRow(const RowFormat &format, std::string text, bool known) { return {format, std::move(text), known}; }

namespace {

template <typename T, typename Text>
FigureRow inputRow(std::string_view name, std::string_view caption, const Figure<T> &reading, Text text,
                   std::span<const std::string_view> choices = {}) {
    const RowFormat format{name, {}, caption, {}, 0, Shown::Input, {}, {}, choices};
    if (!reading.known()) return {format, wordsOf(reading.why().kind), false};
    return {format, text(reading.value()), true};
}

}  // namespace

FigureRow InputRow(std::string_view name, std::string_view caption, const Figure<double> &reading) {
    return inputRow(name, caption, reading, FormatDouble);
}

FigureRow InputRow(std::string_view name, std::string_view caption, const Figure<std::string_view> &reading,
                   std::span<const std::string_view> choices) {
    return inputRow(
        name, caption, reading, [](std::string_view entry) { return std::string(entry); }, choices);
}

const FigureRow *FindRow(const std::vector<FigureSection> &sections, std::string_view key) {
    for (const FigureSection &section : sections) {
        for (const FigureRow &row : section.rows) {
            if (row.format.key == key) return &row;
        }
    }
    return nullptr;
}

}  // namespace tremira::calc
