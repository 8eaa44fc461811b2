#include <QApplication>
#include <QImage>
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
    const struct {
        std::optional<qint32> topic;
        QString page;
    } cases[] = {
        {6, QStringLiteral("/indukciya.htm")},
        {99, QStringLiteral("/obzor.htm")},  // unmapped
        {8, QStringLiteral("/menyu_pomoshch.htm")},
        {std::nullopt, QStringLiteral("/obzor.htm")},
    };
    HelpWindow *first = OpenHelp(kHelpFile, 1);
    ASSERT_NE(first, nullptr);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.topic.value_or(-1));
        EXPECT_EQ(OpenHelp(kHelpFile, c.topic), first);
        EXPECT_TRUE(first->isVisible());
        EXPECT_EQ(shownPage(first), c.page);
    }
}

TEST(HelpViewer, AClickInTheContentsOrALinkShowsItsPageWithBackAndForward) {
    HelpWindow *window = OpenHelp(kHelpFile, std::nullopt);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    const QList<QTreeWidgetItem *> found =
        contents(window)->findItems(QStringLiteral("Сечение сердечника"), Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(found.size(), 1);
    QTreeWidget *tree = contents(window);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(found[0]).center());
    EXPECT_EQ(shownPage(window), QStringLiteral("/sechenie_serdechnika.htm"));
    page(window)->setSource(page(window)->source().resolved(QUrl(QStringLiteral("rezultaty.htm"))));
    EXPECT_EQ(shownPage(window), QStringLiteral("/rezultaty.htm"));
    page(window)->backward();
    page(window)->backward();
    EXPECT_EQ(shownPage(window), QStringLiteral("/obzor.htm"));
    page(window)->forward();
    EXPECT_EQ(shownPage(window), QStringLiteral("/sechenie_serdechnika.htm"));
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

TEST(HelpViewer, ReadsStyleSheetsAndPicturesFromTheHelpFileOnly) {
    HelpWindow *window = OpenHelp(kHelpFile, std::nullopt);
    ASSERT_NE(window, nullptr);
    const auto resource = [window](int type, const char *url) { return page(window)->loadResource(type, QUrl(url)); };
    EXPECT_FALSE(
        QImage::fromData(resource(QTextDocument::ImageResource, "help:/transformator.png").toByteArray()).isNull());
    EXPECT_TRUE(resource(QTextDocument::StyleSheetResource, "help:/style.css").toByteArray().contains("body"));
    EXPECT_FALSE(resource(QTextDocument::ImageResource, "file:///etc/hostname").isValid());
}

}  // namespace
