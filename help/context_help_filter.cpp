#include "help/context_help_filter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

namespace tremira::help {

ContextHelpFilter::ContextHelpFilter(QString helpFile, ViewerCall viewer, QObject *parent)
    : QObject(parent), m_helpFile(std::move(helpFile)), m_viewer(std::move(viewer)) {}

void ContextHelpFilter::setTopic(const QObject *target, HelpTopic topic) {
    // A later object at the same address must not inherit the topic.
    if (!m_topics.contains(target)) {
        connect(target, &QObject::destroyed, this, [this](QObject *gone) { m_topics.remove(gone); });
    }
    m_topics.insert(target, topic);
}

HelpTopic ContextHelpFilter::topicOf(const QObject *target) const {
    return m_topics.value(target, HelpTopic::Overview);
}

HelpTopic ContextHelpFilter::currentTopic() const {
    if (const auto *menu = qobject_cast<const QMenu *>(QApplication::activePopupWidget())) {
        return menu->activeAction() ? topicOf(menu->activeAction()) : topicOf(menu);
    }
    // A menu bar entered by Alt has the focus with a title highlighted and its menu closed.
    if (const auto *bar = qobject_cast<const QMenuBar *>(QApplication::focusWidget())) {
        if (const QAction *title = bar->activeAction(); title && title->menu()) return topicOf(title->menu());
    }
    // The text part of an option list has the focus, not the list that carries the topic.
    for (const QObject *control = QApplication::focusWidget(); control; control = control->parent()) {
        if (m_topics.contains(control)) return m_topics.value(control);
    }
    return HelpTopic::Overview;
}

bool ContextHelpFilter::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) return QObject::eventFilter(watched, event);
    m_viewer(m_helpFile, static_cast<qint32>(currentTopic()));
    return true;
}

}  // namespace tremira::help
