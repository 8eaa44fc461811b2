#include "platform/single_instance_lock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace tremira::platform {
namespace {

// The XDG rule for a runtime folder: a directory owned by the user, mode 0700. Symbolic links
// are followed only where the user named the folder (XDG_RUNTIME_DIR).
bool isPrivateFolder(const QString &path, bool followLink) {
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    const int result = followLink ? ::stat(name.constData(), &info) : ::lstat(name.constData(), &info);
    return result == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 0777) == 0700;
}

void warn(const QString &line) { std::fprintf(stderr, "%s\n", line.toUtf8().constData()); }

}  // namespace

QString SingleInstanceLockPath() {
    const QString fileName = QStringLiteral("/tremira-%1.lock").arg(::getuid());
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && isPrivateFolder(runtime, true)) {
        return QFileInfo(runtime).canonicalFilePath() + fileName;
    }
    return QDir::tempPath() + QStringLiteral("/tremira-%1").arg(::getuid()) + fileName;
}

SingleInstanceLock::SingleInstanceLock(const QString &path) : m_file(path), m_path(path) {
    // Only a dead owner makes the lock stale, never its age: a copy may run for days.
    m_file.setStaleLockTime(0);
}

bool SingleInstanceLock::tryAcquire() {
    const QString folder = QFileInfo(m_path).path();
    const QByteArray folderName = QFile::encodeName(folder);
    // Created 0700 whatever the umask; one that exists is checked like any other.
    if (::mkdir(folderName.constData(), 0700) == 0) ::chmod(folderName.constData(), 0700);
    if (!isPrivateFolder(folder, false)) {
        warn(QStringLiteral("Тремира: %1 не личная папка этого пользователя (его владение, права 0700), вторая копия "
                            "не проверяется. / Tremira: %1 is not a private folder of this user (owned by the user, "
                            "mode 0700); a second copy is not checked.")
                 .arg(QDir::toNativeSeparators(folder)));
        return true;
    }
    struct stat info {};
    const QByteArray lockName = QFile::encodeName(m_path);
    if (::lstat(lockName.constData(), &info) == 0 && (!S_ISREG(info.st_mode) || info.st_uid != ::geteuid())) {
        warn(QStringLiteral("Тремира: %1 не обычный файл этого пользователя, вторая копия не проверяется. / "
                            "Tremira: %1 is not a regular file of this user; a second copy is not checked.")
                 .arg(QDir::toNativeSeparators(m_path)));
        return true;
    }
    return m_file.tryLock(0);
}

}  // namespace tremira::platform
