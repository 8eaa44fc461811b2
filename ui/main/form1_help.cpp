// Menu handlers of the help file and the About window.

#include "help/chelp.h"
#include "ui/about/form_about.h"
#include "ui/main/form1.h"

namespace tremira::ui {

void Form1::showHelpContents() {
    // The window's own help number: nothing sets it, so the overview topic (0) opens.
    const qint32 windowHelpNumber = property("helpNumber").toInt();
    help::CHelp().Show(help::HelpFilePath(CurDir), QStringLiteral("MyWindow"), windowHelpNumber);
}

void Form1::showAbout() {
    // Built anew for each opening; modal, so the main window takes no input meanwhile.
    FormAbout about;
    about.exec();
}

}  // namespace tremira::ui
