// Which folder receives report.txt: the program's own when it is writable, else the per-user
// folder in the documents folder.
#include <gtest/gtest.h>

#include "reports/report_file.h"

namespace {

TEST(ReportFolder, ProgramFolderWhenWritableElseTheUsersDocuments) {
    const struct {
        const char *name;
        QString programFolder;
        bool writable;
        QString documents;
        QString expected;
    } cases[] = {
        {"build folder", QStringLiteral("/work/build/bin"), true, QStringLiteral("/home/anna/Документы"),
         QStringLiteral("/work/build/bin")},
        {"portable copy, no documents folder", QStringLiteral("/media/usb/Тремира"), true, QString(),
         QStringLiteral("/media/usb/Тремира")},
        {"installed program", QStringLiteral("/usr/bin"), false, QStringLiteral("/home/anna/Документы"),
         QStringLiteral("/home/anna/Документы/Тремира")},
        {"installed program, documents in English", QStringLiteral("/usr/bin"), false,
         QStringLiteral("/home/anna/Documents"), QStringLiteral("/home/anna/Documents/Тремира")},
        {"read-only folder and no documents folder", QStringLiteral("/usr/bin"), false, QString(),
         QStringLiteral("/usr/bin")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(tremira::reports::ReportFolder(c.programFolder, c.writable, c.documents), c.expected);
    }
}

}  // namespace
