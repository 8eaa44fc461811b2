#include "reports/report_printer.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include "platform/helper_file_path.h"
#include "reports/printer/print_entry.h"

namespace tremira::reports {

QString PrintModulePath(const QString &programFolder) {
    return platform::HelperFilePath(programFolder, QStringLiteral("tremira-print.so"),
                                    QStringLiteral(TREMIRA_MODULES_FROM_PROGRAM_FOLDER));
}

namespace {

PrintError moduleError(const QString &printModule, PrintError::ModuleProblem problem) {
    return {PrintError::Kind::NoPrintModule, QString(), printModule, problem};
}

QString moduleProblemText(const PrintError &error) {
    const QString path = QDir::toNativeSeparators(error.modulePath);
    switch (error.moduleProblem) {
    case PrintError::ModuleProblem::NotFound: return QStringLiteral("не найден модуль печати «%1»").arg(path);
    case PrintError::ModuleProblem::NotAPrintModule:
        return QStringLiteral("«%1» не является модулем печати этой программы").arg(path);
    case PrintError::ModuleProblem::CannotLoad:
        return QStringLiteral("не удаётся загрузить модуль печати «%1»").arg(path);
    }
    return QString();
}

}  // namespace

std::optional<PrintError> PrintOnDefaultPrinter(const QString &printModule, const DesignSnapshot &snapshot,
                                                const ReportStamp &stamp) {
    // Loaded once; a QLibrary going out of scope leaves the module loaded for the next print.
    QLibrary module(printModule);
    if (!module.load()) {
        const bool present = QFileInfo::exists(printModule);
        return moduleError(printModule,
                           present ? PrintError::ModuleProblem::CannotLoad : PrintError::ModuleProblem::NotFound);
    }
    const auto print = reinterpret_cast<PrintEntry>(module.resolve(kPrintEntryName));
    if (!print) return moduleError(printModule, PrintError::ModuleProblem::NotAPrintModule);
    std::optional<PrintError> result;
    print(PrintedReportLines(snapshot, stamp), result);
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
        return QStringLiteral("Печать недоступна: %1. Результат не напечатан.").arg(moduleProblemText(error));
    }
    return QString();
}

}  // namespace tremira::reports
