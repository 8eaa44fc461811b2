// Whether the program can reach a display, from the platform choice and the environment.

#include <gtest/gtest.h>

#include "platform/display_check.h"

using tremira::platform::DisplayEnvironment;
using tremira::platform::GraphicalSessionReachable;

TEST(GraphicalSessionReachable, NeedsTheDisplayOfTheChosenPlatform) {
    const struct {
        const char *name;
        DisplayEnvironment environment;
        bool expected;
    } cases[] = {
        {"ssh session without forwarding", {"", "", ""}, false},
        {"X11 session", {"", ":0", ""}, true},
        {"Wayland session", {"", "", "wayland-0"}, true},
        {"offscreen needs no display", {"offscreen", "", ""}, true},
        {"minimal needs no display", {"minimal", "", ""}, true},
        {"xcb without X server", {"xcb", "", "wayland-0"}, false},
        {"xcb with options", {"xcb:nograb", ":1", ""}, true},
        {"wayland without compositor", {"wayland", ":0", ""}, false},
        {"wayland-egl with compositor", {"wayland-egl", "", "wayland-1"}, true},
        {"fallback list reaching X11", {"wayland;xcb", ":0", ""}, true},
        {"fallback list reaching nothing", {"wayland;xcb", "", ""}, false},
        {"blank platform name", {"  ", "", ""}, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(GraphicalSessionReachable(c.environment), c.expected);
    }
}

TEST(CurrentDisplayEnvironment, PlatformArgumentWinsOverTheEnvironment) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    char program[] = "tremira";
    char option[] = "-platform";
    char value[] = "offscreen";
    char *argv[] = {program, option, value, nullptr};
    EXPECT_EQ(tremira::platform::CurrentDisplayEnvironment(3, argv).platformName, QStringLiteral("offscreen"));
    EXPECT_EQ(tremira::platform::CurrentDisplayEnvironment(1, argv).platformName, QStringLiteral("xcb"));
    qunsetenv("QT_QPA_PLATFORM");
}
