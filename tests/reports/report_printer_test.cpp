#include "reports/printer/page_printer.h"
#include "reports/report_printer.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "tests/reports/run_a.h"
#include "tests/reports/tool_output.h"

namespace tremira::reports {
namespace {

// Pages go to a PDF whose printable area starts at the paper edge, so that poppler's text
// columns, one per 7.2 points (a 12-point fixed-pitch character), count from the printable area.
class PrintedPage : public ::testing::Test {
protected:
    void SetUp() override {
        m_printer.setOutputFormat(QPrinter::PdfFormat);
        m_printer.setOutputFileName(m_pdf);
        m_printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    }

    QStringList textLines() {
        QString text = test::ToolOutput(u"pdftotext"_qs, {u"-layout"_qs, u"-fixed"_qs, u"7.2"_qs, m_pdf, u"-"_qs});
        text.remove(u'\f');
        QStringList lines = text.split(u'\n');
        while (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
        return lines;
    }

    QTemporaryDir m_folder;
    QString m_pdf = m_folder.filePath(u"page.pdf"_qs);
    QPrinter m_printer{QPrinter::HighResolution};
};

TEST_F(PrintedPage, RunAShowsTheLinesWithValuesInColumn42AndOnlyTheTwoTitlesBold) {
    ASSERT_FALSE(PrintPage(m_printer, PrintedReportLines(test::RunA(), test::FixedStamp())));
    // Line 1 is empty; poppler starts with the first line that holds text.
    const QStringList expected{
        u"Дата: 07.12.2026 Время: 14:05:09"_qs,
        u"--------------------------------"_qs,
        u"Входные данные"_qs,
        u"==================================================="_qs,
        u"Напряжение сети:                         220"_qs,
        u"Выходное напряжение       :              65"_qs,
        u"Максимальный сварочный ток:              160"_qs,
        u"Сечение трансформатора    :              84,672"_qs,
        u"Материал  I обмотки       :              Медь"_qs,
        u"Материал II обмотки       :              Медь"_qs,
        u"Тип сердечника            :              Стержневой"_qs,
        u"Макс. индукция сердечника (Тл):          1,42"_qs,
        u""_qs,
        u"Расчетные данные"_qs,
        u"===================================================="_qs,
        u"Габаритная мощность трансформатора( вт): 10400"_qs,
        u"Требуемая  мощность трансформатора (вт):5600"_qs,
        u"Количество витков  I обмотки   :         83"_qs,
        u"Количество витков II обмотки   :         25"_qs,
        u"Сечение провода  I обмотки(cm2):         6"_qs,
        u"Сечение провода II обмотки(cm2):         20"_qs,
        u"Максимальный ток I обмотки  (А):         48,19"_qs,
        u"****************************************************"_qs,
    };
    EXPECT_EQ(textLines().join(u'\n').toStdString(), expected.join(u'\n').toStdString());
    EXPECT_TRUE(test::ToolOutput(u"pdfinfo"_qs, {m_pdf}).contains(QRegularExpression(u"Pages:\\s+1\\n"_qs)));

    // pdffonts lists each face once: Liberation Mono answers for "courier new".
    const QString fonts = test::ToolOutput(u"pdffonts"_qs, {m_pdf});
    const QStringList faces = fonts.split(u'\n', Qt::SkipEmptyParts).mid(2);
    ASSERT_EQ(faces.size(), 2) << fonts.toStdString();
    EXPECT_TRUE(faces[0].startsWith(u"LiberationMono "_qs)) << fonts.toStdString();
    EXPECT_TRUE(faces[1].startsWith(u"LiberationMono-Bold "_qs)) << fonts.toStdString();
    // pdftohtml marks the text set in a bold face with <b>.
    const QString xml = test::ToolOutput(u"pdftohtml"_qs, {u"-xml"_qs, u"-i"_qs, u"-stdout"_qs, u"-q"_qs, m_pdf});
    QStringList boldTexts;
    for (const QRegularExpressionMatch &match : QRegularExpression(u"<b>(.*?)</b>"_qs).globalMatch(xml)) {
        boldTexts.append(match.captured(1));
    }
    EXPECT_EQ(boldTexts, (QStringList{u"Входные данные"_qs, u"Расчетные данные"_qs})) << xml.toStdString();
}

TEST_F(PrintedPage, ALabelReachingTheValueColumnPutsTheValueOnTheNextLine) {
    const QString label(45, u'x');
    ASSERT_FALSE(PrintPage(m_printer, {{u"top"_qs, std::nullopt, false}, {label, u"V"_qs, false}}));
    EXPECT_EQ(textLines(), (QStringList{u"top"_qs, label, QString(41, u' ') + u"V"_qs}));
}

TEST_F(PrintedPage, APrinterThatCannotStartIsReported) {
    m_printer.setOutputFileName(m_folder.filePath(u"missing/page.pdf"_qs));
    const std::optional<PrintError> error = PrintPage(m_printer, {{u"top"_qs, std::nullopt, false}});
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->kind, PrintError::Kind::PrinterRefused);
}

// Whatever stands at the module's place, printing ends in the program's own box, not a crash:
// it says in Russian which of the three went wrong, and names the file.
TEST(PrintModule, TheBoxSaysWhyTheModuleDidNotPrintAndNamesIt) {
    QTemporaryDir folder;
    const QString notALibrary = folder.filePath(u"tremira-print.so"_qs);
    QFile file(notALibrary);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("not a library") > 0);
    file.close();
    const QString missing = folder.filePath(u"missing/tremira-print.so"_qs);
    const struct {
        QString module;
        QString text;
    } cases[] = {
        {missing, u"Печать недоступна: не найден модуль печати «"_qs + missing + u"». Результат не напечатан."_qs},
        {notALibrary, u"Печать недоступна: не удаётся загрузить модуль печати «"_qs + notALibrary +
                          u"». Результат не напечатан."_qs},
        {u"libz.so.1"_qs,
         u"Печать недоступна: «libz.so.1» не является модулем печати этой программы. Результат не напечатан."_qs},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.module.toStdString());
        const std::optional<PrintError> error = PrintOnDefaultPrinter(c.module, test::RunA(), test::FixedStamp());
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->kind, PrintError::Kind::NoPrintModule);
        EXPECT_EQ(PrintErrorText(*error).toStdString(), c.text.toStdString());
    }
}

// The built module answers through its entry point: with no CUPS server there is no default
// printer, and the module says so instead of printing.
TEST(PrintModule, TheBuiltModuleReportsAMissingDefaultPrinter) {
    qputenv("CUPS_SERVER", "/nonexistent/cups.sock");
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");
    const std::optional<PrintError> error =
        PrintOnDefaultPrinter(QStringLiteral(TREMIRA_PRINT_MODULE), test::RunA(), test::FixedStamp());
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->kind, PrintError::Kind::NoDefaultPrinter);
    EXPECT_EQ(PrintErrorText(*error), u"Принтер по умолчанию не задан. Результат не напечатан."_qs);
}

TEST(PrintModule, BesideTheProgramWhenItIsThere) {
    QTemporaryDir root;
    const QString bin = root.filePath(u"bin"_qs);
    ASSERT_TRUE(QDir().mkpath(bin));
    EXPECT_TRUE(PrintModulePath(bin).endsWith(u"/tremira/tremira-print.so"_qs)) << PrintModulePath(bin).toStdString();
    ASSERT_TRUE(QFile(bin + u"/tremira-print.so"_qs).open(QIODevice::WriteOnly));
    EXPECT_EQ(PrintModulePath(bin), bin + u"/tremira-print.so"_qs);
}

}  // namespace
}  // namespace tremira::reports
