// Whether the program can reach a display, from the platform choice, the environment and which
// display servers answer.

#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <wayland-server-core.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
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
using tremira::platform::testing::FreeDisplayNumber;
using tremira::platform::testing::SilentListener;
using Kind = DisplayEndpoint::Kind;

namespace tremira::platform {
void PrintTo(const DisplayEndpoint &endpoint, std::ostream *out) {
    *out << "{" << static_cast<int>(endpoint.kind) << ", " << endpoint.address.toStdString() << ", " << endpoint.port
         << "}";
}
void PrintTo(DisplayAnswer answer, std::ostream *out) { *out << "DisplayAnswer " << static_cast<int>(answer); }
void PrintTo(const DisplayProblem &problem, std::ostream *out) {
    PrintTo(problem.answer, out);
    *out << " of \"" << problem.display.toStdString() << "\"";
}
}  // namespace tremira::platform

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

bool reachable(const DisplayEnvironment &environment, FakeServers &servers) {
    return !problem(environment, servers).has_value();
}

}  // namespace

TEST(GraphicalSessionProblem, NeedsTheDisplayOfTheChosenPlatform) {
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

TEST(GraphicalSessionProblem, ADisplayThatIsSetButDoesNotAnswerIsNotReachable) {
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
TEST(GraphicalSessionProblem, AnXServerThatRefusesTheProgramIsNotReachable) {
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

TEST(GraphicalSessionProblem, TheHandshakeGoesToTheDisplayAsGivenOnlyAfterASocketAnswered) {
    FakeServers silent;
    EXPECT_FALSE(reachable({"", "localhost:10.0", "", ""}, silent));
    EXPECT_TRUE(silent.handshakes.isEmpty());  // the socket probe bounds the wait, the handshake does not

    FakeServers answering{{kX0File}};
    EXPECT_TRUE(reachable({"", ":0.0", "", ""}, answering));
    EXPECT_EQ(answering.handshakes, QStringList{":0.0"});

    FakeServers wayland{{kWayland0}};
    EXPECT_TRUE(reachable({"wayland", ":0", "wayland-0", "/run/user/1000"}, wayland));
    EXPECT_TRUE(wayland.handshakes.isEmpty());  // X11 is not tried when Wayland is chosen
}

// The probe cannot name the sockets of these forms: the handshake reads them as Qt's X library
// will, and decides.
TEST(GraphicalSessionProblem, ADisplayOfAnUnknownFormGoesToTheHandshakeUntried) {
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

// Of the displays the platform choice tries, the line names the first one that was set, and
// what went wrong there.
TEST(GraphicalSessionProblem, NamesTheFirstDisplaySetThatFailedAndHow) {
    using enum DisplayAnswer;
    const DisplayEnvironment both{"", ":0", "wayland-0", "/run/user/1000"};
    const struct {
        const char *name;
        DisplayEnvironment environment;
        std::vector<DisplayEndpoint> listening;
        DisplayAnswer x11Answer;
        DisplayAnswer waylandAnswer;
        std::optional<DisplayProblem> expected;
    } cases[] = {
        {"nothing set", {"", "", "", "/run/user/1000"}, {}, Accepted, Accepted, DisplayProblem{Absent, ""}},
        {"X server gone", {"", ":0", "", ""}, {}, Accepted, Accepted, DisplayProblem{Absent, ":0"}},
        {"X server silent", {"", ":0", "", ""}, {kX0File}, Silent, Accepted, DisplayProblem{Silent, ":0"}},
        {"X server refusing", {"xcb", ":0", "", ""}, {kX0Abstract}, Refused, Accepted, DisplayProblem{Refused, ":0"}},
        {"no such screen",
         {"", ":0.9", "", ""},
         {kX0Tcp},
         NoSuchScreen,
         Accepted,
         DisplayProblem{NoSuchScreen, ":0.9"}},
        {"a form the X library cannot read",
         {"", "nonsense", "", ""},
         {},
         Absent,
         Accepted,
         DisplayProblem{Absent, "nonsense"}},
        {"compositor silent",
         {"", "", "wayland-0", "/run/user/1000"},
         {kWayland0},
         Accepted,
         Silent,
         DisplayProblem{Silent, "wayland-0"}},
        {"compositor closing",
         {"wayland", "", "wayland-0", "/run/user/1000"},
         {kWayland0},
         Accepted,
         Refused,
         DisplayProblem{Refused, "wayland-0"}},
        {"compositor gone",
         {"wayland", ":0", "wayland-0", "/run/user/1000"},
         {kX0File},
         Accepted,
         Accepted,
         DisplayProblem{Absent, "wayland-0"}},
        {"Wayland name without runtime folder",
         {"wayland", "", "wayland-0", ""},
         {kWayland0},
         Accepted,
         Accepted,
         DisplayProblem{Absent, "wayland-0"}},
        {"X silent, no compositor set",
         {"", ":0", "", "/run/user/1000"},
         {kX0File},
         Silent,
         Accepted,
         DisplayProblem{Silent, ":0"}},
        {"X refusing, compositor silent: X is tried first",
         both,
         {kX0File, kWayland0},
         Refused,
         Silent,
         DisplayProblem{Refused, ":0"}},
        {"Wayland listed first",
         {"wayland;xcb", ":0", "wayland-0", "/run/user/1000"},
         {kX0File, kWayland0},
         Refused,
         Silent,
         DisplayProblem{Silent, "wayland-0"}},
        {"the display listed first not set",
         {"wayland;xcb", ":0", "", "/run/user/1000"},
         {kX0File},
         Silent,
         Accepted,
         DisplayProblem{Silent, ":0"}},
        {"X silent, compositor answering", both, {kX0File, kWayland0}, Silent, Accepted, std::nullopt},
        {"offscreen", {"offscreen", ":0", "", ""}, {kX0File}, Silent, Silent, std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        FakeServers servers{c.listening};
        servers.x11Answer = c.x11Answer;
        servers.waylandAnswer = c.waylandAnswer;
        EXPECT_EQ(problem(c.environment, servers), c.expected);
    }
}

TEST(DisplayProblemMessage, OneLineInRussianAndEnglishNamingTheDisplayAndWhatWentWrong) {
    using enum DisplayAnswer;
    const struct {
        const char *name;
        DisplayProblem problem;
        const char *russian;
        const char *english;
    } cases[] = {
        {"nothing set", {Absent, ""}, ", его даёт, например, xvfb-run.", "; xvfb-run provides one."},
        {"nothing there",
         {Absent, ":57"},
         ", а дисплей «:57» недоступен; сеанс даёт, например, xvfb-run.",
         ", but display :57 cannot be reached; xvfb-run provides one."},
        {"silent",
         {Silent, "127.0.0.1:99"},
         ", а дисплей «127.0.0.1:99» не отвечает.",
         ", but display 127.0.0.1:99 does not answer."},
        {"silent compositor",
         {Silent, "wayland-1"},
         ", а дисплей «wayland-1» не отвечает.",
         ", but display wayland-1 does not answer."},
        {"refused",
         {Refused, ":0"},
         ", а дисплей «:0» не принимает программу.",
         ", but display :0 does not accept the program."},
        {"no such screen",
         {NoSuchScreen, ":91.1"},
         ", а на дисплее «:91.1» нет такого экрана.",
         ", but display :91.1 has no such screen."},
        {"a name that looks like a placeholder",
         {Silent, "%2%1:0"},
         ", а дисплей «%2%1:0» не отвечает.",
         ", but display %2%1:0 does not answer."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(tremira::platform::DisplayProblemMessage(c.problem),
                  QStringLiteral("Тремира: нужен графический сеанс (X11 или Wayland)") + QString::fromUtf8(c.russian) +
                      QStringLiteral(" / Tremira needs a graphical session (X11 or Wayland)") +
                      QString::fromUtf8(c.english));
    }
}

// The real handshake against real X servers: tests/platform/program_process_test.cpp.
TEST(X11ClientHandshake, FailsWhereNoServerListens) {
    tremira::platform::X11ClientHandshake handshake;
    EXPECT_NE(handshake(QStringLiteral("unix:65000")), DisplayAnswer::Accepted);
    handshake.release();  // holds nothing: harmless
}

// A display that takes the connection and never answers, as a stopped server does, is given
// up; what the program writes to standard error afterwards shows again.
TEST(X11ClientHandshake, GivesUpOnADisplayThatNeverAnswers) {
    // The X library tries the abstract socket of a local display first.
    int number = FreeDisplayNumber();
    std::unique_ptr<SilentListener> listener;
    for (; number < 1000; ++number) {
        listener = std::make_unique<SilentListener>(
            DisplayEndpoint{Kind::Abstract, QStringLiteral("/tmp/.X11-unix/X%1").arg(number)});
        if (listener->listening()) break;
    }
    ASSERT_TRUE(listener->listening());
    tremira::platform::X11ClientHandshake handshake;
    ::testing::internal::CaptureStderr();
    const DisplayAnswer answer = handshake(QStringLiteral(":%1").arg(number));
    std::fputs("written afterwards\n", stderr);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "written afterwards\n");
    EXPECT_EQ(answer, DisplayAnswer::Silent);
}

namespace {

// A compositor of the Wayland server library, serving its socket on a thread of its own.
class TestCompositor {
public:
    explicit TestCompositor(const QString &socketPath)
        : m_display(wl_display_create()),
          m_listening(wl_display_add_socket(m_display, QFile::encodeName(socketPath).constData()) == 0),
          m_serving([this] {
              while (!m_stopped) {
                  wl_event_loop_dispatch(wl_display_get_event_loop(m_display), 10);
                  wl_display_flush_clients(m_display);
              }
          }) {}
    TestCompositor(const TestCompositor &) = delete;
    TestCompositor &operator=(const TestCompositor &) = delete;
    ~TestCompositor() {
        m_stopped = true;
        m_serving.join();
        wl_display_destroy_clients(m_display);  // a client that has not hung up yet
        wl_display_destroy(m_display);
    }

    bool listening() const { return m_listening; }

private:
    wl_display *m_display;
    bool m_listening;
    std::atomic<bool> m_stopped{false};
    std::thread m_serving;
};

// Takes the first client off the listener's queue and hangs up on it.
void HangUpOnTheFirstClient(const SilentListener &listener) {
    pollfd waiting{listener.fd(), POLLIN, 0};
    if (::poll(&waiting, 1, 20'000) == 1) ::close(::accept(listener.fd(), nullptr, nullptr));
}

}  // namespace

TEST(WaylandRoundTrip, TellsACompositorThatAnswersFromOneThatIsGoneSilentOrClosing) {
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    const QString socket = runtime.filePath(QStringLiteral("wayland-test"));
    {
        SCOPED_TRACE("compositor answering");
        const TestCompositor compositor(socket);
        ASSERT_TRUE(compositor.listening());
        EXPECT_EQ(tremira::platform::WaylandRoundTrip(socket), DisplayAnswer::Accepted);
    }
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
