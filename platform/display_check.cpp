#include "platform/display_check.h"

#include <QFile>
#include <QStringList>
#include <QtGlobal>

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <memory>

#include <xcb/xcb.h>

namespace tremira::platform {

const char kNoGraphicalSessionMessage[] =
    "Тремира: нужен графический сеанс (X11 или Wayland), его даёт, например, xvfb-run. / "
    "Tremira needs a graphical session (X11 or Wayland); xvfb-run provides one.";

DisplayEnvironment CurrentDisplayEnvironment(int argc, char **argv) {
    DisplayEnvironment environment{qEnvironmentVariable("QT_QPA_PLATFORM"), qEnvironmentVariable("DISPLAY"),
                                   qEnvironmentVariable("WAYLAND_DISPLAY"), qEnvironmentVariable("XDG_RUNTIME_DIR")};
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) {
            environment.platformName = QString::fromLocal8Bit(argv[i + 1]);
        }
    }
    return environment;
}

namespace {

constexpr int kX11TcpPortBase = 6000;
constexpr int kTcpTimeoutMs = 1000;

using Kind = DisplayEndpoint::Kind;

}  // namespace

// [protocol/][host]:number[.screen], read as the X client library reads it: a local display
// is tried on the abstract socket, then the socket file, then TCP on this machine.
std::vector<DisplayEndpoint> X11Endpoints(const QString &display) {
    QString protocol;
    QString rest = display;
    const qsizetype slash = display.indexOf(QLatin1Char('/'));
    if (slash > 0) {
        protocol = display.left(slash);
        rest = display.mid(slash + 1);
    }
    const qsizetype colon = rest.lastIndexOf(QLatin1Char(':'));
    if (colon < 0 || (colon > 0 && rest.at(colon - 1) == QLatin1Char(':'))) return {};  // none, or DECnet
    QString host = rest.left(colon);
    bool isNumber = false;
    const int number = rest.mid(colon + 1).section(QLatin1Char('.'), 0, 0).toInt(&isNumber);
    if (!isNumber || number < 0 || number > 0xffff - kX11TcpPortBase) return {};

    if (host.startsWith(QLatin1Char('/'))) {  // a socket path, as launchd hands out
        return {{Kind::File, host + QLatin1Char(':') + QString::number(number)}};
    }
    const bool unixOnly = protocol == QLatin1String("unix") || host == QLatin1String("unix");
    if (!unixOnly && !host.isEmpty()) {
        if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']'))) host = host.mid(1, host.size() - 2);
        return {{Kind::Tcp, host, kX11TcpPortBase + number}};
    }
    const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(number);
    std::vector<DisplayEndpoint> endpoints{{Kind::Abstract, socket}, {Kind::File, socket}};
    if (!unixOnly) endpoints.push_back({Kind::Tcp, QStringLiteral("localhost"), kX11TcpPortBase + number});
    return endpoints;
}

std::vector<DisplayEndpoint> WaylandEndpoints(const QString &waylandDisplay, const QString &runtimeDir) {
    if (waylandDisplay.startsWith(QLatin1Char('/'))) return {{Kind::File, waylandDisplay}};
    if (waylandDisplay.isEmpty() || runtimeDir.isEmpty()) return {};
    return {{Kind::File, runtimeDir + QLatin1Char('/') + waylandDisplay}};
}

namespace {

struct FileDescriptor {
    int fd;
    ~FileDescriptor() {
        if (fd >= 0) ::close(fd);
    }
};

bool connectsToUnixSocket(const QByteArray &path, bool abstract) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::size_t offset = abstract ? 1 : 0;  // an abstract name starts with a NUL byte
    if (offset + static_cast<std::size_t>(path.size()) >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path + offset, path.constData(), static_cast<std::size_t>(path.size()));
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset +
                                               static_cast<std::size_t>(path.size()) + (abstract ? 0 : 1));
    const FileDescriptor socket{::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)};
    return socket.fd >= 0 && ::connect(socket.fd, reinterpret_cast<const sockaddr *>(&address), length) == 0;
}

bool connectsWithin(const addrinfo &candidate, int timeoutMs) {
    const FileDescriptor socket{
        ::socket(candidate.ai_family, candidate.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, candidate.ai_protocol)};
    if (socket.fd < 0) return false;
    if (::connect(socket.fd, candidate.ai_addr, candidate.ai_addrlen) == 0) return true;
    if (errno != EINPROGRESS) return false;
    pollfd waiting{socket.fd, POLLOUT, 0};
    if (::poll(&waiting, 1, timeoutMs) != 1) return false;
    int error = 0;
    socklen_t size = sizeof error;
    return ::getsockopt(socket.fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
}

bool connectsOverTcp(const QString &host, int port) {
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (::getaddrinfo(host.toLocal8Bit().constData(), QByteArray::number(port).constData(), &hints, &found) != 0) {
        return false;
    }
    const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> addresses(found, &::freeaddrinfo);
    for (const addrinfo *candidate = found; candidate; candidate = candidate->ai_next) {
        if (connectsWithin(*candidate, kTcpTimeoutMs)) return true;
    }
    return false;
}

bool anyConnects(const std::vector<DisplayEndpoint> &endpoints, const DisplayProbe &probe) {
    return std::any_of(endpoints.begin(), endpoints.end(), probe);
}

// The sockets first, with their bounded wait: the handshake itself waits as long as the
// network does. A display whose form the probe does not understand goes to the handshake
// directly; the X library reads it as Qt will.
bool x11Reachable(const DisplayEnvironment &environment, const DisplayProbe &probe, const X11Handshake &handshake) {
    if (environment.x11Display.isEmpty()) return false;
    const std::vector<DisplayEndpoint> endpoints = X11Endpoints(environment.x11Display);
    if (!endpoints.empty() && !anyConnects(endpoints, probe)) return false;
    return handshake(environment.x11Display);
}

bool waylandReachable(const DisplayEnvironment &environment, const DisplayProbe &probe) {
    return anyConnects(WaylandEndpoints(environment.waylandDisplay, environment.runtimeDir), probe);
}

// One entry of a platform list such as "wayland;xcb" or "xcb:option=value".
bool pluginReachable(const QString &entry, const DisplayEnvironment &environment, const DisplayProbe &probe,
                     const X11Handshake &handshake) {
    const QString plugin = entry.section(QLatin1Char(':'), 0, 0).trimmed();
    if (plugin == QLatin1String("xcb")) return x11Reachable(environment, probe, handshake);
    if (plugin.startsWith(QLatin1String("wayland"))) return waylandReachable(environment, probe);
    // offscreen, minimal, vnc, eglfs, linuxfb: no display server needed.
    return !plugin.isEmpty();
}

// Points standard error at /dev/null while it lives (the process has one thread here: Qt does
// not exist yet).
class SilencedStandardError {
public:
    SilencedStandardError() : m_saved(::dup(STDERR_FILENO)) {
        const FileDescriptor null{::open("/dev/null", O_WRONLY | O_CLOEXEC)};
        if (m_saved >= 0 && null.fd >= 0) ::dup2(null.fd, STDERR_FILENO);
    }
    SilencedStandardError(const SilencedStandardError &) = delete;
    SilencedStandardError &operator=(const SilencedStandardError &) = delete;
    ~SilencedStandardError() {
        if (m_saved < 0) return;
        ::dup2(m_saved, STDERR_FILENO);
        ::close(m_saved);
    }

private:
    int m_saved;
};

}  // namespace

X11ClientHandshake::~X11ClientHandshake() { release(); }

bool X11ClientHandshake::operator()(const QString &display) {
    release();
    const QByteArray name = display.toLocal8Bit();
    xcb_connection_t *connection = nullptr;
    {
        // libxcb writes the server's refusal ("Authorization required, ...") to standard error.
        const SilencedStandardError silenced;
        connection = xcb_connect(name.constData(), nullptr);
    }
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        return false;
    }
    m_connection = connection;
    return true;
}

void X11ClientHandshake::release() {
    if (m_connection) xcb_disconnect(m_connection);
    m_connection = nullptr;
}

bool ConnectsTo(const DisplayEndpoint &endpoint) {
    switch (endpoint.kind) {
    case Kind::File: return connectsToUnixSocket(QFile::encodeName(endpoint.address), false);
    case Kind::Abstract: return connectsToUnixSocket(QFile::encodeName(endpoint.address), true);
    case Kind::Tcp: return connectsOverTcp(endpoint.address, endpoint.port);
    }
    return false;
}

bool GraphicalSessionReachable(const DisplayEnvironment &environment, const DisplayProbe &probe,
                               const X11Handshake &handshake) {
    if (environment.platformName.trimmed().isEmpty()) {
        return x11Reachable(environment, probe, handshake) || waylandReachable(environment, probe);
    }
    const QStringList entries = environment.platformName.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    return std::any_of(entries.begin(), entries.end(),
                       [&](const QString &entry) { return pluginReachable(entry, environment, probe, handshake); });
}

}  // namespace tremira::platform
