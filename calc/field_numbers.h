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

Checked<double> ParseDouble(std::string_view text);
Checked<Single> ParseSingle(std::string_view text);
Checked<Int16> ParseInt16(std::string_view text);

// The nearest value of an integer type, halves to the even one; nothing for a value that is no
// number or lies outside the type's range.
template <std::integral Int>
std::optional<Int> RoundHalfEven(double value) {
    const double rounded = std::nearbyint(value);  // round-half-even in the default mode
    if (!(rounded >= std::numeric_limits<Int>::min() && rounded <= std::numeric_limits<Int>::max())) {
        return std::nullopt;
    }
    return static_cast<Int>(rounded);
}

// Nearest integer, halves to the even one.
Checked<Int16> RealToInt16(double value);
Checked<Int16> MultiplyInt16(Int16 a, Int16 b);

std::string FormatInt16(Int16 value);
// At most 7 (single) or 15 (double) significant digits, trailing fraction zeros dropped;
// magnitudes outside 1E-04 .. 1E+precision take an exponent form such as "1,5E+20".
std::string FormatSingle(Single value);
std::string FormatDouble(double value);

// Real arithmetic of the calculation: overflow and 0/0 raise 6, x/0 raises 11.
Checked<double> CheckedMultiply(double a, double b);
Checked<double> CheckedDivide(double dividend, double divisor);
// Storing a double into a single: a value beyond the single range raises 6.
Checked<Single> NarrowToSingle(double value);

}  // namespace tremira::calc
