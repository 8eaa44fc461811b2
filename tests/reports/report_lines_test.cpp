#include "reports/report_lines.h"

#include <gtest/gtest.h>

#include "reports/report_file.h"
#include "tests/reports/run_a.h"
#include "tests/reports/run_a_bytes.h"

namespace tremira::reports {
namespace {

TEST(FileReport, RunAIsWrittenByteForByte) {
    const std::optional<QByteArray> bytes = EncodeFileReport(test::RunA(), test::FixedStamp());
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(bytes->toHex(' ').toStdString(), test::kRunAReportBytes.toHex(' ').toStdString());
}

TEST(FileReport, EmptyFieldsLeaveLabelAndSpacesUpToTheValueColumn) {
    const QStringList lines = FileReportLines(DesignSnapshot{}, test::FixedStamp());
    ASSERT_EQ(lines.size(), 25);
    struct Case {
        int line;
        QString text;
    };
    const Case cases[] = {
        {9, u"Сечение трансформатора        :          "_qs},
        {13, u"Макс. индукция сердечника (Тл):          "_qs},
        {17, u"Габаритная мощность трансформатора (вт): "_qs},
        {18, u"Требуемая  мощность трансформатора (вт): "_qs},
        {23, u"Максимальный ток I обмотки  (А):         "_qs},
        {25, QString()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(lines[c.line - 1], c.text);
    }
}

TEST(FileReport, FieldsOtherThanTheCurrentAreWrittenUnchanged) {
    DesignSnapshot sheet = test::RunA();
    sheet.Text5 = u" 1,50 "_qs;
    sheet.Text3 = u"abc"_qs;
    sheet.Text12 = u"0,5"_qs;
    const QStringList lines = FileReportLines(sheet, test::FixedStamp());
    EXPECT_EQ(lines[6], u"Выходное напряжение           :          abc"_qs);
    EXPECT_EQ(lines[16], u"Габаритная мощность трансформатора (вт):  1,50 "_qs);
    EXPECT_EQ(lines[22], u"Максимальный ток I обмотки  (А):         ,5"_qs);
}

TEST(PrintedReport, RunAHas24LinesWithBoldTitlesAndLine18WithoutStep) {
    const QList<PrintedLine> lines = PrintedReportLines(test::RunA(), test::FixedStamp());
    ASSERT_EQ(lines.size(), 24);
    for (int i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(lines[i].bold, i + 1 == 4 || i + 1 == 15);
    }
    EXPECT_EQ(lines[0].label, QString());
    EXPECT_EQ(lines[1].label, u"Дата: 07.12.2026 Время: 14:05:09"_qs);
    EXPECT_EQ(lines[17].label, u"Требуемая  мощность трансформатора (вт):5600"_qs);
    EXPECT_FALSE(lines[17].value.has_value());
    EXPECT_EQ(lines[16].label, u"Габаритная мощность трансформатора( вт):"_qs);
    EXPECT_EQ(lines[16].value, u"10400"_qs);
    EXPECT_EQ(lines[22].value, u"48,19"_qs);
    EXPECT_EQ(lines[23].label, QString(52, u'*'));
}

}  // namespace
}  // namespace tremira::reports
