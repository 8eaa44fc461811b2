#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include "help/context_help_filter.h"
#include "tests/support/viewer_recorder.h"

namespace {

using tremira::help::HelpTopic;
using tremira::testing::ViewerRecorder;
using tremira::testing::ViewerRequest;

const QString kHelpFile = QStringLiteral("/opt/Тремира/Тремира.chm");

class ContextHelp : public ::testing::Test {
protected:
    void SetUp() override {
        qApp->installEventFilter(&m_filter);
        auto *layout = new QVBoxLayout(&m_window);
        m_numbered = new QLineEdit(&m_window);
        m_filter.setTopic(m_numbered, HelpTopic::WeldingCurrent);
        m_unnumbered = new QLineEdit(&m_window);
        layout->addWidget(m_numbered);
        layout->addWidget(m_unnumbered);
        m_window.show();
        QApplication::setActiveWindow(&m_window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
    }
    void TearDown() override { qApp->removeEventFilter(&m_filter); }

    ViewerRecorder m_viewer;
    tremira::help::ContextHelpFilter m_filter{kHelpFile, m_viewer.call()};
    QWidget m_window;
    QLineEdit *m_numbered = nullptr;
    QLineEdit *m_unnumbered = nullptr;
};

TEST_F(ContextHelp, F1AsksForTheHelpNumberOfTheFocusedControl) {
    struct Case {
        const char *name;
        QLineEdit *control;
        qint32 number;
    };
    for (const Case &c : {Case{"numbered", m_numbered, 3}, Case{"without a number", m_unnumbered, 0}}) {
        SCOPED_TRACE(c.name);
        m_viewer.requests.clear();
        c.control->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return c.control->hasFocus(); }));
        QTest::keyClick(c.control, Qt::Key_F1);
        EXPECT_EQ(m_viewer.requests, (QList<ViewerRequest>{{kHelpFile, c.number}}));
    }
}

TEST_F(ContextHelp, OtherKeysReachTheControlAndOpenNoHelp) {
    m_numbered->setFocus();
    QTest::keyClick(m_numbered, Qt::Key_5);
    QTest::keyClick(m_numbered, Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_EQ(m_numbered->text(), QStringLiteral("5"));
    EXPECT_TRUE(m_viewer.requests.isEmpty());
}

TEST_F(ContextHelp, F1InAnOpenMenuAsksForTheHighlightedItemsNumber) {
    QMenu menu;
    m_filter.setTopic(&menu, HelpTopic::HelpMenu);
    m_filter.setTopic(menu.addAction(QStringLiteral("Записать на диск")), HelpTopic::FileMenu);
    menu.addSeparator();
    m_filter.setTopic(menu.addAction(QStringLiteral("Выход")), HelpTopic::Induction);
    menu.popup(m_window.mapToGlobal(QPoint(0, 0)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));

    QTest::keyClick(&menu, Qt::Key_F1);  // nothing highlighted yet: the menu's own number
    QTest::keyClick(&menu, Qt::Key_Down);
    QTest::keyClick(&menu, Qt::Key_F1);
    QTest::keyClick(&menu, Qt::Key_Down);  // over the separator to the last item
    QTest::keyClick(&menu, Qt::Key_F1);
    EXPECT_EQ(m_viewer.requests, (QList<ViewerRequest>{{kHelpFile, 8}, {kHelpFile, 7}, {kHelpFile, 6}}));
    EXPECT_TRUE(menu.isVisible());
}

}  // namespace
