#include "help/viewer/help_viewer.h"

#include <QPointer>

#include "help/viewer/help_window.h"

namespace tremira::help {

void ShowHelp(const QString &fileName, std::optional<qint32> topic) {
    static QPointer<HelpWindow> window;
    if (!window) window = new HelpWindow;
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

}  // namespace tremira::help
