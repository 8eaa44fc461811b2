#include "ui/main/menu_bar_keys.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QShortcut>
#include <QStyleOptionMenuItem>

namespace tremira::ui {
namespace {

// QMenuBar enters its keyboard mode only on a tap of Alt in its window: F10 hands it one, as
// a key press (which Qt first offers to the shortcuts, where the menu bar notes the Alt) and
// its release.
void tapAlt(QWidget *window) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &press);
    QCoreApplication::sendEvent(window, &release);
}

}  // namespace

void KeepMenuBarInKeyboardReach(QMainWindow *window) {
    auto *f10 = new QShortcut(QKeySequence(Qt::Key_F10), window);
    QObject::connect(f10, &QShortcut::activated, window, [window] { tapAlt(window); });
}

KeyboardMenuBarStyle::KeyboardMenuBarStyle() : QProxyStyle(QStringLiteral("Fusion")) {}

void KeyboardMenuBarStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                                       const QWidget *widget) const {
    // The menu bar holds the focus only while the keyboard moves through its titles.
    const auto *title = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
    if (element == CE_MenuBarItem && title && (title->state & State_Selected) && widget && widget->hasFocus()) {
        QStyleOptionMenuItem highlighted = *title;
        highlighted.state |= State_Sunken;
        QProxyStyle::drawControl(element, &highlighted, painter, widget);
        return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

}  // namespace tremira::ui
