// The start-up before the window: Qt's texts in Russian, the program folder and the box of a
// second copy.

#include <QCoreApplication>

#include <gtest/gtest.h>

#include "tests/support/box_answerer.h"
#include "ui/main/program_start.h"

using tremira::testing::BoxAnswerer;
using tremira::testing::SeenBox;

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

TEST(ShowAlreadyRunning, ShowsItsTextWithTheProgramTitleNoIconAndOkOnly) {
    BoxAnswerer answerer;
    tremira::ui::ShowAlreadyRunning();
    const std::vector<SeenBox> expected{
        {QStringLiteral("Проект уже запущен!"), QStringLiteral("Тремира"), QMessageBox::NoIcon, QMessageBox::Ok}};
    EXPECT_EQ(answerer.boxes(), expected);
}

// The test program's application is prepared as the program's is (prepared_application.cpp).
TEST(PrepareApplication, GivesQtsBoxButtonsAndFieldMenusInRussian) {
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Отмена"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Да"));
    EXPECT_EQ(QCoreApplication::translate("QLineEdit", "&Paste"), QStringLiteral("В&ставить"));
}
