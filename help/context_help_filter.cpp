#include "help/context_help_filter.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

#include "help/viewer_call.h"
#include "platform/help_viewer.h"

namespace tremira::help {

namespace {

constexpr char kHelpNumber[] = "helpNumber";
constexpr char kHelpFile[] = "helpFile";

qint32 helpNumberOf(const QObject *object) { return object ? object->property(kHelpNumber).toInt() : 0; }

// The highlighted item of an open menu, or the open menu itself when nothing is highlighted.
const QObject *highlightedMenuItem() {
    if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
        if (menu->activeAction()) return menu->activeAction();
        return menu->menuAction()->property(kHelpNumber).isValid() ? static_cast<QObject *>(menu->menuAction()) : menu;
    }
    return nullptr;
}

}  // namespace

qint32 currentHelpNumber() {
    if (const QObject *item = highlightedMenuItem()) return helpNumberOf(item);
    return helpNumberOf(QApplication::focusWidget());
}

bool ContextHelpFilter::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) return QObject::eventFilter(watched, event);
    const QString helpFile = qApp->property(kHelpFile).toString();
    viewer()(nullptr, helpFile, platform::HH_HELP_CONTEXT, currentHelpNumber());
    return true;
}

}  // namespace tremira::help
