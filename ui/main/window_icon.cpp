#include "ui/main/window_icon.h"

#include <QPainter>

namespace tremira::ui {
namespace {

constexpr int kIconSide = 33;

// Turns of one winding as horizontal bars across a leg of the core.
void drawWinding(QPainter &painter, int left, int width, int barHeight, const QColor &colour) {
    for (int top = 7; top + barHeight <= 26; top += barHeight + 1) {
        painter.fillRect(left, top, width, barHeight, colour);
    }
}

}  // namespace

QImage DrawWindowIcon() {
    QImage image(kIconSide, kIconSide, QImage::Format_RGB888);
    image.fill(QColor(240, 240, 240));
    QPainter painter(&image);
    // Core: a square frame of dark steel with a window in the middle.
    painter.fillRect(4, 3, 25, 27, QColor(70, 80, 95));
    painter.fillRect(11, 9, 11, 15, QColor(240, 240, 240));
    // Winding I: thin copper wire, many turns; winding II: thick wire, few turns.
    drawWinding(painter, 2, 11, 2, QColor(205, 110, 40));
    drawWinding(painter, 20, 11, 4, QColor(200, 30, 30));
    return image;
}

}  // namespace tremira::ui
