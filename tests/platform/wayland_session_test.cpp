// The main window on Wayland: a headless weston of this test's own, Qt's wayland plugin, and
// the window mapped there, calculating as on X11. Skipped only where weston is not installed.

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/display_check.h"
#include "reports/report_printer.h"
#include "tests/support/modal_answerer.h"
#include "tests/support/viewer_recorder.h"
#include "tests/ui/main/form1_fixture.h"
#include "ui/main/form1.h"

namespace {

// weston with its headless back end, serving a socket in a runtime folder of its own, which
// becomes this process's too; stopped with its object.
class HeadlessWeston {
public:
    explicit HeadlessWeston(const QString &program) {
        if (!m_runtime.isValid()) return;
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
        // Its output stays off the test's: were this process to die, weston would otherwise keep
        // the test runner waiting for the end of that output.
        m_weston.setStandardOutputFile(QProcess::nullDevice());
        m_weston.setStandardErrorFile(QProcess::nullDevice());
        m_weston.start(program, {QStringLiteral("--backend=headless-backend.so"), QStringLiteral("--socket=") + kSocket,
                                 QStringLiteral("--log=") + m_runtime.filePath(QStringLiteral("weston.log"))});
        if (!m_weston.waitForStarted()) return;
        // weston needs a moment to set its socket up; it answers a round trip once it serves.
        const QString socketPath = m_runtime.filePath(kSocket);
        for (int attempt = 0; attempt < 200 && !m_answering; ++attempt) {
            m_answering = tremira::platform::WaylandRoundTrip(socketPath) == tremira::platform::DisplayAnswer::Accepted;
            if (!m_answering) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    ~HeadlessWeston() {
        m_weston.terminate();
        m_weston.waitForFinished();
    }

    bool answering() const { return m_answering; }
    static inline const QString kSocket = QStringLiteral("tremira-test");

private:
    QTemporaryDir m_runtime;
    QProcess m_weston;
    bool m_answering = false;
};

}  // namespace

TEST(WaylandSession, TheMainWindowMapsOnWestonAndCalculates) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("weston"));
    if (program.isEmpty()) GTEST_SKIP() << "weston is not installed";
    const HeadlessWeston weston(program);
    ASSERT_TRUE(weston.answering());
    qputenv("WAYLAND_DISPLAY", HeadlessWeston::kSocket.toLatin1());
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
    EXPECT_EQ(ui.Text12->text(), QStringLiteral("48,19277"));  // Run A

    // The check window maps there as a window of its own over the main window, and answers.
    QString fill;
    const tremira::testing::ModalAnswerer answerer([&fill](QWidget *check) {
        if (!QTest::qWaitForWindowExposed(check)) return;
        check->findChild<QLineEdit *>(QStringLiteral("windowWidth"))->setText(QStringLiteral("50"));
        check->findChild<QLineEdit *>(QStringLiteral("windowHeight"))->setText(QStringLiteral("60"));
        fill = check->findChild<QLabel *>(QStringLiteral("fillPercent"))->text();
        check->close();
    });
    ui.MScheck->trigger();
    EXPECT_EQ(fill, QStringLiteral("33"));
}
