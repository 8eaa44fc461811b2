#pragma once
// Modal boxes with a single OK button; a box without a title of its own carries the
// application's title.

#include <QMessageBox>
#include <QString>

namespace tremira::calc {
struct UserMessage;
}

namespace tremira::ui {

void ShowMessage(QWidget *parent, const QString &text, const QString &title, QMessageBox::Icon icon);

void ShowUserMessage(QWidget *parent, const calc::UserMessage &message);

}  // namespace tremira::ui
