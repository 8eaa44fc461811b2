// The main window on Wayland: a headless weston of this test's own, Qt's wayland plugin, and
// the window mapped there, calculating as on X11. Skipped only where weston is not installed.

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "platform/display_check.h"
#include "reports/report_printer.h"
#include "tests/support/viewer_recorder.h"
#include "tests/ui/main/form1_fixture.h"
#include "ui/main/form1.h"

extern char **environ;

namespace {

// weston with its headless back end, serving a socket in a runtime folder of its own, which
// becomes this process's too; stopped with its object.
class HeadlessWeston {
public:
    explicit HeadlessWeston(const QString &program) {
        if (!m_runtime.isValid()) return;
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
        const QByteArray executable = QFile::encodeName(program);
        const QByteArray backend = "--backend=headless-backend.so";
        const QByteArray socket = "--socket=" + kSocket;
        const QByteArray log = "--log=" + QFile::encodeName(m_runtime.filePath(QStringLiteral("weston.log")));
        char *const arguments[] = {const_cast<char *>(executable.constData()), const_cast<char *>(backend.constData()),
                                   const_cast<char *>(socket.constData()), const_cast<char *>(log.constData()),
                                   nullptr};
        // Its output stays off the test's: were this process to die, weston would otherwise keep
        // the test runner waiting for the end of that output.
        posix_spawn_file_actions_t quiet;
        ::posix_spawn_file_actions_init(&quiet);
        ::posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        ::posix_spawn_file_actions_adddup2(&quiet, STDOUT_FILENO, STDERR_FILENO);
        const int spawned = ::posix_spawn(&m_pid, arguments[0], &quiet, nullptr, arguments, environ);
        ::posix_spawn_file_actions_destroy(&quiet);
        if (spawned != 0) {
            m_pid = 0;
            return;
        }
        // weston needs a moment to set its socket up; it answers a round trip once it serves.
        const QString socketPath = m_runtime.filePath(QString::fromLatin1(kSocket));
        for (int attempt = 0; attempt < 200 && !m_answering; ++attempt) {
            m_answering = tremira::platform::WaylandRoundTrip(socketPath) == tremira::platform::DisplayAnswer::Accepted;
            if (!m_answering) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    HeadlessWeston(const HeadlessWeston &) = delete;
    HeadlessWeston &operator=(const HeadlessWeston &) = delete;
    ~HeadlessWeston() {
        if (m_pid == 0) return;
        ::kill(m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
    }

    bool answering() const { return m_answering; }
    static inline const QByteArray kSocket = "tremira-test";

private:
    QTemporaryDir m_runtime;
    pid_t m_pid = 0;
    bool m_answering = false;
};

}  // namespace

TEST(WaylandSession, TheMainWindowMapsOnWestonAndCalculates) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("weston"));
    if (program.isEmpty()) GTEST_SKIP() << "weston is not installed";
    const HeadlessWeston weston(program);
    ASSERT_TRUE(weston.answering());
    qputenv("WAYLAND_DISPLAY", HeadlessWeston::kSocket);
    qputenv("QT_QPA_PLATFORM", "wayland");
    // The headless weston has no seat, and Qt's Wayland text input (Qt 6.4) then fails on keys
    // sent from here; with no input method the keys go to the fields as they are.
    qputenv("QT_IM_MODULE", "none");
    int argc = 1;
    char name[] = "wayland_session_tests";
    char *argv[] = {name, nullptr};
    const QApplication application(argc, argv);
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("wayland"));

    tremira::testing::ViewerRecorder helpViewer;
    tremira::ui::Form1 window(QCoreApplication::applicationDirPath(), helpViewer.call(),
                              tremira::reports::PrintModulePath(QCoreApplication::applicationDirPath()));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));  // the compositor has configured it

    const Form1Controls ui{window};
    user::type(ui.Text2, QStringLiteral("160"));
    user::click(ui.cndCalc);
    const QStringList results{ui.Text5->text(), ui.Text6->text(),  ui.Text7->text(), ui.Text8->text(),
                              ui.Text9->text(), ui.Text11->text(), ui.Text12->text()};
    EXPECT_EQ(results, (QStringList{"10400", "83", "25", "6", "20", "5600", "48,19277"}));  // Run A
}
