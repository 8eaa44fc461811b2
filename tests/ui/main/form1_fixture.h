#pragma once
// A freshly started main window, shown and active, and the key and mouse actions of a user.

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "ui/main/form1.h"

namespace user {

// The control that has the focus in the window (it gets the keys whenever the window is
// active); an option list counts for its own text part.
inline QWidget *focusedControl(const QWidget &window) {
    QWidget *focused = window.focusWidget();
    if (focused && qobject_cast<QComboBox *>(focused->parentWidget())) return focused->parentWidget();
    return focused;
}

inline void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

// One key per character, with the key code a keyboard gives for it (Cyrillic included).
inline void type(QWidget *target, const QString &text) {
    for (QChar c : text) {
        const auto key = static_cast<Qt::Key>(c.isLetter() ? c.toUpper().unicode() : c.unicode());
        QTest::sendKeyEvent(QTest::Click, target, key, QString(c), Qt::NoModifier);
    }
}

// Clicks into the field, deletes its text with Backspace and types the new one.
inline void retype(QLineEdit *field, const QString &text) {
    QTest::mouseClick(field, Qt::LeftButton);
    QTest::keyClick(field, Qt::Key_End);
    for (qsizetype i = field->text().size(); i > 0; --i) QTest::keyClick(field, Qt::Key_Backspace);
    type(field, text);
}

// Picks an entry of an option list with the arrow keys.
inline void choose(QComboBox *list, int index) {
    list->setFocus();
    for (int i = 0; i < list->count(); ++i) QTest::keyClick(list, Qt::Key_Up);
    for (int i = 0; i < index; ++i) QTest::keyClick(list, Qt::Key_Down);
}

inline void click(QWidget *button) { QTest::mouseClick(button, Qt::LeftButton); }

}  // namespace user

class Form1Test : public ::testing::Test {
protected:
    void SetUp() override {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    tremira::ui::Form1 window;
};
