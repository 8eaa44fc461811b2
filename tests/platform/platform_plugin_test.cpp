// Which platform plugins Qt will try, where it looks for them, and the line that names a
// missing one with its package.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QTemporaryDir>

#include "platform/platform_plugin.h"

using tremira::platform::PlatformPluginFolders;
using tremira::platform::PlatformPluginNames;

TEST(PlatformPluginNames, FollowTheNamedPlatformsElseTheSession) {
    const struct {
        const char *name;
        const char *platformName;
        bool waylandSession;
        QStringList expected;
    } cases[] = {
        {"X11 session", "", false, {"xcb"}},
        {"Wayland session: Wayland first, X11 as Qt's fallback", "", true, {"wayland", "xcb"}},
        {"named, in a Wayland session", "xcb", true, {"xcb"}},
        {"options dropped, names in lower case", "Wayland:nograb;XCB", false, {"wayland", "xcb"}},
        {"empty entries skipped", ";offscreen;;:x", false, {"offscreen", "x"}},
        {"nothing but separators", ";", true, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PlatformPluginNames(QString::fromLatin1(c.platformName), c.waylandSession), c.expected);
    }
}

namespace {

void writeFile(const QString &path, const QByteArray &contents = {}) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

}  // namespace

// Qt reads a qt.conf beside the program once the application exists, and so its plugin folder
// replaces Qt's own; the program's folder and the paths given come besides.
TEST(PlatformPluginFolders, AreThoseQtWillLookIn) {
    QTemporaryDir program;
    ASSERT_TRUE(program.isValid());
    const QString qtOwn = QDir(QLibraryInfo::path(QLibraryInfo::PluginsPath)).filePath(QStringLiteral("platforms"));
    const QString folder = program.path();
    const struct {
        const char *name;
        QByteArray qtConf;  // none when empty
        QString pluginPath;
        QStringList pluginPaths;
        QStringList expected;
    } cases[] = {
        {"no qt.conf", {}, {}, {}, {qtOwn, folder + "/platforms"}},
        {"plugin paths first",
         {},
         "/given",
         {"/extra", "/more"},
         {"/given", "/extra/platforms", "/more/platforms", qtOwn, folder + "/platforms"}},
        {"qt.conf naming a folder",
         "[Paths]\nPlugins=/elsewhere\n",
         {},
         {},
         {"/elsewhere/platforms", folder + "/platforms"}},
        {"qt.conf with a relative prefix",
         "[Paths]\nPrefix=..\nPlugins=lib\n",
         {},
         {},
         {QDir(folder).filePath("../lib/platforms"), folder + "/platforms"}},
        {"qt.conf without paths", "[Paths]\n", {}, {}, {folder + "/plugins/platforms", folder + "/platforms"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(QDir(folder).filePath(QStringLiteral("qt.conf")));
        if (!c.qtConf.isEmpty()) writeFile(QDir(folder).filePath(QStringLiteral("qt.conf")), c.qtConf);
        QStringList found = PlatformPluginFolders(c.pluginPath, c.pluginPaths, folder);
        for (QString &path : found) path = QDir::cleanPath(path);
        QStringList expected = c.expected;
        for (QString &path : expected) path = QDir::cleanPath(path);
        EXPECT_EQ(found, expected);
    }
}

// Qt falls back along its list: only when none of the plugins is installed does it abort. Each
// plugin is known by the file Qt installs for it.
TEST(InstalledPlatformPlugins, AreTheChosenOnesFoundInAnyFolder) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString first = root.filePath(QStringLiteral("first"));
    const QString second = root.filePath(QStringLiteral("second"));
    writeFile(first + QStringLiteral("/libqxcb.so"));
    for (const char *file : {"libqoffscreen.so", "libqwayland-egl.so", "libqwayland-generic.so"})
        writeFile(second + QLatin1Char('/') + QLatin1String(file));
    const struct {
        const char *name;
        QStringList chosen;
        QStringList installed;
    } cases[] = {
        {"X11", {"xcb"}, {"xcb"}},
        {"from the second folder", {"wayland", "wayland-egl", "offscreen"}, {"wayland", "wayland-egl", "offscreen"}},
        {"falling back to X11", {"vnc", "xcb"}, {"xcb"}},
        {"none installed", {"vnc"}, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const auto plugins = tremira::platform::InstalledPlatformPlugins(c.chosen, {first, second});
        EXPECT_EQ(plugins.chosen, c.chosen);
        EXPECT_EQ(plugins.installed, c.installed);
    }
}

TEST(MissingPlatformPluginMessage, OneLineNamingThePluginAndItsPackage) {
    const struct {
        const char *plugin;
        const char *expected;
    } cases[] = {
        {"wayland", "Тремира: не найден модуль Qt для платформы «wayland», его даёт пакет qt6-wayland. / "
                    "Tremira cannot find Qt's platform plugin wayland; the package qt6-wayland provides it."},
        {"wayland-egl", "Тремира: не найден модуль Qt для платформы «wayland-egl», его даёт пакет qt6-wayland. / "
                        "Tremira cannot find Qt's platform plugin wayland-egl; the package qt6-wayland provides it."},
        {"xcb", "Тремира: не найден модуль Qt для платформы «xcb», его даёт пакет libqt6gui6. / "
                "Tremira cannot find Qt's platform plugin xcb; the package libqt6gui6 provides it."},
        {"eglfs", "Тремира: не найден модуль Qt для платформы «eglfs», его даёт пакет libqt6opengl6. / "
                  "Tremira cannot find Qt's platform plugin eglfs; the package libqt6opengl6 provides it."},
        {"vnc", "Тремира: не найден модуль Qt для платформы «vnc», его даёт пакет qt6-qpa-plugins. / "
                "Tremira cannot find Qt's platform plugin vnc; the package qt6-qpa-plugins provides it."},
        {"%2odd",
         "Тремира: не найден модуль Qt для платформы «%2odd». / Tremira cannot find Qt's platform plugin %2odd."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.plugin);
        EXPECT_EQ(tremira::platform::MissingPlatformPluginMessage(QString::fromUtf8(c.plugin)),
                  QString::fromUtf8(c.expected));
    }
}
