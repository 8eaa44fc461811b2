// Where the help file is looked for: beside the program first, then in the data folder that an
// installed program keeps beside its bin folder.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <tuple>

#include <gtest/gtest.h>

#include "help/chelp.h"
#include "help/help_file_location.h"

namespace {

using tremira::help::HelpFileLocation;
using tremira::help::HelpFilePath;

TEST(HelpFileLocation, BesideTheProgramElseInTheInstalledDataFolder) {
    // Each case names its program folder, whether the file lies there, and where it is read.
    const std::tuple<QString, bool, QString> cases[] = {
        {QStringLiteral("/work/build/bin"), true, QStringLiteral("/work/build/bin/Тремира.chm")},
        {QStringLiteral("/media/usb/Тремира"), true, QStringLiteral("/media/usb/Тремира/Тремира.chm")},
        {QStringLiteral("/usr/bin"), false, QStringLiteral("/usr/share/tremira/Тремира.chm")},
        {QStringLiteral("/opt/tremira/bin"), false, QStringLiteral("/opt/tremira/share/tremira/Тремира.chm")},
        {QString(), true, QStringLiteral("/Тремира.chm")},  // the root folder
    };
    for (const auto &[programFolder, besideProgram, expected] : cases) {
        SCOPED_TRACE(expected.toStdString());
        EXPECT_EQ(HelpFileLocation(programFolder, besideProgram), expected);
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
