#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "platform/help_viewer.h"
#include "platform/help_window.h"

namespace {

using namespace tremira::platform;

const QString kHelpFile = QStringLiteral(TREMIRA_HELP_FILE);

HelpWindow *openHelp(const QString &fileName, quint32 command, qint32 data) {
    return qobject_cast<HelpWindow *>(HtmlHelp(nullptr, fileName, command, data));
}

QString shownPage(const HelpWindow *window) { return window->page()->source().path(); }

TEST(HelpViewer, ShowsTheTopicOfAContextNumberWithItsContentsEntry) {
    HelpWindow *window = openHelp(kHelpFile, HH_HELP_CONTEXT, 3);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_TRUE(window->isWindow());
    EXPECT_EQ(shownPage(window), QStringLiteral("/tok_svarki.htm"));
    EXPECT_EQ(window->page()->documentTitle(), QStringLiteral("Максимальный ток сварки"));
    EXPECT_TRUE(window->page()->toPlainText().contains(QStringLiteral("диаметра электрода")));
    ASSERT_NE(window->contents()->currentItem(), nullptr);
    EXPECT_EQ(window->contents()->currentItem()->text(0), QStringLiteral("Максимальный ток сварки"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Тремира — справка"));
}

TEST(HelpViewer, ASecondCallBringsTheSameWindowToTheRequestedTopic) {
    struct Case {
        const char *name;
        quint32 command;
        qint32 data;
        QString page;
    };
    const Case cases[] = {
        {"context 6", HH_HELP_CONTEXT, 6, QStringLiteral("/indukciya.htm")},
        {"unmapped context", HH_HELP_CONTEXT, 99, QStringLiteral("/obzor.htm")},
        {"context 8", HH_HELP_CONTEXT, 8, QStringLiteral("/menyu_pomoshch.htm")},
        {"default topic", HH_DISPLAY_TOPIC, 0, QStringLiteral("/obzor.htm")},
    };
    HelpWindow *first = openHelp(kHelpFile, HH_HELP_CONTEXT, 1);
    ASSERT_NE(first, nullptr);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(openHelp(kHelpFile, c.command, c.data), first);
        EXPECT_TRUE(first->isVisible());
        EXPECT_EQ(shownPage(first), c.page);
    }
}

TEST(HelpViewer, FollowsLinksAndGoesBackAndForward) {
    HelpWindow *window = openHelp(kHelpFile, HH_HELP_CONTEXT, 0);
    ASSERT_NE(window, nullptr);
    window->page()->setSource(window->page()->source().resolved(QUrl(QStringLiteral("rezultaty.htm"))));
    EXPECT_EQ(shownPage(window), QStringLiteral("/rezultaty.htm"));
    window->page()->backward();
    EXPECT_EQ(shownPage(window), QStringLiteral("/obzor.htm"));
    window->page()->forward();
    EXPECT_EQ(shownPage(window), QStringLiteral("/rezultaty.htm"));
}

TEST(HelpViewer, AClickInTheContentsShowsThatEntrysPage) {
    HelpWindow *window = openHelp(kHelpFile, HH_DISPLAY_TOPIC, 0);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    const QList<QTreeWidgetItem *> found =
        window->contents()->findItems(QStringLiteral("Сечение сердечника"), Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(found.size(), 1);
    QTreeWidget *contents = window->contents();
    QTest::mouseClick(contents->viewport(), Qt::LeftButton, {}, contents->visualItemRect(found[0]).center());
    EXPECT_EQ(shownPage(window), QStringLiteral("/sechenie_serdechnika.htm"));
    window->page()->backward();
    EXPECT_EQ(shownPage(window), QStringLiteral("/obzor.htm"));
}

TEST(HelpViewer, ReadsStyleSheetsAndPicturesFromTheHelpFile) {
    HelpWindow *window = openHelp(kHelpFile, HH_DISPLAY_TOPIC, 0);
    ASSERT_NE(window, nullptr);
    const QVariant picture =
        window->page()->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("help:/transformator.png")));
    EXPECT_FALSE(QImage::fromData(picture.toByteArray()).isNull());
    const QVariant style =
        window->page()->loadResource(QTextDocument::StyleSheetResource, QUrl(QStringLiteral("help:/style.css")));
    EXPECT_TRUE(style.toByteArray().contains("body"));
    EXPECT_FALSE(window->page()
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
        HelpWindow *window = openHelp(c.fileName, HH_HELP_CONTEXT, 3);
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->isVisible());
        const QString shown = window->page()->toPlainText();
        EXPECT_TRUE(shown.contains(QStringLiteral("Не удаётся открыть файл справки")));
        EXPECT_TRUE(shown.contains(c.fileName));
        EXPECT_TRUE(shown.contains(c.reason));
        EXPECT_EQ(window->contents()->topLevelItemCount(), 0);
    }
    // The good file opens again in the same window afterwards.
    EXPECT_EQ(shownPage(openHelp(kHelpFile, HH_HELP_CONTEXT, 2)), QStringLiteral("/vyhodnoe_napryazhenie.htm"));
}

TEST(HelpViewer, RefusesAnUnknownCommand) { EXPECT_EQ(HtmlHelp(nullptr, kHelpFile, 1, 0), nullptr); }

}  // namespace
