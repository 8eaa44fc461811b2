// The numeric entry filter as a function of one key, without a window.

#include <gtest/gtest.h>

#include "ui/fields/numeric_entry_filter.h"

using tremira::ui::FilterNumericKey;
using tremira::ui::KeyVerdict;

namespace {

struct KeyCase {
    const char *name;
    int key;
    Qt::KeyboardModifiers modifiers;
    const char16_t *text;
    KeyVerdict expected;
};

const KeyCase kKeyCases[] = {
    {"digit 0", Qt::Key_0, Qt::NoModifier, u"0", KeyVerdict::Pass},
    {"digit 9", Qt::Key_9, Qt::NoModifier, u"9", KeyVerdict::Pass},
    {"comma", Qt::Key_Comma, Qt::NoModifier, u",", KeyVerdict::Pass},
    {"period", Qt::Key_Period, Qt::NoModifier, u".", KeyVerdict::Discard},
    {"minus", Qt::Key_Minus, Qt::NoModifier, u"-", KeyVerdict::Discard},
    {"plus", Qt::Key_Plus, Qt::ShiftModifier, u"+", KeyVerdict::Discard},
    {"space", Qt::Key_Space, Qt::NoModifier, u" ", KeyVerdict::Discard},
    {"Latin letter", Qt::Key_E, Qt::NoModifier, u"e", KeyVerdict::Discard},
    {"Cyrillic letter", 0x0416, Qt::NoModifier, u"ж", KeyVerdict::Discard},
    {"Arabic-Indic digit", 0x0663, Qt::NoModifier, u"\u0663", KeyVerdict::Discard},
    {"Backspace", Qt::Key_Backspace, Qt::NoModifier, u"\b", KeyVerdict::Pass},
    {"Ctrl+Backspace (character 127)", Qt::Key_Backspace, Qt::ControlModifier, u"\x7f", KeyVerdict::Discard},
    {"Ctrl+H (8)", Qt::Key_H, Qt::ControlModifier, u"\b", KeyVerdict::ActAsBackspace},
    {"Ctrl+I (9)", Qt::Key_I, Qt::ControlModifier, u"\t", KeyVerdict::ActAsTab},
    {"Ctrl+M (13)", Qt::Key_M, Qt::ControlModifier, u"\r", KeyVerdict::MoveToNextField},
    {"Ctrl+J (10)", Qt::Key_J, Qt::ControlModifier, u"\n", KeyVerdict::Discard},
    {"Ctrl+Cyrillic Р (on the key of H)", 0x0420, Qt::ControlModifier, u"", KeyVerdict::Discard},
    {"Tab", Qt::Key_Tab, Qt::NoModifier, u"\t", KeyVerdict::Pass},
    {"Enter", Qt::Key_Return, Qt::NoModifier, u"\r", KeyVerdict::MoveToNextField},
    {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier, u"\r", KeyVerdict::MoveToNextField},
    {"Ctrl+Enter", Qt::Key_Return, Qt::ControlModifier, u"\n", KeyVerdict::Discard},
    {"Escape", Qt::Key_Escape, Qt::NoModifier, u"\x1b", KeyVerdict::Discard},
    {"Ctrl+C", Qt::Key_C, Qt::ControlModifier, u"\x03", KeyVerdict::Discard},
    {"Ctrl+V", Qt::Key_V, Qt::ControlModifier, u"\x16", KeyVerdict::Discard},
    {"Ctrl+Shift+Z", Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, u"\x1a", KeyVerdict::Discard},
    {"Delete", Qt::Key_Delete, Qt::NoModifier, u"\x7f", KeyVerdict::Pass},
    {"Home", Qt::Key_Home, Qt::NoModifier, u"", KeyVerdict::Pass},
    {"Shift+Insert", Qt::Key_Insert, Qt::ShiftModifier, u"", KeyVerdict::Pass},
    {"Ctrl+Insert", Qt::Key_Insert, Qt::ControlModifier, u"", KeyVerdict::Pass},
    {"F1", Qt::Key_F1, Qt::NoModifier, u"", KeyVerdict::Pass},
};

}  // namespace

TEST(FilterNumericKey, DigitsAndCommaPassControlCodesActAsTheirKeysOtherCharactersAreDiscarded) {
    for (const KeyCase &c : kKeyCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FilterNumericKey(c.key, c.modifiers, QStringView(c.text)), c.expected);
    }
}
