#pragma once
// A label that acts on a click, as the About window's address links do.

#include <QLabel>

namespace tremira::ui {

class LinkLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

}  // namespace tremira::ui
