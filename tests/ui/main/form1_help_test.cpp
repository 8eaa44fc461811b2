// The help menu and F1 on the real main window, with a recorder in place of the viewer.
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "tests/support/modal_answerer.h"
#include "tests/ui/main/form1_fixture.h"
#include "ui/about/form_about.h"
#include "ui/main/form1.h"

namespace {

using tremira::testing::ViewerRequest;
using tremira::ui::Form1;

class Form1Help : public Form1Test {
protected:
    // The help file beside the executable.
    static QString helpFile() { return QCoreApplication::applicationDirPath() + QStringLiteral("/Тремира.chm"); }

    // Opens "Помощь" with a click and moves down to its n-th item with the arrow key.
    void highlightHelpItem(int downPresses) {
        QMenuBar *bar = window.menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(ui.MHelp->menuAction()).center());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(ui.MHelp));
        for (int i = 0; i < downPresses; ++i) QTest::keyClick(ui.MHelp, Qt::Key_Down);
    }
};

TEST_F(Form1Help, F1InTheWeldingCurrentOpensItsTopic) {
    ui.Text2->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([this] { return ui.Text2->hasFocus(); }));
    QTest::keyClick(ui.Text2, Qt::Key_F1);
    EXPECT_EQ(helpViewer.requests, (QList<ViewerRequest>{{helpFile(), 3}}));
    EXPECT_TRUE(ui.Text2->text().isEmpty());
}

TEST_F(Form1Help, F1OnTheHighlightedAboutItemOpensTheHelpMenuTopic) {
    highlightHelpItem(2);
    ASSERT_EQ(ui.MHelp->activeAction(), ui.MHabout);
    QTest::keyClick(ui.MHelp, Qt::Key_F1);
    EXPECT_EQ(helpViewer.requests, (QList<ViewerRequest>{{helpFile(), 8}}));
    QTest::keyClick(ui.MHelp, Qt::Key_Escape);
}

TEST_F(Form1Help, F1OnAMenuTitleHighlightedFromTheKeyboardOpensThatMenusTopic) {
    QMenuBar *bar = window.menuBar();
    user::press(Qt::Key_Alt);
    ASSERT_EQ(bar->activeAction(), ui.mfile->menuAction());
    user::press(Qt::Key_F1);
    user::press(Qt::Key_Right);
    ASSERT_EQ(bar->activeAction(), ui.MHelp->menuAction());
    user::press(Qt::Key_F1);
    EXPECT_FALSE(ui.mfile->isVisible() || ui.MHelp->isVisible());
    EXPECT_EQ(helpViewer.requests, (QList<ViewerRequest>{{helpFile(), 7}, {helpFile(), 8}}));
    user::press(Qt::Key_Escape);
}

TEST_F(Form1Help, TheHelpCommandOpensTheOverviewEachTime) {
    for (int use = 0; use < 2; ++use) {
        highlightHelpItem(1);
        ASSERT_EQ(ui.MHelp->activeAction(), ui.MHelpHTML);
        QTest::keyClick(ui.MHelp, Qt::Key_Return);
    }
    EXPECT_EQ(helpViewer.requests, (QList<ViewerRequest>{{helpFile(), 0}, {helpFile(), 0}}));
}

TEST_F(Form1Help, F1InEachMenuOpensTheTopicOfTheMenuOrOfTheHighlightedItem) {
    user::type(ui.Text2, QStringLiteral("160"));
    user::click(ui.cndCalc);  // the report items take the highlight only once enabled
    ASSERT_TRUE(ui.MFsave->isEnabled());
    const struct {
        QMenu *menu;
        QList<std::optional<qint32>> topics;  // with nothing highlighted, then item by item
    } menus[] = {{ui.mfile, {7, 7, 7, 6}}, {ui.MHelp, {8, 8, 8}}, {ui.MService, {9, 9}}};
    QMenuBar *bar = window.menuBar();
    for (const auto &m : menus) {
        SCOPED_TRACE(m.menu->objectName().toStdString());
        helpViewer.requests.clear();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(m.menu->menuAction()).center());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m.menu));
        for (qsizetype i = 0; i < m.topics.size(); ++i) {
            if (i > 0) QTest::keyClick(m.menu, Qt::Key_Down);
            QTest::keyClick(m.menu, Qt::Key_F1);
        }
        QList<std::optional<qint32>> topics;
        for (const ViewerRequest &request : helpViewer.requests) topics.append(request.topic);
        EXPECT_EQ(topics, m.topics);
        QTest::keyClick(m.menu, Qt::Key_Escape);
    }
}

TEST_F(Form1Help, TheDesignCheckCommandShowsTheCalculatedDesignModally) {
    user::type(ui.Text2, QStringLiteral("160"));
    user::click(ui.cndCalc);
    QStringList shown;
    const tremira::testing::ModalAnswerer answerer([&](QWidget *window) {
        if (window->windowTitle() != QStringLiteral("Проверка и план намотки")) return;
        for (const char *name : {"coreSection", "turnsI", "turnsII", "wireSectionII", "voltsPerTurn"})
            shown << window->findChild<QLineEdit *>(QLatin1String(name))->text();
        window->findChild<QPushButton *>(QStringLiteral("closeButton"))->click();
    });
    QMenuBar *bar = window.menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(ui.MService->menuAction()).center());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(ui.MService));
    QTest::keyClick(ui.MService, Qt::Key_Down);
    QTest::keyClick(ui.MService, Qt::Key_Return);
    // The command returns only when the window has been closed.
    EXPECT_EQ(shown, (QStringList{QStringLiteral("84,672"), QStringLiteral("83"), QStringLiteral("25"),
                                  QStringLiteral("20"), QStringLiteral("2,637")}));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// The plan weighs each winding's wire by the material the main window's lists name.
TEST_F(Form1Help, TheWindingPlanWeighsTheWireOfTheChosenMaterials) {
    const struct {
        const char *name;
        int listIndex;
        const char *toBuyI;
        const char *toBuyII;
    } cases[] = {{"copper", 0, "42 м, 2,22 кг", "17 м, 2,96 кг"},
                 {"the second entry, aluminium", 1, "47 м, 1,25 кг", "21 м, 1,78 кг"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        user::choose(ui.Combo1, c.listIndex);
        user::choose(ui.Combo2, c.listIndex);
        user::retype(ui.Text2, QStringLiteral("160"));
        user::click(ui.cndCalc);
        QStringList shown;
        const tremira::testing::ModalAnswerer answerer([&](QWidget *window) {
            if (window->windowTitle() != QStringLiteral("Проверка и план намотки")) return;
            const auto field = [window](const char *name) {
                return window->findChild<QLineEdit *>(QLatin1String(name));
            };
            for (const auto &[name, text] : {std::pair{"windowWidth", "50"}, std::pair{"windowHeight", "60"},
                                             std::pair{"legWidth", "70"}, std::pair{"legDepth", "121"}})
                field(name)->setText(QString::fromUtf8(text));
            shown << field("toBuyI")->text() << field("toBuyII")->text();
            window->findChild<QPushButton *>(QStringLiteral("closeButton"))->click();
        });
        ui.MScheck->trigger();
        EXPECT_EQ(shown, (QStringList{QString::fromUtf8(c.toBuyI), QString::fromUtf8(c.toBuyII)}));
    }
}

TEST_F(Form1Help, TheAboutCommandShowsTheAboutWindowModally) {
    QString shownTitle;
    const tremira::testing::ModalAnswerer answerer([&](QWidget *window) {
        if (auto *about = qobject_cast<tremira::ui::FormAbout *>(window)) {
            shownTitle = about->windowTitle();
            about->findChild<QPushButton *>(QStringLiteral("Command1"))->click();
        }
    });
    highlightHelpItem(2);
    QTest::keyClick(ui.MHelp, Qt::Key_Return);
    // The command returns only when the About window has been closed.
    EXPECT_EQ(shownTitle, QStringLiteral("About Programm"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
