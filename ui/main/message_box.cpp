#include "ui/main/message_box.h"

#include <QGuiApplication>

#include "calc/design_calculation.h"
#include "ui/fields/utf8_text.h"

namespace tremira::ui {
namespace {

QMessageBox::Icon boxIcon(calc::MessageIcon icon) {
    switch (icon) {
    case calc::MessageIcon::Error: return QMessageBox::Critical;
    case calc::MessageIcon::Information: return QMessageBox::Information;
    case calc::MessageIcon::None: return QMessageBox::NoIcon;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void ShowMessage(QWidget *parent, const QString &text, const QString &title, QMessageBox::Icon icon) {
    // Linux window managers show an empty title as nothing at all: name the program instead.
    const QString caption = title.isEmpty() ? QGuiApplication::applicationDisplayName() : title;
    QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
    box.exec();
}

void ShowUserMessage(QWidget *parent, const calc::UserMessage &message) {
    ShowMessage(parent, ToQString(message.text), message.title ? ToQString(*message.title) : QString(),
                boxIcon(message.icon));
}

}  // namespace tremira::ui
