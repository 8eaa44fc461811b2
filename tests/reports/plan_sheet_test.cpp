// The workshop sheet: its sections and drawing on A4 pages of a PDF read back with poppler's
// tools, and a failed write that leaves no file and says why.

#include "reports/plan_sheet.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "tests/reports/tool_output.h"
#include "tests/reports/without_root_rights.h"

namespace tremira::reports {
namespace {

WorkshopSheet sheetOf(int lineCount, QList<QRectF> *drawnInto) {
    WorkshopSheet sheet{u"Лист намотки"_qs,
                        {{u"Расчёт"_qs, {u"Витки I обмотки: 83"_qs}}, {u"План намотки"_qs, {}}},
                        [drawnInto](QPainter &painter, const QRectF &area) {
                            drawnInto->append(area);
                            painter.drawText(area, Qt::AlignCenter, u"рисунок окна"_qs);
                        }};
    for (int i = 1; i <= lineCount; ++i) sheet.sections[1].lines << u"Строка плана %1"_qs.arg(i);
    return sheet;
}

QString pdfText(const QString &pdf) { return test::ToolOutput(u"pdftotext"_qs, {pdf, u"-"_qs}); }

int pageCount(const QString &pdf) {
    const QRegularExpressionMatch pages =
        QRegularExpression(u"Pages:\\s+(\\d+)\\n"_qs).match(test::ToolOutput(u"pdfinfo"_qs, {pdf}));
    return pages.hasMatch() ? pages.captured(1).toInt() : -1;
}

TEST(WorkshopSheetTest, HoldsEveryLineAndTheDrawingOnA4Pages) {
    const struct {
        const char *name;
        int lineCount;
        int pages;
    } cases[] = {{"a short plan", 3, 1}, {"a plan longer than a page", 90, 2}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir folder;
        const QString pdf = folder.filePath(u"лист.pdf"_qs);
        QList<QRectF> drawnInto;
        ASSERT_FALSE(SaveWorkshopSheet(pdf, sheetOf(c.lineCount, &drawnInto)));
        const QString text = pdfText(pdf);
        const QString last = u"Строка плана %1"_qs.arg(c.lineCount);
        for (const QString &expected : {u"Лист намотки"_qs, u"Расчёт"_qs, u"Витки I обмотки: 83"_qs, u"План намотки"_qs,
                                        u"Строка плана 1\n"_qs, last, u"рисунок окна"_qs}) {
            EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << " in:\n" << text.toStdString();
        }
        EXPECT_LT(text.indexOf(last), text.indexOf(u"рисунок окна"_qs));
        EXPECT_EQ(pageCount(pdf), c.pages);
        EXPECT_TRUE(test::ToolOutput(u"pdfinfo"_qs, {pdf}).contains(u"(A4)"_qs));
        ASSERT_EQ(drawnInto.size(), 1);
        EXPECT_GT(drawnInto[0].width(), 0);
    }
}

TEST(WorkshopSheetTest, AFailedWriteLeavesNoFileAndSaysWhy) {
    QTemporaryDir folder;
    const QString readOnly = folder.filePath(u"только чтение"_qs);
    ASSERT_TRUE(QDir().mkdir(readOnly));
    ASSERT_TRUE(QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner));
    const test::WithoutRootsRightOverPermissions withoutRoot;
    ASSERT_TRUE(withoutRoot.effective());
    const struct {
        const char *name;
        QString path;
        QString reason;
    } cases[] = {
        {"a read-only folder", readOnly + u"/лист.pdf"_qs, u"Нет прав на запись в этот файл или в его папку."_qs},
        {"a missing folder", folder.filePath(u"нет такой/лист.pdf"_qs), u"Папка файла не найдена."_qs},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QList<QRectF> drawnInto;
        const std::optional<FileWriteError> error = SaveWorkshopSheet(c.path, sheetOf(3, &drawnInto));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->path, c.path);
        EXPECT_EQ(error->reason, c.reason);
        EXPECT_FALSE(QFile::exists(c.path));
    }
    EXPECT_TRUE(QDir(readOnly).isEmpty());
}

}  // namespace
}  // namespace tremira::reports
