// The help window on a help file it cannot read: it tells a failed reader from a missing or
// damaged file, runs the reader on a file again only once the file has changed, and serves one
// request at a time.

#include <QDir>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "help/viewer/help_window.h"
#include "tests/help/viewer/shown_help_window.h"
#include "tests/help/viewer/stand_in_reader.h"

namespace {

using namespace tremira::help;

const QString kReaderFailed = QStringLiteral("Не удалось прочитать справку: программа чтения справки");
const QString kDamaged = QStringLiteral("Файл повреждён или не является файлом справки.");

QString shownText(const HelpWindow &window) { return tremira::testing::ShownPage(&window)->toPlainText(); }

using HelpWindowReader = tremira::testing::StandInReader;

TEST_F(HelpWindowReader, AFailedReaderIsToldFromAMissingOrDamagedFile) {
    const QString missing = m_folder.filePath(QStringLiteral("missing"));
    const QString helpReader = QStringLiteral(TREMIRA_HELP_READER);
    const QString damaged = helpFile("not a help file");
    const struct {
        const char *name;
        QString reader;
        QString file;
        QString reason;
    } cases[] = {
        {"missing reader", missing, damaged,
         kReaderFailed + " " + QDir::toNativeSeparators(missing) + " не найдена или не запускается."},
        {"crashing reader", script("crashes", "kill -SEGV $$"), damaged, kReaderFailed + " завершилась аварийно."},
        {"a damaged file", helpReader, damaged, kDamaged},
        {"a missing file", helpReader, m_folder.filePath(QStringLiteral("нет.chm")), QStringLiteral("Файл не найден.")},
    };
    for (const auto &[name, reader, file, reason] : cases) {
        SCOPED_TRACE(name);
        HelpWindow window(reader);
        window.showHelp(file, 3);
        EXPECT_TRUE(window.isVisible());
        const QString shown = shownText(window);
        EXPECT_TRUE(shown.startsWith(QStringLiteral("Не удаётся открыть файл справки"))) << shown.toStdString();
        EXPECT_TRUE(shown.contains(QDir::toNativeSeparators(file))) << shown.toStdString();
        EXPECT_TRUE(shown.contains(reason)) << shown.toStdString();
        EXPECT_EQ(shown.contains(kReaderFailed), reader != helpReader);
        EXPECT_EQ(tremira::testing::ShownContents(&window)->topLevelItemCount(), 0);
    }
}

TEST_F(HelpWindowReader, AHungReaderIsReportedAndNotRunAgainWhileTheFileIsUnchanged) {
    HelpWindow window(countedScript("hangs", "exec sleep 600"));
    const QString file = helpFile("a help file");
    for (const std::optional<qint32> topic : {std::optional<qint32>(3), std::optional<qint32>()}) {
        window.showHelp(file, topic);
        EXPECT_EQ(starts(), 1);
        EXPECT_TRUE(shownText(window).contains(kReaderFailed + " не ответила за 5 с."))
            << shownText(window).toStdString();
    }
}

TEST_F(HelpWindowReader, AFileThatFailedIsReadAgainOnceItChanges) {
    HelpWindow window(countedScript("crashes", "kill -SEGV $$"));
    const QString file = helpFile("a damaged help file");
    window.showHelp(file, 3);
    window.showHelp(file, 3);
    EXPECT_EQ(starts(), 1);
    helpFile("the same help file, mended");
    window.showHelp(file, 3);
    window.showHelp(file, 3);
    EXPECT_EQ(starts(), 2);
}

// F1 or the help command while the window waits for the reader: the first request stands.
TEST_F(HelpWindowReader, ARequestWhileTheFileIsReadIsIgnored) {
    HelpWindow window(countedScript("hangs", "exec sleep 600"));
    const QString file = helpFile("a help file");
    const QString other = helpFile("another help file", QStringLiteral("другой.chm"));
    QTimer::singleShot(0, &window, [&window, &other] { window.showHelp(other, 1); });
    window.showHelp(file, 3);
    EXPECT_EQ(starts(), 1);
    EXPECT_TRUE(shownText(window).contains(QDir::toNativeSeparators(file)));
    EXPECT_FALSE(shownText(window).contains(QDir::toNativeSeparators(other)));
}

}  // namespace
