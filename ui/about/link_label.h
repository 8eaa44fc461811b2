#pragma once
// A label that acts on a click, as the About window's address links do, and on Enter or Space
// once Tab has brought the keyboard focus to it.

#include <QLabel>

namespace tremira::ui {

class LinkLabel : public QLabel {
    Q_OBJECT
public:
    LinkLabel(const QString &text, QWidget *parent);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};

}  // namespace tremira::ui
