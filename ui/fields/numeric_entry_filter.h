#pragma once
// The key filter of the numeric input fields: digits and the comma pass, Enter moves to the
// next field, every other character is discarded; Ctrl+H, Ctrl+I and Ctrl+M act as Backspace,
// Tab and Enter, every other Ctrl+letter key is discarded; keys that produce no character
// keep their usual effect. A pasted text is taken only when typing could have produced it.

#include <QObject>
#include <QStringView>
#include <Qt>

class QLineEdit;
class QValidator;

namespace tremira::ui {

enum class KeyVerdict { Pass, Discard, MoveToNextField, ActAsBackspace, ActAsTab };

KeyVerdict FilterNumericKey(int key, Qt::KeyboardModifiers modifiers, QStringView text);

// Applies FilterNumericKey to the key presses of the fields it is installed on, and refuses
// whole a paste of anything but digits and commas.
class NumericEntryFilter : public QObject {
public:
    explicit NumericEntryFilter(QObject *parent = nullptr);

    // Also turns the input method and drops off: a committed or dropped text would bypass the
    // key filter.
    void watch(QLineEdit *field);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QValidator *m_numberCharacters;
};

}  // namespace tremira::ui
