// The lock within one process: who holds it, where it lives, and that nobody else's file or
// folder can stand in for it. The cases that give something to another user need root; without
// it they are reported and skipped.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/single_instance_lock.h"

#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <optional>
#include <string>

using tremira::platform::SingleInstanceLock;
using tremira::platform::SingleInstanceLockPath;

namespace {

constexpr uid_t kOtherUser = 65534;  // nobody

// Sets an environment variable for the life of the object, or removes it (null value).
class EnvironmentVariable {
public:
    EnvironmentVariable(const char *name, const QString &value)
        : m_name(name), m_saved(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt) {
        put(value.isNull() ? std::nullopt : std::optional(QFile::encodeName(value)));
    }
    ~EnvironmentVariable() { put(m_saved); }
    EnvironmentVariable(const EnvironmentVariable &) = delete;
    EnvironmentVariable &operator=(const EnvironmentVariable &) = delete;

private:
    void put(const std::optional<QByteArray> &value) { value ? qputenv(m_name, *value) : qunsetenv(m_name); }
    const char *m_name;
    std::optional<QByteArray> m_saved;
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

bool skippedWithoutRoot(bool needsRoot, const char *caseName) {
    if (!needsRoot || ::geteuid() == 0) return false;
    std::printf("skipped (needs root to act as another user): %s\n", caseName);
    return true;
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

// The program may run, and says in one line, naming `naming`, that a second copy is not checked.
void expectUncheckedStart(SingleInstanceLock &lock, const QString &naming) {
    const Attempt result = attempt(lock);
    EXPECT_TRUE(result.mayRun);
    EXPECT_EQ(std::count(result.printed.begin(), result.printed.end(), '\n'), 1) << result.printed;
    for (const std::string &part : {naming.toStdString(), std::string("вторая копия не проверяется"),
                                    std::string("a second copy is not checked")}) {
        EXPECT_NE(result.printed.find(part), std::string::npos) << result.printed;
    }
}

}  // namespace

// A missing folder is made for the user alone, whatever the umask; the first holder keeps the
// others out until it lets go, and says nothing.
TEST(SingleInstanceLock, SecondHolderIsRefusedUntilTheFirstLetsGo) {
    QTemporaryDir parent;
    ASSERT_TRUE(parent.isValid());
    const QString folder = parent.filePath(QStringLiteral("tremira-%1").arg(::getuid()));
    const QString path = folder + QLatin1Char('/') + lockFileName();
    {
        const mode_t savedMask = ::umask(0222);  // the folder must not follow the umask
        SingleInstanceLock first(path);
        const Attempt taken = attempt(first);
        ::umask(savedMask);
        ASSERT_TRUE(taken.mayRun);
        EXPECT_EQ(taken.printed, "");
        EXPECT_EQ(modeOf(folder), 0700);
        SingleInstanceLock second(path);
        const Attempt refused = attempt(second);
        EXPECT_FALSE(refused.mayRun);
        EXPECT_EQ(refused.printed, "");
    }
    SingleInstanceLock afterwards(path);
    EXPECT_TRUE(afterwards.tryAcquire());
}

// Whatever stands at the lock's path but the user's own lock file, or a folder that someone else
// can write or owns: the program starts, says so in one line naming it, and leaves it alone.
TEST(SingleInstanceLock, OnlyTheUsersOwnFileInTheUsersOwnFolderIsHeld) {
    const struct {
        const char *name;
        std::function<void(const QString &path)> prepare;  // given the lock's path
        bool folder;                                       // whether the warning names the folder
        bool needsRoot;
    } cases[] = {
        {"a directory", [](const QString &path) { QDir().mkdir(path); }, false, false},
        {"a symbolic link to a file of the user",
         [](const QString &path) {
             QFile(path + QStringLiteral(".target")).open(QIODevice::WriteOnly);
             QFile::link(path + QStringLiteral(".target"), path);
         },
         false, false},
        {"a pipe", [](const QString &path) { ::mkfifo(QFile::encodeName(path).constData(), 0600); }, false, false},
        {"another user's file",
         [](const QString &path) {
             QFile file(path);
             file.open(QIODevice::WriteOnly);
             file.write("12345\ntremira\nhost\n");
             file.close();
             chownTo(path, kOtherUser);
         },
         false, true},
        {"a folder writable by everyone, with the sticky bit, like /tmp",
         [](const QString &path) { makeFolder(QFileInfo(path).path(), 01777); }, true, false},
        {"a symbolic link to a folder of the user",
         [](const QString &path) {
             const QString folder = QFileInfo(path).path();
             QFile::link(makeFolder(folder + QStringLiteral(".target"), 0700), folder);
         },
         true, false},
        {"another user's folder, mode 0700",
         [](const QString &path) { chownTo(makeFolder(QFileInfo(path).path(), 0700), kOtherUser); }, true, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        if (skippedWithoutRoot(c.needsRoot, c.name)) continue;
        QTemporaryDir parent;
        ASSERT_TRUE(parent.isValid());
        const QString path = parent.filePath(QStringLiteral("lock/") + lockFileName());
        if (!c.folder) makeFolder(parent.filePath(QStringLiteral("lock")), 0700);
        c.prepare(path);
        const QString named = c.folder ? QFileInfo(path).path() : path;
        struct stat before {};
        ASSERT_EQ(::lstat(QFile::encodeName(named).constData(), &before), 0);

        SingleInstanceLock lock(path);
        expectUncheckedStart(lock, named);

        struct stat after {};
        ASSERT_EQ(::lstat(QFile::encodeName(named).constData(), &after), 0);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(QFileInfo::exists(path), !c.folder);  // nothing written in a folder not trusted
    }
}

// The runtime folder is used only when it follows the XDG rules, a directory of the user, 0700;
// else a folder of the user's own in the temporary folder. A symbolic link the user set as the
// runtime folder is followed to the real folder.
TEST(SingleInstanceLockPath, LiesInTheRuntimeFolderOrElseAFolderOfTheUserInTheTemporaryFolder) {
    QTemporaryDir temporary;
    ASSERT_TRUE(temporary.isValid());
    const EnvironmentVariable tmpdir("TMPDIR", temporary.path());
    const QString fallback = temporary.path() + QStringLiteral("/tremira-%1/").arg(::getuid()) + lockFileName();
    const struct {
        const char *name;
        // Makes the runtime folder in a private folder and returns XDG_RUNTIME_DIR and the lock's folder.
        std::function<std::pair<QString, QString>(const QString &runtime)> prepare;
        bool needsRoot;
    } cases[] = {
        {"the user's", [](const QString &runtime) { return std::pair(runtime, runtime); }, false},
        {"not set", [](const QString &) { return std::pair(QString(), QString()); }, false},
        {"missing", [](const QString &runtime) { return std::pair(runtime + QStringLiteral("/missing"), QString()); },
         false},
        {"a file",
         [](const QString &runtime) {
             QFile(runtime + QStringLiteral("/file")).open(QIODevice::WriteOnly);
             return std::pair(runtime + QStringLiteral("/file"), QString());
         },
         false},
        {"readable by others",
         [](const QString &runtime) {
             ::chmod(QFile::encodeName(runtime).constData(), 0755);
             return std::pair(runtime, QString());
         },
         false},
        {"another user's",
         [](const QString &runtime) {
             chownTo(runtime, kOtherUser);
             return std::pair(runtime, QString());
         },
         true},
        {"a link to the user's",
         [&](const QString &runtime) {
             const QString link = temporary.filePath(QStringLiteral("runtime-link"));
             QFile::link(runtime, link);
             return std::pair(link, runtime);
         },
         false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        if (skippedWithoutRoot(c.needsRoot, c.name)) continue;
        QTemporaryDir runtime;
        ASSERT_TRUE(runtime.isValid());
        const auto [variable, folder] = c.prepare(runtime.path());
        const EnvironmentVariable xdg("XDG_RUNTIME_DIR", variable);
        EXPECT_EQ(SingleInstanceLockPath(), folder.isNull() ? fallback : folder + QLatin1Char('/') + lockFileName());
    }
}
