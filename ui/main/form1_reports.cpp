// Menu handlers of the report file and the printed report.

#include "ui/main/form1.h"

namespace tremira::ui {

void Form1::saveReport() {}

void Form1::printReport() {}

}  // namespace tremira::ui
