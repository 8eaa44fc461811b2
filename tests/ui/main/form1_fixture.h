#pragma once
// A freshly started main window, shown and active, and the key and mouse actions of a user.

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "help/chelp.h"
#include "reports/report_printer.h"
#include "tests/support/viewer_recorder.h"
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

// Opens a menu of the window's menu bar with a click on its title.
inline bool openMenu(QMainWindow &window, QMenu *menu) {
    QMenuBar *bar = window.menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    return QTest::qWaitFor([menu] { return menu->isVisible(); });
}

}  // namespace user

// The window's controls, found by their object names as a user finds them by their labels.
struct Form1Controls {
    explicit Form1Controls(const QWidget &window) : m_window(window) {}

    template <typename Control>
    Control *find(const char *name) const {
        return m_window.findChild<Control *>(QLatin1String(name));
    }

    QList<QLineEdit *> numericFields() const { return {Text4, Text3, Text2, Text1, Text10}; }
    QList<QLineEdit *> resultFields() const { return {Text5, Text6, Text7, Text8, Text9, Text11, Text12}; }
    QStringList results() const {
        QStringList texts;
        for (const QLineEdit *field : resultFields()) texts << field->text();
        return texts;
    }

    const QWidget &m_window;
    QLineEdit *const Text4 = find<QLineEdit>("Text4");
    QLineEdit *const Text3 = find<QLineEdit>("Text3");
    QLineEdit *const Text2 = find<QLineEdit>("Text2");
    QLineEdit *const Text1 = find<QLineEdit>("Text1");
    QLineEdit *const Text10 = find<QLineEdit>("Text10");
    QComboBox *const Combo1 = find<QComboBox>("Combo1");
    QComboBox *const Combo2 = find<QComboBox>("Combo2");
    QComboBox *const Combo3 = find<QComboBox>("Combo3");
    QLineEdit *const Text5 = find<QLineEdit>("Text5");
    QLineEdit *const Text6 = find<QLineEdit>("Text6");
    QLineEdit *const Text7 = find<QLineEdit>("Text7");
    QLineEdit *const Text8 = find<QLineEdit>("Text8");
    QLineEdit *const Text9 = find<QLineEdit>("Text9");
    QLineEdit *const Text11 = find<QLineEdit>("Text11");
    QLineEdit *const Text12 = find<QLineEdit>("Text12");
    QPushButton *const cndCalc = find<QPushButton>("cndCalc");
    QPushButton *const cndExit = find<QPushButton>("cndExit");
    QMenu *const mfile = find<QMenu>("mfile");
    QAction *const MFsave = find<QAction>("MFsave");
    QAction *const MFprint = find<QAction>("MFprint");
    QAction *const MFexit = find<QAction>("MFexit");
    QMenu *const MHelp = find<QMenu>("MHelp");
    QAction *const MHelpHTML = find<QAction>("MHelpHTML");
    QAction *const MHabout = find<QAction>("MHabout");
    QMenu *const MService = find<QMenu>("MService");
    QAction *const MScheck = find<QAction>("MScheck");
};

// The help file the window's help requests name.
inline QString HelpFile() { return tremira::help::HelpFilePath(QCoreApplication::applicationDirPath()); }

// A freshly started main window in the test program's folder, with a recorder in place of the
// help viewer.
class Form1Test : public ::testing::Test {
protected:
    void SetUp() override {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    // The reference design: the start values and a welding current of 160 A.
    void calculateRunA() {
        user::type(ui.Text2, QStringLiteral("160"));
        user::click(ui.cndCalc);
    }

    tremira::testing::ViewerRecorder helpViewer;
    tremira::ui::Form1 window{QCoreApplication::applicationDirPath(), helpViewer.call(),
                              tremira::reports::PrintModulePath(QCoreApplication::applicationDirPath())};
    const Form1Controls ui{window};
};
