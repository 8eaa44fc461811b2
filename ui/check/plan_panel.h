#pragma once
// The winding plan of a calculated design, as a panel of the check window: the plan's own
// fields (the leg's sides, the current taps, a second mains voltage), its answers worked out
// again at every typed key, and the drawing of the windings in the core window.

#include <QString>
#include <QWidget>

#include <optional>
#include <vector>

#include "calc/design_calculation.h"
#include "calc/winding_plan.h"
#include "reports/plan_sheet.h"
#include "ui/fields/utf8_text.h"

class QFormLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTableWidget;
class QPainter;
class QRectF;

namespace tremira::help {
class ContextHelpFilter;
}

namespace tremira::ui {

class NumericEntryFilter;
class WindingDrawing;

// The calculated design the plan is for.
struct PlanDesign {
    calc::InputNumbers inputs;
    calc::ResultNumbers results{};
    calc::Material materialI = calc::Material::Copper;
    calc::Material materialII = calc::Material::Copper;
};

// A typed field's text as one of the plan's readers (calc::ReadPlanNumber, calc::ReadFillFactor,
// calc::ReadTapCount) takes it.
template <typename Reader>
auto ReadTyped(const QString &text, Reader reader) {
    return reader(Utf8View(text.toUtf8()));
}

// The core window as typed once in the check: width c (a toroid's inner diameter D), height h
// and the fill factor k, read as the plan reads them.
struct CoreWindow {
    calc::Figure<double> width = calc::NoFigure::NotGiven;
    calc::Figure<double> height = calc::NoFigure::NotGiven;
    calc::Figure<double> fillFactor = calc::NoFigure::NotGiven;
};

class PlanPanel : public QWidget {
    Q_OBJECT
public:
    // Every field takes F1 to the plan's topic through contextHelp.
    explicit PlanPanel(help::ContextHelpFilter &contextHelp, QWidget *parent = nullptr);

    void setDesign(const PlanDesign &design);
    void setCoreWindow(const CoreWindow &window);

    // The plan's fields and answers as "caption: figure" lines, for the summary and the sheet.
    std::vector<reports::SheetSection> summary() const;
    // The drawing for paper: dark on white whatever the screen's colours.
    void paintDrawing(QPainter &painter, const QRectF &area) const;

private:
    // A captioned field, or a note under the fields (no caption, no field).
    struct Row {
        QLabel *caption = nullptr;
        QLineEdit *field = nullptr;
        QLabel *note = nullptr;
    };

    QGroupBox *createInputs();
    QGroupBox *createCoreAnswers();
    QGroupBox *createWireAnswers();
    QGroupBox *createTapAnswers();
    QGroupBox *createMainsAnswers();
    QLineEdit *addInput(QFormLayout *form, const char *name, const QString &caption);
    QLineEdit *addAnswer(QFormLayout *form, const char *name, const QString &caption);
    QLabel *addNote(QFormLayout *form, const char *name);

    void replan();
    calc::WindingPlanInput planInput() const;
    void showCore(const calc::WindingPlan &plan);
    void showWire(const calc::WindingPlan &plan);
    void showTaps(const calc::WindingPlan &plan);
    void showMains(const calc::WindingPlan &plan);
    void relabelForCoreType();
    void recaption(QLineEdit *field, const QString &caption);

    help::ContextHelpFilter &m_contextHelp;
    NumericEntryFilter *m_numericFilter = nullptr;
    PlanDesign m_design;
    CoreWindow m_window;
    std::vector<Row> m_rows;  // in the order of the summary

    struct {
        QLineEdit *legWidth = nullptr;
        QLineEdit *legDepth = nullptr;
        QLineEdit *tapCount = nullptr;
        QLineEdit *lowestTapVoltage = nullptr;
        QLineEdit *secondMainsVoltage = nullptr;
    } m_inputs;

    struct {
        QLineEdit *coreFromSides = nullptr;
        QLabel *sectionMatch = nullptr;
        QLineEdit *buildI = nullptr;
        QLineEdit *buildII = nullptr;
        QLabel *fitVerdict = nullptr;
        QLineEdit *meanTurnI = nullptr;
        QLineEdit *lengthI = nullptr;
        QLineEdit *toBuyI = nullptr;
        QLineEdit *outerTurnsI = nullptr;
        QLineEdit *outerLengthI = nullptr;
        QLineEdit *outerToBuyI = nullptr;
        QLineEdit *resistanceI = nullptr;
        QLineEdit *meanTurnII = nullptr;
        QLineEdit *lengthII = nullptr;
        QLineEdit *toBuyII = nullptr;
        QLineEdit *resistanceII = nullptr;
        QLineEdit *copperLosses = nullptr;
        QLabel *tapsNote = nullptr;
        QTableWidget *taps = nullptr;
        QLineEdit *secondMainsTurns = nullptr;
        QLineEdit *lowerMainsTurns = nullptr;
        QLineEdit *higherMainsTurns = nullptr;
        QLineEdit *breaker = nullptr;
        QLabel *socketNote = nullptr;
        QLineEdit *secondMainsCurrent = nullptr;
        QLineEdit *secondMainsBreaker = nullptr;
        QLabel *secondSocketNote = nullptr;
    } m_answersOf;

    WindingDrawing *m_drawing = nullptr;
};

}  // namespace tremira::ui
