// The program started as real processes: one copy at a time per user, a killed copy does not
// block the next start, and without a display, with a platform plugin Qt cannot start, or with
// an X server that refuses it or never answers, it says so in one line instead of crashing or
// waiting; a bus that never answers is done without. Each test has a private X server, so that
// the windows of each process can be seen from here; like the server of a desktop session, it
// admits only holders of its cookie.

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLockFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <unistd.h>

#include <csignal>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/display_check.h"
#include "platform/single_instance_lock.h"
#include "tests/support/silent_listener.h"

namespace {

using tremira::platform::DisplayAnswer;
using tremira::platform::X11ClientHandshake;

const QString kMainWindowTitle = QStringLiteral("Расчет сварочного трансформатора");
const QString kApplicationTitle = QStringLiteral("Тремира");
const QStringList kGraphicalSession{QStringLiteral("графический сеанс"), QStringLiteral("graphical session")};
constexpr int kWaitMs = 20'000;

// The program ends by itself with status 1 and one line on standard error naming all of `named`.
void ExpectOneLineAndStatus1(QProcess &program, const QStringList &named) {
    ASSERT_TRUE(program.waitForFinished(kWaitMs));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);  // not Qt's abort with a core dump
    EXPECT_EQ(program.exitCode(), 1);
    const QString message = QString::fromUtf8(program.readAllStandardError());
    EXPECT_EQ(message.count(QLatin1Char('\n')), 1) << message.toStdString();
    for (const QString &part : named) EXPECT_TRUE(message.contains(part)) << message.toStdString();
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

void start(QProcess &program, const QProcessEnvironment &env, const QString &path = QStringLiteral(TREMIRA_PROGRAM)) {
    program.setProcessEnvironment(env);
    program.start(path, {});
}

// At most kMaxClients clients at a time.
class ProgramOnX : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid() && m_runtime.isValid());
        m_cookieFile = m_folder.filePath(QStringLiteral("cookie"));
        const quint64 words[2] = {QRandomGenerator::system()->generate64(), QRandomGenerator::system()->generate64()};
        const QString cookie = QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(words), 16).toHex());
        // The server takes every cookie of its file, whatever display an entry names.
        if (!xauth({QStringLiteral("add"), QStringLiteral(":0"), QStringLiteral("."), cookie})) {
            GTEST_SKIP() << "xauth is not available";
        }
        // -displayfd: the server picks a free display and writes its number to our pipe.
        // -noreset: the server would otherwise reset whenever its last client leaves (a killed
        // copy, each xdotool call), refusing connections for a moment.
        m_xvfb.start(QStringLiteral("Xvfb"),
                     {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-auth"), m_cookieFile,
                      QStringLiteral("-maxclients"), QString::number(kMaxClients), QStringLiteral("-screen"),
                      QStringLiteral("0"), QStringLiteral("800x600x24"), QStringLiteral("-noreset"),
                      QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        if (!m_xvfb.waitForStarted() || !m_xvfb.waitForReadyRead(kWaitMs)) GTEST_SKIP() << "Xvfb is not available";
        m_display = QLatin1Char(':') + QString::fromLatin1(m_xvfb.readLine().trimmed());
        // The client looks its cookie up by display.
        ASSERT_TRUE(xauth({QStringLiteral("add"), m_display, QStringLiteral("."), cookie}));
        qputenv("XAUTHORITY", QFile::encodeName(m_cookieFile));  // for this process's handshakes
    }

    void TearDown() override {
        for (auto &process : m_processes) {
            process->kill();
            process->waitForFinished();
        }
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

    QProcessEnvironment environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.insert(QStringLiteral("DISPLAY"), m_display);
        env.insert(QStringLiteral("XAUTHORITY"), m_cookieFile);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
        return env;
    }

    QProcess &startProgram(const QProcessEnvironment &env) {
        m_processes.push_back(std::make_unique<QProcess>());
        start(*m_processes.back(), env);
        EXPECT_TRUE(m_processes.back()->waitForStarted());
        return *m_processes.back();
    }
    QProcess &startProgram() { return startProgram(environment()); }

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
        for (const QString &id : visibleWindowIds(process)) titles << xdotool({QStringLiteral("getwindowname"), id});
        return titles;
    }

    // How many colours a window shows: one while nothing has painted it.
    int coloursOf(const QString &windowId) const {
        QProcess import;
        import.setProcessEnvironment(environment());
        import.start(QStringLiteral("import"), {QStringLiteral("-window"), windowId, QStringLiteral("-format"),
                                                QStringLiteral("%k"), QStringLiteral("info:")});
        import.waitForFinished(kWaitMs);
        return QString::fromLatin1(import.readAllStandardOutput()).trimmed().toInt();
    }

    bool waitForWindows(const QProcess &process, const QStringList &titles) const {
        return QTest::qWaitFor([&] { return visibleWindowTitles(process) == titles; }, kWaitMs);
    }

    // The lock file of the program's copies: the file name of the program's own, in our runtime folder.
    QString lockPath() const {
        return m_runtime.filePath(QFileInfo(tremira::platform::SingleInstanceLockPath()).fileName());
    }

    qint64 lockOwner() const {
        qint64 pid = 0;
        QString host, application;
        return QLockFile(lockPath()).getLockInfo(&pid, &host, &application) ? pid : 0;
    }

    static constexpr int kMaxClients = 64;  // the least Xvfb takes
    QTemporaryDir m_folder;
    QTemporaryDir m_runtime;
    QString m_cookieFile;
    QProcess m_xvfb;
    QString m_display;
    std::vector<std::unique_ptr<QProcess>> m_processes;
};

TEST_F(ProgramOnX, SecondCopyIsRefusedWithItsBoxWhileTheFirstRuns) {
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

TEST_F(ProgramOnX, CopyKilledWithSigkillDoesNotBlockTheNextStart) {
    QProcess &first = startProgram();
    ASSERT_TRUE(waitForWindows(first, {kMainWindowTitle}));
    first.kill();  // SIGKILL: no chance to remove its lock file
    ASSERT_TRUE(first.waitForFinished(kWaitMs));
    ASSERT_NE(lockOwner(), 0);

    QProcess &next = startProgram();
    ASSERT_TRUE(waitForWindows(next, {kMainWindowTitle}));
    EXPECT_EQ(lockOwner(), next.processId());
}

TEST_F(ProgramOnX, TheHandshakeNeedsTheCookieAndLeavesTheServersWordsOffTheTerminal) {
    X11ClientHandshake withCookie;
    EXPECT_EQ(withCookie(m_display), DisplayAnswer::Accepted);

    X11ClientHandshake withoutCookie;
    qputenv("XAUTHORITY", "/nonexistent");
    ::testing::internal::CaptureStderr();
    const DisplayAnswer answered = withoutCookie(m_display);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");  // libxcb would print "Authorization required, ..."
    EXPECT_EQ(answered, DisplayAnswer::Refused);
}

TEST_F(ProgramOnX, AHandshakeHoldsItsConnectionUntilReleased) {
    std::vector<std::unique_ptr<X11ClientHandshake>> clients;
    for (int i = 0; i <= kMaxClients; ++i) {
        clients.push_back(std::make_unique<X11ClientHandshake>());
        if ((*clients.back())(m_display) != DisplayAnswer::Accepted) break;
    }
    ASSERT_LE(clients.size(), static_cast<std::size_t>(kMaxClients));  // the limit was reached
    X11ClientHandshake last;
    EXPECT_NE(last(m_display), DisplayAnswer::Accepted);
    clients.front()->release();
    EXPECT_EQ(last(m_display), DisplayAnswer::Accepted);
}

// The server has one screen: DISPLAY may name it, and no other; the program names the display.
TEST_F(ProgramOnX, ProgramOnAScreenTheServerDoesNotHaveSaysSo) {
    const QString display = m_display + QStringLiteral(".1");
    QProcessEnvironment env = environment();
    env.insert(QStringLiteral("DISPLAY"), display);
    QProcess program;
    start(program, env);
    ExpectOneLineAndStatus1(program, kGraphicalSession +
                                         QStringList{QStringLiteral("на дисплее «%1» нет такого экрана").arg(display),
                                                     QStringLiteral("display %1 has no such screen").arg(display)});
}

// What takes the connection and never answers: something else listening where a display
// should be, or a stopped server. The program says so within a few seconds instead of waiting
// forever.
TEST_F(ProgramOnX, ProgramOnADisplayThatNeverAnswersSaysSo) {
    using tremira::platform::DisplayEndpoint;
    using Kind = DisplayEndpoint::Kind;
    const int free = tremira::platform::testing::FreeDisplayNumber();
    const QString socketFile = QStringLiteral("/tmp/.X11-unix/X%1").arg(free);  // the folder is the server's
    const struct {
        const char *name;
        std::optional<DisplayEndpoint> listener;
        QString display;
        bool wayland;
    } cases[] = {
        {"TCP listener", {{Kind::Tcp, "127.0.0.1", 6000 + free}}, QStringLiteral("127.0.0.1:%1").arg(free), false},
        {"abstract Unix socket", {{Kind::Abstract, socketFile}}, QStringLiteral(":%1").arg(free), false},
        {"Unix socket file", {{Kind::File, socketFile}}, QStringLiteral(":%1").arg(free), false},
        {"Wayland socket", {{Kind::File, m_runtime.filePath("wayland-silent")}}, "wayland-silent", true},
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
        QProcessEnvironment env = environment();
        if (c.wayland) env.remove(QStringLiteral("DISPLAY"));
        env.insert(QLatin1String(c.wayland ? "WAYLAND_DISPLAY" : "DISPLAY"), c.display);
        QProcess program;
        start(program, env);
        ExpectOneLineAndStatus1(program, kGraphicalSession +
                                             QStringList{QStringLiteral("дисплей «%1» не отвечает").arg(c.display),
                                                         QStringLiteral("display %1 does not answer").arg(c.display)});
    }
}

TEST(ProgramWithoutDisplay, SaysItNeedsAGraphicalSessionAndExitsWithStatus1) {
    const QString gone = QStringLiteral(":%1").arg(tremira::platform::testing::FreeDisplayNumber());
    for (const QString &display : {QString(), gone, QStringLiteral("unix") + gone}) {
        SCOPED_TRACE(display.toStdString());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(QLatin1String(name));
        if (!display.isEmpty()) env.insert(QStringLiteral("DISPLAY"), display);
        QProcess program;
        start(program, env);
        ExpectOneLineAndStatus1(program, kGraphicalSession + QStringList{QStringLiteral("xvfb-run")});
    }
}

// Qt's own verdict on its platform plugin, which would end in an abort and a core dump: a copy
// of the program whose qt.conf points Qt at a plugin folder of the test's making, and Qt's own
// plugins where a machine without DRM or a framebuffer cannot start them.
TEST_F(ProgramOnX, APlatformPluginQtCannotStartIsNamedInOneLineAndStatus1) {
    const QString program = m_folder.filePath(QStringLiteral("tremira"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(TREMIRA_PROGRAM), program));
    const QDir platforms(m_folder.filePath(QStringLiteral("plugins/platforms")));
    ASSERT_TRUE(platforms.mkpath(QStringLiteral(".")));
    writeFile(m_folder.filePath(QStringLiteral("qt.conf")), "[Paths]\nPlugins=plugins\n");
    const QByteArray junk(4096, '\x7f');
    const struct {
        const char *platform;
        const char *junkPlugin;  // a damaged library of this name in the folder
        bool ownCopy;
        const char *device;  // skipped on a machine that has it
        QStringList named;
    } cases[] = {
        {"wayland;xcb", nullptr, true, nullptr, {"«wayland», его даёт пакет qt6-wayland", "the package qt6-wayland"}},
        {"", "libqxcb.so", true, nullptr, {"«xcb», его даёт пакет libqt6gui6", "the package libqt6gui6"}},
        {"bogus", "libqbogus.so", true, nullptr, {"«bogus»", "platform plugin bogus"}},
        {"eglfs", nullptr, false, "/dev/dri", {"«eglfs» не запустился", "plugin eglfs did not start"}},
        {"linuxfb", nullptr, false, "/dev/fb0", {"«linuxfb» не запустился: no screens available"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.platform);
        if (c.device && QFileInfo::exists(QString::fromLatin1(c.device))) continue;
        if (c.junkPlugin) writeFile(platforms.filePath(QString::fromLatin1(c.junkPlugin)), junk);
        QProcessEnvironment env = environment();
        if (*c.platform) env.insert(QStringLiteral("QT_QPA_PLATFORM"), QString::fromLatin1(c.platform));
        QProcess started;
        start(started, env, c.ownCopy ? program : QStringLiteral(TREMIRA_PROGRAM));
        ExpectOneLineAndStatus1(started, c.named);
    }
}

// A qt.conf that Qt takes is the program's too, whatever else it holds.
TEST_F(ProgramOnX, AQtConfQtAcceptsIsAccepted) {
    const QString program = m_folder.filePath(QStringLiteral("tremira"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(TREMIRA_PROGRAM), program));
    writeFile(m_folder.filePath(QStringLiteral("qt.conf")),
              "[Paths]\nPlugins=" + QFile::encodeName(QLibraryInfo::path(QLibraryInfo::PluginsPath)) +
                  "\n[Platforms]\n");
    m_processes.push_back(std::make_unique<QProcess>());
    start(*m_processes.back(), environment(), program);
    EXPECT_TRUE(waitForWindows(*m_processes.back(), {kMainWindowTitle}));
}

// A bus that takes the connection and never answers: Qt's accessibility bridge would wait on
// it while the window is shown. The window comes up and is painted, with one line saying so.
TEST_F(ProgramOnX, ABusThatNeverAnswersIsGoneWithoutAndSaidOnce) {
    using tremira::platform::DisplayEndpoint;
    const QString socket = m_runtime.filePath(QStringLiteral("silent-bus"));
    const tremira::platform::testing::SilentListener silentBus({DisplayEndpoint::Kind::File, socket});
    ASSERT_TRUE(silentBus.listening());
    const struct {
        const char *variable;
        QString said;
    } cases[] = {
        {"DBUS_SESSION_BUS_ADDRESS", QStringLiteral("the D-Bus session bus does not answer")},
        {"AT_SPI_BUS_ADDRESS", QStringLiteral("the accessibility bus does not answer")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.variable);
        QProcessEnvironment env = environment();
        env.insert(QString::fromLatin1(c.variable), QStringLiteral("unix:path=") + socket);
        QProcess &program = startProgram(env);
        ASSERT_TRUE(waitForWindows(program, {kMainWindowTitle}));
        EXPECT_TRUE(QTest::qWaitFor([&] { return coloursOf(visibleWindowIds(program).value(0)) > 2; }, kWaitMs));
        program.kill();
        program.waitForFinished();
        const QString said = QString::fromUtf8(program.readAllStandardError());
        EXPECT_EQ(said.count(c.said), 1) << said.toStdString();
    }
}

}  // namespace
