#pragma once
// Conversions between the text of a window field and a number, the 16-bit integer
// arithmetic of the calculation, and the checked real arithmetic that raises CalcError.
// Field texts always use the decimal comma (see kDecimalSeparator); nothing here depends
// on the process locale.

#include <cmath>
#include <concepts>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "calc_error.h"

namespace tremira::calc {

using Int16 = std::int16_t;
using Single = float;

// The program is built for the comma: the default induction is "1,42" and the entry filter
// admits only ",". Following a point-decimal system locale would make every design fail.
inline constexpr char kDecimalSeparator = ',';

// Blanks, an optional sign, digits with at most one comma and a digit on one side of it at
// least, blanks: the nearest number. Exponents and grouping are refused (13).
Checked<double> ParseDouble(std::string_view text);
Checked<Single> ParseSingle(std::string_view text);
Checked<Int16> ParseInt16(std::string_view text);

// The nearest value of an integer type, halves to the even one; nothing for a value that is no
// number or lies outside the type's range.
template <std::integral Int>
std::optional<Int> RoundHalfEven(double value) {
    const double rounded = std::nearbyint(value);
    if (!(rounded >= std::numeric_limits<Int>::min() && rounded <= std::numeric_limits<Int>::max())) {
        return std::nullopt;
    }
    return static_cast<Int>(rounded);
}

inline Checked<Int16> RealToInt16(double value) {
    if (const std::optional<Int16> rounded = RoundHalfEven<Int16>(value)) return *rounded;
    return CalcError::overflow();
}
inline Checked<Int16> MultiplyInt16(Int16 a, Int16 b) {
    const std::int32_t product = std::int32_t{a} * std::int32_t{b};
    if (product < std::numeric_limits<Int16>::min() || product > std::numeric_limits<Int16>::max()) {
        return CalcError::overflow();
    }
    return static_cast<Int16>(product);
}

enum class Rounding { Nearest, Up };

// `value` rounded to `decimals` places: Nearest takes halves away from zero, Up goes towards
// +infinity. What is rounded is the shortest decimal that reads back as `value`, the digits the
// program shows of it: 1,005 goes up to 1,01, though the double nearest to 1,005 lies below it.
double RoundToDecimals(double value, int decimals, Rounding rounding = Rounding::Nearest);

std::string FormatInt16(Int16 value);
// At most 7 (single) or 15 (double) significant digits, trailing fraction zeros dropped;
// magnitudes outside 1E-04 .. 1E+precision take an exponent form such as "1,5E+20".
std::string FormatSingle(Single value);
std::string FormatDouble(double value);

// Real arithmetic of the calculation: overflow and 0/0 raise 6, x/0 raises 11.
inline Checked<double> CheckedMultiply(double a, double b) {
    const double product = a * b;
    if (!std::isfinite(product)) return CalcError::overflow();
    return product;
}
inline Checked<double> CheckedDivide(double dividend, double divisor) {
    if (divisor == 0.0) return dividend == 0.0 ? CalcError::overflow() : CalcError::divisionByZero();
    const double quotient = dividend / divisor;
    if (!std::isfinite(quotient)) return CalcError::overflow();
    return quotient;
}
// Storing a double into a single: a value beyond the single range raises 6.
inline Checked<Single> NarrowToSingle(double value) {
    const Single narrowed = static_cast<Single>(value);
    if (!std::isfinite(narrowed)) return CalcError::overflow();
    return narrowed;
}

}  // namespace tremira::calc
