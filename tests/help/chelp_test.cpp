#include <cmath>
#include <limits>
#include <optional>

#include <gtest/gtest.h>

#include "help/chelp.h"
#include "tests/help/viewer_recorder.h"

namespace {

using tremira::help::CHelp;
using tremira::testing::ViewerRecorder;
using tremira::testing::ViewerRequest;

struct ShowCase {
    const char *name;
    QString newFile;
    QString windowPane;
    std::optional<double> contextId;
    QString expectedFile;
    quint32 expectedCommand;
    qint32 expectedData;
};

TEST(CHelpShow, HandsTheViewerTheFileCommandAndNumber) {
    const QString spaced = QStringLiteral("  /opt/Тремира/Тремира.chm  ");
    const QString plain = QStringLiteral("/opt/Тремира/Тремира.chm");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const ShowCase cases[] = {
        {"empty pane keeps the blanks", spaced, QString(), std::nullopt, spaced, 0, 0},
        {"a pane trims the blanks", spaced, QStringLiteral("MyWindow"), 0.0, plain, 15, 0},
        {"a blank pane is not empty", spaced, QStringLiteral(" "), std::nullopt, plain, 0, 0},
        {"only character 32 is trimmed", QStringLiteral(" \t/a.chm\u00a0 "), QStringLiteral("MyWindow"), 1.0,
         QStringLiteral("\t/a.chm\u00a0"), 15, 1},
        {"all blanks leave an empty name", QStringLiteral("   "), QStringLiteral("MyWindow"), std::nullopt, QString(),
         0, 0},
        {"number left out", plain, QStringLiteral("MyWindow"), std::nullopt, plain, 0, 0},
        {"number 0 is still a number", plain, QString(), 0.0, plain, 15, 0},
        {"2.5 goes to the even 2", plain, QString(), 2.5, plain, 15, 2},
        {"3.5 goes to the even 4", plain, QString(), 3.5, plain, 15, 4},
        {"-2.5 goes to the even -2", plain, QString(), -2.5, plain, 15, -2},
        {"2.6 goes to 3", plain, QString(), 2.6, plain, 15, 3},
        {"largest 32-bit number", plain, QString(), 2147483647.0, plain, 15, 2147483647},
        {"smallest 32-bit number", plain, QString(), -2147483648.0, plain, 15, -2147483647 - 1},
        {"beyond 32 bits asks for the default topic", plain, QString(), 2147483648.0, plain, 0, 0},
        {"not a number asks for the default topic", plain, QString(), nan, plain, 0, 0},
    };
    for (const ShowCase &c : cases) {
        SCOPED_TRACE(c.name);
        ViewerRecorder viewer;
        CHelp().Show(c.newFile, c.windowPane, c.contextId);
        ASSERT_EQ(viewer.requests.size(), 1);
        EXPECT_EQ(viewer.requests[0], (ViewerRequest{nullptr, c.expectedFile, c.expectedCommand, c.expectedData}));
    }
}

TEST(CHelpShow, TakesIntegerNumbersAsTheyAre) {
    ViewerRecorder viewer;
    const qint16 helpNumber = 8;
    CHelp().Show(QStringLiteral("/a.chm"), QStringLiteral("MyWindow"), helpNumber);
    ASSERT_EQ(viewer.requests.size(), 1);
    EXPECT_EQ(viewer.requests[0].command, 15u);
    EXPECT_EQ(viewer.requests[0].data, 8);
}

TEST(CHelpShow, LeavesTheCallersTextsUnchanged) {
    ViewerRecorder viewer;
    const QString newFile = QStringLiteral("  /opt/Тремира.chm ");
    QString callersFile = newFile;
    QString callersPane = QStringLiteral(" MyWindow ");
    CHelp().Show(callersFile, callersPane, 0);
    EXPECT_EQ(callersFile, newFile);
    EXPECT_EQ(callersPane, QStringLiteral(" MyWindow "));
    ASSERT_EQ(viewer.requests.size(), 1);
    EXPECT_EQ(viewer.requests[0].fileName, QStringLiteral("/opt/Тремира.chm"));
}

TEST(CHelpShow, TwoUsesMakeTwoIdenticalViewerCalls) {
    ViewerRecorder viewer;
    for (int use = 0; use < 2; ++use) CHelp().Show(QStringLiteral(" /opt/Тремира.chm"), QStringLiteral("MyWindow"), 0);
    ASSERT_EQ(viewer.requests.size(), 2);
    EXPECT_EQ(viewer.requests[0], viewer.requests[1]);
    EXPECT_EQ(viewer.requests[0], (ViewerRequest{nullptr, QStringLiteral("/opt/Тремира.chm"), 15, 0}));
}

}  // namespace
