// Entry point: refuse to start without a display, refuse a second copy, then show the window.

#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>

#include "help/viewer/help_viewer.h"
#include "platform/display_check.h"
#include "platform/platform_plugin.h"
#include "platform/single_instance_lock.h"
#include "reports/report_printer.h"
#include "ui/main/form1.h"
#include "ui/main/program_start.h"

namespace {

// Why the window cannot be shown, in one line, or nothing. Checked before QApplication exists:
// Qt aborts with a core dump when none of its platform plugins is installed, when the plugin
// finds no display, its X server refuses the program or has no such screen, and waits forever
// on a display that never answers. Only the displays of installed plugins count, as for Qt.
std::optional<QString> whyNoWindow(int argc, char *argv[], tremira::platform::X11ClientHandshake &x11Handshake) {
    using namespace tremira::platform;
    DisplayEnvironment environment = CurrentDisplayEnvironment(argc, argv);
    const PlatformPlugins plugins = CurrentPlatformPlugins(environment.platformName);
    const auto missing = std::find_if(plugins.chosen.begin(), plugins.chosen.end(),
                                      [&](const QString &plugin) { return !plugins.installed.contains(plugin); });
    if (plugins.installed.isEmpty()) return MissingPlatformPluginMessage(plugins.chosen.value(0));
    environment.platformName = plugins.installed.join(QLatin1Char(';'));
    const auto problem = GraphicalSessionProblem(environment, ConnectsTo, std::ref(x11Handshake), WaylandRoundTrip);
    if (!problem) return std::nullopt;
    // The plugin, once installed, may well reach the session the user is in.
    return missing == plugins.chosen.end() ? DisplayProblemMessage(*problem) : MissingPlatformPluginMessage(*missing);
}

}  // namespace

int main(int argc, char *argv[]) {
    // The probe's X connection is held until Qt has its own.
    tremira::platform::X11ClientHandshake x11Handshake;
    if (const auto problem = whyNoWindow(argc, argv, x11Handshake)) {
        std::fprintf(stderr, "%s\n", problem->toUtf8().constData());
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
