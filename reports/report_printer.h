#pragma once
// The printed report: one page of fixed-pitch lines with the values in the value column.

#include <QList>
#include <QString>
#include <optional>

#include "reports/design_snapshot.h"
#include "reports/report_lines.h"
#include "reports/report_stamp.h"

class QPrinter;

namespace tremira::reports {

struct PrintError {
    enum class Kind { NoDefaultPrinter, PrinterRefused };
    Kind kind;
    QString printerName;
};

// The page starts 100 twips (about 1.8 mm) below the top of the printable area, clear of the
// paper edge on printers whose printable area reaches it.
inline constexpr double kTopMarginTwips = 100.0;

// Prints the lines as one page on the printer as it is set up.
std::optional<PrintError> PrintPage(QPrinter &printer, const QList<PrintedLine> &lines);

// The menu command's path: the sheet printed at once, without a dialog, on the default printer.
std::optional<PrintError> PrintOnDefaultPrinter(const DesignSnapshot &sheet, const ReportStamp &stamp);

// The text of the failure box.
QString PrintErrorText(const PrintError &error);

}  // namespace tremira::reports
