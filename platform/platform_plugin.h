#pragma once
// Whether Qt will find the platform plugin it is about to load, decided before Qt tries (it
// aborts with a core dump when none of the plugins it tries is installed).

#include <QString>
#include <QStringList>

namespace tremira::platform {

// The platform plugins Qt tries, in its order, without their options: those named ("-platform",
// else QT_QPA_PLATFORM), else Wayland first in a Wayland session, then X11.
QStringList PlatformPluginNames(const QString &platformName, bool waylandSession);

// The file of a platform plugin in a "platforms" folder.
QString PlatformPluginFileName(const QString &plugin);

// The "platforms" folders Qt looks in once the application exists: the plugin path given
// (QT_QPA_PLATFORM_PLUGIN_PATH), those of QT_PLUGIN_PATH, Qt's own (or
// the one a qt.conf beside the program names), and the program's folder.
QStringList PlatformPluginFolders(const QString &pluginPath, const QStringList &pluginPaths,
                                  const QString &programFolder);

struct PlatformPlugins {
    QStringList chosen;     // in Qt's order
    QStringList installed;  // of those, the ones in one of the folders, in the same order
};

PlatformPlugins InstalledPlatformPlugins(const QStringList &chosen, const QStringList &folders);

// The plugins Qt will try for the platform named ("-platform", else QT_QPA_PLATFORM), or for
// the session, and which of them are installed.
PlatformPlugins CurrentPlatformPlugins(const QString &platformName);

// One line, Russian and English, naming the plugin and the Debian package that installs it.
QString MissingPlatformPluginMessage(const QString &plugin);

}  // namespace tremira::platform
