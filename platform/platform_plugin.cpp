#include "platform/platform_plugin.h"

#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QSettings>
#include <QtGlobal>

#include <algorithm>

namespace tremira::platform {

QStringList PlatformPluginNames(const QString &platformName, bool waylandSession) {
    if (platformName.isEmpty()) {
        return waylandSession ? QStringList{QStringLiteral("wayland"), QStringLiteral("xcb")}
                              : QStringList{QStringLiteral("xcb")};
    }
    QStringList names;
    for (const QString &entry : platformName.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QStringList nameAndOptions = entry.split(QLatin1Char(':'), Qt::SkipEmptyParts);
        if (!nameAndOptions.isEmpty()) names << nameAndOptions.front().toLower();
    }
    return names;
}

QString PlatformPluginFileName(const QString &plugin) {
    // The one plugin whose file does not bear its name.
    if (plugin == QLatin1String("wayland")) return QStringLiteral("libqwayland-generic.so");
    return QStringLiteral("libq%1.so").arg(plugin);
}

namespace {

// Qt reads a qt.conf beside the program only once the application exists. Its plugin folder
// is relative to its prefix, and the prefix to the program's folder.
QString pluginsFolder(const QDir &programFolder) {
    const QString configuration = programFolder.filePath(QStringLiteral("qt.conf"));
    if (!QFileInfo::exists(configuration)) return QLibraryInfo::path(QLibraryInfo::PluginsPath);
    const QSettings settings(configuration, QSettings::IniFormat);
    const QDir prefix(
        programFolder.filePath(settings.value(QStringLiteral("Paths/Prefix"), QStringLiteral(".")).toString()));
    return prefix.filePath(settings.value(QStringLiteral("Paths/Plugins"), QStringLiteral("plugins")).toString());
}

}  // namespace

QStringList PlatformPluginFolders(const QString &pluginPath, const QStringList &pluginPaths,
                                  const QString &programFolder) {
    QStringList folders;
    if (!pluginPath.isEmpty()) folders << pluginPath;
    for (const QString &path : pluginPaths + QStringList{pluginsFolder(QDir(programFolder)), programFolder}) {
        folders << QDir(path).filePath(QStringLiteral("platforms"));
    }
    return folders;
}

PlatformPlugins InstalledPlatformPlugins(const QStringList &chosen, const QStringList &folders) {
    PlatformPlugins plugins{chosen, {}};
    for (const QString &plugin : chosen) {
        const QString file = PlatformPluginFileName(plugin);
        if (std::any_of(folders.begin(), folders.end(),
                        [&](const QString &folder) { return QFileInfo::exists(QDir(folder).filePath(file)); })) {
            plugins.installed << plugin;
        }
    }
    return plugins;
}

PlatformPlugins CurrentPlatformPlugins(const QString &platformName) {
    const bool waylandSession = qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
                                qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland");
    const QStringList pluginPaths =
        qEnvironmentVariable("QT_PLUGIN_PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts);
    // Where the program is, as Qt finds it on Linux.
    const QString programFolder = QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).path();
    return InstalledPlatformPlugins(
        PlatformPluginNames(platformName, waylandSession),
        PlatformPluginFolders(qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH"), pluginPaths, programFolder));
}

namespace {

// The packages of Debian 12 that ship Qt's platform plugins.
QString packageOf(const QString &plugin) {
    if (plugin.startsWith(QLatin1String("wayland"))) return QStringLiteral("qt6-wayland");
    if (plugin == QLatin1String("eglfs") || plugin == QLatin1String("minimalegl"))
        return QStringLiteral("libqt6opengl6");
    if (plugin == QLatin1String("vnc")) return QStringLiteral("qt6-qpa-plugins");
    if (QStringList{"xcb", "offscreen", "minimal", "linuxfb", "vkkhrdisplay"}.contains(plugin)) {
        return QStringLiteral("libqt6gui6");
    }
    return {};
}

}  // namespace

QString MissingPlatformPluginMessage(const QString &plugin) {
    const QString package = packageOf(plugin);
    if (package.isEmpty()) {
        return QStringLiteral(
                   "Тремира: не найден модуль Qt для платформы «%1». / Tremira cannot find Qt's platform plugin %1.")
            .arg(plugin);
    }
    return QStringLiteral("Тремира: не найден модуль Qt для платформы «%1», его даёт пакет %2. / "
                          "Tremira cannot find Qt's platform plugin %1; the package %2 provides it.")
        .arg(plugin, package);
}

}  // namespace tremira::platform
