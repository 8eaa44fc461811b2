// Typing into the window: the numeric entry filter in the real fields, Enter, the
// core-section suggestion while the welding current is typed, clicks into the fields.

#include <QClipboard>
#include <QMimeData>

#include "form1_fixture.h"
#include "tests/support/box_answerer.h"

using namespace user;
using tremira::testing::BoxAnswerer;

// Typed, pasted ("-160" once proposed a negative core section) or dropped.
TEST_F(Form1Test, NumericFieldsTakeOnlyNumberCharactersHoweverTheyCome) {
    QMimeData dragged;
    dragged.setText(QStringLiteral("x9"));
    // Dragged text goes through the window, which hands it to the control under the pointer.
    const auto drop = [&](QWidget *control) {
        const QPoint at = control->mapTo(&window, QPoint(5, control->height() / 2));
        QDragEnterEvent enter(at, Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.windowHandle(), &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent dropped(QPointF(at), Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.windowHandle(), &dropped);
        return true;
    };
    for (QLineEdit *field : ui.numericFields()) {
        SCOPED_TRACE(field->objectName().toStdString());
        retype(field, QStringLiteral("1a.-+ жЖ/e,5"));
        EXPECT_EQ(field->text(), QStringLiteral("1,5"));
        press(Qt::Key_Escape);
        type(field, QStringLiteral(",,"));  // the filter judges keys, not the whole text
        QGuiApplication::clipboard()->setText(QStringLiteral("-160"));
        press(Qt::Key_Insert, Qt::ShiftModifier);
        EXPECT_FALSE(drop(field));
        EXPECT_EQ(field->text(), QStringLiteral("1,5,,"));
    }
    ASSERT_TRUE(drop(ui.Combo1));  // an option list takes any text, dropped too
    EXPECT_TRUE(ui.Combo1->currentText().contains(QStringLiteral("x9")));
}

TEST_F(Form1Test, LongPasteIsNotCutAndReachesTheCalculation) {
    QGuiApplication::clipboard()->setText(QString(1'000'000, QLatin1Char('1')));
    retype(ui.Text4, QString());
    press(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(ui.Text4->text().size(), 1'000'000);
    BoxAnswerer answerer;
    calculateRunA();
    ASSERT_FALSE(answerer.boxes().empty());
    EXPECT_EQ(answerer.boxes()[0].text, QStringLiteral("Произошла ошибка: 6-Переполнение"));
}

// The move comes after the key event, as a typed Tab would.
TEST_F(Form1Test, EnterInANumericFieldMovesToTheNextControlAfterTheKeyAndNowhereElse) {
    const struct {
        QWidget *control;
        QWidget *next;
    } moves[] = {{ui.Text4, ui.Text3},    {ui.Text3, ui.Text2},   {ui.Text2, ui.Text1}, {ui.Text1, ui.Combo1},
                 {ui.Text10, ui.cndCalc}, {ui.Combo1, ui.Combo1}, {ui.Text5, ui.Text5}};
    for (const auto &m : moves) {
        SCOPED_TRACE(m.control->objectName().toStdString());
        m.control->setFocus();
        press(Qt::Key_Return);
        EXPECT_EQ(focusedControl(window), m.control);
        QCoreApplication::processEvents();
        EXPECT_EQ(focusedControl(window), m.next);
    }
}

TEST_F(Form1Test, CtrlHIAndMActAsBackspaceTabAndEnterWhileCtrlBackspaceDeletesNothing) {
    retype(ui.Text4, QStringLiteral("12,5"));
    press(Qt::Key_Backspace, Qt::ControlModifier);
    EXPECT_EQ(ui.Text4->text(), QStringLiteral("12,5"));
    press(Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(ui.Text4->text(), QStringLiteral("12,"));
    press(Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(focusedControl(window), ui.Text3);  // at once, as Tab
    press(Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(focusedControl(window), ui.Text3);  // after the key, as Enter
    QCoreApplication::processEvents();
    EXPECT_EQ(focusedControl(window), ui.Text2);
}

// Enter in a field presses no button; on the focused button it does.
TEST_F(Form1Test, EnterOrKeypadEnterPressesTheFocusedCalculateButtonAndEscapeDoesNothing) {
    type(ui.Text2, QStringLiteral("160"));
    for (const auto &[key, modifiers] :
         {std::pair{Qt::Key_Return, Qt::NoModifier}, std::pair{Qt::Key_Enter, Qt::KeypadModifier}}) {
        ui.Text5->clear();
        ui.cndCalc->setFocus();
        press(key, modifiers);
        EXPECT_FALSE(ui.Text5->text().isEmpty());
    }
    press(Qt::Key_Escape);  // no cancel button: the window stays as it is
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(focusedControl(window), ui.cndCalc);
}

// The core section is proposed at each change of the current, for the core type chosen then.
TEST_F(Form1Test, EachChangeOfTheCurrentProposesTheCoreSection) {
    type(ui.Text2, QStringLiteral("16"));
    EXPECT_EQ(ui.Text1->text(), QStringLiteral("8,4672"));
    QTest::keyClick(ui.Text2, Qt::Key_Backspace);
    EXPECT_EQ(ui.Text1->text(), QStringLiteral("0,5292"));
    QTest::keyClick(ui.Text2, Qt::Key_Backspace);
    EXPECT_EQ(ui.Text1->text(), QStringLiteral("0,5292"));  // an empty current proposes nothing
    type(ui.Text2, QStringLiteral("16"));
    retype(ui.Text1, QStringLiteral("99"));
    choose(ui.Combo3, 1);
    EXPECT_EQ(ui.Text1->text(), QStringLiteral("99"));  // the core type alone proposes nothing
    type(ui.Text2, QStringLiteral("0"));
    EXPECT_EQ(ui.Text1->text(), QStringLiteral("60,48"));
    QGuiApplication::clipboard()->setText(QStringLiteral(",,"));
    QTest::keyClick(ui.Text2, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(ui.Text2->text(), QStringLiteral("160,,"));
    EXPECT_EQ(ui.Text1->text(), QStringLiteral("60,48"));  // no number, no proposal
}

// A label lies under its field, so a click where its caption runs into the field still
// reaches the field.
TEST_F(Form1Test, AClickAtTheLeftEdgeOfEachFieldReachesTheField) {
    calculateRunA();  // the result fields get texts to put the cursor into
    for (QLineEdit *field : ui.numericFields() + ui.resultFields()) {
        SCOPED_TRACE(field->objectName().toStdString());
        ui.cndExit->setFocus();
        field->end(false);
        ASSERT_NE(field->cursorPosition(), 0);
        // Sent to the window, which hands the click to whatever lies on top at that point.
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {},
                          field->mapTo(&window, QPoint(2, field->height() / 2)));
        EXPECT_EQ(focusedControl(window), field);
        EXPECT_EQ(field->cursorPosition(), 0);
    }
}
