#include "tests/support/silent_listener.h"

#include <QFile>
#include <QFileInfo>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tremira::platform::testing {

namespace {

using Kind = DisplayEndpoint::Kind;

// The endpoint as a socket address; its length, or 0 when it cannot be written as one.
socklen_t addressOf(const DisplayEndpoint &endpoint, sockaddr_storage &storage) {
    if (endpoint.kind == Kind::Tcp) {
        auto &address = reinterpret_cast<sockaddr_in &>(storage);
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(endpoint.port));
        return ::inet_pton(AF_INET, endpoint.address.toLatin1().constData(), &address.sin_addr) == 1 ? sizeof address
                                                                                                     : 0;
    }
    auto &address = reinterpret_cast<sockaddr_un &>(storage);
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(endpoint.address);
    // An abstract name is the path after a NUL byte, a file's path ends with one.
    const std::size_t nameStart = endpoint.kind == Kind::Abstract ? 1 : 0;
    const std::size_t nameSize = nameStart + static_cast<std::size_t>(path.size());
    if (nameSize >= sizeof address.sun_path) return 0;
    std::memcpy(address.sun_path + nameStart, path.constData(), static_cast<std::size_t>(path.size()));
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + nameSize + (1 - nameStart));
}

}  // namespace

SilentListener::SilentListener(const DisplayEndpoint &endpoint, int queueLength) : m_endpoint(endpoint) {
    sockaddr_storage address{};
    const socklen_t length = addressOf(endpoint, address);
    if (length == 0) return;
    const int fd = ::socket(address.ss_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    if (::bind(fd, reinterpret_cast<const sockaddr *>(&address), length) != 0 || ::listen(fd, queueLength) != 0) {
        ::close(fd);
        return;
    }
    m_fd = fd;
}

SilentListener::~SilentListener() {
    if (!listening()) return;
    ::close(m_fd);
    if (m_endpoint.kind == Kind::File) QFile::remove(m_endpoint.address);
}

// Tests run side by side, each in its own process: each starts its search at a number of its
// own, and a number counts as free only when nothing listens on its abstract socket or port
// either (a silent listener leaves no file behind).
int FreeDisplayNumber() {
    constexpr int kFirst = 200;
    constexpr int kSpread = 400;
    for (int number = kFirst + static_cast<int>(::getpid() % kSpread);; ++number) {
        const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(number);
        if (!QFileInfo::exists(socket) && !QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(number)) &&
            !ConnectsTo({Kind::Abstract, socket}) &&
            !ConnectsTo({Kind::Tcp, QStringLiteral("127.0.0.1"), 6000 + number})) {
            return number;
        }
    }
}

}  // namespace tremira::platform::testing
