// Typing into the window: tab order, the numeric entry filter in real fields, Enter, the
// core-section suggestion while the welding current is typed.

#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>
#include <QTimer>

#include "form1_control_table.h"
#include "form1_fixture.h"
#include "tests/support/box_answerer.h"

using namespace user;
using tremira::testing::BoxAnswerer;

// The control table lists the controls in tab order, the mains voltage first.
TEST_F(Form1Test, TabVisitsEveryControlInOrderAndWrapsToMainsVoltage) {
    const QList<ControlPlace> order = ControlTable();
    ASSERT_FALSE(order.isEmpty());
    ASSERT_EQ(order.first().name, QStringLiteral("Text4"));
    ASSERT_EQ(focusedControl(window), ui.Text4);
    for (qsizetype i = 1; i <= order.size(); ++i) {
        press(Qt::Key_Tab);
        const QWidget *focused = focusedControl(window);
        ASSERT_NE(focused, nullptr);
        EXPECT_EQ(focused->objectName(), order[i % order.size()].name);
    }
}

TEST_F(Form1Test, NumericFieldsKeepOnlyDigitsAndCommas) {
    for (QLineEdit *field : {ui.Text4, ui.Text3, ui.Text2, ui.Text1, ui.Text10}) {
        SCOPED_TRACE(field->objectName().toStdString());
        retype(field, QStringLiteral("1a.-+ жЖ/e,5"));
        EXPECT_EQ(field->text(), QStringLiteral("1,5"));
        QTest::keyClick(field, Qt::Key_Escape);
        EXPECT_EQ(field->text(), QStringLiteral("1,5"));
        type(field, QStringLiteral(",,"));  // the filter judges keys, not the whole text
        EXPECT_EQ(field->text(), QStringLiteral("1,5,,"));
    }
}

TEST_F(Form1Test, ControlShortcutsDoNothingWhileKeysWithoutCharacterKeepTheirEffect) {
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("7"));
    QLineEdit *field = ui.Text4;
    retype(field, QStringLiteral("12"));

    press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(field->text(), QStringLiteral("12"));
    press(Qt::Key_A, Qt::ControlModifier);  // no select-all: the next digit is appended
    type(field, QStringLiteral("3"));
    EXPECT_EQ(field->text(), QStringLiteral("123"));
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(field->text(), QStringLiteral("123"));

    press(Qt::Key_Home, Qt::ShiftModifier);
    ASSERT_EQ(field->selectedText(), QStringLiteral("123"));
    press(Qt::Key_X, Qt::ControlModifier);
    press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(field->text(), QStringLiteral("123"));
    EXPECT_EQ(clipboard->text(), QStringLiteral("7"));

    press(Qt::Key_Insert, Qt::ControlModifier);  // copy
    EXPECT_EQ(clipboard->text(), QStringLiteral("123"));
    press(Qt::Key_Delete, Qt::ShiftModifier);  // cut
    EXPECT_EQ(field->text(), QString());
    clipboard->setText(QStringLiteral("4,5"));
    press(Qt::Key_Insert, Qt::ShiftModifier);  // paste
    EXPECT_EQ(field->text(), QStringLiteral("4,5"));
    press(Qt::Key_Home);
    press(Qt::Key_Delete);
    press(Qt::Key_Right);
    press(Qt::Key_Backspace);
    EXPECT_EQ(field->text(), QStringLiteral("5"));
}

TEST_F(Form1Test, ContextMenuPastesANumberTextAndSpeaksRussian) {
    QGuiApplication::clipboard()->setText(QStringLiteral("12,5"));
    QLineEdit *field = ui.Text2;
    QTimer menuAnswerer;
    QObject::connect(&menuAnswerer, &QTimer::timeout, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu) return;
        for (QAction *action : menu->actions()) {
            if (action->text().section(QLatin1Char('\t'), 0, 0) == QStringLiteral("В&ставить")) {
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
                return;
            }
        }
        menu->close();  // no Russian paste item: the field stays empty and the test fails
    });
    menuAnswerer.start(5);
    field->setFocus();
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), field->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(field, &event);

    ASSERT_TRUE(QTest::qWaitFor([&] { return !field->text().isEmpty(); }));
    EXPECT_EQ(field->text(), QStringLiteral("12,5"));
}

// "-160" in the welding current once proposed a negative core section.
TEST_F(Form1Test, PasteThatTypingCouldNotProduceChangesNoNumericField) {
    QGuiApplication::clipboard()->setText(QStringLiteral("-160"));
    for (QLineEdit *field : {ui.Text4, ui.Text3, ui.Text2, ui.Text1, ui.Text10}) {
        SCOPED_TRACE(field->objectName().toStdString());
        const QString before = field->text();
        QTest::mouseClick(field, Qt::LeftButton);
        press(Qt::Key_Insert, Qt::ShiftModifier);
        EXPECT_EQ(field->text(), before);
    }
    EXPECT_EQ(ui.Text1->text(), QString());
}

TEST_F(Form1Test, LongPasteIsNotCutAndReachesTheCalculation) {
    const QString million(1'000'000, QLatin1Char('1'));
    QGuiApplication::clipboard()->setText(million);
    retype(ui.Text4, QString());
    press(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(ui.Text4->text().size(), 1'000'000);

    type(ui.Text2, QStringLiteral("160"));
    BoxAnswerer answerer;
    click(ui.cndCalc);
    ASSERT_FALSE(answerer.boxes().empty());
    EXPECT_EQ(answerer.boxes()[0].text, QStringLiteral("Произошла ошибка: 6-Переполнение"));
}

TEST_F(Form1Test, EnterInsertsNothingAndMovesToTheNextFieldAfterTheKey) {
    const struct {
        QLineEdit *field;
        QWidget *next;
    } moves[] = {{ui.Text4, ui.Text3},
                 {ui.Text3, ui.Text2},
                 {ui.Text2, ui.Text1},
                 {ui.Text1, ui.Combo1},
                 {ui.Text10, ui.cndCalc}};
    for (const auto &move : moves) {
        SCOPED_TRACE(move.field->objectName().toStdString());
        retype(move.field, QStringLiteral("5"));
        press(Qt::Key_Return);
        EXPECT_EQ(focusedControl(window), move.field);  // the move comes after the key event
        ASSERT_TRUE(QTest::qWaitFor([&] { return focusedControl(window) == move.next; }));
        EXPECT_EQ(move.field->text(), QStringLiteral("5"));
    }
}

TEST_F(Form1Test, EnterInCurrentFieldDoesNotRunTheSuggestion) {
    type(ui.Text2, QStringLiteral("160"));
    retype(ui.Text1, QStringLiteral("50"));
    ui.Text2->setFocus();
    press(Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return focusedControl(window) == ui.Text1; }));
    EXPECT_EQ(ui.Text2->text(), QStringLiteral("160"));
    EXPECT_EQ(ui.Text1->text(), QStringLiteral("50"));
}

TEST_F(Form1Test, EnterInOptionListOrResultFieldDoesNotMoveTheFocus) {
    for (QWidget *control : {static_cast<QWidget *>(ui.Combo1), static_cast<QWidget *>(ui.Text5)}) {
        SCOPED_TRACE(control->objectName().toStdString());
        control->setFocus();
        press(Qt::Key_Return);
        QCoreApplication::processEvents();
        EXPECT_EQ(focusedControl(window), control);
    }
}

TEST_F(Form1Test, TypingTheCurrentProposesTheCoreSectionForEachKey) {
    const struct {
        const char *name;
        int coreType;
        const char *keys;
        std::vector<const char *> sections;  // Text1 after each key
    } cases[] = {
        {"rod core 160", 0, "160", {"0,5292", "8,4672", "84,672"}},
        {"toroid 160", 1, "160", {"0,378", "6,048", "60,48"}},
        {"leading zero", 0, "05", {"", "2,646"}},
        {"fraction", 0, "12,5", {"0,5292", "6,3504", "6,3504", "6,615"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        choose(ui.Combo3, c.coreType);
        retype(ui.Text2, QString());
        retype(ui.Text1, QString());
        const QString keys = QString::fromLatin1(c.keys);
        for (qsizetype i = 0; i < keys.size(); ++i) {
            type(ui.Text2, keys.mid(i, 1));
            EXPECT_EQ(ui.Text1->text(), QString::fromLatin1(c.sections[static_cast<std::size_t>(i)]))
                << "after " << keys.left(i + 1).toStdString();
        }
    }
}

TEST_F(Form1Test, DeletingTheCurrentProposesAgainAndKeepsTheLastProposalWhenEmpty) {
    type(ui.Text2, QStringLiteral("160"));
    const char *const afterEachBackspace[] = {"8,4672", "0,5292", "0,5292"};
    for (const char *expected : afterEachBackspace) {
        QTest::keyClick(ui.Text2, Qt::Key_Backspace);
        EXPECT_EQ(ui.Text1->text(), QString::fromLatin1(expected));
    }
    EXPECT_TRUE(ui.Text2->text().isEmpty());
}

TEST_F(Form1Test, ProposalOverwritesATypedSectionAndIgnoresTheCoreTypeUntilTheNextChange) {
    type(ui.Text2, QStringLiteral("16"));
    retype(ui.Text1, QStringLiteral("99"));
    choose(ui.Combo3, 1);
    EXPECT_EQ(ui.Text1->text(), QStringLiteral("99"));
    type(ui.Text2, QStringLiteral("0"));
    EXPECT_EQ(ui.Text1->text(), QStringLiteral("60,48"));
}

TEST_F(Form1Test, PastedCurrentThatIsNotANumberLeavesTheSectionAlone) {
    retype(ui.Text2, QStringLiteral("16"));
    QGuiApplication::clipboard()->setText(QStringLiteral(",,"));
    press(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(ui.Text2->text(), QStringLiteral("16,,"));
    EXPECT_EQ(ui.Text1->text(), QStringLiteral("8,4672"));
}

TEST_F(Form1Test, CtrlHIAndMActAsBackspaceTabAndEnterWhileCtrlBackspaceDeletesNothing) {
    retype(ui.Text4, QStringLiteral("12,5"));
    press(Qt::Key_Backspace, Qt::ControlModifier);
    EXPECT_EQ(ui.Text4->text(), QStringLiteral("12,5"));
    press(Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(ui.Text4->text(), QStringLiteral("12,"));
    press(Qt::Key_Home, Qt::ShiftModifier);
    press(Qt::Key_H, Qt::ControlModifier);  // deletes the selection, as Backspace does
    EXPECT_EQ(ui.Text4->text(), QString());

    press(Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(focusedControl(window), ui.Text3);  // at once, as Tab
    press(Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(focusedControl(window), ui.Text3);  // after the key, as Enter
    ASSERT_TRUE(QTest::qWaitFor([&] { return focusedControl(window) == ui.Text2; }));
    EXPECT_EQ(ui.Text3->text(), QStringLiteral("65"));
}

TEST_F(Form1Test, EnterWalksTheFieldsToTheCalculateButtonAndPressesIt) {
    ASSERT_EQ(focusedControl(window), ui.Text4);
    press(Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return focusedControl(window) == ui.Text3; }));
    press(Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return focusedControl(window) == ui.Text2; }));
    type(ui.Text2, QStringLiteral("160"));
    press(Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return focusedControl(window) == ui.Text1; }));
    EXPECT_TRUE(ui.Text5->text().isEmpty());  // Enter in a field presses no button
    ui.Text10->setFocus();
    press(Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return focusedControl(window) == ui.cndCalc; }));
    EXPECT_TRUE(ui.Text5->text().isEmpty());
    press(Qt::Key_Return);
    EXPECT_EQ(ui.Text5->text(), QStringLiteral("10400"));

    retype(ui.Text2, QStringLiteral("100"));
    ui.cndCalc->setFocus();
    press(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(ui.Text5->text(), QStringLiteral("6500"));
    press(Qt::Key_Escape);  // no cancel button: the window stays as it is
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(focusedControl(window), ui.cndCalc);
}

TEST_F(Form1Test, NumericFieldsTakeNoDroppedText) {
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
    for (QLineEdit *field : {ui.Text4, ui.Text3, ui.Text2, ui.Text1, ui.Text10}) {
        SCOPED_TRACE(field->objectName().toStdString());
        const QString before = field->text();
        EXPECT_FALSE(drop(field));
        EXPECT_EQ(field->text(), before);
    }
    ASSERT_TRUE(drop(ui.Combo1));  // an option list takes any text, dropped too
    EXPECT_TRUE(ui.Combo1->currentText().contains(QStringLiteral("x9")));
}

TEST_F(Form1Test, AClickAtTheLeftEdgeOfEachFieldReachesTheField) {
    type(ui.Text2, QStringLiteral("160"));
    click(ui.cndCalc);  // the result fields get texts to put the cursor into
    for (QLineEdit *field : {ui.Text4, ui.Text3, ui.Text2, ui.Text1, ui.Text10, ui.Text5, ui.Text6, ui.Text7, ui.Text8,
                             ui.Text9, ui.Text11, ui.Text12}) {
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
