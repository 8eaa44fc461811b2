#include "ui/about/link_label.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace tremira::ui {

// Tab reaches the link; a click leaves the focus where it was, as it always has.
LinkLabel::LinkLabel(const QString &text, QWidget *parent) : QLabel(text, parent) { setFocusPolicy(Qt::TabFocus); }

void LinkLabel::mouseReleaseEvent(QMouseEvent *event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}

void LinkLabel::keyPressEvent(QKeyEvent *event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        // A held key opens the address once.
        if (!event->isAutoRepeat()) emit clicked();
        event->accept();
        break;
    default: QLabel::keyPressEvent(event);
    }
}

// A label draws no focus of its own: the style's focus frame shows where Enter will act.
void LinkLabel::paintEvent(QPaintEvent *event) {
    QLabel::paintEvent(event);
    if (!hasFocus()) return;
    QStylePainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.backgroundColor = palette().color(backgroundRole());
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}

}  // namespace tremira::ui
