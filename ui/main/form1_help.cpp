// Menu handlers of the help file and the About window.

#include "ui/main/form1.h"

namespace tremira::ui {

void Form1::showHelpContents() {}

void Form1::showAbout() {}

}  // namespace tremira::ui
