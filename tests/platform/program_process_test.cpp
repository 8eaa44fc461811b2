// The program started as real processes: one copy at a time per user, a killed copy does not
// block the next start, and without a display, or with an X server that refuses it, it says so
// instead of crashing. The window tests run on a private X server, so that the windows of each
// process can be seen from here.

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/display_check.h"
#include "platform/single_instance_lock.h"

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

    QProcessEnvironment environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.insert(QStringLiteral("DISPLAY"), s_display);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
        return env;
    }

    QProcess &startProgram() {
        m_processes.push_back(std::make_unique<QProcess>());
        QProcess &process = *m_processes.back();
        process.setProcessEnvironment(environment());
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

    // The lock file of the program's copies: the file name of the program's own path, in our runtime folder.
    QString lockPath() const {
        return m_runtime.filePath(QFileInfo(tremira::platform::SingleInstanceLockPath()).fileName());
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

// A display number no X server holds: neither its socket file nor its lock file exists.
QString freeDisplay() {
    for (int number = 200;; ++number) {
        if (!QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)) &&
            !QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(number))) {
            return QStringLiteral(":%1").arg(number);
        }
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
        ASSERT_TRUE(program.waitForFinished(kWaitMs));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);  // not Qt's abort with a core dump
        EXPECT_EQ(program.exitCode(), 1);
        const QString message = QString::fromUtf8(program.readAllStandardError());
        EXPECT_EQ(message.count(QLatin1Char('\n')), 1) << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("графический сеанс"))) << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("graphical session"))) << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("xvfb-run"))) << message.toStdString();
    }
}

namespace {

void ExpectTheOneLineAboutAGraphicalSession(QProcess &program) {
    ASSERT_TRUE(program.waitForFinished(kWaitMs));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);  // not Qt's abort with a core dump
    EXPECT_EQ(program.exitCode(), 1);
    const QString message = QString::fromUtf8(program.readAllStandardError());
    EXPECT_EQ(message.count(QLatin1Char('\n')), 1) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("графический сеанс"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("graphical session"))) << message.toStdString();
}

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
        const QByteArray saved = qgetenv("XAUTHORITY");
        const bool hadAuthority = qEnvironmentVariableIsSet("XAUTHORITY");
        qputenv("XAUTHORITY", QFile::encodeName(authority));
        const bool accepted = client(m_display);
        if (hadAuthority) {
            qputenv("XAUTHORITY", saved);
        } else {
            qunsetenv("XAUTHORITY");
        }
        return accepted;
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

}  // namespace
