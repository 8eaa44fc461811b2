#pragma once
// The menu bar within reach of the keyboard under every widget style.

#include <QProxyStyle>

class QMainWindow;

namespace tremira::ui {

// F10 highlights the first menu title as Alt does; from there the arrows move through the
// menus, Enter opens an item and Escape leaves. Styles that keep the menu bar to the mouse (such
// as Adwaita) never reach it: the program draws its windows in Fusion (UseOwnWidgetStyle).
void KeepMenuBarInKeyboardReach(QMainWindow *window);

// Fusion highlights a menu title only while its menu is open, so a title reached with F10 or
// Alt would show nothing: this style draws it as the open one is drawn.
class KeyboardMenuBarStyle : public QProxyStyle {
public:
    KeyboardMenuBarStyle();
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override;
};

}  // namespace tremira::ui
