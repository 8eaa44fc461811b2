#pragma once
// Qt's own verdict on its platform plugin. Qt ends the program with a fatal message and a core
// dump when no platform plugin loads or starts: none installed, a damaged library, a qt.conf
// that leads elsewhere, eglfs without a graphics card it can use. While the application object
// is made, Qt's messages are held back: a fatal one ends the program with its one line and
// status 1 instead, and the others are passed on once Qt has started.

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <vector>

namespace tremira::platform {

struct QtMessage {
    QtMsgType type = QtDebugMsg;
    QByteArray category;
    QString text;
};

// Why Qt could not start a platform plugin, in Qt's words.
struct PlatformFailure {
    QString plugin;  // may be empty when Qt named none and none was asked for
    QString reason;
    bool missing = false;  // no file of the plugin that Qt could read
};

// The failure that Qt's fatal message ended, from what Qt said while it tried the plugins.
// `asked`: the platform named by "-platform" or QT_QPA_PLATFORM, if any.
PlatformFailure PlatformFailureOf(const QString &asked, const std::vector<QtMessage> &said, const QString &fatal);

// One line, Russian and English; a missing plugin's line names the Debian package with it.
QString PlatformFailureMessage(const PlatformFailure &failure);

// Ends the program with the failure's line on standard error and status 1. Nothing of Qt's
// half-made state is undone, as with Qt's own abort.
[[noreturn]] void EndWithPlatformFailure(const PlatformFailure &failure);

// Holds Qt's messages from its construction until passOn(); a fatal message meanwhile ends
// the program with the failure's line on standard error and status 1. One at a time.
class PlatformStart {
public:
    explicit PlatformStart(QString asked);
    PlatformStart(const PlatformStart &) = delete;
    PlatformStart &operator=(const PlatformStart &) = delete;
    ~PlatformStart();

    // Qt has started: what it said goes on to the terminal as usual.
    void passOn();

private:
    static void hold(QtMsgType type, const QMessageLogContext &context, const QString &text);

    QString m_asked;
    QtMessageHandler m_previous = nullptr;
    std::vector<QtMessage> m_said;
};

}  // namespace tremira::platform
