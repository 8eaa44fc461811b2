#include "field_numbers.h"

#include <algorithm>
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

bool hasNonZeroDigit(std::string_view digits) { return digits.find_first_not_of('0') != std::string_view::npos; }

// Up to 15 digits the digits as an integer and the power of ten are both exact doubles, so
// one correctly rounded division gives the nearest double, as from_chars would, only faster.
constexpr std::size_t kExactDigits = 15;
constexpr std::array<double, kExactDigits + 1> kPowersOfTen{1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                            1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

double convertShortForm(const NumberForm &form) {
    std::int64_t digits = 0;
    for (std::string_view part : {form.integer, form.fraction}) {
        for (char c : part) digits = digits * 10 + (c - '0');
    }
    const double value = static_cast<double>(digits) / kPowersOfTen[form.fraction.size()];
    return form.sign.empty() ? value : -value;
}

// from_chars wants a point; short texts are rebuilt on the stack, long pastes on the heap.
Checked<double> convertForm(const NumberForm &form) {
    if (form.integer.size() + form.fraction.size() <= kExactDigits) return convertShortForm(form);
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

// Digits and decimal exponent of a value rounded to `precision` significant digits, read
// from to_chars' scientific form "[-]d.ddde±XX". Fixed buffers: formatting a result
// allocates nothing but the returned text.
struct Decimal {
    bool negative = false;
    std::array<char, 24> digits{};  // no trailing zeros, at least one digit
    int digitCount = 0;
    int exponent = 0;  // the first digit stands at 10^exponent
};

Decimal readScientific(std::string_view text) {
    Decimal d;
    if (text.front() == '-') {
        d.negative = true;
        text.remove_prefix(1);
    }
    const std::size_t e = text.find('e');
    for (char c : text.substr(0, e)) {
        if (isDigit(c)) d.digits[static_cast<std::size_t>(d.digitCount++)] = c;
    }
    while (d.digitCount > 1 && d.digits[static_cast<std::size_t>(d.digitCount - 1)] == '0') --d.digitCount;
    const bool negativeExponent = text[e + 1] == '-';
    for (char c : text.substr(e + 2)) d.exponent = d.exponent * 10 + (c - '0');
    if (negativeExponent) d.exponent = -d.exponent;
    return d;
}

// The text of a Decimal: plain for exponents -4 .. precision-1, otherwise "d,dddE±XX".
std::string writeDecimal(const Decimal &d, int precision) {
    std::array<char, 48> buf;
    char *out = buf.data();
    const char *digits = d.digits.data();
    const int count = d.digitCount;
    if (d.negative) *out++ = '-';
    if (d.exponent < -4 || d.exponent >= precision) {
        *out++ = digits[0];
        if (count > 1) {
            *out++ = kDecimalSeparator;
            out = std::copy(digits + 1, digits + count, out);
        }
        *out++ = 'E';
        *out++ = d.exponent < 0 ? '-' : '+';
        const int magnitude = std::abs(d.exponent);
        if (magnitude >= 100) *out++ = static_cast<char>('0' + magnitude / 100);
        *out++ = static_cast<char>('0' + magnitude / 10 % 10);
        *out++ = static_cast<char>('0' + magnitude % 10);
    } else if (d.exponent < 0) {
        *out++ = '0';
        *out++ = kDecimalSeparator;
        out = std::fill_n(out, -d.exponent - 1, '0');
        out = std::copy(digits, digits + count, out);
    } else if (count <= d.exponent + 1) {
        out = std::copy(digits, digits + count, out);
        out = std::fill_n(out, d.exponent + 1 - count, '0');
    } else {
        out = std::copy(digits, digits + d.exponent + 1, out);
        *out++ = kDecimalSeparator;
        out = std::copy(digits + d.exponent + 1, digits + count, out);
    }
    return std::string(buf.data(), out);
}

template <typename Real>
std::string formatReal(Real value, int precision) {
    if (value == 0) return "0";  // also for -0: no sign on a zero
    std::array<char, 48> buf;
    const auto result =
        std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::scientific, precision - 1);
    const std::string_view text(buf.data(), static_cast<std::size_t>(result.ptr - buf.data()));
    // The calculation never formats one; a caller that does still gets a text, not a crash.
    if (!std::isfinite(value)) return std::string(text);
    return writeDecimal(readScientific(text), precision);
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
    if (const std::optional<Int16> rounded = RoundHalfEven<Int16>(value)) return *rounded;
    return CalcError::overflow();
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
