#include <limits>
#include <optional>

#include <gtest/gtest.h>

#include "help/chelp.h"
#include "tests/support/viewer_recorder.h"

namespace {

using tremira::help::CHelp;
using tremira::testing::ViewerRecorder;
using tremira::testing::ViewerRequest;

// Rounding to the nearest even number is the number rules' own; here is what reaches the viewer.
TEST(CHelpShow, HandsTheViewerTheFileAndTopic) {
    const QString spaced = QStringLiteral("  /opt/Тремира/Тремира.chm  ");
    const QString plain = QStringLiteral("/opt/Тремира/Тремира.chm");
    const struct {
        const char *name;
        QString newFile;
        QString windowPane;
        std::optional<double> contextId;
        QString expectedFile;
        std::optional<qint32> expectedTopic;  // none: the file's default topic
    } cases[] = {
        {"empty pane keeps the blanks", spaced, QString(), std::nullopt, spaced, std::nullopt},
        {"a pane trims the blanks", spaced, QStringLiteral("MyWindow"), 0.0, plain, 0},
        {"a blank pane is not empty", spaced, QStringLiteral(" "), std::nullopt, plain, std::nullopt},
        {"only character 32 is trimmed", QStringLiteral(" \t/a.chm\u00a0 "), QStringLiteral("MyWindow"), 1.0,
         QStringLiteral("\t/a.chm\u00a0"), 1},
        {"2.5 goes to the even 2", plain, QString(), 2.5, plain, 2},
        {"beyond 32 bits asks for the default topic", plain, QString(), 2147483648.0, plain, std::nullopt},
        {"not a number asks for the default topic", plain, QString(), std::numeric_limits<double>::quiet_NaN(), plain,
         std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ViewerRecorder viewer;
        CHelp(viewer.call()).Show(c.newFile, c.windowPane, c.contextId);
        EXPECT_EQ(viewer.requests, (QList<ViewerRequest>{{c.expectedFile, c.expectedTopic}}));
    }
}

}  // namespace
