#pragma once
// Answers the modal message boxes that a command opens, with a click on OK, and records
// what each one showed.

#include <QMessageBox>
#include <QString>

#include <ostream>
#include <vector>

#include "tests/support/modal_answerer.h"

namespace tremira::testing {

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
    void answer(QWidget *window);

    std::vector<SeenBox> m_boxes;
    ModalAnswerer m_answerer;
};

}  // namespace tremira::testing
