// The window "Проверка и план намотки": each figure of the check and the plan in the widget of
// its name, the main window's design read-only, the clipboard and the sheet with every section,
// and what only the window has: the key filter, Tab and Enter, F1, Escape, whole texts and the
// size. The figures themselves are the calculation's; the tests run on a 1280 × 1024 screen at
// scale 2 (CMakeLists.txt).

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "calc/design_check.h"
#include "colours/readable_colour.h"
#include "help/context_help_filter.h"
#include "tests/reports/run_a.h"
#include "tests/reports/tool_output.h"
#include "tests/support/box_answerer.h"
#include "tests/support/modal_answerer.h"
#include "tests/support/viewer_recorder.h"
#include "ui/check/connection_diagram.h"
#include "ui/check/form_check.h"
#include "ui/check/weld_chart.h"
#include "ui/fields/utf8_text.h"

namespace tremira::ui {
namespace {

// A design as the main window shows it after the calculation, with the calculation's numbers:
// Run A (220 V, 65 V, 160 A), its materials and core from list entry `listIndex`.
ShownDesign calculated(calc::Int16 listIndex) {
    const calc::DesignOutcome outcome =
        calc::CalculateDesign({"220", "65", "160", "", "1,42", listIndex, listIndex, listIndex});
    return {.snapshot = reports::test::RunA(), .inputs = *outcome.inputs, .results = *outcome.results};
}

ShownDesign runA() { return calculated(0); }
ShownDesign runBToroid() { return calculated(1); }  // aluminium on a toroid

// The typed fields' names and texts, in the order of calc::TypedFields.
constexpr std::array<const char *, 10> kTypedNames{"windowWidth",      "windowHeight",      "fillFactor", "testTurns",
                                                   "testVoltage",      "legWidth",          "legDepth",   "tapCount",
                                                   "lowestTapVoltage", "secondMainsVoltage"};
using Typed = std::array<const char *, 10>;

// Run A's window 50 × 60, its leg 70 × 121, 4 taps from 50 V and a second mains of 380 V.
constexpr Typed kRunATyped{"50", "60", "0,35", "10", "24", "70", "121", "4", "50", "380"};

calc::CheckOutcome checkOf(const ShownDesign &design, const Typed &t) {
    return calc::CheckDesign(
        {design.inputs, design.results, {t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7], t[8], t[9]}});
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
    QLabel *answer(const char *name) const { return m_form->findChild<QLabel *>(QLatin1String(name)); }
    static QString captionOf(const QFormLayout *form, const QWidget *shown) {
        const auto *caption = qobject_cast<QLabel *>(form->labelForField(const_cast<QWidget *>(shown)));
        return caption ? caption->text() : QString();
    }
    static QString accessibleText(const QWidget *widget, QAccessible::Text text) {
        return QAccessible::queryAccessibleInterface(const_cast<QWidget *>(widget))->text(text);
    }
    QString focusName() const { return QApplication::focusWidget()->objectName(); }
    QPushButton *button(const char *name) const { return m_form->findChild<QPushButton *>(QLatin1String(name)); }
    void showPage(int page) const { m_form->findChild<QTabWidget *>()->setCurrentIndex(page); }
    // Real key presses into the field, through the window's key filter; what was there goes first.
    void type(const char *name, const QString &keys) {
        QLineEdit *target = field(name);
        target->setFocus();
        target->selectAll();
        QTest::keyClick(target, Qt::Key_Delete);
        QTest::keyClicks(target, keys);
    }
    // Every field the window has typed in, in the order of calc::TypedFields: the plan's last.
    void typeAll(const Typed &typed) {
        for (std::size_t i = 0; i < typed.size(); ++i) {
            if (field(kTypedNames[i])) type(kTypedNames[i], QString::fromUtf8(typed[i]));
        }
    }

    // Each row of `sections` in the widget of its name, captioned and coloured as it stands.
    void expectShown(const std::vector<calc::FigureSection> &sections) const {
        for (const calc::FigureSection &section : sections) {
            SCOPED_TRACE(section.name);
            const auto *group = m_form->findChild<QGroupBox *>(ToQString(section.name));
            ASSERT_NE(group, nullptr);
            EXPECT_EQ(group->title(), ToQString(section.title));
            const auto *form = qobject_cast<QFormLayout *>(group->layout());
            for (const calc::FigureRow &row : section.rows) {
                SCOPED_TRACE(row.format.name);
                const QString caption = ToQString(row.format.caption);
                const QString text = ToQString(row.text);
                if (row.format.shown == calc::Shown::Input && !row.format.choices.empty()) {
                    const auto *choice = group->findChild<QComboBox *>(ToQString(row.format.name));
                    ASSERT_NE(choice, nullptr);
                    EXPECT_EQ(captionOf(form, choice), caption);
                    EXPECT_EQ(choice->currentText(), text);
                } else if (row.format.shown == calc::Shown::Input) {
                    const auto *typed = group->findChild<QLineEdit *>(ToQString(row.format.name));
                    ASSERT_NE(typed, nullptr);
                    EXPECT_EQ(captionOf(form, typed), caption);
                    EXPECT_EQ(typed->accessibleName(), caption);
                    if (row.known) {
                        // As typed; left empty, the value used stands greyed in it.
                        EXPECT_EQ(typed->text().isEmpty() ? typed->placeholderText() : typed->text(), text);
                    }
                } else if (row.format.shown == calc::Shown::Answer) {
                    const auto *answer = group->findChild<QLabel *>(ToQString(row.format.name));
                    ASSERT_NE(answer, nullptr);
                    EXPECT_EQ(captionOf(form, answer), caption);
                    EXPECT_EQ(answer->text(), text);
                    // Read once, as the answer; its caption labels it.
                    EXPECT_EQ(accessibleText(answer, QAccessible::Name), text);
                    EXPECT_EQ(accessibleText(answer, QAccessible::Description), QString());
                    // A reason in place of a figure stands out from the figures.
                    const QColor usual = QApplication::palette(answer).color(QPalette::WindowText);
                    EXPECT_EQ(answer->palette().color(QPalette::WindowText) == usual, row.known) << text.toStdString();
                } else if (row.format.shown == calc::Shown::Verdict) {
                    const auto *label = group->findChild<QLabel *>(ToQString(row.format.name));
                    ASSERT_NE(label, nullptr);
                    EXPECT_EQ(label->text(), caption + QStringLiteral(": ") + text);
                    EXPECT_EQ(accessibleText(label, QAccessible::Name), label->text()) << "the verdict with its answer";
                } else if (row.format.shown == calc::Shown::Note) {
                    const auto *label = group->findChild<QLabel *>(ToQString(row.format.name));
                    ASSERT_NE(label, nullptr);
                    EXPECT_EQ(label->text(), text);
                }
            }
            if (section.table.headers.empty()) continue;
            const auto *table = group->findChild<QTableWidget *>(ToQString(section.name));
            ASSERT_NE(table, nullptr);
            ASSERT_EQ(table->rowCount(), static_cast<int>(section.table.rows.size()));
            ASSERT_EQ(table->columnCount(), static_cast<int>(section.table.headers.size()));
            for (int r = 0; r < table->rowCount(); ++r) {
                for (int c = 0; c < table->columnCount(); ++c) {
                    const auto &cells = section.table.rows[static_cast<std::size_t>(r)];
                    EXPECT_EQ(table->item(r, c)->text(), ToQString(cells[static_cast<std::size_t>(c)]));
                }
            }
        }
    }

    const QString m_helpFile = QStringLiteral("/opt/tremira/Тремира.chm");
    testing::ViewerRecorder m_helpViewer;
    help::ContextHelpFilter m_contextHelp{m_helpFile, m_helpViewer.call()};
    std::unique_ptr<FormCheck> m_form;
};

// Typed key by key as a user types them, the plan's fields after the check's, every figure is
// the calculation's for the same texts: so each typed field reaches the calculation, and the
// check's fill follows the taps and the second mains voltage typed on the plan's page.
TEST_F(FormCheckTest, EveryFigureLandsInTheWidgetOfItsName) {
    const struct {
        const char *name;
        ShownDesign design;
        Typed typed;
    } cases[] = {{"nothing typed", runA(), {"", "", "0,35", "", "", "", "", "", "", ""}},
                 {"rod core, all typed", runA(), kRunATyped},
                 {"toroid, its hole and ring", runBToroid(), {"100", "", "0,35", "", "", "40", "20", "", "", ""}}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        open(c.design);
        typeAll(c.typed);
        const calc::CheckOutcome expected = checkOf(c.design, c.typed);
        expectShown(expected.check);
        expectShown(expected.plan);
        expectShown(expected.weld);
    }
    EXPECT_EQ(field("windowHeight"), nullptr) << "a toroid has no window height";
}

// The welding page's fields reach the calculation with the plan's, and its chart is told the
// same figures: Run A in a 50 × 80 window, four taps, 125 A measured on tap 98.
TEST_F(FormCheckTest, TheWeldingPageShowsTheWeldOfWhatWasTyped) {
    const ShownDesign design = runA();
    open(design);
    typeAll({"50", "80", "0,35", "", "", "70", "121", "4", "50", ""});
    type("measuredTurns", QStringLiteral("98"));
    type("measuredCurrent", QStringLiteral("125"));
    m_form->findChild<QComboBox *>(QStringLiteral("insulationClass"))->setCurrentText(QStringLiteral("F"));
    const calc::CheckOutcome expected = calc::CheckDesign({design.inputs,
                                                           design.results,
                                                           {.windowWidth = "50",
                                                            .windowHeight = "80",
                                                            .fillFactor = "0,35",
                                                            .legWidth = "70",
                                                            .legDepth = "121",
                                                            .tapCount = "4",
                                                            .lowestTapVoltage = "50",
                                                            .measuredTurns = "98",
                                                            .measuredCurrent = "125",
                                                            .insulationClass = "F"}});
    expectShown(expected.weld);
    EXPECT_EQ(answer("measuredReactance")->text(), QStringLiteral("0,3907"));
    const auto *chart = m_form->findChild<QWidget *>(QStringLiteral("weldChart"));
    EXPECT_EQ(chart->accessibleDescription(), WeldChartDescription(expected.chart));
    EXPECT_TRUE(chart->accessibleDescription().contains(u"98 вит.: 125 А без дросселя"_qs))
        << chart->accessibleDescription().toStdString();
}

// The plan page holds the drawing and the connection diagram of what was typed, whole, one beside
// or under the other.
TEST_F(FormCheckTest, ThePlanPageDrawsTheCoreAndTheConnectionsOfWhatWasTyped) {
    const ShownDesign design = runA();
    open(design);
    typeAll(kRunATyped);
    showPage(1);
    QApplication::processEvents();
    const auto *page = m_form->findChild<QWidget *>(QStringLiteral("planPage"));
    const auto *drawing = page->findChild<QWidget *>(QStringLiteral("windingDrawing"));
    const auto *diagram = page->findChild<QWidget *>(QStringLiteral("connectionDiagram"));
    ASSERT_TRUE(drawing && diagram);
    EXPECT_TRUE(drawing->accessibleDescription().contains(u"окно 50 × 60 мм, стержень a × b 70 × 121 мм"_qs))
        << drawing->accessibleDescription().toStdString();
    EXPECT_EQ(diagram->accessibleDescription(), ConnectionsDescription(checkOf(design, kRunATyped).connections));
    EXPECT_TRUE(diagram->accessibleDescription().contains(u"переключатель отводов (витки 83, 90, 98, 108)"_qs))
        << diagram->accessibleDescription().toStdString();
    EXPECT_TRUE(diagram->accessibleDescription().contains(u"сеть 380 В: начало и виток 143"_qs));
    const auto placed = [page](const QWidget *picture) {
        return QRect(picture->mapTo(page, QPoint(0, 0)), picture->size());
    };
    for (const QWidget *picture : {drawing, diagram}) {
        SCOPED_TRACE(picture->objectName().toStdString());
        EXPECT_GE(picture->width(), picture->minimumSizeHint().width());
        EXPECT_GE(picture->height(), picture->minimumSizeHint().height());
        EXPECT_TRUE(page->rect().contains(placed(picture)));
    }
    EXPECT_FALSE(placed(drawing).intersects(placed(diagram)));
}

// The main window's texts, read-only, before the check's own figures.
TEST_F(FormCheckTest, ShowsTheMainWindowsDesignReadOnly) {
    const ShownDesign design = runA();
    open(design);
    using S = reports::DesignSnapshot;
    const struct {
        const char *name;
        QString S::*text;
    } shown[] = {{"mainsVoltage", &S::Text4}, {"outputVoltage", &S::Text3},  {"weldingCurrent", &S::Text2},
                 {"coreSection", &S::Text1},  {"materialI", &S::Combo1},     {"materialII", &S::Combo2},
                 {"coreType", &S::Combo3},    {"induction", &S::Text10},     {"turnsI", &S::Text6},
                 {"turnsII", &S::Text7},      {"wireSectionI", &S::Text8},   {"wireSectionII", &S::Text9},
                 {"overallPower", &S::Text5}, {"requiredPower", &S::Text11}, {"currentI", &S::Text12}};
    for (const auto &s : shown) {
        SCOPED_TRACE(s.name);
        ASSERT_NE(answer(s.name), nullptr);
        EXPECT_EQ(answer(s.name)->text(), design.snapshot.*s.text);
    }
}

// The clipboard carries the check and the plan, every section; a blank fill factor is given as
// the value the calculation used.
TEST_F(FormCheckTest, TheClipboardCarriesEverySectionWithTheValuesUsed) {
    const ShownDesign design = runA();
    open(design);
    type("windowWidth", QStringLiteral("50"));
    type("windowHeight", QStringLiteral("60"));
    field("fillFactor")->clear();
    EXPECT_EQ(field("fillFactor")->placeholderText(), QStringLiteral("0,35"));
    const calc::CheckOutcome outcome = checkOf(design, {"50", "60", "", "", "", "", "", "", "", ""});
    std::vector<reports::SheetSection> sections;
    for (const auto *part : {&outcome.check, &outcome.plan, &outcome.weld}) {
        for (reports::SheetSection &section : reports::SheetSectionsOf(*part)) sections.push_back(std::move(section));
    }
    const QString usedFillFactor = QStringLiteral("Коэффициент заполнения: 0,35");

    QGuiApplication::clipboard()->clear();
    QTest::mouseClick(button("copyButton"), Qt::LeftButton);
    const QString summary = QGuiApplication::clipboard()->text();
    const QStringList copied = summary.split(QLatin1Char('\n'));
    EXPECT_EQ(copied.first(), QStringLiteral("Проверка и план намотки"));
    EXPECT_TRUE(copied.contains(usedFillFactor)) << summary.toStdString();
    EXPECT_TRUE(copied.contains(QStringLiteral("Витки I обмотки: 83"))) << "the main window's design";

    QStringList titles;  // the check's, the plan's and the welding page's; two have a section "Провод"
    for (const auto *part : {&outcome.check, &outcome.plan, &outcome.weld}) {
        for (const calc::FigureSection &section : *part) titles << ToQString(section.title);
    }
    for (const QString &title : titles) EXPECT_EQ(copied.count(title), titles.count(title)) << title.toStdString();
    for (const reports::SheetSection &section : sections) {
        for (const QString &line : section.lines) EXPECT_TRUE(copied.contains(line)) << line.toStdString();
    }
}

// The sheet goes where the path chooser says, offered in the report's folder, with the design's
// name as typed at the window's foot, the main window's design and inputs, the check's, the plan's and
// the welding page's tables, and the drawings; a name left blank is the sheet's own.
TEST_F(FormCheckTest, TheSheetCarriesTheTypedNameTheDesignAndEachPage) {
    const ShownDesign design = runA();
    open(design);
    typeAll(kRunATyped);
    QTemporaryDir folder;
    QString suggested;
    m_form->setSheetFolder(folder.path());
    m_form->setSheetPathChooser([&suggested](QWidget *, const QString &path) {
        suggested = path;
        return path;
    });
    for (const QString &name : {u"Welder 160 A"_qs, QString()}) {
        SCOPED_TRACE(name.toStdString());
        field("designName")->setFocus();
        field("designName")->selectAll();
        QTest::keyClick(field("designName"), Qt::Key_Delete);
        QTest::keyClicks(field("designName"), name);
        QTest::mouseClick(button("saveSheetButton"), Qt::LeftButton);
        EXPECT_EQ(suggested, folder.filePath(QStringLiteral("лист.pdf")));
        EXPECT_EQ(answer("sheetStatus")->text(), u"Лист сохранён: "_qs + QDir::toNativeSeparators(suggested));
        const QString sheet =
            reports::test::ToolOutput(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), suggested, u"-"_qs});
        EXPECT_TRUE(sheet.startsWith((name.isEmpty() ? u"Тремира"_qs : name) + u"\n"_qs)) << sheet.toStdString();
        // The line of inputs wraps on the page.
        EXPECT_TRUE(sheet.simplified().contains(u"Исходные данные: "_qs + reports::DesignInputsLine(design.snapshot)));
        for (const char *expected : {"Проверка и план намотки", "Витки I обмотки", "Коэффициент заполнения",
                                     "Сечение по сторонам S₀ (см²)", "Витки до второго напряжения", "окно 50 × 60 мм",
                                     "Сердечник и обмотки", "Внешние характеристики отводов и линия дуги"}) {
            EXPECT_TRUE(sheet.contains(QString::fromUtf8(expected))) << expected;
        }
    }
    EXPECT_EQ(m_form->findChild<QLabel *>(u"designNameCaption"_qs)->buddy(), field("designName"));
}

TEST_F(FormCheckTest, ASheetThatCannotBeSavedSaysWhyInABox) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("нет/лист.pdf"));
    open(runA());
    m_form->setSheetPathChooser([&path](QWidget *, const QString &) { return path; });
    testing::BoxAnswerer answerer;
    QTest::mouseClick(button("saveSheetButton"), Qt::LeftButton);
    ASSERT_EQ(answerer.boxes().size(), 1u);
    EXPECT_EQ(answerer.boxes()[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(answerer.boxes()[0].text.startsWith(u"Не удалось записать лист в файл\n"_qs));
    EXPECT_TRUE(answerer.boxes()[0].text.contains(QDir::toNativeSeparators(path)))
        << answerer.boxes()[0].text.toStdString();
    EXPECT_FALSE(QFile::exists(path));
    const QString status = answer("sheetStatus")->text();
    EXPECT_TRUE(status.startsWith(QStringLiteral("Лист не сохранён: ") + QDir::toNativeSeparators(path) + " ("))
        << status.toStdString();

    m_form->setSheetPathChooser([](QWidget *, const QString &) { return QString(); });  // the user declined
    QTest::mouseClick(button("saveSheetButton"), Qt::LeftButton);
    EXPECT_EQ(answerer.boxes().size(), 1u);
}

// The save dialog offers the report's folder, and a name typed there without an extension saves
// a ".pdf".
TEST_F(FormCheckTest, ASheetNamedWithoutAnExtensionIsSavedAsPdf) {
    QTemporaryDir folder;
    open(runA());
    m_form->setSheetFolder(folder.path());
    QString offered;
    testing::ModalAnswerer answerer([&offered](QWidget *window) {
        auto *dialog = qobject_cast<QFileDialog *>(window);
        if (!dialog) return;
        offered = dialog->directory().path();
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        name->setText(QStringLiteral("лист мастера"));
        QTest::keyClick(name, Qt::Key_Return);
    });
    QTest::mouseClick(button("saveSheetButton"), Qt::LeftButton);
    EXPECT_EQ(offered, folder.path());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("лист мастера.pdf")});
}

TEST_F(FormCheckTest, TypedFieldsKeepOnlyDigitsAndCommas) {
    open(runA());
    for (const char *name : kTypedNames) {
        SCOPED_TRACE(name);
        type(name, QStringLiteral("4a.-9 e,5"));
        EXPECT_EQ(field(name)->text(), QStringLiteral("49,5"));
    }
}

// Tab and Enter go from one typed field to the next, then Tab on to the buttons and round; the
// taps table is one stop, left with Tab; the answers take no focus, and Enter in a field never
// closes the window.
TEST_F(FormCheckTest, TabAndEnterVisitTheTypedFieldsTheTableAndTheButtonsOnly) {
    const QStringList buttons{"copyButton", "designName", "saveSheetButton", "closeButton"};
    const struct {
        const char *name;
        ShownDesign design;
        int page;
        QStringList stops;
    } cases[] = {
        {"rod core", runA(), 0, {"windowWidth", "windowHeight", "fillFactor", "testTurns", "testVoltage"}},
        {"toroid", runBToroid(), 0, {"windowWidth", "fillFactor", "testTurns", "testVoltage"}},
        {"plan",
         runA(),
         1,
         {"legWidth", "legDepth", "tapCount", "lowestTapVoltage", "secondMainsVoltage", "planWire", "taps"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        open(c.design);
        showPage(c.page);
        field(c.stops.first().toLatin1().constData())->setFocus();
        const QStringList chain = c.stops + buttons;
        QStringList visited;
        for (qsizetype step = 0; step <= chain.size(); ++step) {
            visited << focusName();
            const bool inField = qobject_cast<QLineEdit *>(QApplication::focusWidget()) != nullptr;
            QTest::keyClick(QApplication::focusWidget(), inField && step % 2 ? Qt::Key_Return : Qt::Key_Tab);
            QApplication::processEvents();  // Enter moves on through a queued Tab
        }
        EXPECT_EQ(visited.join(u' ').toStdString(), (chain + QStringList{chain.first()}).join(u' ').toStdString());
        EXPECT_TRUE(m_form->isVisible());
    }
}

// Enter presses the button that has the focus, as Space does.
TEST_F(FormCheckTest, EnterPressesTheFocusedButton) {
    open(runA());
    QGuiApplication::clipboard()->clear();
    button("copyButton")->setFocus();
    QTest::keyClick(button("copyButton"), Qt::Key_Return);
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith(u"Проверка и план намотки"_qs));
    button("closeButton")->setFocus();
    QTest::keyClick(button("closeButton"), Qt::Key_Enter);
    EXPECT_FALSE(m_form->isVisible());
    EXPECT_EQ(m_form->result(), QDialog::Accepted);
}

// F1 opens the check's topic, on the plan's page the plan's.
TEST_F(FormCheckTest, F1OpensTheTopicOfThePage) {
    qApp->installEventFilter(&m_contextHelp);
    open(runA());
    QTest::keyClick(field("windowWidth"), Qt::Key_F1);
    showPage(1);
    field("legWidth")->setFocus();
    QTest::keyClick(field("legWidth"), Qt::Key_F1);
    showPage(2);
    field("gap")->setFocus();
    QTest::keyClick(field("gap"), Qt::Key_F1);
    qApp->removeEventFilter(&m_contextHelp);
    EXPECT_EQ(m_helpViewer.requests,
              (QList<testing::ViewerRequest>{{m_helpFile, 9}, {m_helpFile, 10}, {m_helpFile, 11}}));
    const auto *plan = m_form->findChild<QWidget *>(QStringLiteral("planPage"));
    const auto *weld = m_form->findChild<QWidget *>(QStringLiteral("weldPage"));
    for (const QWidget *shown : m_form->findChildren<QWidget *>()) {
        if (!qobject_cast<const QLineEdit *>(shown) && !qobject_cast<const QComboBox *>(shown)) continue;
        SCOPED_TRACE(shown->objectName().toStdString());
        // The sheet's name is the plan's, as the button that saves the sheet.
        const bool ofPlan = plan->isAncestorOf(shown) || shown == field("designName");
        const help::HelpTopic topic = weld->isAncestorOf(shown) ? help::HelpTopic::WeldingAndHeat
                                      : ofPlan                  ? help::HelpTopic::WindingPlan
                                                                : help::HelpTopic::DesignCheck;
        EXPECT_EQ(m_contextHelp.topicOf(shown), topic);
    }
}

TEST_F(FormCheckTest, EscapeAndCloseEndTheWindowWhereverTheFocusIs) {
    for (const char *name : {"windowWidth", "legWidth", "voltsPerTurn", "copyButton"}) {
        SCOPED_TRACE(name);
        open(runA());
        auto *target = m_form->findChild<QWidget *>(QLatin1String(name));
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Escape);
        EXPECT_FALSE(m_form->isVisible());
        EXPECT_EQ(m_form->result(), QDialog::Rejected);
    }
    open(runA());
    QTest::mouseClick(button("closeButton"), Qt::LeftButton);
    EXPECT_FALSE(m_form->isVisible());
    EXPECT_EQ(m_form->result(), QDialog::Accepted);
}

// Both pages fit the width of the screen, the plan with its most taps too; the height scrolls.
TEST_F(FormCheckTest, OpensWithinTheScreensFreeAreaAndFitsItsWidth) {
    open(runA());
    const QRect available = m_form->screen()->availableGeometry();
    ASSERT_EQ(available.size(), QSize(640, 512)) << "the tests' screen is 1280 × 1024 at scale 2";
    EXPECT_LE(m_form->width(), available.width());
    EXPECT_LE(m_form->height(), available.height());
    EXPECT_LT(m_form->minimumWidth(), m_form->maximumWidth());
    EXPECT_LT(m_form->minimumHeight(), m_form->maximumHeight());
    typeAll({"50", "60", "0,35", "", "", "70", "121", "8", "20", "380"});
    for (int page : {0, 1}) {
        SCOPED_TRACE(page);
        showPage(page);
        QApplication::processEvents();
        const auto *scroll = qobject_cast<QScrollArea *>(m_form->findChild<QTabWidget *>()->currentWidget());
        ASSERT_NE(scroll, nullptr);
        EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible());
    }
}

// At scale 2 on 1280 × 1024 every answer and verdict is read whole: a long one wraps, none is cut.
TEST_F(FormCheckTest, EveryAnswerShowsItsWholeText) {
    const struct {
        const char *name;
        ShownDesign design;
        Typed typed;
    } cases[] = {{"nothing typed", runA(), {"", "", "0,35", "10", "", "", "", "", "", ""}},
                 {"rod core, all typed", runA(), kRunATyped},
                 {"most taps", runA(), {"50", "60", "0,35", "", "", "70", "121", "8", "20", "380"}},
                 {"toroid", runBToroid(), {"100", "", "0,35", "", "", "40", "20", "", "", ""}}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        open(c.design);
        typeAll(c.typed);
        for (int page : {0, 1}) {
            showPage(page);
            for (int settle = 0; settle < 3; ++settle) QApplication::processEvents();
            for (const QLabel *shown : m_form->findChildren<QLabel *>()) {
                if (!shown->isVisible() || shown->text().isEmpty()) continue;
                SCOPED_TRACE(shown->objectName().toStdString() + ": " + shown->text().toStdString());
                const QRect room = shown->contentsRect();
                const QRect needed = shown->fontMetrics().boundingRect(room, Qt::TextWordWrap, shown->text());
                EXPECT_LE(needed.width(), room.width());
                EXPECT_LE(needed.height(), room.height());
            }
        }
    }
}

// Answers appearing, or turning into reasons, move no group sideways on either page.
TEST_F(FormCheckTest, NothingMovesSidewaysWhenTheAnswersAppear) {
    open(runA());
    const auto columns = [this] {
        QList<QPair<int, int>> placed;
        for (const QGroupBox *group : m_form->findChildren<QGroupBox *>())
            placed.append({group->mapTo(m_form.get(), QPoint()).x(), group->width()});
        return placed;
    };
    for (int page : {0, 1}) {
        SCOPED_TRACE(page);
        showPage(page);
        QApplication::processEvents();
        const auto before = columns();
        typeAll(kRunATyped);
        QApplication::processEvents();
        EXPECT_EQ(columns(), before);
        typeAll({"", "", "", "", "", "", "", "", "", ""});
        QApplication::processEvents();
        EXPECT_EQ(columns(), before);
    }
}

// The window blocks the main window only: the help, another window of the program, takes the
// mouse and the keys, and Escape pressed there leaves the check window open.
TEST_F(FormCheckTest, BlocksItsMainWindowAndNoOtherWindow) {
    QPushButton mainWindow(QStringLiteral("главное окно"));
    QPushButton help(QStringLiteral("справка"));
    mainWindow.show();
    help.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&mainWindow) && QTest::qWaitForWindowExposed(&help));
    FormCheck check(runA(), m_contextHelp, &mainWindow);
    check.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&check));
    int mainClicks = 0;
    int helpClicks = 0;
    QObject::connect(&mainWindow, &QPushButton::clicked, [&mainClicks] { ++mainClicks; });
    QObject::connect(&help, &QPushButton::clicked, [&helpClicks] { ++helpClicks; });
    // Through the window system, where a modal window blocks what it blocks.
    QTest::mouseClick(mainWindow.windowHandle(), Qt::LeftButton, {}, mainWindow.rect().center());
    QTest::mouseClick(help.windowHandle(), Qt::LeftButton, {}, help.rect().center());
    EXPECT_EQ(mainClicks, 0);
    EXPECT_EQ(helpClicks, 1);
    help.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&help));
    QTest::keyClick(help.windowHandle(), Qt::Key_Escape);
    EXPECT_TRUE(check.isVisible());
}

// The taps are read cell by cell with the arrow keys, in the palette's text colour under every
// style (some grey out the text of a view without the focus).
TEST_F(FormCheckTest, TheTapsTableIsReadWithTheArrowKeysInReadableText) {
    for (const QString &key : QStyleFactory::keys()) {
        SCOPED_TRACE(key.toStdString());
        QApplication::setStyle(key);
        QApplication::setPalette(QApplication::style()->standardPalette());
        open(runA());
        typeAll(kRunATyped);
        showPage(1);
        auto *taps = m_form->findChild<QTableWidget *>(QStringLiteral("taps"));
        ASSERT_NE(taps, nullptr);
        taps->setFocus();
        QTest::keyClick(taps, Qt::Key_Down);
        QTest::keyClick(taps, Qt::Key_Right);
        EXPECT_EQ(taps->currentRow(), 1);
        EXPECT_EQ(taps->currentColumn(), 1);
        const QColor background = taps->palette().color(QPalette::Base);
        for (int row = 0; row < taps->rowCount(); ++row) {
            const QColor text = taps->item(row, 0)->foreground().color();
            EXPECT_GE(colours::ContrastRatio(text, background), colours::kReadableContrast)
                << text.name().toStdString();
        }
    }
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setPalette(QApplication::style()->standardPalette());
}

// When the window opens, and whenever a typed field gets the focus, the field is in view.
TEST_F(FormCheckTest, TheFocusedFieldIsScrolledIntoView) {
    open(runA());
    const auto inView = [this](const char *name) {
        QLineEdit *typed = field(name);
        const auto *scroll = qobject_cast<QScrollArea *>(m_form->findChild<QTabWidget *>()->currentWidget());
        const QRect shown(typed->mapTo(scroll->viewport(), QPoint()), typed->size());
        return scroll->viewport()->rect().contains(shown);
    };
    QApplication::processEvents();
    EXPECT_EQ(focusName(), QStringLiteral("windowWidth"));
    EXPECT_TRUE(inView("windowWidth"));
    m_form->resize(m_form->width(), m_form->minimumSizeHint().height());
    for (const char *name : {"testVoltage", "windowWidth"}) {
        SCOPED_TRACE(name);
        field(name)->setFocus();
        QApplication::processEvents();
        EXPECT_TRUE(inView(name));
    }
}

}  // namespace
}  // namespace tremira::ui
