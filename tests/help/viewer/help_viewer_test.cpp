#include <QApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "help/context_help_filter.h"
#include "tests/help/viewer/shown_help_window.h"

namespace {

using namespace tremira::help;

const QString kHelpFile = QStringLiteral(TREMIRA_HELP_FILE);

using tremira::testing::OpenHelp;

HelpPage *page(const HelpWindow *window) { return tremira::testing::ShownPage(window); }
QTreeWidget *contents(const HelpWindow *window) { return tremira::testing::ShownContents(window); }
QString shownPage(const HelpWindow *window) { return page(window)->source().path(); }

TEST(HelpViewer, ShowsTheTopicOfAContextNumberWithItsContentsEntry) {
    HelpWindow *window = OpenHelp(kHelpFile, 3);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_TRUE(window->isWindow());
    EXPECT_EQ(shownPage(window), QStringLiteral("/tok_svarki.htm"));
    EXPECT_EQ(page(window)->documentTitle(), QStringLiteral("Максимальный ток сварки"));
    EXPECT_TRUE(page(window)->toPlainText().contains(QStringLiteral("диаметра электрода")));
    ASSERT_NE(contents(window)->currentItem(), nullptr);
    EXPECT_EQ(contents(window)->currentItem()->text(0), QStringLiteral("Максимальный ток сварки"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Тремира — справка"));
}

TEST(HelpViewer, ASecondCallBringsTheSameWindowToTheRequestedTopic) {
    struct Case {
        const char *name;
        std::optional<qint32> topic;
        QString page;
    };
    const Case cases[] = {
        {"context 6", 6, QStringLiteral("/indukciya.htm")},
        {"unmapped context", 99, QStringLiteral("/obzor.htm")},
        {"context 8", 8, QStringLiteral("/menyu_pomoshch.htm")},
        {"default topic", std::nullopt, QStringLiteral("/obzor.htm")},
    };
    HelpWindow *first = OpenHelp(kHelpFile, 1);
    ASSERT_NE(first, nullptr);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(OpenHelp(kHelpFile, c.topic), first);
        EXPECT_TRUE(first->isVisible());
        EXPECT_EQ(shownPage(first), c.page);
    }
}

TEST(HelpViewer, FollowsLinksAndGoesBackAndForward) {
    HelpWindow *window = OpenHelp(kHelpFile, 0);
    ASSERT_NE(window, nullptr);
    page(window)->setSource(page(window)->source().resolved(QUrl(QStringLiteral("rezultaty.htm"))));
    EXPECT_EQ(shownPage(window), QStringLiteral("/rezultaty.htm"));
    page(window)->backward();
    EXPECT_EQ(shownPage(window), QStringLiteral("/obzor.htm"));
    page(window)->forward();
    EXPECT_EQ(shownPage(window), QStringLiteral("/rezultaty.htm"));
}

TEST(HelpViewer, AClickInTheContentsShowsThatEntrysPage) {
    HelpWindow *window = OpenHelp(kHelpFile, std::nullopt);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    const QList<QTreeWidgetItem *> found =
        contents(window)->findItems(QStringLiteral("Сечение сердечника"), Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(found.size(), 1);
    QTreeWidget *tree = contents(window);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(found[0]).center());
    EXPECT_EQ(shownPage(window), QStringLiteral("/sechenie_serdechnika.htm"));
    page(window)->backward();
    EXPECT_EQ(shownPage(window), QStringLiteral("/obzor.htm"));
}

TEST(HelpViewer, EscapeClosesTheWindowFromEitherPane) {
    for (const char *pane : {"contents", "page"}) {
        SCOPED_TRACE(pane);
        HelpWindow *window = OpenHelp(kHelpFile, 3);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        auto *focused = window->findChild<QWidget *>(QLatin1String(pane));
        ASSERT_NE(focused, nullptr);
        focused->setFocus();
        QTest::keyClick(focused, Qt::Key_Escape);
        EXPECT_FALSE(window->isVisible());
    }
}

TEST(HelpViewer, F1WhileReadingKeepsThePage) {
    // The program's context help serves every window, the help window included.
    ContextHelpFilter contextHelp(kHelpFile, tremira::testing::ShowHelpWithBuiltReader);
    qApp->installEventFilter(&contextHelp);
    HelpWindow *window = OpenHelp(kHelpFile, 3);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    for (QWidget *pane : {static_cast<QWidget *>(page(window)), static_cast<QWidget *>(contents(window))}) {
        SCOPED_TRACE(pane->objectName().toStdString());
        pane->setFocus();
        QTest::keyClick(pane, Qt::Key_F1);
        EXPECT_EQ(shownPage(window), QStringLiteral("/tok_svarki.htm"));
    }
    qApp->removeEventFilter(&contextHelp);
}

TEST(HelpViewer, ReadsStyleSheetsAndPicturesFromTheHelpFile) {
    HelpWindow *window = OpenHelp(kHelpFile, std::nullopt);
    ASSERT_NE(window, nullptr);
    const QVariant picture =
        page(window)->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("help:/transformator.png")));
    EXPECT_FALSE(QImage::fromData(picture.toByteArray()).isNull());
    const QVariant style =
        page(window)->loadResource(QTextDocument::StyleSheetResource, QUrl(QStringLiteral("help:/style.css")));
    EXPECT_TRUE(style.toByteArray().contains("body"));
    EXPECT_FALSE(page(window)
                     ->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("file:///etc/hostname")))
                     .isValid());
}

TEST(HelpViewer, AFileItCannotReadGivesAMessageInTheHelpWindow) {
    QTemporaryDir folder;
    const QString damaged = folder.filePath(QStringLiteral("Тремира.chm"));
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a help file");
    file.close();
    struct Case {
        const char *name;
        QString fileName;
        QString reason;
    };
    const Case cases[] = {
        {"missing", folder.filePath(QStringLiteral("нет.chm")), QStringLiteral("Файл не найден.")},
        {"damaged", damaged, QStringLiteral("Файл повреждён или не является файлом справки.")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        HelpWindow *window = OpenHelp(c.fileName, 3);
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->isVisible());
        const QString shown = page(window)->toPlainText();
        EXPECT_TRUE(shown.contains(QStringLiteral("Не удаётся открыть файл справки")));
        EXPECT_TRUE(shown.contains(c.fileName));
        EXPECT_TRUE(shown.contains(c.reason));
        EXPECT_EQ(contents(window)->topLevelItemCount(), 0);
    }
    // The good file opens again in the same window afterwards.
    EXPECT_EQ(shownPage(OpenHelp(kHelpFile, 2)), QStringLiteral("/vyhodnoe_napryazhenie.htm"));
}

}  // namespace
