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
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <future>
#include <thread>
#include <utility>

#include <wayland-client.h>
#include <xcb/xcb.h>

namespace tremira::platform {

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
constexpr int kConnectTimeoutMs = 1000;

using Kind = DisplayEndpoint::Kind;

}  // namespace

// libxcb reads DISPLAY; the sockets are the ones it then tries, in its order: a local display
// on the abstract socket, then the socket file, then (no protocol named) TCP on this machine.
std::vector<DisplayEndpoint> X11Endpoints(const QString &display) {
    const QByteArray name = display.toLocal8Bit();
    char *parsedHost = nullptr;
    int number = 0;
    // Given no name, libxcb would read DISPLAY itself.
    if (name.isEmpty() || xcb_parse_display(name.constData(), &parsedHost, &number, nullptr) == 0) return {};
    const std::unique_ptr<char, decltype(&std::free)> hostText(parsedHost, &std::free);
    QString host = QString::fromLocal8Bit(hostText.get());
    if (host.endsWith(QLatin1Char(':')) || number < 0 || number > 0xffff - kX11TcpPortBase)
        return {};  // DECnet, or no port

    if (display.startsWith(QLatin1Char('/'))) {  // a socket path, as launchd hands out
        return {{Kind::File, display.left(display.lastIndexOf(QLatin1Char(':')) + 1) + QString::number(number)}};
    }
    const qsizetype slash = display.lastIndexOf(QLatin1Char('/'));
    const QString protocol = slash < 0 ? QString() : display.left(slash);
    const bool unixOnly = protocol == QLatin1String("unix") || host == QLatin1String("unix");
    if (!unixOnly && !host.isEmpty()) {
        if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']'))) host = host.mid(1, host.size() - 2);
        return {{Kind::Tcp, host, kX11TcpPortBase + number}};
    }
    const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(number);
    std::vector<DisplayEndpoint> endpoints{{Kind::Abstract, socket}, {Kind::File, socket}};
    if (protocol.isEmpty() && host.isEmpty())
        endpoints.push_back({Kind::Tcp, QStringLiteral("localhost"), kX11TcpPortBase + number});
    return endpoints;
}

std::vector<DisplayEndpoint> WaylandEndpoints(const QString &waylandDisplay, const QString &runtimeDir) {
    if (waylandDisplay.startsWith(QLatin1Char('/'))) return {{Kind::File, waylandDisplay}};
    if (waylandDisplay.isEmpty() || runtimeDir.isEmpty()) return {};
    return {{Kind::File, runtimeDir + QLatin1Char('/') + waylandDisplay}};
}

namespace {

// A socket or file that closes with its owner.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    FileDescriptor(FileDescriptor &&other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    FileDescriptor &operator=(FileDescriptor &&) = delete;
    ~FileDescriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }

    int get() const { return m_fd; }
    int release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

enum class Reach { Connected, Busy, Nothing };

struct ConnectAttempt {
    FileDescriptor socket;  // open when Connected
    Reach reach;
};

// Connects without blocking: a Unix socket whose server takes no clients off its queue (a
// stopped one) would keep a plain connect waiting forever once that queue is full.
ConnectAttempt connectWithin(const addrinfo &candidate, int timeoutMs) {
    FileDescriptor socket{
        ::socket(candidate.ai_family, candidate.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, candidate.ai_protocol)};
    if (socket.get() < 0) return {std::move(socket), Reach::Nothing};
    if (::connect(socket.get(), candidate.ai_addr, candidate.ai_addrlen) == 0) {
        return {std::move(socket), Reach::Connected};
    }
    if (errno == EAGAIN) return {std::move(socket), Reach::Busy};  // a Unix socket's full queue
    if (errno != EINPROGRESS) return {std::move(socket), Reach::Nothing};
    pollfd waiting{socket.get(), POLLOUT, 0};
    int error = 0;
    socklen_t size = sizeof error;
    if (::poll(&waiting, 1, timeoutMs) != 1 || ::getsockopt(socket.get(), SOL_SOCKET, SO_ERROR, &error, &size) != 0 ||
        error != 0) {
        return {std::move(socket), Reach::Nothing};
    }
    return {std::move(socket), Reach::Connected};
}

ConnectAttempt connectToUnixSocket(const QByteArray &path, bool abstract) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::size_t offset = abstract ? 1 : 0;  // an abstract name starts with a NUL byte
    if (offset + static_cast<std::size_t>(path.size()) >= sizeof address.sun_path) {
        return {FileDescriptor{-1}, Reach::Nothing};
    }
    std::memcpy(address.sun_path + offset, path.constData(), static_cast<std::size_t>(path.size()));
    addrinfo candidate{};
    candidate.ai_family = AF_UNIX;
    candidate.ai_socktype = SOCK_STREAM;
    candidate.ai_addr = reinterpret_cast<sockaddr *>(&address);
    candidate.ai_addrlen = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset +
                                                  static_cast<std::size_t>(path.size()) + (abstract ? 0 : 1));
    return connectWithin(candidate, kConnectTimeoutMs);
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
        if (connectWithin(*candidate, kConnectTimeoutMs).reach != Reach::Nothing) return true;
    }
    return false;
}

// Whether there is something to read on fd before the deadline.
bool readableBefore(int fd, std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd waiting{fd, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, static_cast<int>(left.count()));
        if (ready >= 0 || errno != EINTR) return ready > 0;
    }
}

// Points standard error at /dev/null while it lives. Nothing of the program writes there
// meanwhile: Qt does not exist yet.
class SilencedStandardError {
public:
    SilencedStandardError() : m_saved(::dup(STDERR_FILENO)) {
        const FileDescriptor null{::open("/dev/null", O_WRONLY | O_CLOEXEC)};
        if (m_saved >= 0 && null.get() >= 0) ::dup2(null.get(), STDERR_FILENO);
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

// libxcb waits for the server's answer as long as it takes, so the connection is made on a
// thread of its own, and one that has not been answered in time is left to it: the thread
// holds nothing of the caller's, and the program may end while it waits.
std::optional<X11ClientHandshake::Connection> xcbConnectWithin(QByteArray display, std::chrono::milliseconds timeout) {
    std::promise<X11ClientHandshake::Connection> promise;
    std::future<X11ClientHandshake::Connection> answer = promise.get_future();
    std::thread connecting([display = std::move(display), promise = std::move(promise)]() mutable {
        int screen = 0;  // asked for, libxcb also checks that the server has that screen
        promise.set_value(X11ClientHandshake::Connection(xcb_connect(display.constData(), &screen)));
    });
    if (answer.wait_for(timeout) != std::future_status::ready) {
        connecting.detach();
        return std::nullopt;
    }
    connecting.join();
    return answer.get();
}

}  // namespace

void X11ClientHandshake::Disconnect::operator()(xcb_connection_t *connection) const { xcb_disconnect(connection); }

DisplayAnswer X11ClientHandshake::operator()(const QString &display) {
    release();
    std::optional<Connection> connection;
    {
        // libxcb writes the server's refusal ("Authorization required, ...") to standard error.
        const SilencedStandardError silenced;
        connection = xcbConnectWithin(display.toLocal8Bit(), kAnswerLimit);
    }
    if (!connection) return DisplayAnswer::Silent;
    switch (xcb_connection_has_error(connection->get())) {
    case 0: break;
    case XCB_CONN_CLOSED_PARSE_ERR: return DisplayAnswer::Absent;
    case XCB_CONN_CLOSED_INVALID_SCREEN: return DisplayAnswer::NoSuchScreen;  // Qt would abort on it
    default: return DisplayAnswer::Refused;
    }
    m_connection = std::move(*connection);
    return DisplayAnswer::Accepted;
}

void X11ClientHandshake::release() { m_connection.reset(); }

DisplayAnswer WaylandRoundTrip(const QString &socketPath) {
    ConnectAttempt attempt = connectToUnixSocket(QFile::encodeName(socketPath), false);
    if (attempt.reach == Reach::Nothing) return DisplayAnswer::Absent;
    if (attempt.reach == Reach::Busy) return DisplayAnswer::Silent;
    // libwayland owns the socket from here, and closes it also when it fails.
    const std::unique_ptr<wl_display, decltype(&wl_display_disconnect)> display(
        wl_display_connect_to_fd(attempt.socket.release()), &wl_display_disconnect);
    if (!display) return DisplayAnswer::Refused;
    const std::unique_ptr<wl_callback, decltype(&wl_callback_destroy)> sync(wl_display_sync(display.get()),
                                                                            &wl_callback_destroy);
    if (!sync) return DisplayAnswer::Refused;
    bool answered = false;
    static const wl_callback_listener kListener{
        [](void *data, wl_callback *, std::uint32_t) { *static_cast<bool *>(data) = true; }};
    wl_callback_add_listener(sync.get(), &kListener, &answered);

    const auto deadline = std::chrono::steady_clock::now() + kAnswerLimit;
    while (!answered && wl_display_get_error(display.get()) == 0) {
        if (wl_display_prepare_read(display.get()) != 0) {
            wl_display_dispatch_pending(display.get());
            continue;
        }
        wl_display_flush(display.get());
        if (!readableBefore(wl_display_get_fd(display.get()), deadline)) {
            wl_display_cancel_read(display.get());
            return DisplayAnswer::Silent;
        }
        wl_display_read_events(display.get());
        wl_display_dispatch_pending(display.get());
    }
    return answered ? DisplayAnswer::Accepted : DisplayAnswer::Refused;  // a closed connection
}

bool ConnectsTo(const DisplayEndpoint &endpoint) {
    switch (endpoint.kind) {
    case Kind::File: return connectToUnixSocket(QFile::encodeName(endpoint.address), false).reach != Reach::Nothing;
    case Kind::Abstract: return connectToUnixSocket(QFile::encodeName(endpoint.address), true).reach != Reach::Nothing;
    case Kind::Tcp: return connectsOverTcp(endpoint.address, endpoint.port);
    }
    return false;
}

namespace {

using Problem = std::optional<DisplayProblem>;

Problem problemOf(DisplayAnswer answer, const QString &display) {
    if (answer == DisplayAnswer::Accepted) return std::nullopt;
    return DisplayProblem{answer, display};
}

// The displays of the environment, each tried as its platform plugin would.
class SessionCheck {
public:
    SessionCheck(const DisplayEnvironment &environment, const DisplayProbe &probe, const X11Handshake &x11Handshake,
                 const WaylandHandshake &waylandHandshake)
        : m_environment(environment), m_probe(probe), m_x11Handshake(x11Handshake),
          m_waylandHandshake(waylandHandshake) {}

    // One entry of a platform list such as "wayland;xcb" or "xcb:option=value".
    Problem plugin(const QString &entry) const {
        const QString plugin = entry.section(QLatin1Char(':'), 0, 0).trimmed();
        if (plugin == QLatin1String("xcb")) return x11();
        if (plugin.startsWith(QLatin1String("wayland"))) return wayland();
        if (plugin.isEmpty()) return DisplayProblem{};
        return std::nullopt;  // offscreen, minimal, vnc, eglfs, linuxfb: no display server needed
    }

private:
    // The sockets first, with their bounded wait, which tells a display nobody serves from one
    // that does not answer. A display whose form the probe does not understand goes to the
    // handshake directly; the X library reads it as Qt will.
    Problem x11() const {
        const QString &display = m_environment.x11Display;
        if (display.isEmpty()) return DisplayProblem{};
        const std::vector<DisplayEndpoint> endpoints = X11Endpoints(display);
        if (!endpoints.empty() && std::none_of(endpoints.begin(), endpoints.end(), m_probe)) {
            return DisplayProblem{DisplayAnswer::Absent, display};
        }
        return problemOf(m_x11Handshake(display), display);
    }

    Problem wayland() const {
        const QString &display = m_environment.waylandDisplay;
        const std::vector<DisplayEndpoint> sockets = WaylandEndpoints(display, m_environment.runtimeDir);
        if (sockets.empty()) return DisplayProblem{DisplayAnswer::Absent, display};
        return problemOf(m_waylandHandshake(sockets.front().address), display);
    }

    const DisplayEnvironment &m_environment;
    const DisplayProbe &m_probe;
    const X11Handshake &m_x11Handshake;
    const WaylandHandshake &m_waylandHandshake;
};

struct Reason {
    QString russian;
    QString english;
};

Reason reasonOf(const DisplayProblem &problem) {
    if (problem.display.isEmpty()) {
        return {QStringLiteral(", его даёт, например, xvfb-run"), QStringLiteral("; xvfb-run provides one")};
    }
    switch (problem.answer) {
    case DisplayAnswer::Silent:
        return {QStringLiteral(", а дисплей «%1» не отвечает"), QStringLiteral(", but display %1 does not answer")};
    case DisplayAnswer::Refused:
        return {QStringLiteral(", а дисплей «%1» не принимает программу"),
                QStringLiteral(", but display %1 does not accept the program")};
    case DisplayAnswer::NoSuchScreen:
        return {QStringLiteral(", а на дисплее «%1» нет такого экрана"),
                QStringLiteral(", but display %1 has no such screen")};
    case DisplayAnswer::Accepted:
    case DisplayAnswer::Absent: break;
    }
    return {QStringLiteral(", а дисплей «%1» недоступен; сеанс даёт, например, xvfb-run"),
            QStringLiteral(", but display %1 cannot be reached; xvfb-run provides one")};
}

}  // namespace

std::optional<DisplayProblem> GraphicalSessionProblem(const DisplayEnvironment &environment, const DisplayProbe &probe,
                                                      const X11Handshake &x11Handshake,
                                                      const WaylandHandshake &waylandHandshake) {
    const SessionCheck check{environment, probe, x11Handshake, waylandHandshake};
    // Without a platform named, Qt takes X11 when it can, else Wayland.
    const QString platforms =
        environment.platformName.trimmed().isEmpty() ? QStringLiteral("xcb;wayland") : environment.platformName;
    Problem reported;
    for (const QString &entry : platforms.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const Problem problem = check.plugin(entry);
        if (!problem) return std::nullopt;
        if (!reported || reported->display.isEmpty()) reported = problem;
    }
    return reported ? reported : DisplayProblem{};
}

QString DisplayProblemMessage(const DisplayProblem &problem) {
    Reason reason = reasonOf(problem);
    if (!problem.display.isEmpty()) reason = {reason.russian.arg(problem.display), reason.english.arg(problem.display)};
    return QStringLiteral("Тремира: нужен графический сеанс (X11 или Wayland)%1. / "
                          "Tremira needs a graphical session (X11 or Wayland)%2.")
        .arg(reason.russian, reason.english);
}

}  // namespace tremira::platform
