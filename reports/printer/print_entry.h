#pragma once
// What the program and the print module agree on: the module's one entry point, found by
// name, and its type.

#include <QList>
#include <optional>

#include "reports/report_lines.h"
#include "reports/report_printer.h"

namespace tremira::reports {

inline constexpr char kPrintEntryName[] = "tremira_print_lines_on_default_printer";
using PrintEntry = void (*)(const QList<PrintedLine> &lines, std::optional<PrintError> &result);

}  // namespace tremira::reports
