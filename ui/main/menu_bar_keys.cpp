#include "ui/main/menu_bar_keys.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QShortcut>

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

}  // namespace tremira::ui
