// The design check window: the shown design, the answers recomputed at each typed key, the
// key filter, the clipboard summary, closing, F1, the keyboard, the size and the names a
// screen reader reads. The tests run on a 1280 × 1024 screen at scale 2 (CMakeLists.txt).

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "help/context_help_filter.h"
#include "tests/reports/run_a.h"
#include "tests/reports/tool_output.h"
#include "tests/support/box_answerer.h"
#include "tests/support/viewer_recorder.h"
#include "ui/check/form_check.h"
#include "ui/fields/whole_text_tooltip.h"

namespace {

using tremira::ui::FormCheck;
using tremira::ui::ShownDesign;

// A design as the main window shows it after the calculation, with the calculation's numbers.
ShownDesign calculated(const tremira::reports::DesignSnapshot &snapshot, tremira::calc::Int16 listIndex) {
    const tremira::calc::DesignOutcome outcome =
        tremira::calc::CalculateDesign({"220", "65", "160", "", "1,42", listIndex, listIndex, listIndex});
    return {.snapshot = snapshot,
            .inputs = *outcome.inputs,
            .results = *outcome.results,
            .materialI = tremira::calc::MaterialOf(listIndex),
            .materialII = tremira::calc::MaterialOf(listIndex)};
}

ShownDesign runA() { return calculated(tremira::reports::test::RunA(), 0); }

ShownDesign runBToroid() {
    ShownDesign d = calculated(tremira::reports::test::RunA(), 1);
    d.snapshot.Text1 = QStringLiteral("60,48");
    d.snapshot.Combo1 = d.snapshot.Combo2 = QStringLiteral("Алюминий");
    d.snapshot.Combo3 = QStringLiteral("Тор");
    d.snapshot.Text6 = QStringLiteral("117");
    d.snapshot.Text7 = QStringLiteral("35");
    d.snapshot.Text8 = QStringLiteral("10");
    d.snapshot.Text9 = QStringLiteral("32");
    return d;
}

class FormCheckTest : public ::testing::Test {
protected:
    void open(const ShownDesign &design) {
        m_form = std::make_unique<FormCheck>(design, m_contextHelp);
        m_form->show();
        QApplication::setActiveWindow(m_form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_form.get()));
    }
    QLineEdit *field(const char *name) const { return m_form->findChild<QLineEdit *>(QLatin1String(name)); }
    QString text(const char *name) const { return field(name)->text(); }
    QString focusName() const { return QApplication::focusWidget()->objectName(); }
    QString verdict(const char *name) const { return m_form->findChild<QLabel *>(QLatin1String(name))->text(); }
    // Real key presses into the field, through the window's key filter.
    void type(const char *name, const QString &keys) {
        QLineEdit *target = field(name);
        target->setFocus();
        QTest::keyClicks(target, keys);
    }

    const QString m_helpFile = QStringLiteral("/opt/tremira/Тремира.chm");
    tremira::testing::ViewerRecorder m_helpViewer;
    tremira::help::ContextHelpFilter m_contextHelp{m_helpFile, m_helpViewer.call()};
    std::unique_ptr<FormCheck> m_form;
};

TEST_F(FormCheckTest, ShowsTheDesignReadOnly) {
    open(runA());
    EXPECT_EQ(m_form->windowTitle(), QStringLiteral("Проверка и план намотки"));
    EXPECT_TRUE(m_form->isModal());
    const struct {
        const char *name;
        const char *text;
    } shown[] = {{"mainsVoltage", "220"},   {"outputVoltage", "65"},    {"weldingCurrent", "160"},
                 {"coreSection", "84,672"}, {"coreType", "Стержневой"}, {"induction", "1,42"},
                 {"turnsI", "83"},          {"turnsII", "25"},          {"wireSectionI", "6"},
                 {"wireSectionII", "20"},   {"voltsPerTurn", "2,637"},  {"wireNominalII", "3 × 3,00"}};
    for (const auto &s : shown) {
        SCOPED_TRACE(s.name);
        EXPECT_EQ(text(s.name), QString::fromUtf8(s.text));
        EXPECT_TRUE(field(s.name)->isReadOnly());
    }
    type("turnsI", QStringLiteral("9"));
    EXPECT_EQ(text("turnsI"), QStringLiteral("83"));
}

TEST_F(FormCheckTest, EveryAnswerFollowsTheTypedKeys) {
    open(runA());
    ASSERT_EQ(QApplication::focusWidget(), field("windowWidth"));
    EXPECT_EQ(text("fillFactor"), QStringLiteral("0,35"));
    EXPECT_EQ(text("windowArea"), QStringLiteral("ширина окна: не задано"));
    EXPECT_EQ(verdict("fillVerdict"), QStringLiteral("Итог: ширина окна: не задано"));
    EXPECT_EQ(text("testVoltsPerTurn"), QStringLiteral("пробная обмотка не задана"));

    type("windowWidth", QStringLiteral("4"));
    type("windowHeight", QStringLiteral("60"));
    EXPECT_EQ(text("windowArea"), QStringLiteral("240"));
    EXPECT_EQ(verdict("fillVerdict"), QStringLiteral("Итог: не помещается: нужно окно не меньше 2852 мм²"));
    type("windowWidth", QStringLiteral("0"));
    EXPECT_EQ(text("windowArea"), QStringLiteral("2400"));
    QTest::keyClick(field("windowWidth"), Qt::Key_Backspace);
    QTest::keyClick(field("windowWidth"), Qt::Key_Backspace);
    type("windowWidth", QStringLiteral("50"));
    EXPECT_EQ(text("copperArea"), QStringLiteral("998"));
    EXPECT_EQ(text("neededWindowArea"), QStringLiteral("2852"));
    EXPECT_EQ(text("windowArea"), QStringLiteral("3000"));
    EXPECT_EQ(text("fillPercent"), QStringLiteral("33"));
    EXPECT_EQ(verdict("fillVerdict"), QStringLiteral("Итог: помещается"));

    type("testTurns", QStringLiteral("10"));
    EXPECT_EQ(text("correctedTurnsI"), QStringLiteral("напряжение пробной обмотки: не задано"));
    type("testVoltage", QStringLiteral("24"));
    EXPECT_EQ(text("testVoltsPerTurn"), QStringLiteral("2,4"));
    EXPECT_EQ(text("correctedTurnsI"), QStringLiteral("92"));
    EXPECT_EQ(text("correctedTurnsII"), QStringLiteral("27"));
    EXPECT_EQ(text("actualInduction"), QStringLiteral("1,29"));
    EXPECT_EQ(verdict("inductionVerdict"), QStringLiteral("Итог: в норме"));
    EXPECT_EQ(verdict("voltageVerdict"), QStringLiteral("Итог: в норме"));
}

// An emptied fill factor is the usual 0,35, as tremira-calc --check takes it, and says so.
TEST_F(FormCheckTest, AnEmptyFillFactorIsTheUsualOne) {
    open(runA());
    type("windowWidth", QStringLiteral("50"));
    type("windowHeight", QStringLiteral("60"));
    field("fillFactor")->clear();
    EXPECT_EQ(field("fillFactor")->placeholderText(), QStringLiteral("0,35"));
    EXPECT_EQ(text("neededWindowArea"), QStringLiteral("2852"));
    EXPECT_EQ(verdict("fillVerdict"), QStringLiteral("Итог: помещается"));
}

TEST_F(FormCheckTest, NumericFieldsKeepOnlyDigitsAndCommasAndEnterMovesOn) {
    open(runA());
    type("windowWidth", QStringLiteral("4a.-9 e,5"));
    EXPECT_EQ(text("windowWidth"), QStringLiteral("49,5"));
    QTest::keyClick(field("windowWidth"), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([this] { return field("windowHeight")->hasFocus(); }));
    QTest::keyClicks(field("windowHeight"), QStringLiteral("60"));
    EXPECT_EQ(text("windowArea"), QStringLiteral("2970"));
}

TEST_F(FormCheckTest, AToroidAsksForTheInnerDiameterOnly) {
    open(runBToroid());
    EXPECT_FALSE(field("windowHeight")->isEnabled());
    type("windowWidth", QStringLiteral("100"));
    EXPECT_EQ(text("copperArea"), QStringLiteral("2290"));
    EXPECT_EQ(text("windowArea"), QStringLiteral("7854"));
    EXPECT_EQ(verdict("fillVerdict"), QStringLiteral("Итог: помещается"));
    EXPECT_EQ(text("wireNominalI"), QStringLiteral("3,75"));
}

TEST_F(FormCheckTest, CopyPutsThePlainTextSummaryOnTheClipboard) {
    open(runA());
    type("windowWidth", QStringLiteral("50"));
    type("windowHeight", QStringLiteral("60"));
    QGuiApplication::clipboard()->clear();
    QTest::mouseClick(m_form->findChild<QPushButton *>(QStringLiteral("copyButton")), Qt::LeftButton);
    const QString summary = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(summary.startsWith(QStringLiteral("Проверка и план намотки\n"))) << summary.toStdString();
    for (const char *line :
         {"\nРасчёт\n", "\nВитки I обмотки: 83\n", "\nШирина окна (мм): 50\n", "\nПлощадь окна (мм²): 3000\n",
          "\nИтог: помещается\n", "\nПровод II по IEC 60317 (мм): 3 × 3,00\n", "\nВитки пробной обмотки: \n",
          "\nМаксимальный ток I обмотки (А): 48,19277\n", "\nТолщина I обмотки t₁ (мм): 23,7\n"}) {
        SCOPED_TRACE(line);
        EXPECT_TRUE(summary.contains(QString::fromUtf8(line))) << summary.toStdString();
    }
    EXPECT_TRUE(m_form->isVisible());
}

TEST_F(FormCheckTest, CloseEndsTheWindow) {
    open(runA());
    QTest::mouseClick(m_form->findChild<QPushButton *>(QStringLiteral("closeButton")), Qt::LeftButton);
    EXPECT_FALSE(m_form->isVisible());
    EXPECT_EQ(m_form->result(), QDialog::Accepted);
}

TEST_F(FormCheckTest, F1InAFieldOpensTheCheckTopic) {
    qApp->installEventFilter(&m_contextHelp);
    open(runA());
    for (const char *name : {"windowWidth", "testVoltage"}) {
        field(name)->setFocus();
        QTest::keyClick(field(name), Qt::Key_F1);
    }
    qApp->removeEventFilter(&m_contextHelp);
    using tremira::testing::ViewerRequest;
    EXPECT_EQ(m_helpViewer.requests, (QList<ViewerRequest>{{m_helpFile, 9}, {m_helpFile, 9}}));
}

// Tab and Enter go from one typed field to the next, then to the buttons; the answers take
// the focus only from the mouse.
TEST_F(FormCheckTest, TabVisitsTheTypedFieldsAndTheButtonsOnly) {
    const QStringList rodChain{"windowWidth", "windowHeight", "fillFactor",      "testTurns",
                               "testVoltage", "copyButton",   "saveSheetButton", "closeButton"};
    QStringList toroidChain = rodChain;
    toroidChain.removeOne("windowHeight");  // a toroid's window is its inner diameter alone
    const struct {
        const char *name;
        ShownDesign design;
        QStringList chain;
    } cases[] = {{"rod core", runA(), rodChain}, {"toroid", runBToroid(), toroidChain}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        open(c.design);
        QStringList visited;
        for (qsizetype step = 0; step <= c.chain.size(); ++step) {
            visited << focusName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        EXPECT_EQ(visited, c.chain + QStringList{c.chain.first()});
    }
}

TEST_F(FormCheckTest, EnterMovesToTheNextTypedFieldAndNeverCloses) {
    open(runA());
    for (const char *next : {"windowHeight", "fillFactor", "testTurns", "testVoltage", "copyButton"}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        ASSERT_TRUE(QTest::qWaitFor([&] { return focusName() == QLatin1String(next); })) << next;
    }
    EXPECT_TRUE(m_form->isVisible());
}

TEST_F(FormCheckTest, EscapeClosesTheWindowWhereverTheFocusIs) {
    for (const char *name : {"windowWidth", "testVoltage", "voltsPerTurn", "copyButton"}) {
        SCOPED_TRACE(name);
        open(runA());
        auto *target = m_form->findChild<QWidget *>(QLatin1String(name));
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Escape);
        EXPECT_FALSE(m_form->isVisible());
        EXPECT_EQ(m_form->result(), QDialog::Rejected);
    }
}

TEST_F(FormCheckTest, OpensWithinTheScreensFreeAreaAndResizes) {
    open(runA());
    const QRect available = m_form->screen()->availableGeometry();
    ASSERT_EQ(available.size(), QSize(640, 512)) << "the tests' screen is 1280 × 1024 at scale 2";
    EXPECT_LE(m_form->width(), available.width());
    EXPECT_LE(m_form->height(), available.height());
    EXPECT_LT(m_form->minimumWidth(), m_form->maximumWidth());
    EXPECT_LT(m_form->minimumHeight(), m_form->maximumHeight());
    auto *scroll = m_form->findChild<QScrollArea *>();
    ASSERT_NE(scroll, nullptr);
    QApplication::processEvents();
    EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible()) << "the sections lie one under the other";
}

// A message in place of a figure is read whole in its field, not only in its tooltip.
TEST_F(FormCheckTest, EveryFieldShowsItsWholeText) {
    const struct {
        const char *name;
        ShownDesign design;
        const char *testTurns;
    } cases[] = {{"nothing typed", runA(), ""}, {"test voltage missing", runA(), "10"}, {"toroid", runBToroid(), ""}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        open(c.design);
        type("testTurns", QString::fromUtf8(c.testTurns));
        QApplication::processEvents();
        for (QLineEdit *shown : m_form->findChildren<QLineEdit *>()) {
            SCOPED_TRACE(shown->objectName().toStdString() + ": " + shown->text().toStdString());
            tremira::ui::ShowCutTextAsToolTip(shown);  // a text that does not fit becomes the tooltip
            EXPECT_EQ(shown->toolTip(), QString());
        }
    }
}

TEST_F(FormCheckTest, AScreenReaderNamesEveryFieldByItsCaptionAndEveryVerdictByItsSection) {
    open(runA());
    qsizetype captioned = 0;
    for (const QLabel *caption : m_form->findChildren<QLabel *>()) {
        if (!caption->buddy()) continue;
        ++captioned;
        SCOPED_TRACE(caption->text().toStdString());
        EXPECT_EQ(caption->buddy()->accessibleName(), caption->text());
    }
    EXPECT_EQ(captioned, m_form->findChildren<QLineEdit *>().size());
    const struct {
        const char *verdict, *name;
    } verdicts[] = {{"fillVerdict", "Итог: Окно сердечника"},
                    {"voltageVerdict", "Итог: Напряжение холостого хода"},
                    {"inductionVerdict", "Итог: Пробная обмотка (перемотка готового трансформатора)"}};
    for (const auto &v : verdicts) {
        EXPECT_EQ(m_form->findChild<QLabel *>(QLatin1String(v.verdict))->accessibleName(), QString::fromUtf8(v.name));
    }
}

// The plan's page: its own typed fields, then the buttons, and F1 there opens the plan's topic.
TEST_F(FormCheckTest, ThePlanPageTabsThroughItsTypedFieldsAndTakesTheCoreWindowFromTheCheck) {
    qApp->installEventFilter(&m_contextHelp);
    open(runA());
    type("windowWidth", QStringLiteral("50"));
    type("windowHeight", QStringLiteral("60"));
    m_form->findChild<QTabWidget *>()->setCurrentIndex(1);
    field("legWidth")->setFocus();
    const QStringList chain{"legWidth",           "legDepth",   "tapCount",        "lowestTapVoltage",
                            "secondMainsVoltage", "copyButton", "saveSheetButton", "closeButton"};
    QStringList visited;
    for (qsizetype step = 0; step <= chain.size(); ++step) {
        visited << focusName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(visited, chain + QStringList{chain.first()});
    QTest::keyClick(field("legWidth"), Qt::Key_F1);
    qApp->removeEventFilter(&m_contextHelp);
    EXPECT_EQ(m_helpViewer.requests, (QList<tremira::testing::ViewerRequest>{{m_helpFile, 10}}));
    EXPECT_EQ(text("buildI"), QStringLiteral("23,7"));
    type("windowHeight", QStringLiteral("0"));  // 600 mm: the builds thin as the check's window grows
    EXPECT_EQ(text("buildI"), QStringLiteral("2,4"));
}

TEST_F(FormCheckTest, SaveSheetWritesTheDesignTheCheckAndThePlanWhereTheUserChose) {
    QTemporaryDir folder;
    open(runA());
    QString suggested;
    m_form->setSheetFolder(folder.path());
    m_form->setSheetPathChooser([&suggested](QWidget *, const QString &path) {
        suggested = path;
        return path;
    });
    type("windowWidth", QStringLiteral("50"));
    type("windowHeight", QStringLiteral("60"));
    type("legWidth", QStringLiteral("70"));
    type("legDepth", QStringLiteral("121"));
    type("secondMainsVoltage", QStringLiteral("380"));
    QTest::mouseClick(m_form->findChild<QPushButton *>(QStringLiteral("saveSheetButton")), Qt::LeftButton);
    EXPECT_EQ(suggested, folder.filePath(QStringLiteral("лист.pdf")));
    const QString text =
        tremira::reports::test::ToolOutput(QStringLiteral("pdftotext"), {suggested, QStringLiteral("-")});
    for (const char *line : {"Проверка и план намотки", "Габаритная мощность (Вт): 10400", "Ширина окна (мм): 50",
                             "Сечение по сторонам S₀ (см²): 84,7", "Витки до второго напряжения: 143",
                             "Автомат (А): 50", "окно 50 × 60 мм"}) {
        SCOPED_TRACE(line);
        EXPECT_TRUE(text.contains(QString::fromUtf8(line))) << text.toStdString();
    }
}

TEST_F(FormCheckTest, ASheetThatCannotBeSavedSaysWhyInABox) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("нет/лист.pdf"));
    open(runA());
    m_form->setSheetPathChooser([&path](QWidget *, const QString &) { return path; });
    tremira::testing::BoxAnswerer answerer;
    QTest::mouseClick(m_form->findChild<QPushButton *>(QStringLiteral("saveSheetButton")), Qt::LeftButton);
    ASSERT_EQ(answerer.boxes().size(), 1u);
    EXPECT_EQ(answerer.boxes()[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(answerer.boxes()[0].text.contains(path)) << answerer.boxes()[0].text.toStdString();
    EXPECT_FALSE(QFile::exists(path));

    m_form->setSheetPathChooser([](QWidget *, const QString &) { return QString(); });  // the user declined
    QTest::mouseClick(m_form->findChild<QPushButton *>(QStringLiteral("saveSheetButton")), Qt::LeftButton);
    EXPECT_EQ(answerer.boxes().size(), 1u);
}

}  // namespace
