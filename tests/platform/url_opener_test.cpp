#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/url_opener.h"
#include "tests/support/fake_opener.h"

namespace {

using tremira::platform::OpenWithDesktop;

// The opener gets the address as it stands, started in the folder given, else in the program's.
TEST(UrlOpener, HandsTheAddressToTheOpenerStartedInTheGivenFolder) {
    QTemporaryDir folder;
    for (const QString &given : {folder.path(), QString()}) {
        SCOPED_TRACE(given.toStdString());
        tremira::testing::FakeOpener opener;
        const QString address = QStringLiteral("https://www.example.org/a b");
        ASSERT_TRUE(given.isNull() ? OpenWithDesktop(address) : OpenWithDesktop(address, given));
        ASSERT_TRUE(opener.waitForCall());
        EXPECT_EQ(opener.arguments(), QStringList{address});
        EXPECT_EQ(opener.workingFolder(), QDir(given.isNull() ? QDir::currentPath() : given).canonicalPath());
    }
}

TEST(UrlOpener, SaysSoWhenNoOpenerCanBeStarted) {
    tremira::testing::NoOpener noOpener;
    EXPECT_FALSE(OpenWithDesktop(QStringLiteral("https://www.example.org")));
}

}  // namespace
