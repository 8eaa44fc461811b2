// The help menu, F1 in the menus, and the windows the main window opens modally.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "tests/support/modal_answerer.h"
#include "tests/ui/main/form1_fixture.h"
#include "ui/about/form_about.h"

namespace {

using tremira::testing::ModalAnswerer;

TEST_F(Form1Test, F1InEachMenuOpensTheTopicOfTheMenuOrOfTheHighlightedItem) {
    calculateRunA();  // the report items take the highlight only once enabled
    const struct {
        QMenu *menu;
        QList<std::optional<qint32>> topics;  // with nothing highlighted, then item by item
    } menus[] = {{ui.mfile, {7, 7, 7, 6}}, {ui.MHelp, {8, 8, 8}}, {ui.MService, {9, 9}}};
    for (const auto &m : menus) {
        SCOPED_TRACE(m.menu->objectName().toStdString());
        helpViewer.requests.clear();
        ASSERT_TRUE(user::openMenu(window, m.menu));
        for (qsizetype i = 0; i < m.topics.size(); ++i) {
            if (i > 0) QTest::keyClick(m.menu, Qt::Key_Down);
            QTest::keyClick(m.menu, Qt::Key_F1);
        }
        QList<std::optional<qint32>> topics;
        for (const auto &request : helpViewer.requests) topics.append(request.topic);
        EXPECT_EQ(topics, m.topics);
        QTest::keyClick(m.menu, Qt::Key_Escape);
    }
}

// The check shows the design as calculated, weighing the wire of the materials the lists
// name (winding II of aluminium is a bundle of four strands, bought strand by strand); the
// command returns only when the window has been closed, and the next opening finds what was
// typed at the last.
TEST_F(Form1Test, TheDesignCheckCommandShowsTheCalculatedDesignModally) {
    user::choose(ui.Combo1, 1);
    user::choose(ui.Combo2, 1);
    calculateRunA();
    const std::pair<const char *, QString> typed[] = {
        {"windowWidth", "50"}, {"windowHeight", "60"}, {"legWidth", "70"}, {"legDepth", "121"}, {"fillFactor", ""}};
    QStringList shown;
    QStringList typedAtOpening;
    const ModalAnswerer answerer([&](QWidget *check) {
        if (check->windowTitle() != QStringLiteral("Проверка и план намотки")) return;
        const auto field = [check](const char *name) { return check->findChild<QLineEdit *>(QLatin1String(name)); };
        for (const auto &[name, text] : typed) typedAtOpening << field(name)->text();
        for (const auto &[name, text] : typed) field(name)->setText(text);
        for (const char *name : {"coreSection", "turnsI", "turnsII", "toBuyI", "toBuyII"})
            shown << check->findChild<QLabel *>(QLatin1String(name))->text();
        check->findChild<QPushButton *>(QStringLiteral("closeButton"))->click();
    });
    for (int opening = 0; opening < 2; ++opening) {
        ASSERT_TRUE(user::openMenu(window, ui.MService));
        QTest::keyClick(ui.MService, Qt::Key_Down);
        QTest::keyClick(ui.MService, Qt::Key_Return);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
    const QStringList answers{"84,672", "83", "25", "47 м, 1,25 кг", "84 м (4 провода 3,35 по 21 м), 1,78 кг"};
    EXPECT_EQ(shown, answers + answers);
    EXPECT_EQ(typedAtOpening, (QStringList{"", "", "", "", "0,35", "50", "60", "70", "121", ""}));
}

TEST_F(Form1Test, TheAboutCommandShowsTheAboutWindowModally) {
    QString shownTitle;
    const ModalAnswerer answerer([&](QWidget *about) {
        if (!qobject_cast<tremira::ui::FormAbout *>(about)) return;
        shownTitle = about->windowTitle();
        about->findChild<QPushButton *>(QStringLiteral("Command1"))->click();
    });
    ASSERT_TRUE(user::openMenu(window, ui.MHelp));
    QTest::keyClick(ui.MHelp, Qt::Key_Down);
    QTest::keyClick(ui.MHelp, Qt::Key_Down);
    QTest::keyClick(ui.MHelp, Qt::Key_Return);
    EXPECT_EQ(shownTitle, QStringLiteral("About Programm"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
