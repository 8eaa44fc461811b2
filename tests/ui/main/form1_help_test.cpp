// The help menu, F1 in the menus, and the windows the main window opens modally.
#include <QApplication>
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
// name; the command returns only when the window has been closed.
TEST_F(Form1Test, TheDesignCheckCommandShowsTheCalculatedDesignModally) {
    user::choose(ui.Combo1, 1);
    user::choose(ui.Combo2, 1);
    calculateRunA();
    QStringList shown;
    const ModalAnswerer answerer([&](QWidget *check) {
        if (check->windowTitle() != QStringLiteral("Проверка и план намотки")) return;
        const auto field = [check](const char *name) { return check->findChild<QLineEdit *>(QLatin1String(name)); };
        for (const auto &[name, text] : {std::pair{"windowWidth", "50"}, std::pair{"windowHeight", "60"},
                                         std::pair{"legWidth", "70"}, std::pair{"legDepth", "121"}})
            field(name)->setText(QString::fromUtf8(text));
        for (const char *name : {"coreSection", "turnsI", "turnsII", "toBuyI", "toBuyII"}) shown << field(name)->text();
        check->findChild<QPushButton *>(QStringLiteral("closeButton"))->click();
    });
    ASSERT_TRUE(user::openMenu(window, ui.MService));
    QTest::keyClick(ui.MService, Qt::Key_Down);
    QTest::keyClick(ui.MService, Qt::Key_Return);
    EXPECT_EQ(shown, (QStringList{"84,672", "83", "25", "47 м, 1,25 кг", "21 м, 1,78 кг"}));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
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
