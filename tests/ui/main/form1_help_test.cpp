// The help menu and F1 on the real main window, with a recorder in place of the viewer.
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "help/context_help_filter.h"
#include "tests/help/viewer_recorder.h"
#include "tests/platform/modal_answerer.h"
#include "ui/about/form_about.h"
#include "ui/main/form1.h"

namespace {

using tremira::testing::ViewerRecorder;
using tremira::testing::ViewerRequest;
using tremira::ui::Form1;

class Form1Help : public ::testing::Test {
protected:
    void SetUp() override {
        qApp->installEventFilter(&m_contextHelp);
        m_window.show();
        QApplication::setActiveWindow(&m_window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
    }
    void TearDown() override { qApp->removeEventFilter(&m_contextHelp); }

    // The help file beside the executable.
    static QString helpFile() { return QCoreApplication::applicationDirPath() + QStringLiteral("/Тремира.chm"); }

    // Opens "Помощь" with a click and moves down to its n-th item with the arrow key.
    void highlightHelpItem(int downPresses) {
        QMenuBar *bar = m_window.menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(m_window.MHelp->menuAction()).center());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.MHelp));
        for (int i = 0; i < downPresses; ++i) QTest::keyClick(m_window.MHelp, Qt::Key_Down);
    }

    tremira::help::ContextHelpFilter m_contextHelp;
    Form1 m_window;
};

TEST_F(Form1Help, F1InTheWeldingCurrentOpensItsTopic) {
    ViewerRecorder viewer;
    m_window.Text2->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_window.Text2->hasFocus(); }));
    QTest::keyClick(m_window.Text2, Qt::Key_F1);
    EXPECT_EQ(viewer.requests, (QList<ViewerRequest>{{nullptr, helpFile(), 15, 3}}));
    EXPECT_TRUE(m_window.Text2->text().isEmpty());
}

TEST_F(Form1Help, F1OnTheHighlightedAboutItemOpensTheHelpMenuTopic) {
    highlightHelpItem(2);
    ASSERT_EQ(m_window.MHelp->activeAction(), m_window.MHabout);
    ViewerRecorder viewer;
    QTest::keyClick(m_window.MHelp, Qt::Key_F1);
    EXPECT_EQ(viewer.requests, (QList<ViewerRequest>{{nullptr, helpFile(), 15, 8}}));
    QTest::keyClick(m_window.MHelp, Qt::Key_Escape);
}

TEST_F(Form1Help, TheHelpCommandOpensTheOverviewEachTime) {
    ViewerRecorder viewer;
    for (int use = 0; use < 2; ++use) {
        highlightHelpItem(1);
        ASSERT_EQ(m_window.MHelp->activeAction(), m_window.MHelpHTML);
        QTest::keyClick(m_window.MHelp, Qt::Key_Return);
    }
    EXPECT_EQ(viewer.requests, (QList<ViewerRequest>{{nullptr, helpFile(), 15, 0}, {nullptr, helpFile(), 15, 0}}));
}

TEST_F(Form1Help, TheAboutCommandShowsTheAboutWindowModally) {
    QString shownTitle;
    const tremira::testing::ModalAnswerer answerer([&](QWidget *window) {
        if (auto *about = qobject_cast<tremira::ui::FormAbout *>(window)) {
            shownTitle = about->windowTitle();
            about->Command1->click();
        }
    });
    highlightHelpItem(2);
    QTest::keyClick(m_window.MHelp, Qt::Key_Return);
    // The command returns only when the About window has been closed.
    EXPECT_EQ(shownTitle, QStringLiteral("About Programm"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
