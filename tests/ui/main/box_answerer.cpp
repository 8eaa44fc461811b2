#include "box_answerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>

std::ostream &operator<<(std::ostream &out, const SeenBox &box) {
    return out << "{\"" << box.text.toStdString() << "\", \"" << box.title.toStdString() << "\", icon "
               << static_cast<int>(box.icon) << ", buttons " << box.buttons.toInt() << "}";
}

BoxAnswerer::BoxAnswerer() {
    QObject::connect(&m_timer, &QTimer::timeout, [this] { answerOpenBox(); });
    m_timer.start(5);
}

void BoxAnswerer::answerOpenBox() {
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    m_boxes.push_back({box->text(), box->windowTitle(), box->icon(), box->standardButtons()});
    if (QAbstractButton *ok = box->button(QMessageBox::Ok)) {
        QTest::mouseClick(ok, Qt::LeftButton);
    } else {
        box->reject();  // recorded with its wrong buttons; the test fails on them
    }
}
