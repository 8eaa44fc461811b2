// Conversions between field texts and numbers: the accepted number form, rounding to the 16-bit integer, the 16-bit
// product, and the texts written back into the fields.

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "calc/field_numbers.h"

namespace tremira::calc {
namespace {

template <typename T>
void expectValue(const Checked<T> &result, T expected) {
    ASSERT_TRUE(result.ok()) << "error " << result.error().Number;
    EXPECT_EQ(*result, expected);
}

template <typename T>
void expectError(const Checked<T> &result, std::int32_t number) {
    ASSERT_FALSE(result.ok()) << "value " << *result;
    EXPECT_EQ(result.error().Number, number);
}

const std::string kHugeNumber = "1" + std::string(400, '0');
const std::string kTinyNumber = "0," + std::string(400, '0') + "1";

// Beyond 15 digits a text still reads as its nearest double.
TEST(ParseDouble, ReadsCommaDecimalsWithBlanksAndSign) {
    struct Case {
        std::string_view text;
        double expected;
    } const cases[] = {
        {"1,42", 1.42},
        {" 65  ", 65.0},
        {"+5", 5.0},
        {"-12,5", -12.5},
        {",5", 0.5},
        {"5,", 5.0},
        {"-,25", -0.25},
        {"0,0", 0.0},
        {"007,50", 7.5},
        {kTinyNumber, 0.0},
        {"-0,000123", -0.000123},
        {"123456789012345", 123456789012345.0},
        {"0,000000000000001", 1e-15},
        {"9007199254740993", 9007199254740992.0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.text.substr(0, 20)));
        expectValue(ParseDouble(c.text), c.expected);
    }
    expectValue(ParseDouble("0,1000000000000000055511151231257827"), 0.1);
    expectValue(ParseDouble("1234567890,123456789"), 1234567890.123456789);
    for (std::string_view text : {"", " ", ",", "1,2,3", "a", "1a", "1.5", "1e5", "1 000", "- 5", "+-5", "5-", "--5",
                                  "1,2 3", "\t5", "5\r", "١"}) {
        SCOPED_TRACE(std::string(text));
        expectError(ParseDouble(text), 13);
    }
}

// The single and the 16-bit integer read the text as a double first, then narrow it.
TEST(ParseField, NarrowerTypesOverflowWhereTheDoubleDoesNot) {
    const Checked<Single> induction = ParseSingle("1,42");
    ASSERT_TRUE(induction.ok());
    EXPECT_EQ(*induction, 1.42F);
    EXPECT_LT(static_cast<double>(*induction), 1.42);  // the single lies slightly below
    struct Case {
        std::string text;
        std::int32_t doubleError, singleError, int16Error;  // 0: read
    } const cases[] = {
        {kHugeNumber, 6, 6, 6},
        {"-" + kHugeNumber, 6, 6, 6},
        {"1" + std::string(39, '0'), 0, 6, 6},
        {"-1" + std::string(39, '0'), 0, 6, 6},
        {"32767,5", 0, 0, 6},
        {"-32769", 0, 0, 6},
        {"-32768,6", 0, 0, 6},
        {",", 13, 13, 13},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text.substr(0, 20));
        EXPECT_EQ(ParseDouble(c.text).ok() ? 0 : ParseDouble(c.text).error().Number, c.doubleError);
        EXPECT_EQ(ParseSingle(c.text).ok() ? 0 : ParseSingle(c.text).error().Number, c.singleError);
        EXPECT_EQ(ParseInt16(c.text).ok() ? 0 : ParseInt16(c.text).error().Number, c.int16Error);
    }
}

TEST(RealToInt16, NearestIntegerHalvesToEven) {
    struct Case {
        double value;
        Int16 expected;
    } const cases[] = {
        {0.5, 0},
        {1.5, 2},
        {-2.5, -2},
        {12.5, 12},
        {32767.49, 32767},
        {-32768.5, -32768},
        {-0.0, 0},
        // The largest doubles below a half: adding a half and truncating would round them up.
        {0.49999999999999994, 0},
        {-0.49999999999999994, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.value);
        expectValue(RealToInt16(c.value), c.expected);
    }
    for (double value : {32767.5, -32768.51, 1e300, std::numeric_limits<double>::infinity(),
                         std::numeric_limits<double>::quiet_NaN()}) {
        SCOPED_TRACE(value);
        expectError(RealToInt16(value), 6);
    }
    expectValue(ParseInt16(" 64,5"), Int16{64});
    expectValue(ParseInt16("65,5"), Int16{66});
}

// Decimal places are rounded as the digits the program shows: a value whose nearest double lies just below a half
// (1,005) still goes up, as its text says.
TEST(RoundToDecimals, RoundsTheShownDigitsNearestOrUp) {
    constexpr Rounding kNearest = Rounding::Nearest;
    constexpr Rounding kUp = Rounding::Up;
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    struct Case {
        double value;
        int decimals;
        Rounding rounding;
        double expected;
    } const cases[] = {
        {1.005, 2, kNearest, 1.01},
        {-1.005, 2, kNearest, -1.01},
        {-2.5, 0, kNearest, -3.0},
        {1.0049, 2, kNearest, 1.0},
        {9.995, 2, kNearest, 10.0},
        {0.1 + 0.2, 2, kNearest, 0.3},
        {1.42, 3, kNearest, 1.42},
        {5.0, 0, kUp, 5.0},
        {998.0 / 0.35, 0, kUp, 2852.0},
        {0.1 + 0.2, 1, kUp, 0.4},
        {10.000000000000002, 3, kUp, 10.001},
        {-1.239, 2, kUp, -1.23},
        {DBL_MIN, 3, kUp, 0.001},
        {DBL_MIN, 3, kNearest, 0.0},
        {kInfinity, 2, kNearest, kInfinity},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " to " << c.decimals);
        EXPECT_EQ(RoundToDecimals(c.value, c.decimals, c.rounding), c.expected);
    }
    EXPECT_TRUE(std::isnan(RoundToDecimals(std::numeric_limits<double>::quiet_NaN(), 2)));
}

TEST(MultiplyInt16, ExactProductWithinTheRange) {
    expectValue(MultiplyInt16(160, 65), Int16{10400});
    expectValue(MultiplyInt16(181, 181), Int16{32761});
    expectValue(MultiplyInt16(-32768, 1), Int16{-32768});
    expectValue(MultiplyInt16(-4, 25), Int16{-100});
    expectError(MultiplyInt16(700, 50), 6);
    expectError(MultiplyInt16(182, 182), 6);
    expectError(MultiplyInt16(-32768, -1), 6);
}

// Seven (fifteen) significant digits without trailing zeros; magnitudes no plain decimal of them can show take an
// exponent form with the decimal comma, a signed exponent of at least two digits and the value's sign; exact halves of
// the last kept digit go to the even digit.
TEST(FormatReal, SignificantDigitsExponentFormsAndHalvesToEven) {
    struct Case {
        std::string formatted;
        std::string_view expected;
    } const cases[] = {
        {FormatSingle(4000.0F / 83.0F), "48,19277"},
        {FormatSingle(-0.5F), "-0,5"},
        {FormatSingle(-0.0F), "0"},
        {FormatSingle(0.00012345F), "0,00012345"},
        {FormatSingle(9.9999999F), "10"},
        {FormatDouble(160 * 0.378 * 1.4), "84,672"},
        {FormatDouble(999999999999999.0), "999999999999999"},
        {FormatSingle(1e7F), "1E+07"},
        {FormatSingle(12345678.0F), "1,234568E+07"},
        {FormatSingle(-1.5e20F), "-1,5E+20"},
        {FormatSingle(FLT_MAX), "3,402823E+38"},
        {FormatSingle(-2.5e-7F), "-2,5E-07"},
        {FormatSingle(std::numeric_limits<Single>::denorm_min()), "1,401298E-45"},
        {FormatDouble(1e15), "1E+15"},
        {FormatDouble(DBL_MAX), "1,79769313486232E+308"},
        {FormatDouble(-1.5e-300), "-1,5E-300"},
        {FormatDouble(-std::numeric_limits<double>::denorm_min()), "-4,94065645841247E-324"},
        {FormatDouble(0.00001), "1E-05"},
        {FormatSingle(1234567.5F), "1234568"},
        {FormatSingle(1234568.5F), "1234568"},
        {FormatSingle(16777215.0F), "1,677722E+07"},
        {FormatSingle(1.28125F), "1,28125"},
        {FormatDouble(1234567890123455.0), "1,23456789012346E+15"},
        {FormatDouble(1234567890123445.0), "1,23456789012344E+15"},
        {FormatDouble(12345678901234.25), "12345678901234,2"},
        {FormatDouble(-12345678901234.75), "-12345678901234,8"},
        {FormatDouble(999999999999999.5), "1E+15"},
        // Values that are no numbers still give a text.
        {FormatDouble(std::numeric_limits<double>::infinity()), "inf"},
        {FormatSingle(-std::numeric_limits<Single>::infinity()), "-inf"},
        {FormatDouble(std::numeric_limits<double>::quiet_NaN()), "nan"},
    };
    for (const Case &c : cases) EXPECT_EQ(c.formatted, c.expected);
}

// The text of a value built another way: from the C library's "%.*e" rounding.
std::string formattedByPrintf(double value, int precision) {
    if (value == 0) return "0";
    std::array<char, 64> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%.*e", precision - 1, value);
    const std::string text = buffer.data();
    const std::size_t e = text.find('e');
    const int exponent = std::stoi(text.substr(e + 1));
    std::string digits;
    for (const char c : text.substr(0, e)) {
        if (c >= '0' && c <= '9') digits += c;
    }
    digits.erase(digits.find_last_not_of('0') + 1);
    std::string out = value < 0 ? "-" : "";
    const auto whole = static_cast<std::size_t>(exponent + 1);
    if (exponent < -4 || exponent >= precision) {
        std::array<char, 8> power{};
        std::snprintf(power.data(), power.size(), "E%+03d", exponent);
        out += digits.substr(0, 1) + (digits.size() > 1 ? "," + digits.substr(1) : "") + power.data();
    } else if (exponent < 0) {
        out += "0," + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else if (digits.size() <= whole) {
        out += digits + std::string(whole - digits.size(), '0');
    } else {
        out += digits.substr(0, whole) + "," + digits.substr(whole);
    }
    return out;
}

// Every finite value, drawn from its bits over the whole range and from the magnitudes that designs produce, gives the
// text the C library's rounding gives.
TEST(FormatReal, AgreesWithTheCLibraryOnRandomValues) {
    std::mt19937_64 random(20261207);
    std::uniform_real_distribution<double> designRange(-5000.0, 5000.0);
    int compared = 0;
    for (int i = 0; i < 200000; ++i) {
        const auto singleBits = static_cast<std::uint32_t>(random());
        const Single single = i % 2 == 0 ? std::bit_cast<Single>(singleBits) : static_cast<Single>(designRange(random));
        const double wide = i % 2 == 0 ? std::bit_cast<double>(random()) : designRange(random);
        if (std::isfinite(single)) {
            ASSERT_EQ(FormatSingle(single), formattedByPrintf(single, 7)) << std::hexfloat << single;
            ++compared;
        }
        if (std::isfinite(wide)) {
            ASSERT_EQ(FormatDouble(wide), formattedByPrintf(wide, 15)) << std::hexfloat << wide;
            ++compared;
        }
    }
    EXPECT_GT(compared, 390000);
}

// Values within a few units in the last place of a half of the last kept digit: where the quick double arithmetic
// cannot tell the side, the exact arithmetic must decide.
TEST(FormatReal, ValuesNextToAHalfOfTheLastDigitRoundAsTheCLibrary) {
    std::mt19937_64 random(20261208);
    std::uniform_int_distribution<int> shift(-12, 12);
    for (int i = 0; i < 100000; ++i) {
        const double scale = std::pow(10.0, shift(random));
        const double wideHalf = (static_cast<double>(random() % 900000000000000 + 100000000000000) + 0.5) * scale;
        const auto singleHalf = static_cast<Single>((static_cast<double>(random() % 9000000 + 1000000) + 0.5) * scale);
        for (int step = -2; step <= 2; ++step) {
            double wide = wideHalf;
            Single single = singleHalf;
            for (int j = 0; j < std::abs(step); ++j) {
                wide = std::nextafter(wide, step < 0 ? 0.0 : HUGE_VAL);
                single = std::nextafter(single, step < 0 ? 0.0F : HUGE_VALF);
            }
            ASSERT_EQ(FormatDouble(wide), formattedByPrintf(wide, 15)) << std::hexfloat << wide;
            ASSERT_EQ(FormatSingle(single), formattedByPrintf(single, 7)) << std::hexfloat << single;
        }
    }
}

// The longest texts of each form and each precision come out whole.
TEST(FormatReal, LongestTextsComeOutWhole) {
    for (const double value : {-1.23456789012345e-308, -0.000123456789012345, -123456789012345.0, -100000000000000.0,
                               -1.00000000000001e-5, -DBL_MAX, -std::numeric_limits<double>::denorm_min(), 0.0}) {
        SCOPED_TRACE(value);
        EXPECT_EQ(FormatDouble(value), formattedByPrintf(value, 15));
    }
    for (const Single value : {-1.234567e-38F, -0.0001234567F, -1234567.0F, -1000000.0F, -FLT_MAX,
                               -std::numeric_limits<Single>::denorm_min()}) {
        SCOPED_TRACE(value);
        EXPECT_EQ(FormatSingle(value), formattedByPrintf(value, 7));
    }
    for (const Int16 value : {Int16{-32768}, Int16{0}, Int16{32767}})
        EXPECT_EQ(FormatInt16(value), std::to_string(value));
}

TEST(CheckedArithmetic, DivisionAndOverflowRaiseTheirErrors) {
    expectError(CheckedDivide(0.0, 0.0), 6);
    expectError(CheckedDivide(220.0, 0.0), 11);
    expectError(CheckedDivide(-1.0, 0.0), 11);
    expectError(CheckedDivide(1e308, 1e-308), 6);
    expectValue(CheckedDivide(4000.0, 80.0), 50.0);
    expectValue(CheckedDivide(1e-300, 1e300),
                0.0);  // too small is zero, not an error
    expectError(CheckedMultiply(1e200, -1e200), 6);
    expectValue(CheckedMultiply(1.5, 4.0), 6.0);
    expectError(NarrowToSingle(1e39), 6);
    expectError(NarrowToSingle(-1e39), 6);
    expectValue(NarrowToSingle(1e-50), 0.0F);
    expectValue(NarrowToSingle(0.5), 0.5F);
}

}  // namespace
}  // namespace tremira::calc
