#include "ui/check/plan_texts.h"

#include <cmath>

#include "calc/field_numbers.h"
#include "ui/fields/utf8_text.h"

namespace tremira::ui {

QString DecimalText(double value, int decimals) {
    return ToQString(calc::FormatDouble(calc::RoundToDecimals(value, decimals)));
}

QString SignificantText(double value) {
    constexpr int kFigures = 3;
    if (value == 0 || !std::isfinite(value)) return DecimalText(value, 0);
    const int magnitude = static_cast<int>(std::floor(std::log10(std::abs(value))));
    return DecimalText(value, std::max(0, kFigures - 1 - magnitude));
}

QString ReasonText(calc::NoFigure reason) {
    switch (reason) {
    case calc::NoFigure::NotGiven: return QStringLiteral("не задано");
    case calc::NoFigure::OutOfRange: return QStringLiteral("вне разумных пределов");
    case calc::NoFigure::DoesNotFit: return QStringLiteral("не помещается");
    case calc::NoFigure::NotBelowOutputVoltage: return QStringLiteral("нижнее напряжение не ниже выходного");
    case calc::NoFigure::NoneInSeries: return QStringLiteral("ток выше наибольшего автомата ряда");
    }
    return {};
}

}  // namespace tremira::ui
