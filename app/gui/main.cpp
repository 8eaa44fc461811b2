// Entry point: refuse to start without a display, refuse a second copy, then show the window.

#include <QApplication>
#include <QScreen>

#include <cstdio>
#include <functional>

#include "help/viewer/help_viewer.h"
#include "platform/display_check.h"
#include "platform/platform_start.h"
#include "platform/session_bus.h"
#include "platform/single_instance_lock.h"
#include "reports/report_printer.h"
#include "ui/main/form1.h"
#include "ui/main/program_start.h"

namespace {

void printLine(const QString &line) { std::fprintf(stderr, "%s\n", line.toUtf8().constData()); }

// A bus that never answers would keep the window from appearing: the run goes without it.
void avoidSilentBuses() {
    using namespace tremira::platform;
    const SilentBuses silent = FindSilentBuses(CurrentBusAddresses(), kAnswerLimit);
    if (!silent.any()) return;
    AvoidSilentBuses(silent);
    printLine(SilentBusMessage(silent));
}

}  // namespace

int main(int argc, char *argv[]) {
    using namespace tremira::platform;
    // Checked before Qt connects, which would wait forever on a display that never answers and
    // abort on one that refuses the program. The probe's X connection is held until Qt has its own.
    X11ClientHandshake x11Handshake;
    const DisplayEnvironment environment = CurrentDisplayEnvironment(argc, argv);
    if (const auto problem =
            GraphicalSessionProblem(environment, ConnectsTo, std::ref(x11Handshake), WaylandRoundTrip)) {
        printLine(DisplayProblemMessage(*problem));
        return 1;
    }
    avoidSilentBuses();
    PlatformStart platformStart(environment.platformName);
    QApplication app(argc, argv);
    x11Handshake.release();
    // A plugin that starts without a screen (linuxfb without a framebuffer) would end the
    // program at the window's first show.
    if (!QGuiApplication::primaryScreen()) {
        EndWithPlatformFailure({QGuiApplication::platformName(), QStringLiteral("no screens available")});
    }
    platformStart.passOn();
    tremira::ui::PrepareApplication(app);
    tremira::ui::UseOwnWidgetStyle();

    SingleInstanceLock lock;
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
