// Whether the program can reach a display, from the platform choice, the environment and which
// display servers answer.

#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/display_check.h"
#include "tests/support/silent_listener.h"

using tremira::platform::DisplayAnswer;
using tremira::platform::DisplayEndpoint;
using tremira::platform::DisplayEnvironment;
using tremira::platform::DisplayProblem;
using tremira::platform::GraphicalSessionProblem;
using tremira::platform::testing::SilentListener;
using Kind = DisplayEndpoint::Kind;

namespace {

const DisplayEndpoint kX0Abstract{Kind::Abstract, "/tmp/.X11-unix/X0"};
const DisplayEndpoint kX0File{Kind::File, "/tmp/.X11-unix/X0"};
const DisplayEndpoint kX0Tcp{Kind::Tcp, "localhost", 6000};
const DisplayEndpoint kWayland0{Kind::File, "/run/user/1000/wayland-0"};

// Answers on the endpoints it is given and remembers every one that was tried; its X server
// takes the program as a client unless told otherwise, and remembers each handshake; its
// compositor answers on the sockets among those endpoints, as told.
struct FakeServers {
    explicit FakeServers(std::vector<DisplayEndpoint> listeningOn = {}, bool accepting = true)
        : listening(std::move(listeningOn)), x11Answer(accepting ? DisplayAnswer::Accepted : DisplayAnswer::Refused) {}

    std::vector<DisplayEndpoint> listening;
    std::vector<DisplayEndpoint> tried;
    DisplayAnswer x11Answer;
    DisplayAnswer waylandAnswer = DisplayAnswer::Accepted;
    QStringList handshakes;

    bool operator()(const DisplayEndpoint &endpoint) {
        tried.push_back(endpoint);
        return isListening(endpoint);
    }

    bool isListening(const DisplayEndpoint &endpoint) const {
        return std::find(listening.begin(), listening.end(), endpoint) != listening.end();
    }

    tremira::platform::X11Handshake handshake() {
        return [this](const QString &display) {
            handshakes << display;
            return x11Answer;
        };
    }

    tremira::platform::WaylandHandshake waylandHandshake() const {
        return [this](const QString &socketPath) {
            return isListening({Kind::File, socketPath}) ? waylandAnswer : DisplayAnswer::Absent;
        };
    }
};

std::optional<DisplayProblem> problem(const DisplayEnvironment &environment, FakeServers &servers) {
    return GraphicalSessionProblem(environment, std::ref(servers), servers.handshake(), servers.waylandHandshake());
}

}  // namespace

// Of the displays the platform choice tries, any that answers will do; else the line names the
// first one that was set, and what went wrong there. "Accepted" here: no problem.
TEST(GraphicalSessionProblem, NeedsADisplayOfTheChosenPlatformThatAcceptsTheProgram) {
    using enum DisplayAnswer;
    const QString run = QStringLiteral("/run/user/1000");
    const DisplayEnvironment x11{"", ":0", "", ""};
    const DisplayEnvironment wayland{"", "", "wayland-0", run};
    const DisplayEnvironment both{"", ":0", "wayland-0", run};
    const std::vector<DisplayEndpoint> all{kX0Abstract, kWayland0};
    const struct {
        const char *name;
        DisplayEnvironment environment;
        std::vector<DisplayEndpoint> listening;
        DisplayAnswer x11Answer;
        DisplayAnswer waylandAnswer;
        DisplayAnswer expected;
        const char *display;
    } cases[] = {
        {"ssh session without forwarding", {"", "", "", run}, all, Accepted, Accepted, Absent, ""},
        {"X11 session", x11, all, Accepted, Accepted, Accepted, ""},
        {"Wayland session", wayland, all, Accepted, Accepted, Accepted, ""},
        {"offscreen needs no display", {"offscreen", ":0", "", ""}, {kX0File}, Silent, Silent, Accepted, ""},
        {"xcb without X server", {"xcb", "", "wayland-0", run}, all, Accepted, Accepted, Absent, ""},
        {"xcb with options", {"xcb:nograb", ":0", "", ""}, all, Accepted, Accepted, Accepted, ""},
        {"wayland without compositor", {"wayland", ":0", "", run}, all, Accepted, Accepted, Absent, ""},
        {"wayland-egl with compositor", {"wayland-egl", "", "wayland-0", run}, all, Accepted, Accepted, Accepted, ""},
        {"fallback list reaching X11", {"wayland;xcb", ":0", "", ""}, all, Accepted, Accepted, Accepted, ""},
        {"blank platform name", {"  ", "", "", ""}, all, Accepted, Accepted, Absent, ""},
        {"X server gone", x11, {}, Accepted, Accepted, Absent, ":0"},
        {"X server silent", x11, {kX0File}, Silent, Accepted, Silent, ":0"},
        {"X server refusing", x11, {kX0Abstract}, Refused, Accepted, Refused, ":0"},
        {"explicit xcb refused", {"xcb", ":0", "", ""}, {kX0Abstract}, Refused, Accepted, Refused, ":0"},
        {"fallback list refused", {"xcb;wayland", ":0", "", ""}, {kX0Abstract}, Refused, Accepted, Refused, ":0"},
        {"no such screen", {"", ":0.9", "", ""}, {kX0Tcp}, NoSuchScreen, Accepted, NoSuchScreen, ":0.9"},
        {"a form the X library cannot read", {"", "nonsense", "", ""}, {}, Absent, Accepted, Absent, "nonsense"},
        {"compositor gone", wayland, {}, Accepted, Accepted, Absent, "wayland-0"},
        {"compositor silent", wayland, {kWayland0}, Accepted, Silent, Silent, "wayland-0"},
        {"compositor closing", {"wayland", "", "wayland-0", run}, {kWayland0}, Accepted, Refused, Refused, "wayland-0"},
        {"X answers, no compositor",
         {"wayland", ":0", "wayland-0", run},
         {kX0File},
         Accepted,
         Accepted,
         Absent,
         "wayland-0"},
        {"no runtime folder", {"wayland", "", "wayland-0", ""}, {kWayland0}, Accepted, Accepted, Absent, "wayland-0"},
        {"xcb, only Wayland answers", {"xcb", ":0", "wayland-0", run}, {kWayland0}, Accepted, Accepted, Absent, ":0"},
        {"default platform, X gone, Wayland answers", both, {kWayland0}, Accepted, Accepted, Accepted, ""},
        {"default platform, X refusing, Wayland answers", both, all, Refused, Accepted, Accepted, ""},
        {"X refusing, Wayland next", {"xcb;wayland", ":0", "wayland-0", run}, all, Refused, Accepted, Accepted, ""},
        {"X silent, compositor answering", both, {kX0File, kWayland0}, Silent, Accepted, Accepted, ""},
        {"X refusing, compositor silent: X first", both, all, Refused, Silent, Refused, ":0"},
        {"Wayland listed first", {"wayland;xcb", ":0", "wayland-0", run}, all, Refused, Silent, Silent, "wayland-0"},
        {"the display listed first not set", {"wayland;xcb", ":0", "", run}, {kX0File}, Silent, Accepted, Silent, ":0"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        FakeServers servers{c.listening};
        servers.x11Answer = c.x11Answer;
        servers.waylandAnswer = c.waylandAnswer;
        const std::optional<DisplayProblem> found = problem(c.environment, servers);
        EXPECT_EQ(found.value_or(DisplayProblem{Accepted, ""}), (DisplayProblem{c.expected, c.display}));
    }
}

TEST(GraphicalSessionProblem, TheHandshakeGoesToTheDisplayAsGivenOnlyAfterASocketAnswered) {
    FakeServers silent;
    EXPECT_TRUE(problem({"", "localhost:10.0", "", ""}, silent));
    EXPECT_TRUE(silent.handshakes.isEmpty());  // the socket probe bounds the wait, the handshake does not

    FakeServers answering{{kX0File}};
    EXPECT_FALSE(problem({"", ":0.0", "", ""}, answering));
    EXPECT_EQ(answering.handshakes, QStringList{":0.0"});

    FakeServers wayland{{kWayland0}};
    EXPECT_FALSE(problem({"wayland", ":0", "wayland-0", "/run/user/1000"}, wayland));
    EXPECT_TRUE(wayland.handshakes.isEmpty());  // X11 is not tried when Wayland is chosen
}

// The probe cannot name the sockets of these forms: the handshake reads them as Qt's X library
// will, and decides.
TEST(GraphicalSessionProblem, ADisplayOfAnUnknownFormGoesToTheHandshakeUntried) {
    for (const bool accepted : {true, false}) {
        for (const char *display : {"host::0", "nonsense", ":x", "host:"}) {
            SCOPED_TRACE(std::string(display) + (accepted ? ", accepted" : ", refused"));
            FakeServers servers{{}, accepted};
            EXPECT_EQ(!problem({"", display, "", ""}, servers), accepted);
            EXPECT_TRUE(servers.tried.empty());
            EXPECT_EQ(servers.handshakes, QStringList{QString::fromLatin1(display)});
        }
    }
}

TEST(DisplayProblemMessage, OneLineInRussianAndEnglishNamingTheDisplayAndWhatWentWrong) {
    using enum DisplayAnswer;
    const struct {
        DisplayProblem problem;
        const char *russian;
        const char *english;
    } cases[] = {
        {{Absent, ""}, ", его даёт, например, xvfb-run", "; xvfb-run provides one"},
        {{Absent, ":57"},
         ", а дисплей «:57» недоступен; сеанс даёт, например, xvfb-run",
         ", but display :57 cannot be reached; xvfb-run provides one"},
        {{Silent, "127.0.0.1:99"},
         ", а дисплей «127.0.0.1:99» не отвечает",
         ", but display 127.0.0.1:99 does not answer"},
        {{Refused, ":0"}, ", а дисплей «:0» не принимает программу", ", but display :0 does not accept the program"},
        {{NoSuchScreen, ":91.1"}, ", а на дисплее «:91.1» нет такого экрана", ", but display :91.1 has no such screen"},
        {{Silent, "%2%1:0"},
         ", а дисплей «%2%1:0» не отвечает",
         ", but display %2%1:0 does not answer"},  // not a placeholder
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.english);
        EXPECT_EQ(tremira::platform::DisplayProblemMessage(c.problem),
                  QStringLiteral("Тремира: нужен графический сеанс (X11 или Wayland)") + QString::fromUtf8(c.russian) +
                      QStringLiteral(". / Tremira needs a graphical session (X11 or Wayland)") +
                      QString::fromUtf8(c.english) + QLatin1Char('.'));
    }
}

namespace {

// Takes the first client off the listener's queue and hangs up on it.
void HangUpOnTheFirstClient(const SilentListener &listener) {
    pollfd waiting{listener.fd(), POLLIN, 0};
    if (::poll(&waiting, 1, 20'000) == 1) ::close(::accept(listener.fd(), nullptr, nullptr));
}

}  // namespace

// A compositor that answers: tests/platform/wayland_session_test.cpp, on weston.
TEST(WaylandRoundTrip, TellsACompositorThatIsGoneSilentOrClosing) {
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    const QString socket = runtime.filePath(QStringLiteral("wayland-test"));
    {
        SCOPED_TRACE("nothing at the socket");
        EXPECT_EQ(tremira::platform::WaylandRoundTrip(runtime.filePath(QStringLiteral("wayland-gone"))),
                  DisplayAnswer::Absent);
    }
    {
        SCOPED_TRACE("socket that never answers");
        const SilentListener silent({Kind::File, socket});
        ASSERT_TRUE(silent.listening());
        EXPECT_EQ(tremira::platform::WaylandRoundTrip(socket), DisplayAnswer::Silent);
    }
    {
        // A stopped compositor that many clients tried: a plain connect would wait for a
        // place in the queue forever.
        SCOPED_TRACE("socket whose queue is full");
        const SilentListener full({Kind::File, socket}, 0);
        ASSERT_TRUE(full.listening());
        for (const char *probe : {"the probe taking the one place", "the probe finding no place"}) {
            SCOPED_TRACE(probe);
            EXPECT_TRUE(tremira::platform::ConnectsTo({Kind::File, socket}));
        }
        EXPECT_EQ(tremira::platform::WaylandRoundTrip(socket), DisplayAnswer::Silent);
    }
    {
        SCOPED_TRACE("socket that hangs up");
        const SilentListener closing({Kind::File, socket});
        ASSERT_TRUE(closing.listening());
        std::thread hangingUp(HangUpOnTheFirstClient, std::cref(closing));
        EXPECT_EQ(tremira::platform::WaylandRoundTrip(socket), DisplayAnswer::Refused);
        hangingUp.join();
    }
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
