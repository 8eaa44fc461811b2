#pragma once
// A stand-in for a display server that takes connections and never answers them, as a stopped
// server does, or some other program listening where a display should be.

#include "platform/display_check.h"

namespace tremira::platform::testing {

// Listens on the endpoint (a socket file, an abstract Unix socket, or a TCP port of an IPv4
// address) and never accepts: the system completes each connection, and nothing is ever said.
// Once its queue of queueLength is full, a Unix socket turns new connections away as busy.
class SilentListener {
public:
    explicit SilentListener(const DisplayEndpoint &endpoint, int queueLength = 64);
    SilentListener(const SilentListener &) = delete;
    SilentListener &operator=(const SilentListener &) = delete;
    ~SilentListener();

    bool listening() const { return m_fd >= 0; }
    int fd() const { return m_fd; }

private:
    DisplayEndpoint m_endpoint;
    int m_fd = -1;
};

// A display number from 200 on that nothing holds: no socket file, no lock file, and nothing
// listening on its abstract socket or its TCP port on this machine.
int FreeDisplayNumber();

}  // namespace tremira::platform::testing
