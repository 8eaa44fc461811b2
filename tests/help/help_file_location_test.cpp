// Where the help file and the help reader are looked for: beside the program first, then in the
// folder that an installed program keeps beside its bin folder.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "help/chelp.h"
#include "help/viewer/help_viewer.h"

namespace {

TEST(HelpFiles, BesideTheProgramElseInTheInstalledFolder) {
    const struct {
        QString (*path)(const QString &programFolder);
        const char *name;
        const char *installed;
    } cases[] = {
        {tremira::help::HelpFilePath, "Тремира.chm", "share/tremira/Тремира.chm"},
        {tremira::help::HelpReaderProgram, "tremira-help-reader", "libexec/tremira/tremira-help-reader"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir root;
        const QString bin = root.filePath(QStringLiteral("bin"));
        ASSERT_TRUE(QDir().mkpath(bin));
        EXPECT_EQ(c.path(bin), root.filePath(QString::fromUtf8(c.installed)));
        const QString beside = bin + u'/' + QString::fromUtf8(c.name);
        ASSERT_TRUE(QFile(beside).open(QIODevice::WriteOnly));
        EXPECT_EQ(c.path(bin), beside);
    }
}

}  // namespace
