#include "tests/support/box_answerer.h"

#include <QAbstractButton>
#include <QTest>

namespace tremira::testing {

std::ostream &operator<<(std::ostream &out, const SeenBox &box) {
    return out << "{\"" << box.text.toStdString() << "\", \"" << box.title.toStdString() << "\", icon "
               << static_cast<int>(box.icon) << ", buttons " << box.buttons.toInt() << "}";
}

BoxAnswerer::BoxAnswerer() : m_answerer([this](QWidget *window) { answer(window); }) {}

void BoxAnswerer::answer(QWidget *window) {
    auto *box = qobject_cast<QMessageBox *>(window);
    if (!box) return;
    m_boxes.push_back({box->text(), box->windowTitle(), box->icon(), box->standardButtons()});
    if (QAbstractButton *ok = box->button(QMessageBox::Ok)) {
        QTest::mouseClick(ok, Qt::LeftButton);
    } else {
        box->reject();  // recorded with its wrong buttons; the test fails on them
    }
}

}  // namespace tremira::testing
