#include "ui/about/link_label.h"

#include <QMouseEvent>

namespace tremira::ui {

void LinkLabel::mouseReleaseEvent(QMouseEvent *event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}

}  // namespace tremira::ui
