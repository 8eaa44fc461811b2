#pragma once
// Whether a graphical session can be reached, decided before Qt loads its platform plugin
// (which would abort the process with a core dump when there is none, or none answers, and
// wait forever for a display that takes the connection and says nothing).

#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

struct xcb_connection_t;

namespace tremira::platform {

// How long a display server, or a bus the window depends on, is given to answer.
constexpr std::chrono::seconds kAnswerLimit{3};

struct DisplayEnvironment {
    QString platformName;    // "-platform" argument, else QT_QPA_PLATFORM; may be empty
    QString x11Display;      // DISPLAY
    QString waylandDisplay;  // WAYLAND_DISPLAY
    QString runtimeDir;      // XDG_RUNTIME_DIR, where Wayland sockets live
};

DisplayEnvironment CurrentDisplayEnvironment(int argc, char **argv);

// A place where a display server listens.
struct DisplayEndpoint {
    enum class Kind { File, Abstract, Tcp };  // Unix socket file, Linux abstract Unix socket, TCP
    Kind kind = Kind::File;
    QString address;  // socket path (abstract: without the leading NUL) or host name
    int port = 0;     // TCP only

    friend bool operator==(const DisplayEndpoint &, const DisplayEndpoint &) = default;
};

// The endpoints the X client library tries for DISPLAY, in its order; empty when the form of
// DISPLAY is not understood (then Qt is left to try it).
std::vector<DisplayEndpoint> X11Endpoints(const QString &display);

// The socket of a Wayland compositor; empty when none can be named (no XDG_RUNTIME_DIR).
std::vector<DisplayEndpoint> WaylandEndpoints(const QString &waylandDisplay, const QString &runtimeDir);

// Whether a server listens there: it takes the connection, or its queue of waiting clients is
// full (a stopped server). A Unix socket tells at once, TCP within a second.
bool ConnectsTo(const DisplayEndpoint &endpoint);

using DisplayProbe = std::function<bool(const DisplayEndpoint &)>;

// How a display server met the program's connection. A server that answers nothing at all (a
// stopped one, or something else listening there) would keep Qt waiting forever.
enum class DisplayAnswer { Accepted, Absent, Silent, Refused, NoSuchScreen };

// Whether the X server of a display takes this program as a client: the connection handshake
// with the user's authority, and the screen DISPLAY names. A socket that answers is not
// enough: a server that refuses the program (a wrong XAUTHORITY, sudo in a desktop session,
// its client limit reached) makes Qt abort as well.
using X11Handshake = std::function<DisplayAnswer(const QString &display)>;

// The real handshake, through libxcb as Qt's xcb plugin does it (XAUTHORITY, else
// ~/.Xauthority), given three seconds to answer. The connection that succeeded stays open
// until release() or the end of this object, so that the program is never the server's last
// client while Qt connects: a server started without -noreset (as xvfb-run starts it) resets
// when its last client leaves and refuses connections meanwhile. The server's refusal text,
// which libxcb would print, is kept off the terminal: the caller prints its one line.
class X11ClientHandshake {
public:
    struct Disconnect {
        void operator()(xcb_connection_t *connection) const;
    };
    using Connection = std::unique_ptr<xcb_connection_t, Disconnect>;

    DisplayAnswer operator()(const QString &display);
    void release();

private:
    Connection m_connection;
};

// Whether the compositor behind a Wayland socket answers a round trip.
using WaylandHandshake = std::function<DisplayAnswer(const QString &socketPath)>;

// The real round trip, through libwayland-client as Qt's wayland plugin does it, given three
// seconds to answer. The program connects to the socket itself: libwayland would take a
// WAYLAND_SOCKET handed down by a compositor first and use it up before Qt gets it.
DisplayAnswer WaylandRoundTrip(const QString &socketPath);

// Why the program cannot show its window: the display that failed as set in the environment,
// and its answer; no display named (Absent) when none was set at all.
struct DisplayProblem {
    DisplayAnswer answer = DisplayAnswer::Absent;
    QString display;

    friend bool operator==(const DisplayProblem &, const DisplayProblem &) = default;
};

// X11 needs a socket that answers (probe, which bounds the wait on TCP) and then a server that
// accepts the handshake; Wayland a compositor that answers. Of several displays tried, the
// problem of the first one that was set.
std::optional<DisplayProblem> GraphicalSessionProblem(const DisplayEnvironment &environment, const DisplayProbe &probe,
                                                      const X11Handshake &x11Handshake,
                                                      const WaylandHandshake &waylandHandshake);

// One line, Russian and English, for the terminal.
QString DisplayProblemMessage(const DisplayProblem &problem);

}  // namespace tremira::platform
