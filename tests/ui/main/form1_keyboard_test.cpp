// The menus of the main window from the keyboard alone, under every widget style.
#include <QProxyStyle>

#include "tests/ui/main/form1_fixture.h"
#include "tests/ui/main/user_style.h"

namespace {

using tremira::testing::ViewerRequest;

// Stands for the styles that keep the menu bar to the mouse (Alt reaches nothing under Adwaita).
class MouseOnlyMenuBarStyle : public QProxyStyle {
public:
    MouseOnlyMenuBarStyle() : QProxyStyle(QStringLiteral("Fusion")) {}
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override {
        if (hint == SH_MenuBar_AltKeyNavigation) return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// A key as the keyboard gives it: to the open menu, else to the focused control.
void press(Qt::Key key) {
    QWidget *popup = QApplication::activePopupWidget();
    QTest::keyClick(popup ? popup : QApplication::focusWidget(), key);
}

// Every style Qt offers on this machine and the mouse-only one, each as the user's choice.
TEST(Form1Keyboard, F10HighlightsTheFirstMenuArrowsAndEnterOpenAnItemEscapeGoesBackToTheField) {
    for (const auto &[name, makeStyle] : tremira::testing::EveryStyleAnd(
             {QStringLiteral("mouse-only menu bar"), [] { return new MouseOnlyMenuBarStyle; }})) {
        SCOPED_TRACE(name.toStdString());
        const tremira::testing::UserStyle userStyle(makeStyle());
        tremira::testing::ViewerRecorder helpViewer;
        tremira::ui::Form1 window(QCoreApplication::applicationDirPath(), helpViewer.call(), QString());
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        const Form1Controls ui(window);
        QMenuBar *bar = window.menuBar();

        const QRect firstTitle = bar->actionGeometry(ui.mfile->menuAction());
        const QImage before = bar->grab(firstTitle).toImage();
        press(Qt::Key_F10);
        EXPECT_EQ(bar->activeAction(), ui.mfile->menuAction());
        EXPECT_FALSE(ui.mfile->isVisible()) << "F10 only highlights the title";
        EXPECT_NE(bar->grab(firstTitle).toImage(), before) << "the highlighted title is drawn so";
        press(Qt::Key_Down);
        EXPECT_TRUE(ui.mfile->isVisible());
        press(Qt::Key_Right);
        EXPECT_EQ(ui.MHelp->activeAction(), ui.MHelpHTML);
        press(Qt::Key_Return);
        EXPECT_FALSE(ui.MHelp->isVisible());
        EXPECT_EQ(helpViewer.requests, (QList<ViewerRequest>{{HelpFile(), 0}}));

        press(Qt::Key_F10);
        ASSERT_EQ(bar->activeAction(), ui.mfile->menuAction());
        press(Qt::Key_Escape);
        EXPECT_EQ(bar->activeAction(), nullptr);
        EXPECT_EQ(user::focusedControl(window), ui.Text4);
    }
}

}  // namespace
