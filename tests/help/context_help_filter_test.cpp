#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include "help/context_help_filter.h"
#include "tests/help/viewer_recorder.h"

namespace {

using tremira::testing::ViewerRecorder;
using tremira::testing::ViewerRequest;

const QString kHelpFile = QStringLiteral("/opt/Тремира/Тремира.chm");

class ContextHelp : public ::testing::Test {
protected:
    void SetUp() override {
        qApp->setProperty("helpFile", kHelpFile);
        qApp->installEventFilter(&m_filter);
        auto *layout = new QVBoxLayout(&m_window);
        m_numbered = new QLineEdit(&m_window);
        m_numbered->setProperty("helpNumber", 3);
        m_unnumbered = new QLineEdit(&m_window);
        layout->addWidget(m_numbered);
        layout->addWidget(m_unnumbered);
        m_window.show();
        QApplication::setActiveWindow(&m_window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
    }
    void TearDown() override {
        qApp->removeEventFilter(&m_filter);
        qApp->setProperty("helpFile", QVariant());
    }

    tremira::help::ContextHelpFilter m_filter;
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
        ViewerRecorder viewer;
        c.control->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return c.control->hasFocus(); }));
        QTest::keyClick(c.control, Qt::Key_F1);
        EXPECT_EQ(viewer.requests, (QList<ViewerRequest>{{nullptr, kHelpFile, 15, c.number}}));
    }
}

TEST_F(ContextHelp, OtherKeysReachTheControlAndOpenNoHelp) {
    ViewerRecorder viewer;
    m_numbered->setFocus();
    QTest::keyClick(m_numbered, Qt::Key_5);
    QTest::keyClick(m_numbered, Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_EQ(m_numbered->text(), QStringLiteral("5"));
    EXPECT_TRUE(viewer.requests.isEmpty());
}

TEST_F(ContextHelp, F1InAnOpenMenuAsksForTheHighlightedItemsNumber) {
    QMenu menu;
    menu.menuAction()->setProperty("helpNumber", 8);
    menu.addAction(QStringLiteral("Записать на диск"))->setProperty("helpNumber", 7);
    menu.addSeparator();
    menu.addAction(QStringLiteral("Выход"))->setProperty("helpNumber", 6);
    menu.popup(m_window.mapToGlobal(QPoint(0, 0)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));

    ViewerRecorder viewer;
    QTest::keyClick(&menu, Qt::Key_F1);  // nothing highlighted yet: the menu's own number
    QTest::keyClick(&menu, Qt::Key_Down);
    QTest::keyClick(&menu, Qt::Key_F1);
    QTest::keyClick(&menu, Qt::Key_Down);  // over the separator to the last item
    QTest::keyClick(&menu, Qt::Key_F1);
    EXPECT_EQ(
        viewer.requests,
        (QList<ViewerRequest>{{nullptr, kHelpFile, 15, 8}, {nullptr, kHelpFile, 15, 7}, {nullptr, kHelpFile, 15, 6}}));
    EXPECT_TRUE(menu.isVisible());
}

}  // namespace
