#include "reports/report_printer.h"

#include <QLibrary>

#include "platform/program_parts.h"
#include "reports/printer/print_entry.h"

namespace tremira::reports {

QString PrintModulePath(const QString &programFolder) {
    return platform::ProgramPart(programFolder, QStringLiteral("tremira-print.so"),
                                 QStringLiteral(TREMIRA_MODULES_FROM_PROGRAM_FOLDER));
}

std::optional<PrintError> PrintOnDefaultPrinter(const QString &printModule, const DesignSnapshot &sheet,
                                                const ReportStamp &stamp) {
    // Loaded once; a QLibrary going out of scope leaves the module loaded for the next print.
    QLibrary module(printModule);
    const auto print = reinterpret_cast<PrintEntry>(module.resolve(kPrintEntryName));
    if (!print) return PrintError{PrintError::Kind::NoPrintModule, QString(), module.errorString()};
    std::optional<PrintError> result;
    print(PrintedReportLines(sheet, stamp), result);
    return result;
}

QString PrintErrorText(const PrintError &error) {
    switch (error.kind) {
    case PrintError::Kind::NoDefaultPrinter:
        return QStringLiteral("Принтер по умолчанию не задан. Результат не напечатан.");
    case PrintError::Kind::PrinterRefused:
        return QStringLiteral("Не удалось начать печать на принтере «%1». Результат не напечатан.")
            .arg(error.printerName);
    case PrintError::Kind::NoPrintModule:
        return QStringLiteral("Печать недоступна: %1. Результат не напечатан.").arg(error.reason);
    }
    return QString();
}

}  // namespace tremira::reports
