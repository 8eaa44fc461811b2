#pragma once
// The parts of the start-up that come before the main window: the application's title,
// Qt's own texts in Russian, the refusal of a second copy, the program folder.

#include <QString>

class QCoreApplication;

namespace tremira::ui {

// Title and Russian Qt texts (box buttons, field context menus); call before any box.
void PrepareApplication(QCoreApplication &app);

// The program's windows in Fusion whatever widget style the desktop or the user chose (-style,
// QT_STYLE_OVERRIDE, a platform theme), with the colours that style or theme gave: the fields
// are laid out to the pixel and other styles pad them so much that their numbers are cut.
void UseOwnWidgetStyle();

// The box that a second copy shows before it ends.
void ShowAlreadyRunning();

// The executable's folder without a trailing "/": the root folder gives the empty text.
QString ProgramFolder(const QString &executableFolder);

}  // namespace tremira::ui
