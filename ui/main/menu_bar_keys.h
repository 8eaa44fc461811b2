#pragma once
// The menu bar within reach of the keyboard under every widget style.

class QMainWindow;

namespace tremira::ui {

// F10 highlights the first menu title as Alt does; from there the arrows move through the
// menus, Enter opens an item and Escape leaves, also under styles (such as Adwaita) that keep
// the menu bar to the mouse. The menu bar keeps the look of the application's style.
void KeepMenuBarInKeyboardReach(QMainWindow *window);

}  // namespace tremira::ui
