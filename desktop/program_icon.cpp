#include "desktop/program_icon.h"

namespace tremira::desktop {

QIcon ProgramIcon() {
    // Only the small sizes: Qt hands every size to the window system at start-up.
    QIcon icon;
    for (const int side : {16, 24, 32, 48, 64}) {
        icon.addFile(QStringLiteral(":/icons/%1.png").arg(side), QSize(side, side));
    }
    return icon;
}

QString DesktopFileName() { return QStringLiteral(TREMIRA_DESKTOP_ID); }

}  // namespace tremira::desktop
