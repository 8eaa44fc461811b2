// Menu handlers of the report file and the printed report: read the fields, call the reports
// library, and show a box when the report could not be written or printed. The fields stay
// as they are in every case.

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QPushButton>
#include <QStandardPaths>
#include <optional>

#include "reports/report_file.h"
#include "reports/report_printer.h"
#include "ui/main/form1.h"
#include "ui/main/message_box.h"

namespace tremira::ui {
namespace {

reports::ReportStamp currentStamp() {
    return reports::MakeReportStamp(QDateTime::currentDateTime(), QLocale::system());
}

// Yes appends, No replaces. Escape or closing the box would count as No for Qt and replace the
// whole file; a hidden Cancel takes them instead, and nothing is written.
std::optional<reports::WriteMode> askWriteMode(QWidget *parent) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Запись результата в файл"),
                    QStringLiteral("Добавить результат в файл(Да) или записать как новый(Нет)?"),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    QPushButton *cancel = box.addButton(QMessageBox::Cancel);
    cancel->hide();
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == box.button(QMessageBox::Yes)) return reports::WriteMode::Append;
    if (box.clickedButton() == box.button(QMessageBox::No)) return reports::WriteMode::Replace;
    return std::nullopt;
}

void showFailure(QWidget *parent, const QString &text) { ShowMessage(parent, text, QString(), QMessageBox::Critical); }

}  // namespace

QString Form1::reportFolder() const {
    const QString documents =
        reports::DocumentsFolder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), QDir::homePath());
    return reports::ReportFolder(m_curDir, QFileInfo(m_curDir).isWritable(), documents);
}

void Form1::saveReport() {
    if (!requireCalculatedDesign()) return;
    const std::optional<reports::WriteMode> mode = askWriteMode(this);
    if (!mode) return;
    const QString folder = reportFolder();
    std::optional<reports::FileWriteError> error = reports::MakeReportFolder(folder);
    if (!error) error = reports::SaveReport(reports::ReportFilePath(folder), snapshot(), currentStamp(), *mode);
    if (error) showFailure(this, reports::FileWriteErrorText(*error, QStringLiteral("результат")));
}

void Form1::printReport() {
    if (!requireCalculatedDesign()) return;
    if (const auto error = reports::PrintOnDefaultPrinter(m_printModule, snapshot(), currentStamp())) {
        showFailure(this, reports::PrintErrorText(*error));
    }
}

}  // namespace tremira::ui
