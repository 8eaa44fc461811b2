#include "platform/help_viewer.h"

#include <QPointer>

#include "platform/help_window.h"

namespace tremira::platform {

QWidget *HtmlHelp(QWidget *, const QString &fileName, quint32 command, qint32 data) {
    if (command != HH_DISPLAY_TOPIC && command != HH_HELP_CONTEXT) return nullptr;
    static QPointer<HelpWindow> window;
    if (!window) window = new HelpWindow;
    if (window->openFile(fileName)) {
        if (command == HH_HELP_CONTEXT)
            window->showContext(data);
        else
            window->showDefaultTopic();
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

}  // namespace tremira::platform
