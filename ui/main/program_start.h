#pragma once
// The parts of the start-up that come before the main window: the application's title,
// Qt's own texts in Russian, the refusal of a second copy, the program folder.

#include <QString>

class QCoreApplication;

namespace tremira::ui {

// Title and Russian Qt texts (box buttons, field context menus); call before any box.
void PrepareApplication(QCoreApplication &app);

// The box that a second copy shows before it ends.
void ShowAlreadyRunning();

// The executable's folder without a trailing "/": the root folder gives the empty text.
QString ProgramFolder(const QString &executableFolder);

}  // namespace tremira::ui
