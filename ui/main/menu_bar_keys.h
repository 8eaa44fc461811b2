#pragma once
// The menu bar within reach of the keyboard under every widget style.

class QMainWindow;

namespace tremira::ui {

// F10 highlights the first menu title as Alt does; from there the arrows move through the
// menus, Enter opens an item and Escape leaves. Styles that keep the menu bar to the mouse (such
// as Adwaita) never reach it: the program draws its windows in Fusion (UseOwnWidgetStyle).
void KeepMenuBarInKeyboardReach(QMainWindow *window);

}  // namespace tremira::ui
