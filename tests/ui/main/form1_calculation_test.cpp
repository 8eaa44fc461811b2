// The calculate button: each result bound to its field, the lists' entries bound to the
// calculation, refusals and failures with their boxes and what follows them; the exit commands.

#include <QTimer>

#include <functional>

#include "form1_fixture.h"
#include "tests/support/box_answerer.h"

using namespace user;
using tremira::testing::BoxAnswerer;
using tremira::testing::SeenBox;

namespace {

// Text5, Text6, Text7, Text8, Text9, Text11, Text12.
const QStringList kRunAResults{"10400", "83", "25", "6", "20", "5600", "48,19277"};

}  // namespace

TEST_F(Form1Test, RunAWritesEachResultIntoItsOwnReadOnlyFieldAndEnablesTheCommands) {
    BoxAnswerer answerer;
    calculateRunA();
    EXPECT_TRUE(answerer.boxes().empty());
    EXPECT_EQ(ui.Text1->text(), QStringLiteral("84,672"));
    EXPECT_EQ(ui.results(), kRunAResults);
    for (const QAction *command : {ui.MFsave, ui.MFprint, ui.MScheck}) EXPECT_TRUE(command->isEnabled());
    // The one result cut by its field shows its leading digits and its whole text as tooltip.
    EXPECT_EQ(ui.Text12->cursorPosition(), 0);
    for (const QLineEdit *field : ui.resultFields()) {
        EXPECT_EQ(field->toolTip(), field == ui.Text12 ? kRunAResults.last() : QString())
            << field->text().toStdString();
    }
    for (QLineEdit *field : {ui.Text5, ui.Text12}) {
        QTest::mouseClick(field, Qt::LeftButton);
        type(field, QStringLiteral("12a"));
        press(Qt::Key_Backspace);
        press(Qt::Key_Delete);
    }
    EXPECT_EQ(ui.results(), kRunAResults);
}

TEST_F(Form1Test, RunBTakesTheAluminiumAndToroidEntries) {
    choose(ui.Combo1, 1);
    choose(ui.Combo2, 1);
    choose(ui.Combo3, 1);
    type(ui.Text2, QStringLiteral("160"));
    BoxAnswerer answerer;
    click(ui.cndCalc);
    EXPECT_EQ(ui.results(), (QStringList{"10400", "117", "35", "10", "32", "4000", "47,86325"}));
}

// A typed text leaves Qt's current index where it was: the text shown decides, and no entry
// is taken like aluminium (10 instead of 6). A zero section is replaced by the proposal.
TEST_F(Form1Test, TypedMaterialOutsideTheListCountsAsNoEntryAndAZeroSectionIsSubstituted) {
    ui.Combo1->setFocus();
    press(Qt::Key_A, Qt::ControlModifier);
    type(QApplication::focusWidget(), QStringLiteral("Сталь"));
    press(Qt::Key_Tab);
    EXPECT_EQ(ui.Combo1->currentText(), QStringLiteral("Сталь"));
    EXPECT_EQ(ui.Combo1->count(), 2);
    type(ui.Text2, QStringLiteral("160"));
    retype(ui.Text1, QStringLiteral("0"));
    BoxAnswerer answerer;
    click(ui.cndCalc);
    EXPECT_EQ(ui.Text1->text(), QStringLiteral("84,672"));
    EXPECT_EQ(ui.Text8->text(), QStringLiteral("10"));
    EXPECT_EQ(ui.Text9->text(), QStringLiteral("20"));
}

TEST_F(Form1Test, RefusalKeepsEarlierResultsAndEnabledReports) {
    {
        BoxAnswerer answerer;
        calculateRunA();
    }
    retype(ui.Text3, QStringLiteral("47"));
    BoxAnswerer answerer;
    click(ui.cndCalc);
    ASSERT_EQ(answerer.boxes().size(), 1U);
    EXPECT_EQ(ui.results(), kRunAResults);
    EXPECT_TRUE(ui.MFsave->isEnabled());
}

struct StoppedRun {
    const char *name;
    std::function<void(const Form1Controls &)> enter;
    std::vector<SeenBox> boxes;
    const char *sectionAfter;                     // Text1 after the boxes
    QLineEdit *const Form1Controls::*focusAfter;  // nullptr: the focus stays on the button
};

void PrintTo(const StoppedRun &run, std::ostream *out) { *out << run.name; }

class StoppedRunTest : public Form1Test, public ::testing::WithParamInterface<StoppedRun> {};

TEST_P(StoppedRunTest, ShowsItsBoxesThenItsActionAndLeavesNoResults) {
    const StoppedRun &run = GetParam();
    run.enter(ui);
    BoxAnswerer answerer;
    click(ui.cndCalc);
    EXPECT_EQ(answerer.boxes(), run.boxes);
    EXPECT_EQ(ui.Text1->text(), QString::fromUtf8(run.sectionAfter));
    QWidget *expectedFocus = run.focusAfter ? static_cast<QWidget *>(ui.*run.focusAfter) : ui.cndCalc;
    EXPECT_EQ(focusedControl(window), expectedFocus);
    EXPECT_EQ(ui.results(), QStringList(7));
    for (const QAction *command : {ui.MFsave, ui.MFprint, ui.MScheck}) EXPECT_FALSE(command->isEnabled());
}

namespace {

const QString kTitle = QStringLiteral("Тремира");

SeenBox inputError(const char *text) {
    return {QString::fromUtf8(text), QStringLiteral("Ошибка ввода!"), QMessageBox::Critical};
}

// The current typed, the proposal removed again: the calculation substitutes its own.
void currentWithEmptySection(const Form1Controls &ui, const char *current) {
    type(ui.Text2, QString::fromLatin1(current));
    retype(ui.Text1, QString());
}

// One case for each action after the boxes, and each kind of box.
const StoppedRun kStoppedRuns[] = {
    {"EmptyCurrent", [](const Form1Controls &) {}, {inputError("Не все поля заполнены!")}, "", nullptr},
    {"CurrentBelow25EmptiesTheSection",
     [](const Form1Controls &w) { type(w.Text2, QStringLiteral("24")); },
     {inputError("Ток сварки слишком мал! Введите другое значение.")},
     "",
     nullptr},
    {"OutputBelow48MovesToOutput",
     [](const Form1Controls &w) {
         retype(w.Text3, QStringLiteral("47"));
         currentWithEmptySection(w, "160");
     },
     {inputError("Выходное напряжение мало! Введите другое значение.")},
     "84,672",
     &Form1Controls::Text3},
    {"MainsOverflowShowsTwoBoxesAndMovesToSection",
     [](const Form1Controls &w) {
         retype(w.Text4, QStringLiteral("40000"));
         currentWithEmptySection(w, "160");
     },
     {{QStringLiteral("Произошла ошибка: 6-Переполнение"), kTitle, QMessageBox::Information},
      {QStringLiteral("Введенное значение слишком мало!"), kTitle, QMessageBox::NoIcon}},
     "",
     &Form1Controls::Text1},
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(CalculateButton, StoppedRunTest, ::testing::ValuesIn(kStoppedRuns),
                         [](const auto &info) { return std::string(info.param.name); });

// Each runs the event loop as the program does; a window that does not end it is stopped
// after a long wait with code 99.
TEST_F(Form1Test, ExitButtonEnterOnItAndTheExitItemEachEndTheProgramAtOnce) {
    const std::function<void()> exits[] = {
        [this] { click(ui.cndExit); },
        [this] {
            ui.cndExit->setFocus();
            press(Qt::Key_Return);
        },
        [this] {
            if (openMenu(window, ui.mfile))
                QTest::mouseClick(ui.mfile, Qt::LeftButton, {}, ui.mfile->actionGeometry(ui.MFexit).center());
        },
    };
    for (const auto &exit : exits) {
        QTimer::singleShot(0, exit);
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        guard.start(60'000);
        EXPECT_EQ(QCoreApplication::exec(), 0);
    }
}
