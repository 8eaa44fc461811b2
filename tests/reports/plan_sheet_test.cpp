// The workshop sheet: its sections and drawing on A4 pages of a PDF read back with poppler's
// tools, and a failed write that leaves the old file as it was and says why.

#include "reports/plan_sheet.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/reports/tool_output.h"
#include "tests/reports/without_root_rights.h"

namespace tremira::reports {
namespace {

WorkshopSheet sheetOf(int lineCount, QList<QRectF> *drawnInto) {
    WorkshopSheet sheet{u"Лист намотки"_qs,
                        {{u"Расчёт"_qs, {u"Витки I обмотки: 83"_qs}}, {u"План намотки"_qs, {}}},
                        {[drawnInto](QPainter &painter, const QRectF &area) {
                            drawnInto->append(area);
                            painter.drawText(area, Qt::AlignCenter, u"рисунок окна"_qs);
                        }}};
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

// A disk that fills part-way: the writer takes the first bytes and no more.
qint64 writeFirstKilobyte(QIODevice &device, const QByteArray &bytes) {
    const qint64 taken = device.write(bytes.left(1024));
    errno = ENOSPC;
    return taken;
}

TEST(WorkshopSheetTest, AShortWriteKeepsTheOldFileByteForByteAndLeavesNoNewOne) {
    QTemporaryDir folder;
    const QString old = folder.filePath(u"old.pdf"_qs);
    const QString fresh = folder.filePath(u"new.pdf"_qs);
    QFile file(old);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("the old sheet");
    file.close();
    QList<QRectF> drawnInto;
    for (const QString &path : {old, fresh}) {
        SCOPED_TRACE(path.toStdString());
        const std::optional<FileWriteError> error = SaveWorkshopSheet(path, sheetOf(3, &drawnInto), writeFirstKilobyte);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->reason, u"На диске не хватает места."_qs);
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("the old sheet"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{u"old.pdf"_qs});
}

// A pipe would block the window; a device, /dev/full say, would be replaced by a regular file.
TEST(WorkshopSheetTest, ATargetThatIsNoRegularFileIsRefusedAndLeftAlone) {
    QTemporaryDir folder;
    const QString pipe = folder.filePath(u"канал.pdf"_qs);
    const QString link = folder.filePath(u"ссылка.pdf"_qs);
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(pipe, link));
    QList<QRectF> drawnInto;
    for (const QString &path : {pipe, link}) {
        SCOPED_TRACE(path.toStdString());
        const std::optional<FileWriteError> error = SaveWorkshopSheet(path, sheetOf(3, &drawnInto));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->reason, u"Это не обычный файл, а канал, устройство или сокет."_qs);
    }
    EXPECT_FALSE(QFileInfo(pipe).isFile());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
}

}  // namespace
}  // namespace tremira::reports
