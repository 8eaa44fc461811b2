// The program started as real processes: one copy at a time per user, a killed copy does not
// block the next start, and without a display it says so instead of crashing. The window
// tests run on a private X server, so that the windows of each process can be seen from here.

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

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
