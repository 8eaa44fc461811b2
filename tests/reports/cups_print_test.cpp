// The menu command's print path, through the built print module, to the system's default CUPS
// queue. CI makes a cups-pdf queue the default (tests/reports/cups_queue.sh); the PDF it writes
// has its text turned into outlines, so this only checks that one one-page document came out.
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

#include "reports/report_printer.h"
#include "tests/reports/run_a.h"
#include "tests/reports/tool_output.h"

namespace tremira::reports {
namespace {

// cups-pdf writes a job to the submitting user's ~/PDF, or to its spool folder for anonymous
// jobs (see /etc/cups/cups-pdf.conf).
QStringList outputFolders() { return {QDir::homePath() + u"/PDF"_qs, u"/var/spool/cups-pdf/ANONYMOUS"_qs}; }

// Each PDF with its modification time: cups-pdf may reuse a name and write over a file.
QMap<QString, QDateTime> pdfFiles() {
    QMap<QString, QDateTime> files;
    for (const QString &folder : outputFolders()) {
        for (const QFileInfo &info : QDir(folder).entryInfoList({u"*.pdf"_qs}, QDir::Files)) {
            files.insert(info.absoluteFilePath(), info.lastModified());
        }
    }
    return files;
}

QStringList newOrRewritten(const QMap<QString, QDateTime> &before, const QMap<QString, QDateTime> &after) {
    QStringList files;
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        if (before.value(it.key()) != it.value()) files.append(it.key());
    }
    return files;
}

bool queueIsEmpty(const QString &printer) {
    return test::ToolOutput(u"lpstat"_qs, {u"-o"_qs, printer}).trimmed().isEmpty();
}

TEST(PrintOnDefaultPrinter, OneCommandGivesOneOnePageDocument) {
    const QPrinterInfo target = QPrinterInfo::defaultPrinter();
    if (target.isNull()) GTEST_SKIP() << "no default printer: start one with tests/reports/cups_queue.sh start";

    const QMap<QString, QDateTime> before = pdfFiles();
    ASSERT_FALSE(PrintOnDefaultPrinter(QStringLiteral(TREMIRA_PRINT_MODULE), test::RunA(), test::FixedStamp()));

    // The job is done when the queue is empty and cups-pdf has written its file.
    ASSERT_TRUE(QTest::qWaitFor([&] { return queueIsEmpty(target.printerName()) && pdfFiles() != before; }, 120000))
        << "no PDF appeared in " << outputFolders().join(u", "_qs).toStdString();
    const QStringList added = newOrRewritten(before, pdfFiles());
    ASSERT_EQ(added.size(), 1) << added.join(u", "_qs).toStdString();
    const QString pdf = added.first();
    EXPECT_TRUE(test::ToolOutput(u"pdfinfo"_qs, {pdf}).contains(QRegularExpression(u"Pages:\\s+1\\n"_qs)))
        << pdf.toStdString();
}

}  // namespace
}  // namespace tremira::reports
