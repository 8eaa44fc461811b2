#include "field_numbers.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace tremira::calc {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Blanks are the only padding a field keeps around its number; tabs and line ends are refused.
std::string_view withoutBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Digits with at most one comma, and a digit on one side of it at least.
bool isUnsignedDecimal(std::string_view text) {
    return std::ranges::all_of(text, [](char c) { return isDigit(c) || c == kDecimalSeparator; }) &&
           std::ranges::count(text, kDecimalSeparator) <= 1 && std::ranges::any_of(text, isDigit);
}

// An unsigned decimal as isUnsignedDecimal accepts it.
Checked<double> readMagnitude(std::string_view text) {
    std::string pointed(text);  // from_chars reads the point only
    std::ranges::replace(pointed, kDecimalSeparator, '.');
    double magnitude = 0;
    const std::errc error =
        std::from_chars(pointed.data(), pointed.data() + pointed.size(), magnitude, std::chars_format::fixed).ec;
    if (error == std::errc::result_out_of_range) {
        // Too large is an overflow; too small becomes zero, as in the arithmetic.
        const bool wholePartIsZero =
            text.substr(0, text.find(kDecimalSeparator)).find_first_not_of('0') == std::string_view::npos;
        if (!wholePartIsZero) return CalcError::overflow();
        return 0.0;
    }
    return magnitude;
}

// A double's longest text without an exponent, that of one near the smallest normal double:
// "0.", 307 zeros and 17 digits.
constexpr std::size_t kLongestFixedText = 326;
// The longest text in the general form at the program's 15 digits: "-1.79769313486232e+308".
constexpr std::size_t kLongestGeneralText = 22;

// One more in the last digit of an unsigned decimal, carrying over nines: "1.29" -> "1.30",
// "9.9" -> "10.0".
void addOneInLastPlace(std::string &decimal) {
    for (auto digit = decimal.rbegin(); digit != decimal.rend(); ++digit) {
        if (*digit == '.') continue;
        if (*digit != '9') {
            ++*digit;
            return;
        }
        *digit = '0';
    }
    decimal.insert(decimal.begin(), '1');
}

// printf's "%G" rule with the comma: plain for decimal exponents from -4 to precision - 1,
// otherwise "1,5E+20"; trailing fraction zeros dropped.
template <typename Real>
std::string formatReal(Real value, int precision) {
    if (value == 0) value = 0;  // no sign on a zero
    std::array<char, kLongestGeneralText> text;
    char *end = std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::general, precision).ptr;
    std::string formatted(text.data(), end);
    std::ranges::replace(formatted, '.', kDecimalSeparator);
    std::ranges::replace(formatted, 'e', 'E');
    return formatted;
}

}  // namespace

Checked<double> ParseDouble(std::string_view text) {
    text = withoutBlanks(text);
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+')) text.remove_prefix(1);
    if (!isUnsignedDecimal(text)) return CalcError::typeMismatch();
    const Checked<double> magnitude = readMagnitude(text);
    if (!magnitude || !negative) return magnitude;
    return -*magnitude;
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

double RoundToDecimals(double value, int decimals, Rounding rounding) {
    std::array<char, kLongestFixedText> text;
    const char *end =
        std::to_chars(text.data(), text.data() + text.size(), std::abs(value), std::chars_format::fixed).ptr;
    const std::string_view shortest(text.data(), end);
    const std::size_t point = shortest.find('.');
    if (point == std::string_view::npos) return value;  // a whole number, or none
    const std::size_t kept = point + 1 + static_cast<std::size_t>(decimals);
    if (kept >= shortest.size()) return value;  // no more decimals than asked for

    // The dropped digits are never all zeros: a shortest decimal ends in a non-zero digit.
    std::string rounded(shortest.substr(0, kept));
    if (rounding == Rounding::Nearest ? shortest[kept] >= '5' : value > 0) addOneInLastPlace(rounded);
    double magnitude = 0;
    std::from_chars(rounded.data(), rounded.data() + rounded.size(), magnitude);
    return std::copysign(magnitude, value);
}

std::string FormatInt16(Int16 value) { return std::to_string(value); }

std::string FormatSingle(Single value) { return formatReal(value, 7); }

std::string FormatDouble(double value) { return formatReal(value, 15); }

}  // namespace tremira::calc
