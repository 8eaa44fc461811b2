// Where the help file is looked for: beside the program first, then in the data folder that an
// installed program keeps beside its bin folder.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "help/chelp.h"
#include "help/help_file_location.h"

namespace {

using tremira::help::HelpFileLocation;
using tremira::help::HelpFilePath;

TEST(HelpFileLocation, BesideTheProgramElseInTheInstalledDataFolder) {
    const struct {
        const char *name;
        QString programFolder;
        bool besideProgram;
        QString expected;
    } cases[] = {
        {"build folder", QStringLiteral("/work/build/bin"), true, QStringLiteral("/work/build/bin/Тремира.chm")},
        {"portable copy", QStringLiteral("/media/usb/Тремира"), true, QStringLiteral("/media/usb/Тремира/Тремира.chm")},
        {"installed in /usr", QStringLiteral("/usr/bin"), false, QStringLiteral("/usr/share/tremira/Тремира.chm")},
        {"installed in /opt", QStringLiteral("/opt/tremira/bin"), false,
         QStringLiteral("/opt/tremira/share/tremira/Тремира.chm")},
        {"root folder", QString(), true, QStringLiteral("/Тремира.chm")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(HelpFileLocation(c.programFolder, c.besideProgram), c.expected);
    }
}

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
