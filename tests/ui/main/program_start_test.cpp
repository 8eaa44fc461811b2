// The program folder as the start-up derives it from the executable's folder.

#include <gtest/gtest.h>

#include "ui/main/program_start.h"

TEST(ProgramFolder, TrailingSlashIsDroppedOnlyWhenPresent) {
    const struct {
        const char *executableFolder;
        const char *expected;
    } cases[] = {
        {"/", ""},  // the root folder: report and help paths become "/report.txt"
        {"/opt/tremira", "/opt/tremira"},
        {"/opt/tremira/", "/opt/tremira"},
        {"/home/user/Тремира/bin", "/home/user/Тремира/bin"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.executableFolder);
        EXPECT_EQ(tremira::ui::ProgramFolder(QString::fromUtf8(c.executableFolder)).toStdString(), c.expected);
    }
}
