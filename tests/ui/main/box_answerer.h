#pragma once
// Answers the modal message boxes that a handler opens, with a click on OK, and records
// what each one showed.

#include <QMessageBox>
#include <QString>
#include <QTimer>

#include <ostream>
#include <vector>

struct SeenBox {
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;

    friend bool operator==(const SeenBox &, const SeenBox &) = default;
};

std::ostream &operator<<(std::ostream &out, const SeenBox &box);

class BoxAnswerer {
public:
    BoxAnswerer();

    const std::vector<SeenBox> &boxes() const { return m_boxes; }

private:
    void answerOpenBox();

    QTimer m_timer;
    std::vector<SeenBox> m_boxes;
};
