#include "reports/report_stamp.h"

#include <gtest/gtest.h>

namespace tremira::reports {
namespace {

TEST(ReportStamp, UsesShortDateAndTimeOfDayWithoutZoneName) {
    const QDateTime afternoon(QDate(2026, 12, 7), QTime(14, 5, 9), Qt::UTC);
    const QDateTime morning(QDate(2026, 1, 2), QTime(3, 4, 5), Qt::UTC);
    struct Case {
        const char *name;
        QLocale locale;
        QDateTime now;
        const char *date;
        const char *time;
    };
    const Case cases[] = {
        {"Russian", QLocale(QLocale::Russian, QLocale::Russia), afternoon, "07.12.2026", "14:05:09"},
        {"Russian, leading zeros", QLocale(QLocale::Russian, QLocale::Russia), morning, "02.01.2026", "03:04:05"},
        {"no regional settings", QLocale::c(), afternoon, "07.12.2026", "14:05:09"},
        {"no regional settings, leading zeros", QLocale::c(), morning, "02.01.2026", "03:04:05"},
        {"German", QLocale(QLocale::German, QLocale::Germany), afternoon, "07.12.26", "14:05:09"},
        {"US English", QLocale(QLocale::English, QLocale::UnitedStates), afternoon, "12/7/26", "2:05:09 PM"},
        {"zone name in front", QLocale(QLocale::Chinese, QLocale::China), afternoon, "2026/12/7", "14:05:09"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const ReportStamp stamp = MakeReportStamp(c.now, c.locale);
        EXPECT_EQ(stamp.date.toStdString(), c.date);
        EXPECT_EQ(stamp.time.toStdString(), c.time);
    }
}

}  // namespace
}  // namespace tremira::reports
