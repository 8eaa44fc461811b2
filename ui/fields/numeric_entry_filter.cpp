#include "ui/fields/numeric_entry_filter.h"

#include <QChar>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

#include <algorithm>

namespace tremira::ui {
namespace {

bool isNumberCharacter(QChar c) { return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char(','); }

bool isNumberText(QStringView text) { return std::ranges::all_of(text, isNumberCharacter); }

// A line edit undoes any change that leaves its text Invalid, so a paste (Shift+Insert, the
// context menu, a middle click) of what no typing could produce is refused whole.
class NumberCharactersValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString &input, int & /*cursor*/) const override {
        return isNumberText(input) ? Acceptable : Invalid;
    }
};

// Keys beyond the Unicode range (Qt::Key_Escape and up) carry no printable character.
bool isFunctionKey(int key) { return key >= Qt::Key_Escape; }

KeyVerdict filterFunctionKey(int key, Qt::KeyboardModifiers modifiers) {
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Ctrl+Enter types a line feed, not an Enter: discarded like any other character.
        return modifiers.testFlag(Qt::ControlModifier) ? KeyVerdict::Discard : KeyVerdict::MoveToNextField;
    case Qt::Key_Escape: return KeyVerdict::Discard;
    case Qt::Key_Backspace:
        // Ctrl+Backspace types character 127, not a Backspace: it deletes no word.
        return modifiers.testFlag(Qt::ControlModifier) ? KeyVerdict::Discard : KeyVerdict::Pass;
    default: return KeyVerdict::Pass;  // Tab, Delete, arrows, Home, End, Insert...
    }
}

// Ctrl with a Latin letter types a control code: Ctrl+H is Backspace (8), Ctrl+I Tab (9) and
// Ctrl+M Enter (13), which the filter treats as those keys; every other code is discarded, so
// the clipboard, undo and select-all shortcuts do nothing in these fields.
KeyVerdict filterControlLetter(int key) {
    switch (key) {
    case Qt::Key_H: return KeyVerdict::ActAsBackspace;
    case Qt::Key_I: return KeyVerdict::ActAsTab;
    case Qt::Key_M: return KeyVerdict::MoveToNextField;
    default: return KeyVerdict::Discard;
    }
}

void sendPlainKey(QObject *receiver, Qt::Key key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(receiver, &event);
}

}  // namespace

KeyVerdict FilterNumericKey(int key, Qt::KeyboardModifiers modifiers, QStringView text) {
    if (isFunctionKey(key)) return filterFunctionKey(key, modifiers);
    if (modifiers.testFlag(Qt::ControlModifier) && QChar::isLetter(static_cast<char32_t>(key))) {
        return filterControlLetter(key);  // a Cyrillic layout's letter is none of H, I, M
    }
    return isNumberText(text) ? KeyVerdict::Pass : KeyVerdict::Discard;
}

NumericEntryFilter::NumericEntryFilter(QObject *parent)
    : QObject(parent), m_numberCharacters(new NumberCharactersValidator(this)) {}

void NumericEntryFilter::watch(QLineEdit *field) {
    field->setAttribute(Qt::WA_InputMethodEnabled, false);
    field->setAcceptDrops(false);
    field->setValidator(m_numberCharacters);
    field->installEventFilter(this);
}

bool NumericEntryFilter::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::KeyPress) return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    switch (FilterNumericKey(key->key(), key->modifiers(), key->text())) {
    case KeyVerdict::Pass: return false;
    case KeyVerdict::MoveToNextField:
        // Queued, so that the move happens after this key event, exactly like a typed Tab.
        QCoreApplication::postEvent(watched, new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier));
        return true;
    case KeyVerdict::ActAsBackspace: sendPlainKey(watched, Qt::Key_Backspace); return true;
    case KeyVerdict::ActAsTab: sendPlainKey(watched, Qt::Key_Tab); return true;
    case KeyVerdict::Discard: return true;
    }
    return true;
}

}  // namespace tremira::ui
