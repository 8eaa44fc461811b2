// One QApplication for all window tests, prepared as the program prepares its own.

#include <QApplication>

#include <gtest/gtest.h>

#include "ui/main/program_start.h"

int main(int argc, char **argv) {
    // Also for test discovery, which runs without the test's environment.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tremira::ui::PrepareApplication(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
