#pragma once
// The printed report: one page of fixed-pitch lines with the values in the value column,
// printed by the module tremira-print, which the program loads when it first prints.

#include <QString>
#include <optional>

#include "reports/design_snapshot.h"
#include "reports/report_stamp.h"

namespace tremira::reports {

struct PrintError {
    enum class Kind { NoDefaultPrinter, PrinterRefused, NoPrintModule };
    // Why the print module did not print: no file at its place, a library that is not the
    // program's print module, or a file that does not load (damaged, or lacking a library).
    enum class ModuleProblem { NotFound, NotAPrintModule, CannotLoad };
    Kind kind;
    QString printerName;  // PrinterRefused
    QString modulePath;   // NoPrintModule
    ModuleProblem moduleProblem = ModuleProblem::NotFound;
};

// Where the print module lies: beside the program in a build or a portable copy, else in the
// installed library folder.
QString PrintModulePath(const QString &programFolder);

// The menu command's path: the sheet printed at once, without a dialog, on the default
// printer, through the print module at `printModule`.
std::optional<PrintError> PrintOnDefaultPrinter(const QString &printModule, const DesignSnapshot &snapshot,
                                                const ReportStamp &stamp);

// The text of the failure box.
QString PrintErrorText(const PrintError &error);

}  // namespace tremira::reports
