// What the program says when Qt gives up its platform plugin: the messages are those Qt 6.4
// prints on the way, in its order.

#include <gtest/gtest.h>

#include "platform/platform_start.h"

namespace {

using tremira::platform::PlatformFailure;
using tremira::platform::PlatformFailureMessage;
using tremira::platform::PlatformFailureOf;
using tremira::platform::QtMessage;

const QString kNoneStarted = QStringLiteral(
    "This application failed to start because no Qt platform plugin could be initialized. Reinstalling the "
    "application may fix this problem.\n\nAvailable platform plugins are: minimal, offscreen, xcb.");

QtMessage plugin(const char *text) { return {QtWarningMsg, "qt.qpa.plugin", QString::fromLatin1(text)}; }
QtMessage warning(const char *category, const char *text) {
    return {QtWarningMsg, category, QString::fromLatin1(text)};
}

TEST(PlatformFailureOf, NamesThePluginAndWhyInQtsWords) {
    const struct {
        const char *name;
        const char *asked;
        std::vector<QtMessage> said;
        QString fatal;
        PlatformFailure expected;
    } cases[] = {
        {"none installed",
         "bogus",
         {plugin("Could not find the Qt platform plugin \"bogus\" in \"\"")},
         kNoneStarted,
         {"bogus", "", true}},
        {"the first of a list missing",
         "wayland;xcb",
         {plugin("Could not find the Qt platform plugin \"wayland\" in \"/p\""),
          plugin("Could not find the Qt platform plugin \"xcb\" in \"/p\"")},
         kNoneStarted,
         {"wayland", "", true}},
        {"found, but its display is gone",
         "",
         {warning("default", "QStandardPaths: XDG_RUNTIME_DIR not set"),
          warning("qt.qpa.xcb", "could not connect to display "),
          {QtInfoMsg, "qt.qpa.plugin",
           "Could not load the Qt platform plugin \"xcb\" in \"\" even though it was found."}},
         kNoneStarted,
         {"xcb", "could not connect to display", false}},
        {"one missing, the next failing",
         "bogus;xcb",
         {plugin("Could not find the Qt platform plugin \"bogus\" in \"\""),
          warning("qt.qpa.xcb", "could not connect to display"),
          plugin("Could not load the Qt platform plugin \"xcb\" in \"\" even though it was found.")},
         kNoneStarted,
         {"xcb", "could not connect to display", false}},
        {"a plugin's own fatal message",
         "eglfs:size=800x600",
         {warning("default", "QStandardPaths: XDG_RUNTIME_DIR not set")},
         QStringLiteral("Could not find DRM device!"),
         {"eglfs", "Could not find DRM device!", false}},
        {"nothing asked, nothing named", "", {}, QStringLiteral("EGL error\n"), {"", "EGL error", false}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const PlatformFailure failure = PlatformFailureOf(QString::fromLatin1(c.asked), c.said, c.fatal);
        EXPECT_EQ(failure.plugin, c.expected.plugin);
        EXPECT_EQ(failure.reason, c.expected.reason);
        EXPECT_EQ(failure.missing, c.expected.missing);
    }
}

TEST(PlatformFailureMessage, IsOneLineNamingThePackageOfAMissingPlugin) {
    const struct {
        PlatformFailure failure;
        QString expected;
    } cases[] = {
        {{"wayland", "", true},
         "Тремира: не найден модуль Qt для платформы «wayland», его даёт пакет qt6-wayland. / Tremira cannot find "
         "Qt's platform plugin wayland; the package qt6-wayland provides it."},
        {{"bogus", "", true},
         "Тремира: не найден модуль Qt для платформы «bogus». / Tremira cannot find Qt's platform plugin bogus."},
        {{"eglfs", "Could not find DRM device!", false},
         "Тремира: модуль Qt для платформы «eglfs» не запустился: Could not find DRM device! / Tremira: Qt's platform "
         "plugin eglfs did not start: Could not find DRM device!"},
        {{"", "EGL error", false},
         "Тремира: Qt не смог открыть окно: EGL error / Tremira: Qt could not open a window: EGL error"},
    };
    for (const auto &c : cases) EXPECT_EQ(PlatformFailureMessage(c.failure), c.expected);
}

}  // namespace
