#include "field_numbers.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace tremira::calc {
namespace {

constexpr bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The accepted form: blanks, an optional sign, digits with at most one separator
// (digits on at least one side of it), blanks. Exponents and grouping are refused.
struct NumberForm {
    bool valid = false;
    std::string_view sign;      // "" or "-"
    std::string_view integer;   // digits before the separator
    std::string_view fraction;  // digits after it
};

NumberForm readNumberForm(std::string_view text) {
    NumberForm form;
    std::size_t pos = text.find_first_not_of(' ');
    if (pos == std::string_view::npos) return form;
    std::size_t end = text.find_last_not_of(' ') + 1;
    if (text[pos] == '+' || text[pos] == '-') {
        if (text[pos] == '-') form.sign = "-";
        ++pos;
    }
    std::size_t intStart = pos;
    while (pos < end && isDigit(text[pos])) ++pos;
    form.integer = text.substr(intStart, pos - intStart);
    if (pos < end && text[pos] == kDecimalSeparator) {
        std::size_t fracStart = ++pos;
        while (pos < end && isDigit(text[pos])) ++pos;
        form.fraction = text.substr(fracStart, pos - fracStart);
    }
    form.valid = pos == end && !(form.integer.empty() && form.fraction.empty());
    return form;
}

bool hasNonZeroDigit(std::string_view digits) {
    return digits.find_first_not_of('0') != std::string_view::npos;
}

// from_chars wants a point; short texts are rebuilt on the stack, long pastes on the heap.
Checked<double> convertForm(const NumberForm &form) {
    const std::size_t length = form.sign.size() + form.integer.size() + 1 + form.fraction.size() + 1;
    std::array<char, 128> stackBuffer;
    std::string heapBuffer;
    char *buffer = stackBuffer.data();
    if (length > stackBuffer.size()) {
        heapBuffer.resize(length);
        buffer = heapBuffer.data();
    }
    char *out = buffer;
    for (std::string_view part : {form.sign, form.integer}) out = std::copy(part.begin(), part.end(), out);
    if (form.integer.empty()) *out++ = '0';
    *out++ = '.';
    out = std::copy(form.fraction.begin(), form.fraction.end(), out);
    if (form.fraction.empty()) *out++ = '0';

    double value = 0.0;
    auto [ptr, ec] = std::from_chars(buffer, out, value, std::chars_format::fixed);
    if (ec == std::errc::result_out_of_range) {
        // Too large is an overflow; too small becomes zero, as in the arithmetic.
        if (hasNonZeroDigit(form.integer)) return CalcError::overflow();
        return form.sign.empty() ? 0.0 : -0.0;
    }
    if (ec != std::errc() || ptr != out) return CalcError::typeMismatch();
    return value;
}

// Digits and decimal exponent of a value rounded to `precision` significant digits.
struct Decimal {
    bool negative = false;
    std::string digits;  // no trailing zeros, at least one digit
    int exponent = 0;    // value = 0.d1d2d3... × 10^(exponent + 1), i.e. d1 stands at 10^exponent
};

template <typename Real>
Decimal roundToSignificant(Real value, int precision) {
    Decimal d;
    std::array<char, 64> buf;
    auto result = std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::scientific,
                                precision - 1);
    std::string_view text(buf.data(), static_cast<std::size_t>(result.ptr - buf.data()));
    if (!text.empty() && text.front() == '-') {
        d.negative = true;
        text.remove_prefix(1);
    }
    const std::size_t e = text.find('e');
    for (char c : text.substr(0, e)) {
        if (isDigit(c)) d.digits.push_back(c);
    }
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+'), text.data() + text.size(), d.exponent);
    while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
    return d;
}

template <typename Real>
std::string formatReal(Real value, int precision) {
    if (value == 0) return "0";  // also for -0: no sign on a zero
    if (!std::isfinite(value)) {
        // The calculation never formats one; a caller that does still gets a text, not a crash.
        std::array<char, 8> buf;
        const auto result = std::to_chars(buf.data(), buf.data() + buf.size(), value);
        return std::string(buf.data(), result.ptr);
    }
    const Decimal d = roundToSignificant(value, precision);
    std::string text = d.negative ? "-" : "";
    const int digitCount = static_cast<int>(d.digits.size());
    if (d.exponent < -4 || d.exponent >= precision) {
        text += d.digits[0];
        if (digitCount > 1) {
            text += kDecimalSeparator;
            text.append(d.digits, 1);
        }
        text += d.exponent < 0 ? "E-" : "E+";
        const int magnitude = std::abs(d.exponent);
        if (magnitude < 10) text += '0';
        text += std::to_string(magnitude);
    } else if (d.exponent < 0) {
        text += '0';
        text += kDecimalSeparator;
        text.append(static_cast<std::size_t>(-d.exponent - 1), '0');
        text += d.digits;
    } else if (digitCount <= d.exponent + 1) {
        text += d.digits;
        text.append(static_cast<std::size_t>(d.exponent + 1 - digitCount), '0');
    } else {
        text.append(d.digits, 0, static_cast<std::size_t>(d.exponent + 1));
        text += kDecimalSeparator;
        text.append(d.digits, static_cast<std::size_t>(d.exponent + 1));
    }
    return text;
}

}  // namespace

Checked<double> ParseDouble(std::string_view text) {
    const NumberForm form = readNumberForm(text);
    if (!form.valid) return CalcError::typeMismatch();
    return convertForm(form);
}

Checked<Single> ParseSingle(std::string_view text) {
    const Checked<double> value = ParseDouble(text);
    if (!value) return value.error();
    return NarrowToSingle(*value);
}

Checked<Int16> ParseInt16(std::string_view text) {
    const Checked<double> value = ParseDouble(text);
    if (!value) return value.error();
    return RealToInt16(*value);
}

Checked<Int16> RealToInt16(double value) {
    const double rounded = std::nearbyint(value);  // round-half-even in the default mode
    if (!(rounded >= std::numeric_limits<Int16>::min() && rounded <= std::numeric_limits<Int16>::max())) {
        return CalcError::overflow();
    }
    return static_cast<Int16>(rounded);
}

Checked<Int16> MultiplyInt16(Int16 a, Int16 b) {
    const std::int32_t product = std::int32_t{a} * std::int32_t{b};
    if (product < std::numeric_limits<Int16>::min() || product > std::numeric_limits<Int16>::max()) {
        return CalcError::overflow();
    }
    return static_cast<Int16>(product);
}

std::string FormatInt16(Int16 value) { return std::to_string(value); }

std::string FormatSingle(Single value) { return formatReal(value, 7); }

std::string FormatDouble(double value) { return formatReal(value, 15); }

Checked<double> CheckedMultiply(double a, double b) {
    const double product = a * b;
    if (!std::isfinite(product)) return CalcError::overflow();
    return product;
}

Checked<double> CheckedDivide(double dividend, double divisor) {
    if (divisor == 0.0) return dividend == 0.0 ? CalcError::overflow() : CalcError::divisionByZero();
    const double quotient = dividend / divisor;
    if (!std::isfinite(quotient)) return CalcError::overflow();
    return quotient;
}

Checked<Single> NarrowToSingle(double value) {
    const Single narrowed = static_cast<Single>(value);
    if (!std::isfinite(narrowed)) return CalcError::overflow();
    return narrowed;
}

}  // namespace tremira::calc
