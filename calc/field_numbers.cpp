#include "field_numbers.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <compare>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <type_traits>
#include <utility>

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
    std::uint64_t digits = 0;   // the digits of both as one integer, when there are few enough
};

// Up to 15 digits the digits as an integer and the power of ten are both exact doubles, so
// one correctly rounded division gives the nearest double, as from_chars would, only faster.
constexpr std::size_t kExactDigits = 15;
// 10^22 is the largest power of ten a double holds exactly.
constexpr int kMaxExactPowerOfTen = 22;
constexpr std::array<double, kMaxExactPowerOfTen + 1> kExactPowersOfTen{1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Digits from `p` on, added to `value`; past kExactDigits of them the value wraps and is not used.
// The sum stays in a local: through the reference every character read would reload it.
const char *readDigits(const char *p, const char *end, std::uint64_t &value) {
    std::uint64_t sum = value;
    for (; p < end && isDigit(*p); ++p) sum = sum * 10 + static_cast<std::uint64_t>(*p - '0');
    value = sum;
    return p;
}

NumberForm readNumberForm(std::string_view text) {
    NumberForm form;
    const char *p = text.data();
    const char *end = p + text.size();
    while (p < end && *p == ' ') ++p;
    while (end > p && end[-1] == ' ') --end;
    if (p == end) return form;
    if (*p == '+' || *p == '-') {
        if (*p == '-') form.sign = "-";
        ++p;
    }
    const char *integerEnd = readDigits(p, end, form.digits);
    form.integer = std::string_view(p, integerEnd);
    p = integerEnd;
    if (p < end && *p == kDecimalSeparator) {
        const char *fractionEnd = readDigits(++p, end, form.digits);
        form.fraction = std::string_view(p, fractionEnd);
        p = fractionEnd;
    }
    form.valid = p == end && !(form.integer.empty() && form.fraction.empty());
    return form;
}

bool hasNonZeroDigit(std::string_view digits) { return digits.find_first_not_of('0') != std::string_view::npos; }

double convertShortForm(const NumberForm &form) {
    const double value = static_cast<double>(form.digits) / kExactPowersOfTen[form.fraction.size()];
    return form.sign.empty() ? value : -value;
}

// from_chars wants a point; short texts are rebuilt on the stack, long pastes on the heap.
// Kept out of line: its buffers would otherwise cost every short number their set-up.
[[gnu::noinline]] Checked<double> convertLongForm(const NumberForm &form) {
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

// A value rounded to `precision` significant digits: its digits as one integer and the
// decimal exponent of the first. Formatting a result allocates nothing but the returned text.
struct Decimal {
    bool negative = false;
    std::uint64_t digits = 0;  // no trailing zeros, at least one digit
    int digitCount = 0;
    int exponent = 0;  // the first digit stands at 10^exponent
};

// Up to kZeros trailing zeros off the digits at once; the divisor is a constant, so the
// compiler turns the division into a multiplication.
template <std::uint64_t kDivisor, int kZeros>
void dropZeros(std::uint64_t &digits, int &count) {
    if (count > kZeros && digits % kDivisor == 0) {
        digits /= kDivisor;
        count -= kZeros;
    }
}

// `count` digits of `digits`, trailing zeros dropped (at most 15 of them). Inline, so that
// the fields are stored one by one where they are read: a copied whole would stall its load.
[[gnu::always_inline]] inline Decimal decimalOf(bool negative, std::uint64_t digits, int count, int exponent) {
    dropZeros<100000000, 8>(digits, count);
    dropZeros<10000, 4>(digits, count);
    dropZeros<100, 2>(digits, count);
    dropZeros<10, 1>(digits, count);
    return Decimal{negative, digits, count, exponent};
}

// The same from to_chars' scientific form "[-]d.ddde±XX".
Decimal readScientific(std::string_view text) {
    const bool negative = text.front() == '-';
    if (negative) text.remove_prefix(1);
    const std::size_t e = text.find('e');
    std::uint64_t digits = 0;
    int count = 0;
    for (char c : text.substr(0, e)) {
        if (!isDigit(c)) continue;
        digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
        ++count;
    }
    int exponent = 0;
    for (char c : text.substr(e + 2)) exponent = exponent * 10 + (c - '0');
    return decimalOf(negative, digits, count, text[e + 1] == '-' ? -exponent : exponent);
}

// The `count` digits of `digits` with the separator after the first `whole` of them (none
// when `whole` >= `count`), written from the last digit back, each straight into its place:
// digits built apart and then copied cost a stalled load per copy.
char *writeDigits(char *out, std::uint64_t digits, int count, int whole) {
    char *end = out + count + (whole < count ? 1 : 0);
    char *p = end;
    for (int i = count - 1; i >= 0; --i, digits /= 10) {
        *--p = static_cast<char>('0' + digits % 10);
        if (i == whole) *--p = kDecimalSeparator;
    }
    return end;
}

// At most 16 zeros, set as one block: every buffer written here has room for it.
char *writeZeros(char *out, int count) {
    std::memset(out, '0', 16);
    return out + count;
}

// The text of a Decimal: plain for exponents -4 .. precision-1, otherwise "d,dddE±XX".
char *writeDecimal(char *out, const Decimal &d, int precision) {
    const int count = d.digitCount;
    if (d.negative) *out++ = '-';
    if (d.exponent < -4 || d.exponent >= precision) {
        out = writeDigits(out, d.digits, count, 1);
        *out++ = 'E';
        *out++ = d.exponent < 0 ? '-' : '+';
        const int magnitude = std::abs(d.exponent);
        if (magnitude >= 100) *out++ = static_cast<char>('0' + magnitude / 100);
        *out++ = static_cast<char>('0' + magnitude / 10 % 10);
        *out++ = static_cast<char>('0' + magnitude % 10);
    } else if (d.exponent < 0) {
        *out++ = '0';
        *out++ = kDecimalSeparator;
        out = writeZeros(out, -d.exponent - 1);
        out = writeDigits(out, d.digits, count, count);
    } else if (count <= d.exponent + 1) {
        out = writeDigits(out, d.digits, count, count);
        out = writeZeros(out, d.exponent + 1 - count);
    } else {
        out = writeDigits(out, d.digits, count, d.exponent + 1);
    }
    return out;
}

// Rounding to significant digits with exact integer arithmetic: a finite value is
// mantissa · 2^binaryExponent, so value · 10^power is a quotient of integers that fit in 128
// bits for every value a calculation formats. This is what to_chars does, several times faster.
__extension__ using UInt128 = unsigned __int128;

constexpr int kMaxPower128 = 38;
constexpr std::array<UInt128, kMaxPower128 + 1> kPowersOfTen128 = [] {
    std::array<UInt128, kMaxPower128 + 1> powers{};
    UInt128 power = 1;
    for (UInt128 &entry : powers) {
        entry = power;
        power *= 10;
    }
    return powers;
}();

int bitWidth(UInt128 value) {
    const auto high = static_cast<std::uint64_t>(value >> 64);
    return high != 0 ? 64 + std::bit_width(high) : std::bit_width(static_cast<std::uint64_t>(value));
}

// The whole part of a quotient and where its remainder stands against one half.
struct Scaled {
    UInt128 whole = 0;
    std::strong_ordering remainderToHalf = std::strong_ordering::less;
};

Scaled divideExactly(UInt128 numerator, UInt128 denominator) {
    const UInt128 whole = numerator / denominator;
    const UInt128 remainder = numerator - whole * denominator;
    return Scaled{whole, remainder <=> denominator - remainder};
}

// mantissa · 2^binaryExponent · 10^power, truncated; nothing when it does not fit.
std::optional<Scaled> scaleExactly(std::uint64_t mantissa, int binaryExponent, int power) {
    if (power > kMaxPower128 || -power > kMaxPower128) return std::nullopt;
    UInt128 numerator = mantissa;
    UInt128 denominator = 1;
    if (power >= 0) {
        if (bitWidth(numerator) + bitWidth(kPowersOfTen128[power]) > 128) return std::nullopt;
        numerator *= kPowersOfTen128[power];
    } else {
        denominator = kPowersOfTen128[-power];
    }
    if (binaryExponent >= 0) {
        if (bitWidth(numerator) + binaryExponent > 128) return std::nullopt;
        return divideExactly(numerator << binaryExponent, denominator);
    }
    const int shift = -binaryExponent;
    if (bitWidth(denominator) + shift > 128) return std::nullopt;
    if (denominator != 1) return divideExactly(numerator, denominator << shift);
    // A power of two below: shifts and masks, no division.
    const UInt128 half = UInt128{1} << (shift - 1);
    return Scaled{numerator >> shift, (numerator & ((half << 1) - 1)) <=> half};
}

// A finite value as mantissa · 2^exponent, read from its bits.
struct BinaryForm {
    std::uint64_t mantissa = 0;
    int exponent = 0;
};

template <typename Real>
BinaryForm binaryForm(Real value) {
    using Bits = std::conditional_t<sizeof(Real) == sizeof(std::uint32_t), std::uint32_t, std::uint64_t>;
    constexpr int kFractionBits = std::numeric_limits<Real>::digits - 1;
    constexpr int kBias = std::numeric_limits<Real>::max_exponent - 1;
    const auto bits = std::bit_cast<Bits>(value);
    const auto fraction = static_cast<std::uint64_t>(bits & ((Bits{1} << kFractionBits) - 1));
    const int biased =
        static_cast<int>((bits >> kFractionBits) & ((Bits{1} << (sizeof(Bits) * 8 - 1 - kFractionBits)) - 1));
    if (biased == 0) return {fraction, 1 - kBias - kFractionBits};  // subnormal
    return {fraction | (std::uint64_t{1} << kFractionBits), biased - kBias - kFractionBits};
}

// 2^b <= |value| < 2^(b+1): the first digit stands at 10^floor(b·log10 2) or one above.
int firstDigitEstimate(const BinaryForm &binary) {
    const int highestBit = std::bit_width(binary.mantissa) - 1 + binary.exponent;
    return static_cast<int>(std::floor(highestBit * 0.30102999566398120));
}

// The same rounding in double arithmetic: one multiplication or division by an exact power
// of ten, itself rounded to nearest. That rounding never moves a value across a half or a
// power of ten, as both are doubles here, so only a product that lands on a half itself
// leaves the side of the exact value open: false then, for the exact arithmetic to decide.
template <typename Real>
bool roundQuickly(Real value, int precision, Decimal &rounded) {
    const double magnitude = std::abs(static_cast<double>(value));
    const auto lowest = static_cast<double>(kPowersOfTen128[static_cast<std::size_t>(precision - 1)]);
    const auto limit = static_cast<double>(kPowersOfTen128[static_cast<std::size_t>(precision)]);
    int exponent = firstDigitEstimate(binaryForm(value));
    for (int attempt = 0; attempt < 2; ++attempt, ++exponent) {
        const int power = precision - 1 - exponent;
        if (std::abs(power) > kMaxExactPowerOfTen) return false;
        const double scaled = power >= 0 ? magnitude * kExactPowersOfTen[static_cast<std::size_t>(power)]
                                         : magnitude / kExactPowersOfTen[static_cast<std::size_t>(-power)];
        if (scaled >= limit) continue;  // the first digit stands one place higher
        if (scaled < lowest) return false;
        const double whole = NearestWhole(scaled);
        if (std::abs(scaled - whole) == 0.5) return false;
        auto digits = static_cast<std::uint64_t>(whole);
        if (whole == limit) {  // 9,999…5 rounds up to 10
            digits = static_cast<std::uint64_t>(lowest);
            ++exponent;
        }
        rounded = decimalOf(std::signbit(value), digits, precision, exponent);
        return true;
    }
    return false;
}

// The value rounded to `precision` significant digits, halves to the even one; false when
// the exact arithmetic would not fit.
template <typename Real>
bool roundExactly(Real value, int precision, Decimal &rounded) {
    const BinaryForm binary = binaryForm(value);
    int exponent = firstDigitEstimate(binary);
    const UInt128 lowest = kPowersOfTen128[static_cast<std::size_t>(precision - 1)];
    const UInt128 limit = kPowersOfTen128[static_cast<std::size_t>(precision)];
    for (int attempt = 0; attempt < 2; ++attempt, ++exponent) {
        const std::optional<Scaled> scaled = scaleExactly(binary.mantissa, binary.exponent, precision - 1 - exponent);
        if (!scaled || scaled->whole < lowest) return false;
        if (scaled->whole >= limit) continue;  // the first digit stands one place higher
        UInt128 digits = scaled->whole;
        if (scaled->remainderToHalf > 0 || (scaled->remainderToHalf == 0 && (digits & 1) != 0)) ++digits;
        if (digits == limit) {  // 9,999…5 rounds up to 10
            digits = lowest;
            ++exponent;
        }
        rounded = decimalOf(std::signbit(value), static_cast<std::uint64_t>(digits), precision, exponent);
        return true;
    }
    return false;
}

char *writeText(char *out, std::string_view text) {
    return std::copy_n(text.begin(), std::min(text.size(), kNumberTextRoom), out);
}

template <typename Real>
char *writeReal(char *out, Real value, int precision) {
    if (value == 0) return writeText(out, "0");  // also for -0: no sign on a zero
    if (std::isfinite(value)) {
        Decimal rounded;
        if (roundQuickly(value, precision, rounded) || roundExactly(value, precision, rounded))
            return writeDecimal(out, rounded, precision);
    }
    std::array<char, 48> buf;
    const auto result =
        std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::scientific, precision - 1);
    const std::string_view text(buf.data(), static_cast<std::size_t>(result.ptr - buf.data()));
    // The calculation never formats one; a caller that does still gets a text, not a crash.
    if (!std::isfinite(value)) return writeText(out, text);
    return writeDecimal(out, readScientific(text), precision);
}

template <typename Number>
std::string formatted(Number value, char *(*write)(char *, Number)) {
    std::array<char, kNumberTextRoom> buf;
    return std::string(buf.data(), write(buf.data(), value));
}

}  // namespace

Checked<double> ParseDouble(std::string_view text) {
    const NumberForm form = readNumberForm(text);
    if (!form.valid) return CalcError::typeMismatch();
    if (form.integer.size() + form.fraction.size() <= kExactDigits) return convertShortForm(form);
    return convertLongForm(form);
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

char *WriteInt16(char *out, Int16 value) { return std::to_chars(out, out + kNumberTextRoom, value).ptr; }

char *WriteSingle(char *out, Single value) { return writeReal(out, value, 7); }

char *WriteDouble(char *out, double value) { return writeReal(out, value, 15); }

std::string FormatInt16(Int16 value) { return std::to_string(value); }

std::string FormatSingle(Single value) { return formatted(value, &WriteSingle); }

std::string FormatDouble(double value) { return formatted(value, &WriteDouble); }

}  // namespace tremira::calc
