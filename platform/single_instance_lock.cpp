#include "platform/single_instance_lock.h"

#include <QDir>
#include <QStandardPaths>

#include <unistd.h>

namespace tremira::platform {

QString SingleInstanceLockPath() {
    // Without XDG_RUNTIME_DIR Qt would make up a runtime folder and warn about it on every start.
    QString folder;
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    }
    if (folder.isEmpty()) folder = QDir::tempPath();
    return folder + QStringLiteral("/tremira-%1.lock").arg(::getuid());
}

SingleInstanceLock::SingleInstanceLock(const QString &path) : m_file(path) {
    // Only a dead owner makes the lock stale, never its age: a copy may run for days.
    m_file.setStaleLockTime(0);
}

bool SingleInstanceLock::tryAcquire() { return m_file.tryLock(0); }

}  // namespace tremira::platform
