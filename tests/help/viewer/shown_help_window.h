#pragma once
// The help window as a user finds it after a request to the viewer.

#include <QApplication>
#include <QTreeWidget>

#include <optional>

#include "help/viewer/help_viewer.h"
#include "help/viewer/help_window.h"

namespace tremira::testing {

// The viewer as the program calls it, with the help reader of the build.
inline void ShowHelpWithBuiltReader(const QString &fileName, std::optional<qint32> topic) {
    help::ShowHelp(QStringLiteral(TREMIRA_HELP_READER), fileName, topic);
}

// Asks the viewer for a topic and returns the help window it shows; none unless exactly one
// help window is shown.
inline help::HelpWindow *OpenHelp(const QString &fileName, std::optional<qint32> topic) {
    ShowHelpWithBuiltReader(fileName, topic);
    QList<help::HelpWindow *> shown;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *found = qobject_cast<help::HelpWindow *>(window); found && found->isVisible()) shown.append(found);
    }
    return shown.size() == 1 ? shown.first() : nullptr;
}

inline help::HelpPage *ShownPage(const help::HelpWindow *window) {
    return window->findChild<help::HelpPage *>(QStringLiteral("page"));
}

inline QTreeWidget *ShownContents(const help::HelpWindow *window) {
    return window->findChild<QTreeWidget *>(QStringLiteral("contents"));
}

}  // namespace tremira::testing
