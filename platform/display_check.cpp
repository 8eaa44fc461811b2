#include "platform/display_check.h"

#include <QStringList>
#include <QtGlobal>

#include <cstring>

namespace tremira::platform {

const char kNoGraphicalSessionMessage[] =
    "Тремира: нужен графический сеанс (X11 или Wayland), его даёт, например, xvfb-run. / "
    "Tremira needs a graphical session (X11 or Wayland); xvfb-run provides one.";

DisplayEnvironment CurrentDisplayEnvironment(int argc, char **argv) {
    DisplayEnvironment environment{qEnvironmentVariable("QT_QPA_PLATFORM"), qEnvironmentVariable("DISPLAY"),
                                   qEnvironmentVariable("WAYLAND_DISPLAY")};
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) {
            environment.platformName = QString::fromLocal8Bit(argv[i + 1]);
        }
    }
    return environment;
}

namespace {

// One entry of a platform list such as "wayland;xcb" or "xcb:option=value".
bool pluginReachable(const QString &entry, const DisplayEnvironment &environment) {
    const QString plugin = entry.section(QLatin1Char(':'), 0, 0).trimmed();
    if (plugin == QLatin1String("xcb")) return !environment.x11Display.isEmpty();
    if (plugin.startsWith(QLatin1String("wayland"))) return !environment.waylandDisplay.isEmpty();
    // offscreen, minimal, vnc, eglfs, linuxfb: no display server needed.
    return !plugin.isEmpty();
}

}  // namespace

bool GraphicalSessionReachable(const DisplayEnvironment &environment) {
    if (environment.platformName.trimmed().isEmpty()) {
        return !environment.x11Display.isEmpty() || !environment.waylandDisplay.isEmpty();
    }
    const QStringList entries = environment.platformName.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString &entry : entries) {
        if (pluginReachable(entry, environment)) return true;
    }
    return false;
}

}  // namespace tremira::platform
