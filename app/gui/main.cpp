// Entry point: refuse to start without a display, refuse a second copy, then show the window.

#include <QApplication>

#include <cstdio>
#include <functional>
#include <optional>

#include "help/viewer/help_viewer.h"
#include "platform/display_check.h"
#include "platform/single_instance_lock.h"
#include "reports/report_printer.h"
#include "ui/main/form1.h"
#include "ui/main/program_start.h"

int main(int argc, char *argv[]) {
    // Checked before QApplication exists: Qt aborts with a core dump when its platform
    // plugin finds no display, its X server refuses the program or has no such screen, and
    // waits forever on a display that never answers. The probe's X connection is held until
    // Qt has its own.
    tremira::platform::X11ClientHandshake x11Handshake;
    if (const auto problem = tremira::platform::GraphicalSessionProblem(
            tremira::platform::CurrentDisplayEnvironment(argc, argv), tremira::platform::ConnectsTo,
            std::ref(x11Handshake), tremira::platform::WaylandRoundTrip)) {
        std::fprintf(stderr, "%s\n", tremira::platform::DisplayProblemMessage(*problem).toUtf8().constData());
        return 1;
    }
    QApplication app(argc, argv);
    x11Handshake.release();
    tremira::ui::PrepareApplication(app);
    tremira::ui::UseOwnWidgetStyle();

    tremira::platform::SingleInstanceLock lock;
    if (!lock.tryAcquire()) {
        tremira::ui::ShowAlreadyRunning();
        return 0;
    }
    const QString programFolder = tremira::ui::ProgramFolder(QCoreApplication::applicationDirPath());
    const QString helpReader = tremira::help::HelpReaderProgram(programFolder);
    const auto showHelp = [helpReader](const QString &fileName, std::optional<qint32> topic) {
        tremira::help::ShowHelp(helpReader, fileName, topic);
    };
    tremira::ui::Form1 window(programFolder, showHelp, tremira::reports::PrintModulePath(programFolder));
    window.show();
    return app.exec();
}
