// The lock within one process: who holds it, where it lives, and that nobody else's file or
// folder can stand in for it.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/single_instance_lock.h"

#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <string>

using tremira::platform::SingleInstanceLock;

namespace {

constexpr uid_t kOtherUser = 65534;  // nobody

// Sets an environment variable for the life of the object, or removes it (unset value).
class EnvironmentVariable {
public:
    EnvironmentVariable(const char *name, const QString &value) : m_name(name), m_saved(qgetenv(name)) {
        m_wasSet = qEnvironmentVariableIsSet(name);
        if (value.isNull()) {
            qunsetenv(name);
        } else {
            qputenv(name, QFile::encodeName(value));
        }
    }
    ~EnvironmentVariable() {
        if (m_wasSet) {
            qputenv(m_name, m_saved);
        } else {
            qunsetenv(m_name);
        }
    }
    EnvironmentVariable(const EnvironmentVariable &) = delete;
    EnvironmentVariable &operator=(const EnvironmentVariable &) = delete;

private:
    const char *m_name;
    QByteArray m_saved;
    bool m_wasSet = false;
};

QString lockFileName() { return QStringLiteral("tremira-%1.lock").arg(::getuid()); }

int modeOf(const QString &path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? static_cast<int>(info.st_mode & 07777) : -1;
}

// Makes a folder with exactly the given mode, whatever the umask; returns its path.
QString makeFolder(const QString &path, mode_t mode) {
    QDir().mkdir(path);
    ::chmod(QFile::encodeName(path).constData(), mode);
    return path;
}

bool chownTo(const QString &path, uid_t owner) {
    return ::lchown(QFile::encodeName(path).constData(), owner, static_cast<gid_t>(-1)) == 0;
}

// tryAcquire with what it printed on standard error.
struct Attempt {
    bool mayRun;
    std::string printed;
};

Attempt attempt(SingleInstanceLock &lock) {
    ::testing::internal::CaptureStderr();
    const bool mayRun = lock.tryAcquire();
    return {mayRun, ::testing::internal::GetCapturedStderr()};
}

void expectOneWarningLine(const std::string &printed, const QString &naming) {
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
    EXPECT_NE(printed.find(naming.toStdString()), std::string::npos) << printed;
    EXPECT_NE(printed.find("вторая копия не проверяется"), std::string::npos) << printed;
    EXPECT_NE(printed.find("a second copy is not checked"), std::string::npos) << printed;
}

// A case that gives something to another user needs root; without it the case is reported
// and skipped.
bool skippedWithoutRoot(bool needsRoot, const char *what, const char *caseName) {
    if (!needsRoot || ::geteuid() == 0) return false;
    std::printf("skipped (needs root to give %s to another user): %s\n", what, caseName);
    return true;
}

}  // namespace

TEST(SingleInstanceLock, SecondHolderIsRefusedUntilTheFirstLetsGo) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("tremira.lock"));
    {
        SingleInstanceLock first(path);
        const Attempt taken = attempt(first);
        ASSERT_TRUE(taken.mayRun);
        EXPECT_EQ(taken.printed, "");
        SingleInstanceLock second(path);
        const Attempt refused = attempt(second);
        EXPECT_FALSE(refused.mayRun);
        EXPECT_EQ(refused.printed, "");
    }
    SingleInstanceLock afterwards(path);
    EXPECT_TRUE(afterwards.tryAcquire());
}

TEST(SingleInstanceLock, AMissingFolderIsCreatedForTheUserAlone) {
    QTemporaryDir parent;
    ASSERT_TRUE(parent.isValid());
    const QString folder = parent.filePath(QStringLiteral("tremira-%1").arg(::getuid()));
    const QString path = folder + QLatin1Char('/') + lockFileName();
    const mode_t savedMask = ::umask(0);  // the folder must not follow the umask
    SingleInstanceLock first(path);
    const Attempt taken = attempt(first);
    ::umask(savedMask);
    EXPECT_TRUE(taken.mayRun);
    EXPECT_EQ(taken.printed, "");
    EXPECT_EQ(modeOf(folder), 0700);
    SingleInstanceLock second(path);
    EXPECT_FALSE(second.tryAcquire());
}

// Whatever stands at the lock's path but the user's own lock file: the program starts, says so
// in one line, and leaves the thing alone.
TEST(SingleInstanceLock, SomethingAtTheLockPathThatIsNotTheUsersRegularFileIsNotHeld) {
    const struct {
        const char *name;
        std::function<void(const QString &path)> prepare;
        bool needsRoot;
    } cases[] = {
        {"a directory", [](const QString &path) { QDir().mkdir(path); }, false},
        {"a symbolic link to a file of the user",
         [](const QString &path) {
             QFile target(path + QStringLiteral(".target"));
             target.open(QIODevice::WriteOnly);
             QFile::link(target.fileName(), path);
         },
         false},
        {"a dangling symbolic link", [](const QString &path) { QFile::link(QStringLiteral("/nonexistent"), path); },
         false},
        {"a pipe", [](const QString &path) { ::mkfifo(QFile::encodeName(path).constData(), 0600); }, false},
        {"another user's file",
         [](const QString &path) {
             QFile file(path);
             file.open(QIODevice::WriteOnly);
             file.write("12345\ntremira\nhost\n");
             file.close();
             chownTo(path, kOtherUser);
         },
         true},
        {"another user's empty file",
         [](const QString &path) {
             QFile(path).open(QIODevice::WriteOnly);
             chownTo(path, kOtherUser);
         },
         true},
        {"another user's directory",
         [](const QString &path) {
             QDir().mkdir(path);
             chownTo(path, kOtherUser);
         },
         true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        if (skippedWithoutRoot(c.needsRoot, "a file", c.name)) continue;
        QTemporaryDir folder;
        ASSERT_TRUE(folder.isValid());
        const QString path = folder.filePath(lockFileName());
        c.prepare(path);
        struct stat before {};
        ASSERT_EQ(::lstat(QFile::encodeName(path).constData(), &before), 0);

        SingleInstanceLock lock(path);
        const Attempt result = attempt(lock);
        EXPECT_TRUE(result.mayRun);
        expectOneWarningLine(result.printed, path);

        struct stat after {};
        ASSERT_EQ(::lstat(QFile::encodeName(path).constData(), &after), 0);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_EQ(after.st_ino, before.st_ino);
    }
}

// A folder that someone else can write, or someone else's: a lock there proves nothing.
TEST(SingleInstanceLock, AFolderThatIsNotTheUsersAloneIsNotTrusted) {
    const struct {
        const char *name;
        std::function<QString(const QString &parent)> prepare;  // returns the lock's folder
        bool needsRoot;
    } cases[] = {
        {"readable by others", [](const QString &parent) { return makeFolder(parent + QStringLiteral("/lock"), 0755); },
         false},
        {"writable by everyone, with the sticky bit, like /tmp",
         [](const QString &parent) { return makeFolder(parent + QStringLiteral("/lock"), 01777); }, false},
        {"a symbolic link to a folder of the user",
         [](const QString &parent) {
             QFile::link(makeFolder(parent + QStringLiteral("/target"), 0700), parent + QStringLiteral("/lock"));
             return parent + QStringLiteral("/lock");
         },
         false},
        {"another user's folder, mode 0700",
         [](const QString &parent) {
             const QString folder = makeFolder(parent + QStringLiteral("/lock"), 0700);
             chownTo(folder, kOtherUser);
             return folder;
         },
         true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        if (skippedWithoutRoot(c.needsRoot, "a folder", c.name)) continue;
        QTemporaryDir parent;
        ASSERT_TRUE(parent.isValid());
        const QString folder = c.prepare(parent.path());
        const int modeBefore = modeOf(folder);
        const QString path = folder + QLatin1Char('/') + lockFileName();

        SingleInstanceLock first(path);
        const Attempt result = attempt(first);
        EXPECT_TRUE(result.mayRun);
        expectOneWarningLine(result.printed, folder);
        EXPECT_FALSE(QFileInfo::exists(path));  // nothing written there
        EXPECT_EQ(modeOf(folder), modeBefore);
    }
}

TEST(SingleInstanceLockPath, LiesInTheRuntimeFolderOrElseAFolderOfTheUserInTheTemporaryFolder) {
    QTemporaryDir runtime;
    QTemporaryDir temporary;
    ASSERT_TRUE(runtime.isValid());
    ASSERT_TRUE(temporary.isValid());
    const EnvironmentVariable tmpdir("TMPDIR", temporary.path());
    const QString fileName = QLatin1Char('/') + lockFileName();
    const QString fallback = temporary.path() + QStringLiteral("/tremira-%1").arg(::getuid()) + fileName;
    {
        const EnvironmentVariable xdg("XDG_RUNTIME_DIR", runtime.path());
        EXPECT_EQ(tremira::platform::SingleInstanceLockPath(), runtime.path() + fileName);
    }
    {
        const EnvironmentVariable xdg("XDG_RUNTIME_DIR", QString());
        EXPECT_EQ(tremira::platform::SingleInstanceLockPath(), fallback);
    }
    {
        const EnvironmentVariable xdg("XDG_RUNTIME_DIR", QStringLiteral(""));
        EXPECT_EQ(tremira::platform::SingleInstanceLockPath(), fallback);
    }
}

// The runtime folder is used only when it follows the XDG rules: a directory of the user, 0700.
TEST(SingleInstanceLockPath, ARuntimeFolderThatIsNotTheUsersAloneIsPassedOver) {
    QTemporaryDir temporary;
    ASSERT_TRUE(temporary.isValid());
    const EnvironmentVariable tmpdir("TMPDIR", temporary.path());
    const QString fallback =
        temporary.path() + QStringLiteral("/tremira-%1").arg(::getuid()) + QLatin1Char('/') + lockFileName();
    const struct {
        const char *name;
        std::function<QString(const QString &parent)> prepare;
        bool needsRoot;
    } cases[] = {
        {"missing", [](const QString &parent) { return parent + QStringLiteral("/missing"); }, false},
        {"a file",
         [](const QString &parent) {
             QFile(parent + QStringLiteral("/file")).open(QIODevice::WriteOnly);
             return parent + QStringLiteral("/file");
         },
         false},
        {"readable by others",
         [](const QString &parent) {
             ::chmod(QFile::encodeName(parent).constData(), 0755);
             return parent;
         },
         false},
        {"another user's",
         [](const QString &parent) {
             chownTo(parent, kOtherUser);
             return parent;
         },
         true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        if (skippedWithoutRoot(c.needsRoot, "a folder", c.name)) continue;
        QTemporaryDir runtime;
        ASSERT_TRUE(runtime.isValid());
        const EnvironmentVariable xdg("XDG_RUNTIME_DIR", c.prepare(runtime.path()));
        EXPECT_EQ(tremira::platform::SingleInstanceLockPath(), fallback);
    }

    // A symbolic link that the user set as the runtime folder is followed to the real folder.
    QTemporaryDir real;
    ASSERT_TRUE(real.isValid());
    const QString link = temporary.filePath(QStringLiteral("runtime-link"));
    ASSERT_TRUE(QFile::link(real.path(), link));
    const EnvironmentVariable xdg("XDG_RUNTIME_DIR", link);
    EXPECT_EQ(tremira::platform::SingleInstanceLockPath(), real.path() + QLatin1Char('/') + lockFileName());
}

// The lock-out of the report: with no runtime folder, another user puts a lock file, or a
// directory, where the lock would be. The user's copies still start, and still refuse each other.
TEST(SingleInstanceLockPath, AnotherUserCannotLockTheUserOutOfTheTemporaryFolder) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
    const struct {
        const char *name;
        std::function<void(const QString &temporary)> prepare;
        bool checked;  // whether a second copy is still refused
    } cases[] = {
        {"another user's file at the old lock path",
         [](const QString &temporary) {
             const QString old = temporary + QLatin1Char('/') + lockFileName();
             QFile(old).open(QIODevice::WriteOnly);
             chownTo(old, kOtherUser);
         },
         true},
        {"another user's directory at the old lock path",
         [](const QString &temporary) {
             const QString old = temporary + QLatin1Char('/') + lockFileName();
             QDir().mkdir(old);
             chownTo(old, kOtherUser);
         },
         true},
        {"another user's folder where the user's folder would be",
         [](const QString &temporary) {
             const QString folder = makeFolder(temporary + QStringLiteral("/tremira-%1").arg(::getuid()), 0777);
             QFile(folder + QLatin1Char('/') + lockFileName()).open(QIODevice::WriteOnly);
             chownTo(folder + QLatin1Char('/') + lockFileName(), kOtherUser);
             chownTo(folder, kOtherUser);
         },
         false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir temporary;
        ASSERT_TRUE(temporary.isValid());
        ASSERT_EQ(::chmod(QFile::encodeName(temporary.path()).constData(), 01777), 0);  // like /tmp
        c.prepare(temporary.path());
        const EnvironmentVariable tmpdir("TMPDIR", temporary.path());
        const EnvironmentVariable xdg("XDG_RUNTIME_DIR", QString());

        SingleInstanceLock first;
        EXPECT_TRUE(attempt(first).mayRun);
        SingleInstanceLock second;
        EXPECT_EQ(attempt(second).mayRun, !c.checked);
    }
}
