// The print module's entry point: the program resolves it by name (extern "C": the name as it
// stands) when it first prints.

#include <type_traits>

#include "reports/printer/page_printer.h"
#include "reports/printer/print_entry.h"

extern "C" Q_DECL_EXPORT void
tremira_print_lines_on_default_printer(const QList<tremira::reports::PrintedLine> &lines,
                                       std::optional<tremira::reports::PrintError> &result) {
    result = tremira::reports::PrintLinesOnDefaultPrinter(lines);
}

// The type the program calls it through.
static_assert(std::is_same_v<decltype(&tremira_print_lines_on_default_printer), tremira::reports::PrintEntry>);
