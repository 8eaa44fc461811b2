// Where the help file is looked for: beside the program first, then in the data folder that an
// installed program keeps beside its bin folder.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "help/chelp.h"

namespace {

using tremira::help::HelpFilePath;

TEST(HelpFilePath, LooksForTheFileBesideTheProgram) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString bin = root.filePath(QStringLiteral("bin"));
    ASSERT_TRUE(QDir().mkpath(bin));
    EXPECT_EQ(HelpFilePath(bin), root.filePath(QStringLiteral("share/tremira/Тремира.chm")));

    QFile beside(bin + QStringLiteral("/Тремира.chm"));
    ASSERT_TRUE(beside.open(QIODevice::WriteOnly));
    beside.close();
    EXPECT_EQ(HelpFilePath(bin), bin + QStringLiteral("/Тремира.chm"));
}

}  // namespace
