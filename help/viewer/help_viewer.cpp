#include "help/viewer/help_viewer.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>

#include "help/viewer/help_window.h"

namespace tremira::help {

void ShowHelp(const QString &readerProgram, const QString &fileName, std::optional<qint32> topic) {
    static QPointer<HelpWindow> window;
    if (!window) window = new HelpWindow(readerProgram);
    if (window->openFile(fileName)) {
        if (topic)
            window->showContext(*topic);
        else
            window->showDefaultTopic();
    }
    window->show();
    window->raise();
    window->activateWindow();
}

QString HelpReaderProgram(const QString &programFolder) {
    const QString name = QStringLiteral("/tremira-help-reader");
    const QString beside = programFolder + name;
    if (QFileInfo::exists(beside)) return beside;
    // The installed libexec folder, relative to the installed program, comes from the install layout.
    return QDir::cleanPath(programFolder + QStringLiteral("/" TREMIRA_LIBEXEC_FROM_PROGRAM_FOLDER)) + name;
}

}  // namespace tremira::help
