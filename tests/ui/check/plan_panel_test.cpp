// The winding plan's panel: answers recomputed at each typed key, the taps table, reasons in
// place of impossible figures, the tab chain over the typed fields only, and the sheet it feeds.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

#include "help/context_help_filter.h"
#include "tests/reports/tool_output.h"
#include "tests/support/viewer_recorder.h"
#include "ui/check/plan_panel.h"

namespace tremira::ui {
namespace {

// Run A as the calculation gives it: 220 V, 65 V, 160 A, copper, a rod core.
PlanDesign runA() {
    const calc::DesignOutcome outcome = calc::CalculateDesign({"220", "65", "160", "", "1,42", 0, 0, 0});
    return {*outcome.inputs, *outcome.results, calc::Material::Copper, calc::Material::Copper};
}

// The check's window of Run A: 50 × 60 mm, k 0,35.
const CoreWindow kRunAWindow{50, 60, 0.35};

class PlanPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_panel = std::make_unique<PlanPanel>(m_contextHelp);
        m_panel->setDesign(runA());
        m_panel->setCoreWindow(kRunAWindow);
        m_panel->show();
        QApplication::setActiveWindow(m_panel.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_panel.get()));
    }
    QLineEdit *field(const char *name) const { return m_panel->findChild<QLineEdit *>(QLatin1String(name)); }
    QString text(const char *name) const { return field(name)->text(); }
    QString note(const char *name) const { return m_panel->findChild<QLabel *>(QLatin1String(name))->text(); }
    QTableWidget *taps() const { return m_panel->findChild<QTableWidget *>(QStringLiteral("taps")); }
    // Real key presses into the field, through the key filter; what was there is deleted first.
    void type(const char *name, const QString &keys) {
        QLineEdit *target = field(name);
        target->setFocus();
        target->selectAll();
        QTest::keyClick(target, Qt::Key_Delete);
        QTest::keyClicks(target, keys);
    }
    void typeLeg() {
        type("legWidth", QStringLiteral("70"));
        type("legDepth", QStringLiteral("121"));
    }

    tremira::testing::ViewerRecorder m_helpViewer;
    help::ContextHelpFilter m_contextHelp{QStringLiteral("/opt/tremira/Тремира.chm"), m_helpViewer.call()};
    std::unique_ptr<PlanPanel> m_panel;
};

TEST_F(PlanPanelTest, TheWorkedPlanFollowsTheTypedLeg) {
    EXPECT_EQ(text("coreFromSides"), QStringLiteral("не задано"));
    type("legWidth", QStringLiteral("70"));
    EXPECT_EQ(text("coreFromSides"), QStringLiteral("не задано"));
    type("legDepth", QStringLiteral("121"));
    const struct {
        const char *name;
        const char *text;
    } expected[] = {
        {"coreFromSides", "84,7"},
        {"buildI", "23,7"},
        {"buildII", "23,8"},
        // 37,89 m with 10 % is 41,68 m: 42 m to buy, and 41,68 m × 6 mm² × 8,89 g/cm³ is 2,223 kg.
        {"meanTurnI", "456,5"},
        {"lengthI", "37,9"},
        {"toBuyI", "42 м, 2,22 кг"},
        {"resistanceI", "0,1105"},
        {"meanTurnII", "605,8"},
        {"lengthII", "15,1"},
        {"toBuyII", "17 м, 2,96 кг"},
        {"resistanceII", "0,0133"},
        {"copperLosses", "596"},
        {"breaker", "50"},
        {"secondMainsTurns", "не задано"},
    };
    for (const auto &e : expected) {
        SCOPED_TRACE(e.name);
        EXPECT_EQ(text(e.name), QString::fromUtf8(e.text));
    }
    EXPECT_EQ(note("sectionMatch"), QStringLiteral("совпадает с S (в пределах 5 %)"));
    EXPECT_EQ(note("fitVerdict"), QStringLiteral("Окно: помещается"));
    EXPECT_EQ(note("socketNote"), QStringLiteral("не от бытовой розетки (до 16 А): нужна отдельная линия"));
    // Without a second mains voltage winding I is one wire, and there is no second breaker.
    EXPECT_EQ(text("outerTurnsI"), QStringLiteral("не задано"));
    EXPECT_EQ(text("secondMainsBreaker"), QStringLiteral("не задано"));

    type("legDepth", QStringLiteral("100"));
    EXPECT_EQ(text("coreFromSides"), QStringLiteral("70"));
    EXPECT_EQ(note("sectionMatch"), QStringLiteral("меньше S более чем на 5 %, расчёт сделан для S"));
}

TEST_F(PlanPanelTest, TapsAndTheSecondMainsVoltageFillTheirAnswers) {
    type("tapCount", QStringLiteral("4"));
    type("lowestTapVoltage", QStringLiteral("50"));
    const QStringList expected[] = {
        {QStringLiteral("108"), QStringLiteral("50,9"), QStringLiteral("1,1"), QString()},
        {QStringLiteral("98"), QStringLiteral("56,1"), QStringLiteral("1,21"), QString()},
        {QStringLiteral("90"), QStringLiteral("61,1"), QStringLiteral("1,32"), QString()},
        {QStringLiteral("83"), QStringLiteral("66,3"), QStringLiteral("1,43"), QString()},
    };
    ASSERT_EQ(taps()->rowCount(), 4);
    for (int row = 0; row < 4; ++row) {
        SCOPED_TRACE(row);
        QStringList cells;
        for (int column = 0; column < taps()->columnCount(); ++column) cells << taps()->item(row, column)->text();
        EXPECT_EQ(cells, expected[row]);
    }
    // A design of 90 V: its own tap, the last, is above the safe no-load voltage.
    const calc::DesignOutcome high = calc::CalculateDesign({"220", "90", "160", "", "1,42", 0, 0, 0});
    m_panel->setDesign({*high.inputs, *high.results, calc::Material::Copper, calc::Material::Copper});
    ASSERT_EQ(taps()->rowCount(), 4);
    EXPECT_EQ(taps()->item(2, 3)->text(), QString());
    EXPECT_EQ(taps()->item(3, 3)->text(), QStringLiteral("выше 80 В"));
    m_panel->setDesign(runA());

    typeLeg();
    type("secondMainsVoltage", QStringLiteral("380"));
    EXPECT_EQ(text("secondMainsTurns"), QStringLiteral("143"));
    // The lowest tap at 108 turns ends the design's own mains: those turns carry its current.
    EXPECT_EQ(text("lowerMainsTurns"), QStringLiteral("1–108: 6 мм²"));
    EXPECT_EQ(text("higherMainsTurns"), QStringLiteral("109–143: 3 мм²"));
    EXPECT_EQ(text("outerTurnsI"), QStringLiteral("109–143: 3 мм²"));
    EXPECT_EQ(text("secondMainsCurrent"), QStringLiteral("27,9"));
    EXPECT_EQ(text("secondMainsBreaker"), QStringLiteral("32"));
    EXPECT_EQ(note("secondSocketNote"), QStringLiteral("не от бытовой розетки (до 16 А): нужна отдельная линия"));
    type("secondMainsVoltage", QStringLiteral("220"));
    EXPECT_EQ(text("higherMainsTurns"), QStringLiteral("нет"));
}

TEST_F(PlanPanelTest, ImpossibleInputShowsAReasonInPlaceOfTheFigures) {
    const struct {
        const char *name;
        const char *field;
        const char *typed;
        const char *answer;
        const char *expected;
    } cases[] = {
        {"a lone comma", "legWidth", ",", "coreFromSides", "не число"},
        {"a zero side", "legDepth", "0", "coreFromSides", "вне разумных пределов"},
        {"a huge side", "legWidth", "1000000000", "meanTurnI", "вне разумных пределов"},
        {"nine taps", "tapCount", "9", "tapsNote", "вне разумных пределов"},
        {"a fraction of a tap", "tapCount", "2,5", "tapsNote", "вне разумных пределов"},
        {"taps without their lowest voltage", "tapCount", "3", "tapsNote", "не задано"},
        {"a zero second mains voltage", "secondMainsVoltage", "0", "secondMainsTurns", "вне разумных пределов"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        typeLeg();
        type(c.field, QString::fromUtf8(c.typed));
        const QString shown = QLatin1String(c.answer) == QLatin1String("tapsNote") ? note(c.answer) : text(c.answer);
        EXPECT_EQ(shown, QString::fromUtf8(c.expected));
        type(c.field, {});
    }
    type("tapCount", QStringLiteral("3"));
    type("lowestTapVoltage", QStringLiteral("65"));
    EXPECT_EQ(note("tapsNote"), QStringLiteral("нижнее напряжение отводов не ниже выходного"));
    EXPECT_EQ(taps()->rowCount(), 0);

    m_panel->setCoreWindow({});
    EXPECT_EQ(text("buildI"), QStringLiteral("не задано"));
    EXPECT_EQ(note("fitVerdict"), QStringLiteral("Окно: не задано"));
}

TEST_F(PlanPanelTest, TabAndEnterMoveOnlyBetweenTheTypedFields) {
    const char *chain[] = {"legWidth", "legDepth", "tapCount", "lowestTapVoltage", "secondMainsVoltage", "legWidth"};
    field(chain[0])->setFocus();
    for (std::size_t i = 1; i < std::size(chain); ++i) {
        SCOPED_TRACE(chain[i]);
        QTest::keyClick(QApplication::focusWidget(), i % 2 ? Qt::Key_Tab : Qt::Key_Return);
        QApplication::processEvents();  // Enter moves on through a queued Tab
        EXPECT_EQ(QApplication::focusWidget(), field(chain[i]));
    }
    for (QLineEdit *answer : m_panel->findChildren<QLineEdit *>()) {
        SCOPED_TRACE(answer->objectName().toStdString());
        EXPECT_EQ(answer->focusPolicy(), answer->isReadOnly() ? Qt::ClickFocus : Qt::StrongFocus);
        EXPECT_FALSE(answer->accessibleName().isEmpty());
        EXPECT_EQ(m_contextHelp.topicOf(answer), help::HelpTopic::WindingPlan);
    }
    EXPECT_EQ(field("tapCount")->accessibleName(), QStringLiteral("Число отводов"));
}

// 640 device-independent pixels: a 1280 × 1024 screen at QT_SCALE_FACTOR=2; the host scrolls
// the panel's height.
TEST_F(PlanPanelTest, FitsTheWidthOfASmallScreen) {
    typeLeg();
    type("tapCount", QStringLiteral("8"));
    type("lowestTapVoltage", QStringLiteral("20"));
    EXPECT_LE(m_panel->minimumSizeHint().width(), 600);
}

TEST_F(PlanPanelTest, AToroidAsksForTheRingsSides) {
    PlanDesign toroid = runA();
    toroid.inputs.coreType = calc::kToroidIndex;
    m_panel->setDesign(toroid);
    EXPECT_EQ(field("legWidth")->accessibleName(), QStringLiteral("Ширина кольца a (мм)"));
    EXPECT_EQ(field("legDepth")->accessibleName(), QStringLiteral("Высота кольца b (мм)"));
    type("legWidth", QStringLiteral("40"));
    EXPECT_TRUE(m_panel->summary().front().lines.contains(QStringLiteral("Ширина кольца a (мм): 40")));
}

TEST_F(PlanPanelTest, TheSheetHoldsThePlanAndTheDrawing) {
    typeLeg();
    type("tapCount", QStringLiteral("4"));
    type("lowestTapVoltage", QStringLiteral("50"));
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("лист.pdf"));
    const reports::WorkshopSheet sheet{
        QStringLiteral("План намотки"), m_panel->summary(),
        [this](QPainter &painter, const QRectF &area) { m_panel->paintDrawing(painter, area); }};
    ASSERT_FALSE(reports::SaveWorkshopSheet(pdf, sheet));
    const QString text = reports::test::ToolOutput(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    for (const char *figure :
         {"Сечение по сторонам S₀ (см²): 84,7", "Купить провода I: 57 м, 3,03 кг", "Купить провода II: 18 м, 3,18 кг",
          "Автомат (А): 50", "1. Витки 108, U хх (В) 50,9, B (Тл) 1,1", "стержень", "окно 50 × 60 мм",
          "I: 30,9 мм, II: 23,8 мм"}) {
        SCOPED_TRACE(figure);
        EXPECT_TRUE(text.contains(QString::fromUtf8(figure))) << text.toStdString();
    }
}

}  // namespace
}  // namespace tremira::ui
