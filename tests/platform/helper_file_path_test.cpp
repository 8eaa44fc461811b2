#include "platform/helper_file_path.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tremira::platform {
namespace {

// A build or a portable copy keeps the part beside the program; an installed program finds
// it in its installed folder, whatever that folder's path looks like.
TEST(HelperFilePath, BesideTheProgramElseInTheInstalledFolder) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString bin = root.filePath(QStringLiteral("bin"));
    ASSERT_TRUE(QDir().mkpath(bin));
    struct Case {
        QString programFolder;
        const char *installedFolder;
        QString expected;
    } const cases[] = {
        {bin, "../libexec/tremira", root.filePath(QStringLiteral("libexec/tremira/part"))},
        {bin, "../lib/x86_64-linux-gnu/tremira/", root.filePath(QStringLiteral("lib/x86_64-linux-gnu/tremira/part"))},
        {bin, ".", bin + QStringLiteral("/part")},
        {QStringLiteral("/usr/bin"), "../share/tremira", QStringLiteral("/usr/share/tremira/part")},
        {QStringLiteral("/opt/tremira/bin"), "../share/tremira", QStringLiteral("/opt/tremira/share/tremira/part")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.expected.toStdString());
        EXPECT_EQ(HelperFilePath(c.programFolder, QStringLiteral("part"), QString::fromUtf8(c.installedFolder)),
                  c.expected);
    }
    QFile beside(bin + QStringLiteral("/part"));
    ASSERT_TRUE(beside.open(QIODevice::WriteOnly));
    beside.close();
    EXPECT_EQ(HelperFilePath(bin, QStringLiteral("part"), QStringLiteral("../libexec/tremira")), beside.fileName());
}

}  // namespace
}  // namespace tremira::platform
