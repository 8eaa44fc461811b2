#pragma once
// The parts of the start-up around the main window: the application's title, Qt's own texts
// in Russian, the refusal of a second copy, the program folder.

#include <QString>

class QCoreApplication;

namespace tremira::ui {

// The application's title and desktop entry; call before any window.
void PrepareApplication();

// Qt's own texts in Russian (box buttons, field context menus); call before any box. The
// first paint needs none of them, so the program installs them once its window is up.
void InstallQtTranslations(QCoreApplication &app);

// The box that a second copy shows before it ends.
void ShowAlreadyRunning();

// The executable's folder without a trailing "/": the root folder gives the empty text.
QString ProgramFolder(const QString &executableFolder);

}  // namespace tremira::ui
