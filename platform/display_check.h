#pragma once
// Whether a graphical session can be reached, decided before Qt loads its platform plugin
// (which would abort the process with a core dump when there is none, or none answers).

#include <QString>

#include <functional>
#include <vector>

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

bool GraphicalSessionReachable(const DisplayEnvironment &environment, const DisplayProbe &probe = ConnectsTo);

// One line, Russian and English, for the terminal.
extern const char kNoGraphicalSessionMessage[];

}  // namespace tremira::platform
