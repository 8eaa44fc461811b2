// Conversions between field texts and numbers: the accepted number form, rounding to the
// 16-bit integer, the 16-bit product, and the texts written back into the fields.

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

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

TEST(ParseDouble, ReadsCommaDecimalsWithBlanksAndSign) {
    struct Case {
        std::string_view text;
        double expected;
    } const cases[] = {
        {"1,42", 1.42},
        {"160", 160.0},
        {" 65", 65.0},
        {"65  ", 65.0},
        {"+5", 5.0},
        {"-12,5", -12.5},
        {",5", 0.5},
        {"5,", 5.0},
        {"-,25", -0.25},
        {"00", 0.0},
        {"0,0", 0.0},
        {"007,50", 7.5},
        {kTinyNumber, 0.0},
        {"0,1", 0.1},
        {"0,3", 0.3},
        {"84,672", 84.672},
        {"-0,000123", -0.000123},
        {"123456789012345", 123456789012345.0},
        {"0,000000000000001", 1e-15},
        // beyond 15 digits: the nearest double all the same
        {"9007199254740993", 9007199254740992.0},
        {"0,1000000000000000055511151231257827", 0.1},
        {"1234567890,123456789", 1234567890.123456789},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.text.substr(0, 20)));
        expectValue(ParseDouble(c.text), c.expected);
    }
}

TEST(ParseDouble, RefusesTextsThatAreNotNumbersWithTypeMismatch) {
    for (std::string_view text : {"", " ", ",", "1,2,3", "a", "1a", "1.5", "1e5", "1 000", "- 5", "+-5", "5-", "--5",
                                  "1,2 3", "\t5", "5\r", "١"}) {
        SCOPED_TRACE(std::string(text));
        expectError(ParseDouble(text), 13);
    }
}

TEST(ParseDouble, BeyondTheDoubleRangeIsAnOverflow) {
    expectError(ParseDouble(kHugeNumber), 6);
    expectError(ParseDouble("-" + kHugeNumber), 6);
}

TEST(ParseSingle, IsTheNearestSingleOfTheText) {
    const Checked<Single> induction = ParseSingle("1,42");
    ASSERT_TRUE(induction.ok());
    EXPECT_EQ(*induction, 1.42F);
    EXPECT_LT(static_cast<double>(*induction), 1.42);  // the single lies slightly below
    expectValue(ParseSingle("84,672"), 84.672F);
    expectValue(ParseSingle("-0,5"), -0.5F);
}

TEST(ParseSingle, BeyondTheSingleRangeIsAnOverflowAndBadTextsAMismatch) {
    expectError(ParseSingle("1" + std::string(39, '0')), 6);  // 1E+39
    expectError(ParseSingle("-1" + std::string(39, '0')), 6);
    expectError(ParseSingle(","), 13);
    expectError(ParseSingle(kHugeNumber), 6);
}

TEST(ParseInt16, RoundsHalvesToEvenAndChecksTheRange) {
    struct Case {
        std::string_view text;
        Int16 expected;
    } const cases[] = {
        {" 65", 65},   {"65,5", 66},       {"64,5", 64},       {"2,5", 2},           {"3,5", 4}, {"-2,5", -2},
        {"0,4999", 0}, {"32767,4", 32767}, {"-32768", -32768}, {"-32768,5", -32768}, {"00", 0},  {"160", 160},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.text));
        expectValue(ParseInt16(c.text), c.expected);
    }
}

TEST(ParseInt16, ReportsOverflowAndTypeMismatch) {
    struct Case {
        std::string_view text;
        std::int32_t error;
    } const cases[] = {
        {"32767,5", 6}, {"32768", 6}, {"-32769", 6}, {"40000", 6},  {"-32768,6", 6},
        {"", 13},       {" ", 13},    {",", 13},     {"1,2,3", 13}, {"12a", 13},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.text));
        expectError(ParseInt16(c.text), c.error);
    }
}

TEST(RealToInt16, NearestIntegerHalvesToEven) {
    struct Case {
        double value;
        Int16 expected;
    } const cases[] = {
        {0.5, 0}, {1.5, 2}, {-1.5, -2}, {12.5, 12}, {17.5, 18}, {2.4999999, 2}, {32767.49, 32767}, {-32768.5, -32768},
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

TEST(FormatInt16, PlainDigitsWithMinus) {
    EXPECT_EQ(FormatInt16(-5), "-5");
    EXPECT_EQ(FormatInt16(0), "0");
    EXPECT_EQ(FormatInt16(10400), "10400");
    EXPECT_EQ(FormatInt16(-32768), "-32768");
}

TEST(FormatSingle, SevenSignificantDigitsWithoutTrailingZeros) {
    struct Case {
        const char *name;
        Single value;
        std::string_view expected;
    } const cases[] = {
        {"4000/83", 4000.0F / 83.0F, "48,19277"},
        {"0,5", 0.5F, "0,5"},
        {"7", 7.0F, "7"},
        {"-0,5", -0.5F, "-0,5"},
        {"0,1", 0.1F, "0,1"},
        {"1,42", 1.42F, "1,42"},
        {"negative zero", -0.0F, "0"},
        {"1234567", 1234567.0F, "1234567"},
        {"100", 100.0F, "100"},
        {"0,0001", 0.0001F, "0,0001"},
        {"0,00012345", 0.00012345F, "0,00012345"},
        {"9,9999999 rounds up", 9.9999999F, "10"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FormatSingle(c.value), c.expected);
    }
}

TEST(FormatDouble, FifteenSignificantDigitsWithoutTrailingZeros) {
    struct Case {
        const char *name;
        double value;
        std::string_view expected;
    } const cases[] = {
        {"160 x 0,378 x 1,4", 160 * 0.378 * 1.4, "84,672"},
        {"25 x 0,378", 25 * 0.378, "9,45"},
        {"0,1 + 0,2", 0.1 + 0.2, "0,3"},
        {"1 x 0,378 x 1,4", 1 * 0.378 * 1.4, "0,5292"},
        {"999999999999999", 999999999999999.0, "999999999999999"},
        {"-123,456", -123.456, "-123,456"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FormatDouble(c.value), c.expected);
    }
}

// Magnitudes that no plain decimal of 7 (15) digits can show take an exponent form with
// the decimal comma, a signed exponent of at least two digits, and the value's sign.
TEST(FormatReal, VeryLargeAndVerySmallMagnitudesTakeAnExponentKeepingTheSign) {
    struct Case {
        const char *name;
        std::string formatted;
        std::string_view expected;
    } const cases[] = {
        {"single 1E+07", FormatSingle(1e7F), "1E+07"},
        {"single 12345678", FormatSingle(12345678.0F), "1,234568E+07"},
        {"single -1,5E+20", FormatSingle(-1.5e20F), "-1,5E+20"},
        {"single max", FormatSingle(FLT_MAX), "3,402823E+38"},
        {"single lowest", FormatSingle(-FLT_MAX), "-3,402823E+38"},
        {"single 1E-05", FormatSingle(1e-5F), "1E-05"},
        {"single -2,5E-07", FormatSingle(-2.5e-7F), "-2,5E-07"},
        {"single denormal", FormatSingle(std::numeric_limits<Single>::denorm_min()), "1,401298E-45"},
        {"double 1E+15", FormatDouble(1e15), "1E+15"},
        {"double -5,292E+19", FormatDouble(-5.292e19), "-5,292E+19"},
        {"double 1E+300", FormatDouble(1e300), "1E+300"},
        {"double max", FormatDouble(DBL_MAX), "1,79769313486232E+308"},
        {"double -1,5E-300", FormatDouble(-1.5e-300), "-1,5E-300"},
        {"double denormal", FormatDouble(-std::numeric_limits<double>::denorm_min()), "-4,94065645841247E-324"},
        {"double 0,00001", FormatDouble(0.00001), "1E-05"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.formatted, c.expected);
    }
}

TEST(FormatReal, ValuesThatAreNotNumbersStillGiveAText) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(FormatDouble(inf), "inf");
    EXPECT_EQ(FormatDouble(-inf), "-inf");
    EXPECT_EQ(FormatSingle(-std::numeric_limits<Single>::infinity()), "-inf");
    EXPECT_EQ(FormatDouble(std::numeric_limits<double>::quiet_NaN()), "nan");
}

TEST(CheckedArithmetic, DivisionAndOverflowRaiseTheirErrors) {
    expectError(CheckedDivide(0.0, 0.0), 6);
    expectError(CheckedDivide(220.0, 0.0), 11);
    expectError(CheckedDivide(-1.0, 0.0), 11);
    expectError(CheckedDivide(1e308, 1e-308), 6);
    expectValue(CheckedDivide(4000.0, 80.0), 50.0);
    expectValue(CheckedDivide(1e-300, 1e300), 0.0);  // too small is zero, not an error
    expectError(CheckedMultiply(1e200, -1e200), 6);
    expectValue(CheckedMultiply(1.5, 4.0), 6.0);
    expectError(NarrowToSingle(1e39), 6);
    expectError(NarrowToSingle(-1e39), 6);
    expectValue(NarrowToSingle(1e-50), 0.0F);
    expectValue(NarrowToSingle(0.5), 0.5F);
}

}  // namespace
}  // namespace tremira::calc
