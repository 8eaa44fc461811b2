#include "help/viewer/help_viewer.h"

#include "help/viewer/help_window.h"
#include "platform/helper_file_path.h"

namespace tremira::help {

void ShowHelp(const QString &readerProgram, const QString &fileName, std::optional<qint32> topic) {
    // One window for the whole run, made on the first request.
    static HelpWindow *const window = new HelpWindow(readerProgram);
    window->showHelp(fileName, topic);
}

QString HelpReaderProgram(const QString &programFolder) {
    return platform::HelperFilePath(programFolder, QStringLiteral("tremira-help-reader"),
                                    QStringLiteral(TREMIRA_LIBEXEC_FROM_PROGRAM_FOLDER));
}

}  // namespace tremira::help
