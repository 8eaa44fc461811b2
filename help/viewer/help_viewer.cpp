#include "help/viewer/help_viewer.h"

#include <QPointer>

#include "help/viewer/help_window.h"
#include "platform/program_parts.h"

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
    return platform::ProgramPart(programFolder, QStringLiteral("tremira-help-reader"),
                                 QStringLiteral(TREMIRA_LIBEXEC_FROM_PROGRAM_FOLDER));
}

}  // namespace tremira::help
