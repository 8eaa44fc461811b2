#pragma once
// The single-instance rule: the first running copy holds a per-user lock file; a copy that
// cannot take it at once is the second one.

#include <QLockFile>
#include <QString>

namespace tremira::platform {

// Folder-independent path of the lock, in a folder that only the user can write: the user's
// runtime folder when it is one (a directory of the user with mode 0700, as the XDG rules
// require), else the folder "tremira-<uid>" in the temporary folder. A lock file in a folder
// that others can write could be put there first by another user.
QString SingleInstanceLockPath();

class SingleInstanceLock {
public:
    explicit SingleInstanceLock(const QString &path = SingleInstanceLockPath());

    // True when this copy may run: it now holds the lock, or the lock cannot be trusted; never
    // waits. A lock left by a copy that crashed or was killed is taken over. The lock's folder
    // is created (mode 0700) when it is missing. A lock that cannot be trusted counts as not
    // held, so that nobody else can keep the user from starting, and one line on standard error
    // says that a second copy is not checked: a folder that is not the user's alone (another
    // owner, other permissions than 0700, a symbolic link), or something at the lock's path that
    // is not a regular file of the user (a directory, another user's file, a symbolic link).
    bool tryAcquire();

private:
    QLockFile m_file;
    QString m_path;
};

}  // namespace tremira::platform
