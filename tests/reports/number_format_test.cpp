#include "reports/number_format.h"

#include <gtest/gtest.h>

namespace tremira::reports {
namespace {

// Reading and rounding the typed digits are the number rules' own; here is the "##.##" shape.
TEST(TwoDecimalFormat, RoundsReadableNumbersAndKeepsOtherTexts) {
    const struct {
        const char *text;
        const char *written;
    } cases[] = {{"7,256", "7,26"},
                 {"12,3", "12,3"},
                 {"12", "12,"},
                 {"0,5", ",5"},
                 {"", ""},
                 {"99,995", "100,"},
                 {"0,004", ","},
                 {"-7,256", "-7,26"},
                 {"-0,5", "-,5"},
                 {"-0,001", "-,"},
                 {"+5", "5,"},
                 {"007,10", "7,1"},
                 {"2,675", "2,68"},
                 {"12.5", "12.5"},
                 {"1,5E+20", "1,5E+20"},
                 {"abc", "abc"},
                 {"1,2,3", "1,2,3"},
                 {"123000000000000000000000", "123000000000000000000000,"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FormatTwoDecimals(QString::fromUtf8(c.text)).toStdString(), c.written);
    }
}

}  // namespace
}  // namespace tremira::reports
