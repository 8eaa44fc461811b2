#include "tests/support/modal_answerer.h"

#include <QApplication>

namespace tremira::testing {
namespace {

// Marks a window once it has been answered: the next box may reuse the last one's address.
constexpr char kAnswered[] = "answeredByTest";

}  // namespace

ModalAnswerer::ModalAnswerer(std::function<void(QWidget *)> answer) : m_answer(std::move(answer)) {
    QObject::connect(&m_timer, &QTimer::timeout, [this] { answerNewWindow(); });
    m_timer.start(5);
}

void ModalAnswerer::answerNewWindow() {
    QWidget *window = QApplication::activeModalWidget();
    if (!window || !window->isVisible() || window->property(kAnswered).toBool()) return;
    window->setProperty(kAnswered, true);
    m_answer(window);
}

}  // namespace tremira::testing
