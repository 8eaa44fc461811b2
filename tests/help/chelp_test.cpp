#include <limits>
#include <optional>

#include <gtest/gtest.h>

#include "help/chelp.h"
#include "tests/support/viewer_recorder.h"

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
    std::optional<qint32> expectedTopic;  // none: the file's default topic
};

TEST(CHelpShow, HandsTheViewerTheFileAndTopic) {
    const QString spaced = QStringLiteral("  /opt/Тремира/Тремира.chm  ");
    const QString plain = QStringLiteral("/opt/Тремира/Тремира.chm");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const ShowCase cases[] = {
        {"empty pane keeps the blanks", spaced, QString(), std::nullopt, spaced, std::nullopt},
        {"a pane trims the blanks", spaced, QStringLiteral("MyWindow"), 0.0, plain, 0},
        {"a blank pane is not empty", spaced, QStringLiteral(" "), std::nullopt, plain, std::nullopt},
        {"only character 32 is trimmed", QStringLiteral(" \t/a.chm\u00a0 "), QStringLiteral("MyWindow"), 1.0,
         QStringLiteral("\t/a.chm\u00a0"), 1},
        {"all blanks leave an empty name", QStringLiteral("   "), QStringLiteral("MyWindow"), std::nullopt, QString(),
         std::nullopt},
        {"number left out", plain, QStringLiteral("MyWindow"), std::nullopt, plain, std::nullopt},
        {"number 0 is still a number", plain, QString(), 0.0, plain, 0},
        {"2.5 goes to the even 2", plain, QString(), 2.5, plain, 2},
        {"3.5 goes to the even 4", plain, QString(), 3.5, plain, 4},
        {"-2.5 goes to the even -2", plain, QString(), -2.5, plain, -2},
        {"2.6 goes to 3", plain, QString(), 2.6, plain, 3},
        {"largest 32-bit number", plain, QString(), 2147483647.0, plain, 2147483647},
        {"smallest 32-bit number", plain, QString(), -2147483648.0, plain, -2147483647 - 1},
        {"beyond 32 bits asks for the default topic", plain, QString(), 2147483648.0, plain, std::nullopt},
        {"not a number asks for the default topic", plain, QString(), nan, plain, std::nullopt},
    };
    for (const ShowCase &c : cases) {
        SCOPED_TRACE(c.name);
        ViewerRecorder viewer;
        CHelp(viewer.call()).Show(c.newFile, c.windowPane, c.contextId);
        EXPECT_EQ(viewer.requests, (QList<ViewerRequest>{{c.expectedFile, c.expectedTopic}}));
    }
}

}  // namespace
