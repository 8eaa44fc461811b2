// The help window on a screen smaller than its usual size (run at QT_SCALE_FACTOR=2).
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include "help/viewer/help_window.h"

namespace {

TEST(HelpWindowSize, OpensWithinTheScreensAvailableAreaAndStaysResizable) {
    const QSize available = QGuiApplication::primaryScreen()->availableGeometry().size();
    ASSERT_LT(available.width(), 820) << "the screen must be smaller than the window's usual 820 × 560";
    tremira::help::HelpWindow window{QStringLiteral(TREMIRA_HELP_READER)};
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QSize opened = window.frameGeometry().size();
    EXPECT_LE(opened.width(), available.width());
    EXPECT_LE(opened.height(), available.height());
    EXPECT_LT(window.minimumSizeHint().width(), window.width());
    EXPECT_EQ(window.maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
}

}  // namespace
