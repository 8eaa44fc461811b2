#pragma once
// F1 anywhere in the program opens the help file at the topic of the focused control, or of
// the highlighted menu item (the open menu's own when none is highlighted) while a menu is open,
// or of the menu whose title is highlighted in the menu bar.
// Whatever has no topic of its own opens the overview.

#include <QHash>
#include <QObject>
#include <QString>

#include "help/help_topics.h"
#include "help/viewer_call.h"

namespace tremira::help {

class ContextHelpFilter : public QObject {
    Q_OBJECT
public:
    ContextHelpFilter(QString helpFile, ViewerCall viewer, QObject *parent = nullptr);

    void setTopic(const QObject *target, HelpTopic topic);
    HelpTopic topicOf(const QObject *target) const;

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    HelpTopic currentTopic() const;

    QString m_helpFile;
    ViewerCall m_viewer;
    QHash<const QObject *, HelpTopic> m_topics;
};

}  // namespace tremira::help
