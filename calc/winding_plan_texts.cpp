#include "winding_plan_texts.h"

#include <cmath>

namespace tremira::calc {
namespace {

// From here on the program's number format turns to the exponent form.
constexpr double kLargestShownFigure = 1e15;

std::string percentOf(double share) { return FormatDouble(share * 100) + " %"; }

}  // namespace

std::string ReasonText(NoFigure reason) {
    switch (reason) {
    case NoFigure::NotGiven: return "не задано";
    case NoFigure::NotANumber: return "не число";
    case NoFigure::OutOfRange: return "вне разумных пределов";
    case NoFigure::DoesNotFit: return "не помещается";
    case NoFigure::NotBelowOutputVoltage: return "нижнее напряжение отводов не ниже выходного";
    case NoFigure::NoneInSeries: return "больше " + FormatDouble(kLargestBreakerRating) + " А: автомата этого ряда нет";
    }
    return {};
}

std::string FigureText(const Figure<double> &figure, int decimals) {
    if (!figure.known()) return ReasonText(*figure.reason());
    const double shown = RoundToDecimals(figure.value(), decimals);
    if (shown == 0) return "меньше " + FormatDouble(std::pow(10.0, -decimals));
    if (!(std::abs(shown) < kLargestShownFigure)) return "слишком большое число";
    return FormatDouble(shown);
}

std::string SectionMatchText(SectionMatch match) {
    switch (match) {
    case SectionMatch::WithinTolerance: return "совпадает с S (в пределах " + percentOf(kSectionTolerance) + ")";
    case SectionMatch::SidesGiveLess:
        return "меньше S более чем на " + percentOf(kSectionTolerance) + ", расчёт сделан для S";
    case SectionMatch::SidesGiveMore:
        return "больше S более чем на " + percentOf(kSectionTolerance) + ", расчёт сделан для S";
    }
    return {};
}

std::string FitText(const Figure<bool> &fits) {
    if (!fits.known()) return ReasonText(*fits.reason());
    return fits.value() ? "помещается" : "не помещается";
}

std::string SpanText(const TurnSpan &span) { return FormatDouble(span.first) + "–" + FormatDouble(span.last); }

std::string TapText(const Tap &tap) {
    std::string text = FormatDouble(tap.turns) + " вит. / " + FigureText(tap.noLoadVoltage, 1) + " В / " +
                       FigureText(tap.induction, 2) + " Тл";
    const std::string warnings = TapWarningsText(tap);
    if (!warnings.empty()) text += " / " + warnings;
    return text;
}

std::string TapWarningsText(const Tap &tap) {
    std::string text;
    if (tap.aboveSafeVoltage) text = "выше " + FormatDouble(kSafeNoLoadVoltage) + " В";
    if (tap.saturated) {
        if (!text.empty()) text += " / ";
        text += "не меньше " + FormatDouble(kInductionLimit) + " Тл: насыщение";
    }
    return text;
}

std::string SupplyText(bool needsDedicatedLine) {
    if (!needsDedicatedLine) return "бытовая розетка (до " + FormatDouble(kLargestSocketCurrent) + " А)";
    return "не от бытовой розетки (до " + FormatDouble(kLargestSocketCurrent) + " А): нужна отдельная линия";
}

}  // namespace tremira::calc
