#include "platform/single_instance_lock.h"

#include <QDir>
#include <QStandardPaths>

#include <unistd.h>

namespace tremira::platform {

QString SingleInstanceLockPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    return folder + QStringLiteral("/tremira-%1.lock").arg(::getuid());
}

SingleInstanceLock::SingleInstanceLock(const QString &path) : m_file(path) {
    // Only a dead owner makes the lock stale: with QLockFile's default age limit a copy
    // that has been running for half a minute would no longer refuse a second one.
    m_file.setStaleLockTime(0);
}

bool SingleInstanceLock::tryAcquire() { return m_file.tryLock(0); }

}  // namespace tremira::platform
