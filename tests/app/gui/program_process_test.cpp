// The program started as real processes: one copy at a time per user, a killed copy does not
// block the next start, and without a display, or with an X server that refuses it, it says so
// instead of crashing. The window tests run on a private X server, so that the windows of each
// process can be seen from here.

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/display_check.h"
#include "platform/single_instance_lock.h"
#include "tests/support/silent_listener.h"

namespace {

const QString kMainWindowTitle = QStringLiteral("Расчет сварочного трансформатора");
const QString kApplicationTitle = QStringLiteral("Тремира");
constexpr int kWaitMs = 20'000;

class ProgramProcesses : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_xvfb = new QProcess;
        // -displayfd: the server picks a free display and writes its number to our pipe.
        // -noreset: the server would otherwise reset whenever its last client leaves (a killed
        // copy, each xdotool call), refusing connections for a moment.
        s_xvfb->start(QStringLiteral("Xvfb"),
                      {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                       QStringLiteral("0"), QStringLiteral("800x600x24"), QStringLiteral("-noreset"),
                       QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        if (s_xvfb->waitForStarted() && s_xvfb->waitForReadyRead(kWaitMs)) {
            s_display = QLatin1Char(':') + QString::fromLatin1(s_xvfb->readLine().trimmed());
        }
    }

    static void TearDownTestSuite() {
        s_xvfb->terminate();
        s_xvfb->waitForFinished();
        delete s_xvfb;
        s_xvfb = nullptr;
    }

    void SetUp() override {
        if (s_display.isEmpty()) GTEST_SKIP() << "Xvfb is not available";
        ASSERT_TRUE(m_runtime.isValid());
    }

    void TearDown() override {
        for (auto &process : m_processes) {
            process->kill();
            process->waitForFinished();
        }
    }

    // Our runtime folder, or none and our folder as the temporary folder instead.
    QProcessEnvironment environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.insert(QStringLiteral("DISPLAY"), s_display);
        if (m_withRuntimeFolder) {
            env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
        } else {
            env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
            env.insert(QStringLiteral("TMPDIR"), m_runtime.path());
        }
        return env;
    }

    QProcess &startProgram() { return startProgram(environment()); }

    QProcess &startProgram(const QProcessEnvironment &env) {
        m_processes.push_back(std::make_unique<QProcess>());
        QProcess &process = *m_processes.back();
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(TREMIRA_PROGRAM), {});
        EXPECT_TRUE(process.waitForStarted());
        return process;
    }

    QString xdotool(const QStringList &arguments) const {
        QProcess tool;
        tool.setProcessEnvironment(environment());
        tool.start(QStringLiteral("xdotool"), arguments);
        tool.waitForFinished();
        return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
    }

    QStringList visibleWindowIds(const QProcess &process) const {
        return xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                        QString::number(process.processId())})
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    QStringList visibleWindowTitles(const QProcess &process) const {
        QStringList titles;
        for (const QString &id : visibleWindowIds(process)) {
            titles << xdotool({QStringLiteral("getwindowname"), id});
        }
        return titles;
    }

    bool waitForWindows(const QProcess &process, const QStringList &titles) const {
        return QTest::qWaitFor([&] { return visibleWindowTitles(process) == titles; }, kWaitMs);
    }

    // The lock file of the program's copies: the file name of the program's own path, in our
    // runtime folder, or in the user's folder in our temporary folder.
    QString lockPath() const {
        const QString fileName = QFileInfo(tremira::platform::SingleInstanceLockPath()).fileName();
        if (m_withRuntimeFolder) return m_runtime.filePath(fileName);
        return m_runtime.filePath(QStringLiteral("tremira-%1/").arg(::getuid()) + fileName);
    }

    qint64 lockOwner() const {
        QLockFile lock(lockPath());
        qint64 pid = 0;
        QString host, application;
        return lock.getLockInfo(&pid, &host, &application) ? pid : 0;
    }

    static inline QProcess *s_xvfb = nullptr;
    static inline QString s_display;
    QTemporaryDir m_runtime;
    bool m_withRuntimeFolder = true;
    std::vector<std::unique_ptr<QProcess>> m_processes;
};

TEST_F(ProgramProcesses, SecondCopyIsRefusedWithItsBoxWhileTheFirstRuns) {
    QProcess &first = startProgram();
    ASSERT_TRUE(waitForWindows(first, {kMainWindowTitle}));
    ASSERT_EQ(lockOwner(), first.processId());

    // A lock that has been held for an hour is still held: only a dead owner frees it.
    QFile lockFile(lockPath());
    ASSERT_TRUE(lockFile.open(QIODevice::ReadWrite));
    ASSERT_TRUE(lockFile.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    lockFile.close();

    QProcess &second = startProgram();
    ASSERT_TRUE(waitForWindows(second, {kApplicationTitle}));  // the box only, no main window
    const QStringList box = visibleWindowIds(second);
    ASSERT_EQ(box.size(), 1);
    xdotool({QStringLiteral("key"), QStringLiteral("--window"), box.front(), QStringLiteral("Return")});
    ASSERT_TRUE(second.waitForFinished(kWaitMs));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);

    EXPECT_EQ(first.state(), QProcess::Running);
    EXPECT_EQ(visibleWindowTitles(first), QStringList{kMainWindowTitle});
    EXPECT_EQ(lockOwner(), first.processId());
}

// No runtime folder (su, cron, some ssh sessions): the lock lies in a folder of the user's own
// in the temporary folder, and still keeps a second copy out.
TEST_F(ProgramProcesses, WithoutARuntimeFolderASecondCopyIsStillRefused) {
    m_withRuntimeFolder = false;
    ASSERT_EQ(::chmod(QFile::encodeName(m_runtime.path()).constData(), 01777), 0);  // like /tmp
    QProcess &first = startProgram();
    ASSERT_TRUE(waitForWindows(first, {kMainWindowTitle}));
    EXPECT_EQ(lockOwner(), first.processId());
    EXPECT_TRUE(lockPath().startsWith(m_runtime.filePath(QStringLiteral("tremira-%1/").arg(::getuid()))));

    QProcess &second = startProgram();
    ASSERT_TRUE(waitForWindows(second, {kApplicationTitle}));
    EXPECT_EQ(visibleWindowTitles(first), QStringList{kMainWindowTitle});
}

// What another user (or an accident) can put where the lock would be: the program starts and
// says in one line that a second copy is not checked, instead of "Проект уже запущен!" forever.
TEST_F(ProgramProcesses, NothingAnotherUserPutsWhereTheLockWouldBeKeepsTheProgramFromStarting) {
    const QString folderOfTheUser = QStringLiteral("tremira-%1").arg(::getuid());
    const QString lockName = QFileInfo(tremira::platform::SingleInstanceLockPath()).fileName();
    const struct {
        const char *name;
        bool withRuntimeFolder;
        std::function<void(const QDir &folder)> prepare;
        bool warns;
        bool needsRoot;
    } cases[] = {
        {"a directory at the lock path", true, [&](const QDir &folder) { folder.mkdir(lockName); }, true, false},
        {"another user's lock file", true,
         [&](const QDir &folder) {
             QFile lock(folder.filePath(lockName));
             lock.open(QIODevice::WriteOnly);
             lock.write("1\ntremira\n\n");  // names a live process: init
             lock.close();
             ::chown(QFile::encodeName(lock.fileName()).constData(), 65534, 65534);
         },
         true, true},
        {"no runtime folder, another user's file at the former lock path /tmp/tremira-<uid>.lock", false,
         [&](const QDir &folder) {
             QFile(folder.filePath(lockName)).open(QIODevice::WriteOnly);
             ::chown(QFile::encodeName(folder.filePath(lockName)).constData(), 65534, 65534);
         },
         false, true},
        {"no runtime folder, another user's folder where the user's would be", false,
         [&](const QDir &folder) {
             folder.mkdir(folderOfTheUser);
             ::chown(QFile::encodeName(folder.filePath(folderOfTheUser)).constData(), 65534, 65534);
         },
         true, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        if (c.needsRoot && ::geteuid() != 0) {
            std::printf("skipped (needs root to act as another user): %s\n", c.name);
            continue;
        }
        QTemporaryDir folder;
        ASSERT_TRUE(folder.isValid());
        ASSERT_EQ(::chmod(QFile::encodeName(folder.path()).constData(), c.withRuntimeFolder ? 0700 : 01777), 0);
        c.prepare(QDir(folder.path()));
        QProcessEnvironment env = environment();
        if (c.withRuntimeFolder) {
            env.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder.path());
        } else {
            env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
            env.insert(QStringLiteral("TMPDIR"), folder.path());
        }
        QProcess &program = startProgram(env);
        EXPECT_TRUE(waitForWindows(program, {kMainWindowTitle}));
        program.kill();
        program.waitForFinished();  // and all it printed is read
        const QString printed = QString::fromUtf8(program.readAllStandardError());
        EXPECT_EQ(printed.contains(QStringLiteral("вторая копия не проверяется")), c.warns) << printed.toStdString();
        EXPECT_EQ(printed.contains(QStringLiteral("a second copy is not checked")), c.warns) << printed.toStdString();
    }
}

TEST_F(ProgramProcesses, CopyKilledWithSigkillDoesNotBlockTheNextStart) {
    QProcess &first = startProgram();
    ASSERT_TRUE(waitForWindows(first, {kMainWindowTitle}));
    first.kill();  // SIGKILL: no chance to remove its lock file
    ASSERT_TRUE(first.waitForFinished(kWaitMs));
    ASSERT_NE(lockOwner(), 0);

    QProcess &next = startProgram();
    ASSERT_TRUE(waitForWindows(next, {kMainWindowTitle}));
    EXPECT_EQ(lockOwner(), next.processId());
}

}  // namespace

namespace {

// A display no X server holds.
QString freeDisplay() { return QStringLiteral(":%1").arg(tremira::platform::testing::FreeDisplayNumber()); }

// The program ends by itself with status 1 and one line on standard error, in Russian and
// English, naming whatever else the case expects.
void ExpectTheOneLineAboutAGraphicalSession(QProcess &program, const QStringList &alsoNamed = {}) {
    ASSERT_TRUE(program.waitForFinished(kWaitMs));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);  // not Qt's abort with a core dump
    EXPECT_EQ(program.exitCode(), 1);
    const QString message = QString::fromUtf8(program.readAllStandardError());
    EXPECT_EQ(message.count(QLatin1Char('\n')), 1) << message.toStdString();
    for (const QString &named :
         QStringList{QStringLiteral("графический сеанс"), QStringLiteral("graphical session")} + alsoNamed) {
        EXPECT_TRUE(message.contains(named)) << message.toStdString();
    }
}

}  // namespace

TEST(ProgramWithoutDisplay, SaysItNeedsAGraphicalSessionAndExitsWithStatus1) {
    const QString gone = freeDisplay();
    const struct {
        const char *name;
        QString display;
    } cases[] = {
        {"no DISPLAY at all", QString()},
        {"DISPLAY set, no X server there", gone},
        {"DISPLAY of the unix form, no X server there", QStringLiteral("unix") + gone},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        if (!c.display.isEmpty()) env.insert(QStringLiteral("DISPLAY"), c.display);
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(TREMIRA_PROGRAM), {});
        ExpectTheOneLineAboutAGraphicalSession(program, {QStringLiteral("xvfb-run")});
    }
}

// Qt's wayland plugin not installed: a copy of the program whose qt.conf points Qt at a plugin
// folder without it. Qt would abort with a core dump; the program names the package instead.
TEST(ProgramWithoutItsPlatformPlugin, NamesThePackageToInstallAndExitsWithStatus1) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString program = folder.filePath(QStringLiteral("tremira"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(TREMIRA_PROGRAM), program));
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("plugins/platforms")));
    QFile configuration(folder.filePath(QStringLiteral("qt.conf")));
    ASSERT_TRUE(configuration.open(QIODevice::WriteOnly));
    configuration.write("[Paths]\nPlugins=plugins\n");
    configuration.close();
    for (const char *platform : {"wayland", "wayland;xcb"}) {
        SCOPED_TRACE(platform);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QString::fromLatin1(platform));
        QProcess started;
        started.setProcessEnvironment(env);
        started.start(program, {});
        ASSERT_TRUE(started.waitForFinished(kWaitMs));
        EXPECT_EQ(started.exitStatus(), QProcess::NormalExit);  // not Qt's abort with a core dump
        EXPECT_EQ(started.exitCode(), 1);
        const QString message = QString::fromUtf8(started.readAllStandardError());
        EXPECT_EQ(message.count(QLatin1Char('\n')), 1) << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("«wayland», его даёт пакет qt6-wayland"))) << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("the package qt6-wayland"))) << message.toStdString();
    }
}

namespace {

// A private X server that admits only holders of its cookie, as the server of a desktop
// session does, at most maxClients clients at a time.
class XServerWithCookie : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        m_cookieFile = m_folder.filePath(QStringLiteral("cookie"));
        const quint64 words[2] = {QRandomGenerator::system()->generate64(), QRandomGenerator::system()->generate64()};
        m_cookie = QByteArray(reinterpret_cast<const char *>(words), sizeof words).toHex();
        // The server takes every cookie of its file, whatever display an entry names.
        if (!xauth({QStringLiteral("add"), QStringLiteral(":0"), QStringLiteral("."), QString::fromLatin1(m_cookie)})) {
            GTEST_SKIP() << "xauth is not available";
        }
        m_xvfb.start(QStringLiteral("Xvfb"),
                     {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-auth"), m_cookieFile,
                      QStringLiteral("-maxclients"), QString::number(kMaxClients), QStringLiteral("-screen"),
                      QStringLiteral("0"), QStringLiteral("800x600x24"), QStringLiteral("-noreset"),
                      QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        if (!m_xvfb.waitForStarted() || !m_xvfb.waitForReadyRead(kWaitMs)) GTEST_SKIP() << "Xvfb is not available";
        m_display = QLatin1Char(':') + QString::fromLatin1(m_xvfb.readLine().trimmed());
        // The client looks its cookie up by display.
        ASSERT_TRUE(xauth({QStringLiteral("add"), m_display, QStringLiteral("."), QString::fromLatin1(m_cookie)}));
    }

    void TearDown() override {
        if (m_xvfb.state() == QProcess::NotRunning) return;
        ::kill(static_cast<pid_t>(m_xvfb.processId()), SIGCONT);  // a test may have stopped it
        m_xvfb.terminate();
        m_xvfb.waitForFinished();
    }

    bool xauth(const QStringList &arguments) const {
        QProcess tool;
        tool.start(QStringLiteral("xauth"), QStringList{QStringLiteral("-f"), m_cookieFile} + arguments);
        return tool.waitForFinished(kWaitMs) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
    }

    QProcessEnvironment environment(const QString &authority) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.insert(QStringLiteral("DISPLAY"), m_display);
        env.insert(QStringLiteral("XAUTHORITY"), authority);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
        return env;
    }

    // This process as a client of the server, with the given authority.
    bool handshake(tremira::platform::X11ClientHandshake &client, const QString &authority) const {
        return answer(client, authority, m_display) == tremira::platform::DisplayAnswer::Accepted;
    }

    // The server's answer to this process as a client of the display given (the server's own,
    // or one of its screens), with the given authority.
    tremira::platform::DisplayAnswer answer(tremira::platform::X11ClientHandshake &client, const QString &authority,
                                            const QString &display) const {
        const QByteArray saved = qgetenv("XAUTHORITY");
        const bool hadAuthority = qEnvironmentVariableIsSet("XAUTHORITY");
        qputenv("XAUTHORITY", QFile::encodeName(authority));
        const tremira::platform::DisplayAnswer answered = client(display);
        if (hadAuthority) {
            qputenv("XAUTHORITY", saved);
        } else {
            qunsetenv("XAUTHORITY");
        }
        return answered;
    }

    static constexpr int kMaxClients = 64;  // the least Xvfb takes
    QTemporaryDir m_folder;
    QTemporaryDir m_runtime;
    QString m_cookieFile;
    QByteArray m_cookie;
    QProcess m_xvfb;
    QString m_display;
};

TEST_F(XServerWithCookie, TheHandshakeNeedsTheCookieAndLeavesTheServersWordsOffTheTerminal) {
    tremira::platform::X11ClientHandshake withCookie;
    EXPECT_TRUE(handshake(withCookie, m_cookieFile));

    tremira::platform::X11ClientHandshake withoutCookie;
    ::testing::internal::CaptureStderr();
    const bool accepted = handshake(withoutCookie, QStringLiteral("/nonexistent"));
    const std::string printed = ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(accepted);
    EXPECT_EQ(printed, "");  // libxcb would print "Authorization required, ..."
}

TEST_F(XServerWithCookie, AHandshakeHoldsItsConnectionUntilReleased) {
    std::vector<std::unique_ptr<tremira::platform::X11ClientHandshake>> clients;
    for (int i = 0; i <= kMaxClients; ++i) {
        clients.push_back(std::make_unique<tremira::platform::X11ClientHandshake>());
        if (!handshake(*clients.back(), m_cookieFile)) break;
    }
    ASSERT_LE(clients.size(), static_cast<std::size_t>(kMaxClients));  // the limit was reached
    tremira::platform::X11ClientHandshake last;
    EXPECT_FALSE(handshake(last, m_cookieFile));
    clients.front()->release();
    EXPECT_TRUE(handshake(last, m_cookieFile));
}

TEST_F(XServerWithCookie, ProgramWithAWrongAuthoritySaysItNeedsAGraphicalSessionAndExitsWithStatus1) {
    for (const QString &authority : {QStringLiteral("/nonexistent"), m_folder.filePath(QStringLiteral("empty"))}) {
        SCOPED_TRACE(authority.toStdString());
        QFile(m_folder.filePath(QStringLiteral("empty"))).open(QIODevice::WriteOnly);
        QProcess program;
        program.setProcessEnvironment(environment(authority));
        program.start(QStringLiteral(TREMIRA_PROGRAM), {});
        ExpectTheOneLineAboutAGraphicalSession(program);
    }
}

TEST_F(XServerWithCookie, ProgramOnAServerAtItsClientLimitSaysItNeedsAGraphicalSessionAndExitsWithStatus1) {
    std::vector<std::unique_ptr<tremira::platform::X11ClientHandshake>> clients;
    do {
        clients.push_back(std::make_unique<tremira::platform::X11ClientHandshake>());
    } while (clients.size() <= static_cast<std::size_t>(kMaxClients) && handshake(*clients.back(), m_cookieFile));
    QProcess program;
    program.setProcessEnvironment(environment(m_cookieFile));
    program.start(QStringLiteral(TREMIRA_PROGRAM), {});
    ExpectTheOneLineAboutAGraphicalSession(program);
}

TEST_F(XServerWithCookie, ProgramWithTheCookieShowsItsWindow) {
    QProcess program;
    program.setProcessEnvironment(environment(m_cookieFile));
    program.start(QStringLiteral(TREMIRA_PROGRAM), {});
    ASSERT_TRUE(program.waitForStarted());
    const bool shown = QTest::qWaitFor(
        [&] {
            QProcess tool;
            tool.setProcessEnvironment(environment(m_cookieFile));
            tool.start(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                   QStringLiteral("--name"), kMainWindowTitle});
            tool.waitForFinished();
            return !tool.readAllStandardOutput().trimmed().isEmpty();
        },
        kWaitMs);
    EXPECT_TRUE(shown) << program.readAllStandardError().toStdString();
    program.kill();
    program.waitForFinished();
}

// The server has one screen: DISPLAY may name it, and no other.
TEST_F(XServerWithCookie, TheHandshakeTakesOnlyAScreenTheServerHas) {
    using enum tremira::platform::DisplayAnswer;
    const struct {
        const char *screen;
        tremira::platform::DisplayAnswer expected;
    } cases[] = {{"", Accepted}, {".0", Accepted}, {".1", NoSuchScreen}, {".9", NoSuchScreen}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.screen);
        tremira::platform::X11ClientHandshake client;
        EXPECT_EQ(answer(client, m_cookieFile, m_display + QLatin1String(c.screen)), c.expected);
    }
}

TEST_F(XServerWithCookie, ProgramOnAScreenTheServerDoesNotHaveSaysSoAndExitsWithStatus1) {
    for (const char *screen : {".1", ".9"}) {
        SCOPED_TRACE(screen);
        const QString display = m_display + QLatin1String(screen);
        QProcessEnvironment env = environment(m_cookieFile);
        env.insert(QStringLiteral("DISPLAY"), display);
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(TREMIRA_PROGRAM), {});
        ExpectTheOneLineAboutAGraphicalSession(program,
                                               {QStringLiteral("на дисплее «%1» нет такого экрана").arg(display),
                                                QStringLiteral("display %1 has no such screen").arg(display)});
    }
}

// What takes the connection and never answers: something else listening where a display
// should be, or a stopped server. The program says so within a few seconds instead of waiting
// forever.
TEST_F(XServerWithCookie, ProgramOnADisplayThatNeverAnswersSaysSoAndExitsWithStatus1) {
    using Kind = tremira::platform::DisplayEndpoint::Kind;
    const int free = tremira::platform::testing::FreeDisplayNumber();
    const QString socketFile = QStringLiteral("/tmp/.X11-unix/X%1").arg(free);  // the folder is the server's
    const struct {
        const char *name;
        std::optional<tremira::platform::DisplayEndpoint> listener;
        QString display;
        bool wayland;
    } cases[] = {
        {"TCP listener",
         {{Kind::Tcp, QStringLiteral("127.0.0.1"), 6000 + free}},
         QStringLiteral("127.0.0.1:%1").arg(free),
         false},
        {"abstract Unix socket", {{Kind::Abstract, socketFile}}, QStringLiteral(":%1").arg(free), false},
        {"Unix socket file", {{Kind::File, socketFile}}, QStringLiteral(":%1").arg(free), false},
        {"Wayland socket",
         {{Kind::File, m_runtime.filePath(QStringLiteral("wayland-silent"))}},
         QStringLiteral("wayland-silent"),
         true},
        {"stopped X server", std::nullopt, m_display, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<tremira::platform::testing::SilentListener> listener;
        if (c.listener) {
            listener.emplace(*c.listener);
            ASSERT_TRUE(listener->listening());
        } else {
            ASSERT_EQ(::kill(static_cast<pid_t>(m_xvfb.processId()), SIGSTOP), 0);
        }
        QProcessEnvironment env = environment(m_cookieFile);
        if (c.wayland) {
            env.remove(QStringLiteral("DISPLAY"));
            env.insert(QStringLiteral("WAYLAND_DISPLAY"), c.display);
        } else {
            env.insert(QStringLiteral("DISPLAY"), c.display);
        }
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(TREMIRA_PROGRAM), {});
        ExpectTheOneLineAboutAGraphicalSession(program, {QStringLiteral("дисплей «%1» не отвечает").arg(c.display),
                                                         QStringLiteral("display %1 does not answer").arg(c.display)});
    }
}

}  // namespace
