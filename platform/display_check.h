#pragma once
// Whether a graphical session can be reached, decided before Qt loads its platform plugin
// (which would abort the process with a core dump when there is none, or none answers).

#include <QString>

#include <functional>
#include <vector>

struct xcb_connection_t;

namespace tremira::platform {

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

// Whether something accepts a connection there (TCP waits a second at most).
bool ConnectsTo(const DisplayEndpoint &endpoint);

using DisplayProbe = std::function<bool(const DisplayEndpoint &)>;

// Whether the X server of a display takes this program as a client: the connection handshake
// with the user's authority. A socket that answers is not enough: a server that refuses the
// program (a wrong XAUTHORITY, sudo in a desktop session, its client limit reached) makes Qt
// abort as well.
using X11Handshake = std::function<bool(const QString &display)>;

// The real handshake, through libxcb as Qt's xcb plugin does it (XAUTHORITY, else
// ~/.Xauthority). The connection that succeeded stays open until release() or the end of this
// object, so that the program is never the server's last client while Qt connects: a server
// started without -noreset (as xvfb-run starts it) resets when its last client leaves and
// refuses connections meanwhile. The server's refusal text, which libxcb would print, is kept
// off the terminal: the caller prints its one line.
class X11ClientHandshake {
public:
    X11ClientHandshake() = default;
    X11ClientHandshake(const X11ClientHandshake &) = delete;
    X11ClientHandshake &operator=(const X11ClientHandshake &) = delete;
    ~X11ClientHandshake();

    bool operator()(const QString &display);
    void release();

private:
    xcb_connection_t *m_connection = nullptr;
};

// X11 needs a socket that answers (probe, which bounds the wait on TCP) and then a server that
// accepts the handshake; Wayland needs its socket to answer.
bool GraphicalSessionReachable(const DisplayEnvironment &environment, const DisplayProbe &probe,
                               const X11Handshake &handshake);

// One line, Russian and English, for the terminal.
extern const char kNoGraphicalSessionMessage[];

}  // namespace tremira::platform
