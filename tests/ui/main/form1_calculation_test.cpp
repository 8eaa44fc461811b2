// The calculate button: results, refusals and failures with their boxes and what follows
// them; the exit commands.

#include <QAction>
#include <QClipboard>
#include <QMenuBar>
#include <QTimer>

#include <functional>

#include "form1_fixture.h"
#include "tests/support/box_answerer.h"

using namespace user;
using tremira::testing::BoxAnswerer;
using tremira::testing::SeenBox;
using tremira::ui::Form1;

namespace {

const QString kInputError = QStringLiteral("Ошибка ввода!");
const QString kApplicationTitle = QStringLiteral("Тремира");

QStringList resultsOf(const Form1Controls &ui) {
    return {ui.Text5->text(), ui.Text6->text(),  ui.Text7->text(), ui.Text8->text(),
            ui.Text9->text(), ui.Text11->text(), ui.Text12->text()};
}

// Text5, Text6, Text7, Text8, Text9, Text11, Text12.
const QStringList kRunAResults{"10400", "83", "25", "6", "20", "5600", "48,19277"};
const QStringList kRunBResults{"10400", "117", "35", "10", "32", "4000", "47,86325"};

}  // namespace

TEST_F(Form1Test, RunAWritesTheResultsAndEnablesTheReports) {
    type(ui.Text2, QStringLiteral("160"));
    BoxAnswerer answerer;
    click(ui.cndCalc);
    EXPECT_TRUE(answerer.boxes().empty());
    EXPECT_EQ(ui.Text1->text(), QStringLiteral("84,672"));
    EXPECT_EQ(resultsOf(ui), kRunAResults);
    EXPECT_TRUE(ui.MFsave->isEnabled());
    EXPECT_TRUE(ui.MFprint->isEnabled());
    EXPECT_TRUE(ui.MScheck->isEnabled());
    EXPECT_EQ(ui.Text12->cursorPosition(), 0);  // a long result shows its leading digits
}

TEST_F(Form1Test, RunBWithAluminiumAndToroidWritesItsResults) {
    choose(ui.Combo1, 1);
    choose(ui.Combo2, 1);
    choose(ui.Combo3, 1);
    ASSERT_EQ(ui.Combo3->currentText(), QStringLiteral("Тор"));
    type(ui.Text2, QStringLiteral("160"));
    EXPECT_EQ(ui.Text1->text(), QStringLiteral("60,48"));
    BoxAnswerer answerer;
    click(ui.cndCalc);
    EXPECT_TRUE(answerer.boxes().empty());
    EXPECT_EQ(resultsOf(ui), kRunBResults);
}

TEST_F(Form1Test, EmptySectionIsSubstitutedBeforeCalculating) {
    type(ui.Text2, QStringLiteral("160"));
    retype(ui.Text1, QStringLiteral("0"));
    BoxAnswerer answerer;
    click(ui.cndCalc);
    EXPECT_EQ(ui.Text1->text(), QStringLiteral("84,672"));
    EXPECT_EQ(resultsOf(ui), kRunAResults);
}

TEST_F(Form1Test, TypedMaterialOutsideTheListCountsAsNoEntry) {
    ui.Combo1->setFocus();
    press(Qt::Key_A, Qt::ControlModifier);
    type(QApplication::focusWidget(), QStringLiteral("Сталь"));
    press(Qt::Key_Tab);
    EXPECT_EQ(ui.Combo1->currentText(), QStringLiteral("Сталь"));
    EXPECT_EQ(ui.Combo1->count(), 2);
    type(ui.Text2, QStringLiteral("160"));
    BoxAnswerer answerer;
    click(ui.cndCalc);
    // No entry is taken like aluminium: 48,19277 A at 5 A/mm² gives 10 instead of 6.
    EXPECT_EQ(ui.Text8->text(), QStringLiteral("10"));
    EXPECT_EQ(ui.Text9->text(), QStringLiteral("20"));
}

TEST_F(Form1Test, RefusalKeepsEarlierResultsAndEnabledReports) {
    type(ui.Text2, QStringLiteral("160"));
    {
        BoxAnswerer answerer;
        click(ui.cndCalc);
    }
    retype(ui.Text3, QStringLiteral("47"));
    BoxAnswerer answerer;
    click(ui.cndCalc);
    ASSERT_EQ(answerer.boxes().size(), 1U);
    EXPECT_EQ(resultsOf(ui), kRunAResults);
    EXPECT_TRUE(ui.MFsave->isEnabled());
    EXPECT_TRUE(ui.MFprint->isEnabled());
}

TEST_F(Form1Test, TypingIntoAResultFieldChangesNothing) {
    type(ui.Text2, QStringLiteral("160"));
    BoxAnswerer answerer;
    click(ui.cndCalc);
    QGuiApplication::clipboard()->setText(QStringLiteral("99"));
    for (QLineEdit *field : {ui.Text5, ui.Text12}) {
        SCOPED_TRACE(field->objectName().toStdString());
        const QString before = field->text();
        QTest::mouseClick(field, Qt::LeftButton);
        type(field, QStringLiteral("12a"));
        press(Qt::Key_Backspace);
        press(Qt::Key_Delete);
        press(Qt::Key_Insert, Qt::ShiftModifier);
        press(Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(field->text(), before);
    }
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

TEST_P(StoppedRunTest, ShowsItsBoxesThenItsActionAndKeepsResultsAndReports) {
    const StoppedRun &run = GetParam();
    run.enter(ui);
    BoxAnswerer answerer;
    click(ui.cndCalc);
    EXPECT_EQ(answerer.boxes(), run.boxes);
    EXPECT_EQ(ui.Text1->text(), QString::fromUtf8(run.sectionAfter));
    QWidget *expectedFocus = run.focusAfter ? static_cast<QWidget *>(ui.*run.focusAfter) : ui.cndCalc;
    EXPECT_EQ(focusedControl(window), expectedFocus);
    for (const QString &result : resultsOf(ui)) EXPECT_TRUE(result.isEmpty());
    EXPECT_FALSE(ui.MFsave->isEnabled());
    EXPECT_FALSE(ui.MFprint->isEnabled());
    EXPECT_FALSE(ui.MScheck->isEnabled());
}

namespace {

SeenBox inputError(const char *text) { return {QString::fromUtf8(text), kInputError, QMessageBox::Critical}; }

SeenBox errorTrap(const char *text) { return {QString::fromUtf8(text), kApplicationTitle, QMessageBox::Information}; }

// The current typed, the proposal removed again: the calculation substitutes its own.
void currentWithEmptySection(const Form1Controls &ui, const char *current) {
    type(ui.Text2, QString::fromLatin1(current));
    retype(ui.Text1, QString());
}

const StoppedRun kStoppedRuns[] = {
    {"EmptyCurrent", [](const Form1Controls &) {}, {inputError("Не все поля заполнены!")}, "", nullptr},
    {"OutputEqualToMains",
     [](const Form1Controls &w) {
         retype(w.Text3, QStringLiteral("220"));
         type(w.Text2, QStringLiteral("160"));
     },
     {inputError("Выходное напряжение больше или равно входному!")},
     "84,672",
     nullptr},
    {"InductionAtLimit",
     [](const Form1Controls &w) {
         retype(w.Text10, QStringLiteral("1,9"));
         type(w.Text2, QStringLiteral("160"));
     },
     {inputError("Значение Макс. индукции завышено! Исправте значение")},
     "84,672",
     nullptr},
    {"CurrentBelow25EmptiesTheSection",
     [](const Form1Controls &w) { type(w.Text2, QStringLiteral("24")); },
     {inputError("Ток сварки слишком мал! Введите другое значение.")},
     "",
     nullptr},
    {"ToroidSectionBelowLimit",
     [](const Form1Controls &w) {
         choose(w.Combo3, 1);
         currentWithEmptySection(w, "25");
     },
     {inputError("Сечение сердечника слишком мало! Введите другое значение или оставте поле пустым,\r"
                 "программа сама подставит нужное значение.")},
     "9,45",
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
     {errorTrap("Произошла ошибка: 6-Переполнение"),
      {QStringLiteral("Введенное значение слишком мало!"), kApplicationTitle, QMessageBox::NoIcon}},
     "",
     &Form1Controls::Text1},
    {"ZeroInductionDividesByZero",
     [](const Form1Controls &w) {
         retype(w.Text10, QStringLiteral("0,0"));
         currentWithEmptySection(w, "160");
     },
     {errorTrap("Произошла ошибка: 11-Деление на ноль")},
     "84,672",
     nullptr},
    {"CurrentWithTwoCommasIsNoNumber",
     [](const Form1Controls &w) { type(w.Text2, QStringLiteral("1,2,3")); },
     {errorTrap("Произошла ошибка: 13-Несоответствие типа")},
     "0,63504",  // the proposal for "1,2": the longer texts are no number and propose nothing
     nullptr},
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(CalculateButton, StoppedRunTest, ::testing::ValuesIn(kStoppedRuns),
                         [](const auto &info) { return std::string(info.param.name); });

namespace {

// Runs the event loop as the program does and reports how it ended; a window that does not
// end it is stopped after a long wait with code 99.
int runUntilExit(const std::function<void()> &userAction) {
    QTimer::singleShot(0, userAction);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(60'000);
    return QCoreApplication::exec();
}

}  // namespace

TEST_F(Form1Test, ExitButtonEndsTheProgramAtOnce) {
    EXPECT_EQ(runUntilExit([this] { click(ui.cndExit); }), 0);
}

TEST_F(Form1Test, EnterOnTheFocusedExitButtonEndsTheProgram) {
    EXPECT_EQ(runUntilExit([this] {
                  ui.cndExit->setFocus();
                  press(Qt::Key_Return);
              }),
              0);
}

TEST_F(Form1Test, ExitMenuItemEndsTheProgramAtOnce) {
    EXPECT_EQ(runUntilExit([this] {
                  QMenuBar *bar = window.menuBar();
                  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(ui.mfile->menuAction()).center());
                  if (!QTest::qWaitFor([this] { return ui.mfile->isVisible(); })) return;
                  QTest::mouseClick(ui.mfile, Qt::LeftButton, {}, ui.mfile->actionGeometry(ui.MFexit).center());
              }),
              0);
}
