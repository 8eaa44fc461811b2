#include "reports/report_stamp.h"

namespace tremira::reports {
namespace {

// Drops the time-zone field ("t") from a time format, leaving quoted literals alone, and the
// blanks or brackets that only framed it ("HH:mm:ss t", "t HH:mm:ss", "H:mm:ss (t)").
QString withoutTimeZone(const QString &format) {
    QString result;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'') quoted = !quoted;
        if (quoted || c != u't') result += c;
    }
    result.remove(QStringLiteral("()"));
    return result.trimmed();
}

}  // namespace

ReportStamp MakeReportStamp(const QDateTime &now, const QLocale &locale) {
    if (locale.language() == QLocale::C) {
        return {now.date().toString(QStringLiteral("dd.MM.yyyy")), now.time().toString(QStringLiteral("HH:mm:ss"))};
    }
    return {locale.toString(now.date(), locale.dateFormat(QLocale::ShortFormat)),
            locale.toString(now.time(), withoutTimeZone(locale.timeFormat(QLocale::LongFormat)))};
}

}  // namespace tremira::reports
