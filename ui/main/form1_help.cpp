// Menu handlers of the help file and the About window.

#include "help/chelp.h"
#include "help/context_help_filter.h"
#include "ui/about/form_about.h"
#include "ui/main/form1.h"

namespace tremira::ui {

void Form1::showHelpContents() {
    // The window's own help number: nothing sets one, so the overview topic opens.
    const auto windowHelpNumber = static_cast<qint32>(m_contextHelp->topicOf(this));
    help::CHelp(m_helpViewer).Show(help::HelpFilePath(m_curDir), QStringLiteral("MyWindow"), windowHelpNumber);
}

void Form1::showAbout() {
    // Built anew for each opening; modal, so the main window takes no input meanwhile.
    FormAbout about;
    about.exec();
}

}  // namespace tremira::ui
