#pragma once
// The key filter of the numeric input fields: digits and the comma pass, Enter moves to the
// next field, every other character is discarded; Ctrl+H, Ctrl+I and Ctrl+M act as Backspace,
// Tab and Enter, every other Ctrl+letter key is discarded; keys that produce no character
// keep their usual effect.

#include <QObject>
#include <QStringView>
#include <Qt>

namespace tremira::ui {

enum class KeyVerdict { Pass, Discard, MoveToNextField, ActAsBackspace, ActAsTab };

KeyVerdict FilterNumericKey(int key, Qt::KeyboardModifiers modifiers, QStringView text);

// Applies FilterNumericKey to the key presses of the fields it is installed on.
class NumericEntryFilter : public QObject {
public:
    using QObject::QObject;

    // Also turns the input method and drops off: a committed or dropped text would bypass the
    // key filter.
    void watch(QWidget *field);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

}  // namespace tremira::ui
