#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/url_opener.h"
#include "tests/support/fake_opener.h"

namespace {

using tremira::platform::OpenWithDesktop;

TEST(UrlOpener, HandsTheAddressToTheOpenerStartedInTheGivenFolder) {
    tremira::testing::FakeOpener opener;
    QTemporaryDir folder;
    ASSERT_TRUE(OpenWithDesktop(QStringLiteral("mailto:someone@example.org"), folder.path()));
    ASSERT_TRUE(opener.waitForCall());
    EXPECT_EQ(opener.arguments(), QStringList{QStringLiteral("mailto:someone@example.org")});
    EXPECT_EQ(opener.workingFolder(), QDir(folder.path()).canonicalPath());
}

TEST(UrlOpener, WithoutAFolderTheOpenerStartsInTheProgramsCurrentFolder) {
    tremira::testing::FakeOpener opener;
    ASSERT_TRUE(OpenWithDesktop(QStringLiteral("https://www.example.org/a b")));
    ASSERT_TRUE(opener.waitForCall());
    EXPECT_EQ(opener.arguments(), QStringList{QStringLiteral("https://www.example.org/a b")});
    EXPECT_EQ(opener.workingFolder(), QDir::current().canonicalPath());
}

TEST(UrlOpener, SaysSoWhenNoOpenerCanBeStarted) {
    tremira::testing::NoOpener noOpener;
    EXPECT_FALSE(OpenWithDesktop(QStringLiteral("https://www.example.org")));
}

}  // namespace
