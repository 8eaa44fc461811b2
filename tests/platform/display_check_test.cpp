// Whether the program can reach a display, from the platform choice, the environment and which
// display servers answer.

#include <gtest/gtest.h>

#include <QStringList>

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "platform/display_check.h"

using tremira::platform::DisplayEndpoint;
using tremira::platform::DisplayEnvironment;
using tremira::platform::GraphicalSessionReachable;
using Kind = DisplayEndpoint::Kind;

namespace tremira::platform {
void PrintTo(const DisplayEndpoint &endpoint, std::ostream *out) {
    *out << "{" << static_cast<int>(endpoint.kind) << ", " << endpoint.address.toStdString() << ", " << endpoint.port
         << "}";
}
}  // namespace tremira::platform

namespace {

const DisplayEndpoint kX0Abstract{Kind::Abstract, "/tmp/.X11-unix/X0"};
const DisplayEndpoint kX0File{Kind::File, "/tmp/.X11-unix/X0"};
const DisplayEndpoint kX0Tcp{Kind::Tcp, "localhost", 6000};
const DisplayEndpoint kWayland0{Kind::File, "/run/user/1000/wayland-0"};

// Answers on the endpoints it is given and remembers every one that was tried; its X server
// takes the program as a client unless told otherwise, and remembers each handshake.
struct FakeServers {
    explicit FakeServers(std::vector<DisplayEndpoint> listeningOn = {}, bool accepting = true)
        : listening(std::move(listeningOn)), acceptsClients(accepting) {}

    std::vector<DisplayEndpoint> listening;
    std::vector<DisplayEndpoint> tried;
    bool acceptsClients;
    QStringList handshakes;

    bool operator()(const DisplayEndpoint &endpoint) {
        tried.push_back(endpoint);
        return std::find(listening.begin(), listening.end(), endpoint) != listening.end();
    }

    tremira::platform::X11Handshake handshake() {
        return [this](const QString &display) {
            handshakes << display;
            return acceptsClients;
        };
    }
};

bool reachable(const DisplayEnvironment &environment, FakeServers &servers) {
    return GraphicalSessionReachable(environment, std::ref(servers), servers.handshake());
}

}  // namespace

TEST(GraphicalSessionReachable, NeedsTheDisplayOfTheChosenPlatform) {
    const std::vector<DisplayEndpoint> everything{kX0Abstract, kWayland0};
    const struct {
        const char *name;
        DisplayEnvironment environment;
        bool expected;
    } cases[] = {
        {"ssh session without forwarding", {"", "", "", "/run/user/1000"}, false},
        {"X11 session", {"", ":0", "", ""}, true},
        {"Wayland session", {"", "", "wayland-0", "/run/user/1000"}, true},
        {"offscreen needs no display", {"offscreen", "", "", ""}, true},
        {"minimal needs no display", {"minimal", "", "", ""}, true},
        {"xcb without X server", {"xcb", "", "wayland-0", "/run/user/1000"}, false},
        {"xcb with options", {"xcb:nograb", ":0", "", ""}, true},
        {"wayland without compositor", {"wayland", ":0", "", "/run/user/1000"}, false},
        {"wayland-egl with compositor", {"wayland-egl", "", "wayland-0", "/run/user/1000"}, true},
        {"fallback list reaching X11", {"wayland;xcb", ":0", "", ""}, true},
        {"fallback list reaching nothing", {"wayland;xcb", "", "", ""}, false},
        {"blank platform name", {"  ", "", "", ""}, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        FakeServers servers{everything};
        EXPECT_EQ(reachable(c.environment, servers), c.expected);
    }
}

TEST(GraphicalSessionReachable, ADisplayThatIsSetButDoesNotAnswerIsNotReachable) {
    const DisplayEnvironment x11{"", ":0", "", ""};
    const DisplayEnvironment wayland{"", "", "wayland-0", "/run/user/1000"};
    const struct {
        const char *name;
        DisplayEnvironment environment;
        std::vector<DisplayEndpoint> listening;
        bool expected;
    } cases[] = {
        {"X server gone", x11, {}, false},
        {"X server on its abstract socket", x11, {kX0Abstract}, true},
        {"X server on its socket file only", x11, {kX0File}, true},
        {"X server on TCP only, as the X library falls back to", x11, {kX0Tcp}, true},
        {"compositor gone", wayland, {}, false},
        {"compositor listening", wayland, {kWayland0}, true},
        {"Wayland name without runtime folder", {"", "", "wayland-0", ""}, {kWayland0}, false},
        {"explicit xcb, only Wayland answers", {"xcb", ":0", "wayland-0", "/run/user/1000"}, {kWayland0}, false},
        {"default platform, X gone, Wayland answers", {"", ":0", "wayland-0", "/run/user/1000"}, {kWayland0}, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        FakeServers servers{c.listening};
        EXPECT_EQ(reachable(c.environment, servers), c.expected);
    }
}

// A wrong XAUTHORITY, sudo in a desktop session, a server at its client limit: the socket
// answers, the server refuses the program, and Qt would abort.
TEST(GraphicalSessionReachable, AnXServerThatRefusesTheProgramIsNotReachable) {
    const DisplayEnvironment x11{"", ":0", "", ""};
    const struct {
        const char *name;
        DisplayEnvironment environment;
        std::vector<DisplayEndpoint> listening;
        bool expected;
    } cases[] = {
        {"X11 session", x11, {kX0Abstract}, false},
        {"explicit xcb", {"xcb", ":0", "", ""}, {kX0Abstract}, false},
        {"fallback list", {"xcb;wayland", ":0", "", ""}, {kX0Abstract}, false},
        {"default platform, Wayland answers",
         {"", ":0", "wayland-0", "/run/user/1000"},
         {kX0Abstract, kWayland0},
         true},
        {"fallback list, Wayland answers",
         {"xcb;wayland", ":0", "wayland-0", "/run/user/1000"},
         {kX0File, kWayland0},
         true},
        {"offscreen needs no X server", {"offscreen", ":0", "", ""}, {kX0Abstract}, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        FakeServers servers{c.listening, false};
        EXPECT_EQ(reachable(c.environment, servers), c.expected);
    }
}

TEST(GraphicalSessionReachable, TheHandshakeGoesToTheDisplayAsGivenOnlyAfterASocketAnswered) {
    FakeServers silent;
    EXPECT_FALSE(reachable({"", "localhost:10.0", "", ""}, silent));
    EXPECT_TRUE(silent.handshakes.isEmpty());  // the socket probe bounds the wait, the handshake does not

    FakeServers answering{{kX0File}};
    EXPECT_TRUE(reachable({"", ":0.0", "", ""}, answering));
    EXPECT_EQ(answering.handshakes, QStringList{":0.0"});

    FakeServers wayland{{kWayland0}};
    EXPECT_TRUE(reachable({"wayland", ":0", "wayland-0", "/run/user/1000"}, wayland));
    EXPECT_TRUE(wayland.handshakes.isEmpty());  // Wayland needs only its socket, as before
}

// The probe cannot name the sockets of these forms: the handshake reads them as Qt's X library
// will, and decides.
TEST(GraphicalSessionReachable, ADisplayOfAnUnknownFormGoesToTheHandshakeUntried) {
    for (const bool accepted : {true, false}) {
        for (const char *display : {"host::0", "nonsense", ":x", "host:"}) {
            SCOPED_TRACE(std::string(display) + (accepted ? ", accepted" : ", refused"));
            FakeServers servers{{}, accepted};
            EXPECT_EQ(reachable({"", display, "", ""}, servers), accepted);
            EXPECT_TRUE(servers.tried.empty());
            EXPECT_EQ(servers.handshakes, QStringList{QString::fromLatin1(display)});
        }
    }
}

// The real handshake against real X servers: tests/platform/program_process_test.cpp.
TEST(X11ClientHandshake, FailsWhereNoServerListens) {
    tremira::platform::X11ClientHandshake handshake;
    EXPECT_FALSE(handshake(QStringLiteral("unix:65000")));
    handshake.release();  // holds nothing: harmless
}

TEST(X11Endpoints, FollowTheFormOfDisplay) {
    const struct {
        const char *display;
        std::vector<DisplayEndpoint> expected;
    } cases[] = {
        {":0", {kX0Abstract, kX0File, kX0Tcp}},
        {":12.1",
         {{Kind::Abstract, "/tmp/.X11-unix/X12"}, {Kind::File, "/tmp/.X11-unix/X12"}, {Kind::Tcp, "localhost", 6012}}},
        {"unix:3", {{Kind::Abstract, "/tmp/.X11-unix/X3"}, {Kind::File, "/tmp/.X11-unix/X3"}}},
        {"unix/:3", {{Kind::Abstract, "/tmp/.X11-unix/X3"}, {Kind::File, "/tmp/.X11-unix/X3"}}},
        {"localhost:10.0", {{Kind::Tcp, "localhost", 6010}}},  // ssh's forwarded display
        {"tcp/build-host:2", {{Kind::Tcp, "build-host", 6002}}},
        {"[::1]:1", {{Kind::Tcp, "::1", 6001}}},
        {"/private/tmp/launch-x/org.display:0", {{Kind::File, "/private/tmp/launch-x/org.display:0"}}},
        {"", {}},
        {"host::0", {}},  // DECnet
        {":70000", {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.display);
        EXPECT_EQ(tremira::platform::X11Endpoints(c.display), c.expected);
    }
}

TEST(WaylandEndpoints, NameInTheRuntimeFolderOrAbsolutePath) {
    using tremira::platform::WaylandEndpoints;
    EXPECT_EQ(WaylandEndpoints("wayland-0", "/run/user/1000"), std::vector<DisplayEndpoint>{kWayland0});
    EXPECT_EQ(WaylandEndpoints("/tmp/compositor", ""), (std::vector<DisplayEndpoint>{{Kind::File, "/tmp/compositor"}}));
    EXPECT_TRUE(WaylandEndpoints("wayland-0", "").empty());
    EXPECT_TRUE(WaylandEndpoints("", "/run/user/1000").empty());
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
