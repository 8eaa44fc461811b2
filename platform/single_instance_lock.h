#pragma once
// The single-instance rule: the first running copy holds a per-user lock file; a copy that
// cannot take it at once is the second one.

#include <QLockFile>
#include <QString>

namespace tremira::platform {

// Folder-independent path of the lock: the user's runtime folder, or the temporary folder
// when the system has none (the user id in the name keeps users apart there).
QString SingleInstanceLockPath();

class SingleInstanceLock {
public:
    explicit SingleInstanceLock(const QString &path = SingleInstanceLockPath());

    // True when this process now holds the lock; never waits. A lock left by a copy that
    // crashed or was killed is taken over.
    bool tryAcquire();

private:
    QLockFile m_file;
};

}  // namespace tremira::platform
