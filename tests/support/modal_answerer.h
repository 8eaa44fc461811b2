#pragma once
// Answers the modal windows that a command opens: their own event loop holds the test until
// someone closes them, so a timer looks for each new one and hands it to the test's answer.

#include <QTimer>
#include <QWidget>

#include <functional>

namespace tremira::testing {

class ModalAnswerer {
public:
    // answer is called once for each modal window that opens while the object lives.
    explicit ModalAnswerer(std::function<void(QWidget *)> answer);

private:
    void answerNewWindow();

    std::function<void(QWidget *)> m_answer;
    QTimer m_timer;
};

}  // namespace tremira::testing
