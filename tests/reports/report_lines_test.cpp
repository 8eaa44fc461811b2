#include "reports/report_lines.h"

#include <gtest/gtest.h>

#include "reports/report_file.h"
#include "tests/reports/run_a.h"
#include "tests/reports/run_a_report.h"

namespace tremira::reports {
namespace {

TEST(FileReport, RunAIsWrittenByteForByte) {
    const std::optional<QByteArray> bytes = EncodeFileReport(test::RunA(), test::FixedStamp());
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(bytes->toHex(' ').toStdString(), test::RunAReportBytes().toHex(' ').toStdString());
}

TEST(FileReport, EmptyFieldsLeaveLabelAndSpacesUpToTheValueColumn) {
    const QStringList lines = FileReportLines(DesignSnapshot{}, test::FixedStamp());
    ASSERT_EQ(lines.size(), 25);
    struct Case {
        int line;
        QString text;
    };
    const Case cases[] = {
        {9, u"Сечение трансформатора        :          "_qs},  {13, u"Макс. индукция сердечника (Тл):          "_qs},
        {17, u"Габаритная мощность трансформатора (вт): "_qs}, {18, u"Требуемая  мощность трансформатора (вт): "_qs},
        {23, u"Максимальный ток I обмотки  (А):         "_qs}, {25, QString()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(lines[c.line - 1], c.text);
    }
}

TEST(FileReport, FieldsOtherThanTheCurrentAreWrittenUnchanged) {
    DesignSnapshot snapshot = test::RunA();
    snapshot.Text5 = u" 1,50 "_qs;
    snapshot.Text3 = u"abc"_qs;
    snapshot.Text12 = u"0,5"_qs;
    const QStringList lines = FileReportLines(snapshot, test::FixedStamp());
    EXPECT_EQ(lines[6], u"Выходное напряжение           :          abc"_qs);
    EXPECT_EQ(lines[16], u"Габаритная мощность трансформатора (вт):  1,50 "_qs);
    EXPECT_EQ(lines[22], u"Максимальный ток I обмотки  (А):         ,5"_qs);
}

}  // namespace
}  // namespace tremira::reports
