#pragma once
// Root writes through file permissions; the report tests that need a read-only folder to stop
// the writer give up that right for a while.

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace tremira::reports::test {

// For the life of this object the calling thread gives up root's right over permissions
// (capabilities are per thread on Linux), so that a read-only folder stops it as it stops any
// user. For a user who is not root, permissions already count.
class WithoutRootsRightOverPermissions {
public:
    WithoutRootsRightOverPermissions() {
        if (::syscall(SYS_capget, &m_header, m_saved) != 0) return;
        __user_cap_data_struct lowered[2] = {m_saved[0], m_saved[1]};
        for (const int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER}) {
            lowered[capability / 32].effective &= ~(1U << (capability % 32));
        }
        m_lowered = ::syscall(SYS_capset, &m_header, lowered) == 0;
    }
    ~WithoutRootsRightOverPermissions() {
        if (m_lowered) ::syscall(SYS_capset, &m_header, m_saved);
    }
    WithoutRootsRightOverPermissions(const WithoutRootsRightOverPermissions &) = delete;
    WithoutRootsRightOverPermissions &operator=(const WithoutRootsRightOverPermissions &) = delete;

    // Whether permissions now stop this thread.
    bool effective() const { return m_lowered || ::geteuid() != 0; }

private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2]{};
    bool m_lowered = false;
};

}  // namespace tremira::reports::test
