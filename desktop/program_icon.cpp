#include "desktop/program_icon.h"

#include <QImage>
#include <QPixmap>
#include <QResource>

namespace tremira::desktop {

QIcon ProgramIcon() {
    // Only the small sizes: Qt hands every size to the window system at start-up. Bare pixels,
    // not image files: reading one starts Qt's image readers, whose look through the image
    // format plugins made up most of the window's start after the fonts.
    QIcon icon;
    for (const int side : {16, 24, 32, 48, 64}) {
        const QResource pixels(QStringLiteral(":/icons/%1.rgba").arg(side));
        if (pixels.compressionAlgorithm() != QResource::NoCompression || pixels.size() != qint64(side) * side * 4) {
            continue;
        }
        icon.addPixmap(QPixmap::fromImage(QImage(pixels.data(), side, side, QImage::Format_RGBA8888)));
    }
    return icon;
}

QString DesktopFileName() { return QStringLiteral(TREMIRA_DESKTOP_ID); }

}  // namespace tremira::desktop
