#pragma once
// The lines of the report file (25) and of the printed report (24). The two layouts share
// their skeleton but differ in the input labels, the stamp, line 17, line 18 and the end.

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "reports/design_snapshot.h"
#include "reports/report_stamp.h"

namespace tremira::reports {

// Values stand in this column (counted from 1) in both layouts.
inline constexpr int kValueColumn = 42;

// One printed line: the label from the left edge, then, when present, a value in the value
// column. Line 18 carries its value inside the label, right after the colon.
struct PrintedLine {
    QString label;
    std::optional<QString> value;
    bool bold = false;
};

// The 25 lines of one report file, without line ends.
QStringList FileReportLines(const DesignSnapshot &snapshot, const ReportStamp &stamp);

// The 24 printed lines.
QList<PrintedLine> PrintedReportLines(const DesignSnapshot &snapshot, const ReportStamp &stamp);

}  // namespace tremira::reports
