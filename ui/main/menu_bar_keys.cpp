#include "ui/main/menu_bar_keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QProxyStyle>
#include <QShortcut>

namespace tremira::ui {
namespace {

// The application's style, drawn as it is, with the menu bar's keyboard mode switched on.
class KeyboardMenuBarStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override {
        if (hint == SH_MenuBar_AltKeyNavigation) return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

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
    QMenuBar *bar = window->menuBar();
    // A style of its own, made from the application style's name: a proxy owns its base style.
    auto *style = new KeyboardMenuBarStyle(QApplication::style()->name());
    style->setParent(bar);
    bar->setStyle(style);
    auto *f10 = new QShortcut(QKeySequence(Qt::Key_F10), window);
    QObject::connect(f10, &QShortcut::activated, window, [window] { tapAlt(window); });
}

}  // namespace tremira::ui
