// The calculate button: results, refusals and failures with their boxes and what follows
// them; the exit commands.

#include <QAction>
#include <QClipboard>
#include <QMenuBar>
#include <QTimer>

#include <functional>

#include "form1_fixture.h"
#include "tests/platform/box_answerer.h"

using namespace user;
using tremira::testing::BoxAnswerer;
using tremira::testing::SeenBox;
using tremira::ui::Form1;

namespace {

const QString kInputError = QStringLiteral("Ошибка ввода!");
const QString kApplicationTitle = QStringLiteral("Тремира");

QStringList resultsOf(const Form1 &window) {
    return {window.Text5->text(), window.Text6->text(),  window.Text7->text(), window.Text8->text(),
            window.Text9->text(), window.Text11->text(), window.Text12->text()};
}

// Text5, Text6, Text7, Text8, Text9, Text11, Text12.
const QStringList kRunAResults{"10400", "83", "25", "6", "20", "5600", "48,19277"};
const QStringList kRunBResults{"10400", "117", "35", "10", "32", "4000", "47,86325"};

}  // namespace

TEST_F(Form1Test, RunAWritesTheResultsAndEnablesTheReports) {
    type(window.Text2, QStringLiteral("160"));
    BoxAnswerer answerer;
    click(window.cndCalc);
    EXPECT_TRUE(answerer.boxes().empty());
    EXPECT_EQ(window.Text1->text(), QStringLiteral("84,672"));
    EXPECT_EQ(resultsOf(window), kRunAResults);
    EXPECT_TRUE(window.MFsave->isEnabled());
    EXPECT_TRUE(window.MFprint->isEnabled());
    EXPECT_EQ(window.Text12->cursorPosition(), 0);  // a long result shows its leading digits
}

TEST_F(Form1Test, RunBWithAluminiumAndToroidWritesItsResults) {
    choose(window.Combo1, 1);
    choose(window.Combo2, 1);
    choose(window.Combo3, 1);
    ASSERT_EQ(window.Combo3->currentText(), QStringLiteral("Тор"));
    type(window.Text2, QStringLiteral("160"));
    EXPECT_EQ(window.Text1->text(), QStringLiteral("60,48"));
    BoxAnswerer answerer;
    click(window.cndCalc);
    EXPECT_TRUE(answerer.boxes().empty());
    EXPECT_EQ(resultsOf(window), kRunBResults);
}

TEST_F(Form1Test, EmptySectionIsSubstitutedBeforeCalculating) {
    type(window.Text2, QStringLiteral("160"));
    retype(window.Text1, QStringLiteral("0"));
    BoxAnswerer answerer;
    click(window.cndCalc);
    EXPECT_EQ(window.Text1->text(), QStringLiteral("84,672"));
    EXPECT_EQ(resultsOf(window), kRunAResults);
}

TEST_F(Form1Test, TypedMaterialOutsideTheListCountsAsNoEntry) {
    window.Combo1->setFocus();
    press(Qt::Key_A, Qt::ControlModifier);
    type(QApplication::focusWidget(), QStringLiteral("Сталь"));
    press(Qt::Key_Tab);
    EXPECT_EQ(window.Combo1->currentText(), QStringLiteral("Сталь"));
    EXPECT_EQ(window.Combo1->count(), 2);
    type(window.Text2, QStringLiteral("160"));
    BoxAnswerer answerer;
    click(window.cndCalc);
    // No entry is taken like aluminium: 48,19277 A at 5 A/mm² gives 10 instead of 6.
    EXPECT_EQ(window.Text8->text(), QStringLiteral("10"));
    EXPECT_EQ(window.Text9->text(), QStringLiteral("20"));
}

TEST_F(Form1Test, RefusalKeepsEarlierResultsAndEnabledReports) {
    type(window.Text2, QStringLiteral("160"));
    {
        BoxAnswerer answerer;
        click(window.cndCalc);
    }
    retype(window.Text3, QStringLiteral("47"));
    BoxAnswerer answerer;
    click(window.cndCalc);
    ASSERT_EQ(answerer.boxes().size(), 1U);
    EXPECT_EQ(resultsOf(window), kRunAResults);
    EXPECT_TRUE(window.MFsave->isEnabled());
    EXPECT_TRUE(window.MFprint->isEnabled());
}

TEST_F(Form1Test, TypingIntoAResultFieldChangesNothing) {
    type(window.Text2, QStringLiteral("160"));
    BoxAnswerer answerer;
    click(window.cndCalc);
    QGuiApplication::clipboard()->setText(QStringLiteral("99"));
    for (QLineEdit *field : {window.Text5, window.Text12}) {
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
    std::function<void(Form1 &)> enter;
    std::vector<SeenBox> boxes;
    const char *sectionAfter;       // Text1 after the boxes
    QLineEdit *Form1::*focusAfter;  // nullptr: the focus stays on the button
};

void PrintTo(const StoppedRun &run, std::ostream *out) { *out << run.name; }

class StoppedRunTest : public Form1Test, public ::testing::WithParamInterface<StoppedRun> {};

TEST_P(StoppedRunTest, ShowsItsBoxesThenItsActionAndKeepsResultsAndReports) {
    const StoppedRun &run = GetParam();
    run.enter(window);
    BoxAnswerer answerer;
    click(window.cndCalc);
    EXPECT_EQ(answerer.boxes(), run.boxes);
    EXPECT_EQ(window.Text1->text(), QString::fromUtf8(run.sectionAfter));
    QWidget *expectedFocus = run.focusAfter ? static_cast<QWidget *>(window.*run.focusAfter) : window.cndCalc;
    EXPECT_EQ(focusedControl(window), expectedFocus);
    for (const QString &result : resultsOf(window)) EXPECT_TRUE(result.isEmpty());
    EXPECT_FALSE(window.MFsave->isEnabled());
    EXPECT_FALSE(window.MFprint->isEnabled());
}

namespace {

SeenBox inputError(const char *text) { return {QString::fromUtf8(text), kInputError, QMessageBox::Critical}; }

SeenBox errorTrap(const char *text) { return {QString::fromUtf8(text), kApplicationTitle, QMessageBox::Information}; }

// The current typed, the proposal removed again: the calculation substitutes its own.
void currentWithEmptySection(Form1 &window, const char *current) {
    type(window.Text2, QString::fromLatin1(current));
    retype(window.Text1, QString());
}

const StoppedRun kStoppedRuns[] = {
    {"EmptyCurrent", [](Form1 &) {}, {inputError("Не все поля заполнены!")}, "", nullptr},
    {"OutputEqualToMains",
     [](Form1 &w) {
         retype(w.Text3, QStringLiteral("220"));
         type(w.Text2, QStringLiteral("160"));
     },
     {inputError("Выходное напряжение больше или равно входному!")},
     "84,672",
     nullptr},
    {"InductionAtLimit",
     [](Form1 &w) {
         retype(w.Text10, QStringLiteral("1,9"));
         type(w.Text2, QStringLiteral("160"));
     },
     {inputError("Значение Макс. индукции завышено! Исправте значение")},
     "84,672",
     nullptr},
    {"CurrentBelow25EmptiesTheSection",
     [](Form1 &w) { type(w.Text2, QStringLiteral("24")); },
     {inputError("Ток сварки слишком мал! Введите другое значение.")},
     "",
     nullptr},
    {"ToroidSectionBelowLimit",
     [](Form1 &w) {
         choose(w.Combo3, 1);
         currentWithEmptySection(w, "25");
     },
     {inputError("Сечение сердечника слишком мало! Введите другое значение или оставте поле пустым,\r"
                 "программа сама подставит нужное значение.")},
     "9,45",
     nullptr},
    {"OutputBelow48MovesToOutput",
     [](Form1 &w) {
         retype(w.Text3, QStringLiteral("47"));
         currentWithEmptySection(w, "160");
     },
     {inputError("Выходное напряжение мало! Введите другое значение.")},
     "84,672",
     &Form1::Text3},
    {"MainsOverflowShowsTwoBoxesAndMovesToSection",
     [](Form1 &w) {
         retype(w.Text4, QStringLiteral("40000"));
         currentWithEmptySection(w, "160");
     },
     {errorTrap("Произошла ошибка: 6-Переполнение"),
      {QStringLiteral("Введенное значение слишком мало!"), kApplicationTitle, QMessageBox::NoIcon}},
     "",
     &Form1::Text1},
    {"ZeroInductionDividesByZero",
     [](Form1 &w) {
         retype(w.Text10, QStringLiteral("0,0"));
         currentWithEmptySection(w, "160");
     },
     {errorTrap("Произошла ошибка: 11-Деление на ноль")},
     "84,672",
     nullptr},
    {"CurrentWithTwoCommasIsNoNumber",
     [](Form1 &w) { type(w.Text2, QStringLiteral("1,2,3")); },
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
    EXPECT_EQ(runUntilExit([this] { click(window.cndExit); }), 0);
}

TEST_F(Form1Test, ExitMenuItemEndsTheProgramAtOnce) {
    EXPECT_EQ(runUntilExit([this] {
                  QMenuBar *bar = window.menuBar();
                  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(window.mfile->menuAction()).center());
                  if (!QTest::qWaitFor([this] { return window.mfile->isVisible(); })) return;
                  QTest::mouseClick(window.mfile, Qt::LeftButton, {},
                                    window.mfile->actionGeometry(window.MFexit).center());
              }),
              0);
}
