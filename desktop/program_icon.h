#pragma once
// The program as the desktop knows it: its icon and the name of its desktop entry.

#include <QIcon>
#include <QString>

namespace tremira::desktop {

// The window's icon at the sizes a title bar and a task bar show, rendered at build time from
// the same drawing as the installed icons.
QIcon ProgramIcon();

// The desktop entry's name without ".desktop": a Wayland desktop finds the program's menu
// entry, and with it the icon, by this name.
QString DesktopFileName();

}  // namespace tremira::desktop
