#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace tremira::reports {

// The date and the time of day of a report's second line.
struct ReportStamp {
    QString date;
    QString time;
};

// The locale's short date and its long time of day without the time-zone name. A locale
// without regional settings (C/POSIX) gets the Russian dd.MM.yyyy and HH:mm:ss, the forms
// this program's users expect.
ReportStamp MakeReportStamp(const QDateTime &now, const QLocale &locale);

}  // namespace tremira::reports
