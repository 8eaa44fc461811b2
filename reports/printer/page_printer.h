#pragma once
// The printed page itself, with Qt's printing support. The program loads it, built into the
// module tremira-print, only when a report is printed: printing support costs every start
// memory that hardly any session needs.

#include <QList>
#include <optional>

#include "reports/report_lines.h"
#include "reports/report_printer.h"

class QPrinter;

namespace tremira::reports {

// The page starts 100 twips (about 1.8 mm) below the top of the printable area, clear of the
// paper edge on printers whose printable area reaches it.
inline constexpr double kTopMarginTwips = 100.0;

// Prints the lines as one page on the printer as it is set up.
std::optional<PrintError> PrintPage(QPrinter &printer, const QList<PrintedLine> &lines);

// The lines on the default printer, at once, without a dialog.
std::optional<PrintError> PrintLinesOnDefaultPrinter(const QList<PrintedLine> &lines);

}  // namespace tremira::reports
