// Field texts always use the decimal comma, whatever the process locale says: the same
// texts must give the same numbers and results under a point locale and a comma locale.

#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <string>

#include "calc/design_calculation.h"

// glibc's setlocale keeps the LOCPATH search list it builds and never frees it; the leak
// checker of the sanitizer build must not count that against the tests.
extern "C" const char *__lsan_default_suppressions() { return "leak:argz_add_sep\n"; }

namespace tremira::calc {
namespace {

class UnderLocale : public ::testing::Test {
protected:
    // The comma locale is built beside the test (LOCPATH) where the machine has no copy.
    bool enter(const char *name) {
        if (std::setlocale(LC_ALL, name) == nullptr) return false;
        std::locale::global(std::locale(name));
        return true;
    }
    void TearDown() override {
        std::setlocale(LC_ALL, "C");
        std::locale::global(std::locale::classic());
    }

    static void expectCommaResults() {
        const Checked<double> induction = ParseDouble("1,42");
        ASSERT_TRUE(induction.ok());
        EXPECT_EQ(*induction, 1.42);
        EXPECT_FALSE(ParseDouble("1.42").ok());
        EXPECT_FALSE(ParseDouble("1 000").ok());
        EXPECT_EQ(FormatSingle(4000.0F / 83.0F), "48,19277");
        EXPECT_EQ(FormatDouble(-1.5e20), "-1,5E+20");
        EXPECT_EQ(FormatInt16(-32768), "-32768");
        EXPECT_EQ(SuggestCoreSection("12,5", 0), "6,615");

        const DesignOutcome runA = CalculateDesign({"220", "65", "160", "", "1,42", 0, 0, 0});
        ASSERT_EQ(runA.status, Status::Completed);
        EXPECT_EQ(FormatDouble(*runA.substitutedCoreSection), "84,672");
        EXPECT_EQ(FormatSingle(runA.results->i1), "48,19277");
        EXPECT_EQ(FormatInt16(runA.results->overallPower), "10400");
    }
};

TEST_F(UnderLocale, PointLocaleCUtf8) {
    ASSERT_TRUE(enter("C.UTF-8"));
    EXPECT_STREQ(std::localeconv()->decimal_point, ".");
    expectCommaResults();
}

TEST_F(UnderLocale, CommaLocaleRussian) {
    if (!enter("ru_RU.UTF-8")) GTEST_SKIP() << "no ru_RU.UTF-8 locale on this machine";
    EXPECT_STREQ(std::localeconv()->decimal_point, ",");  // the locale really changed
    expectCommaResults();
}

}  // namespace
}  // namespace tremira::calc
