#include "reports/number_format.h"

#include <gtest/gtest.h>

namespace tremira::reports {
namespace {

TEST(TwoDecimalFormat, RoundsReadableNumbersAndKeepsOtherTexts) {
    struct Case {
        const char *text;
        const char *written;
    };
    const Case cases[] = {
        // The reference table.
        {"7,256", "7,26"},
        {"12,3", "12,3"},
        {"12", "12,"},
        {"0,5", ",5"},
        {"", ""},
        // Carries out of the fraction, half rounds away from zero on the digits as typed.
        {"0,999", "1,"},
        {"99,995", "100,"},
        {"9,995", "10,"},
        {"1,005", "1,01"},
        {"0,004", ","},
        {"0", ","},
        {"48,19277", "48,19"},
        // Sign, leading zeros, blanks and a bare separator.
        {"-7,256", "-7,26"},
        {"-0,5", "-,5"},
        {"-12", "-12,"},
        {"-0,001", "-,"},
        {"+5", "5,"},
        {"007,10", "7,1"},
        {" 12,3 ", "12,3"},
        {",5", ",5"},
        {"5,", "5,"},
        {"1234567,891", "1234567,89"},
        // The double nearest to the text lies just below the half: the digits as typed decide.
        {"0,145", ",15"},
        {"2,675", "2,68"},
        {"-1,005", "-1,01"},
        {"0,0050", ",01"},
        // A whole number too long for a double's exact digits keeps the digits typed.
        {"123000000000000000000000", "123000000000000000000000,"},
        // Texts that do not read as a number stay as they are.
        {"12.5", "12.5"},
        {"1,5E+20", "1,5E+20"},
        {"1 234", "1 234"},
        {"abc", "abc"},
        {",", ","},
        {"-", "-"},
        {"1,2,3", "1,2,3"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FormatTwoDecimals(QString::fromUtf8(c.text)).toStdString(), c.written);
    }
}

}  // namespace
}  // namespace tremira::reports
