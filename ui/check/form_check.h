#pragma once
// The window "Проверка и план намотки": on its first page the design as the main window shows
// it, read-only, and the check of it (fill of the core window, wire, no-load voltage, test
// winding); on its second the winding plan, which takes the core window typed on the first.
// Worked out again at every typed key. Modal; built anew for each opening.

#include <QDialog>
#include <QString>

#include <functional>
#include <vector>

#include "calc/design_calculation.h"
#include "calc/winding_plan.h"
#include "reports/design_snapshot.h"
#include "reports/plan_sheet.h"

class QBoxLayout;
class QFormLayout;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QTabWidget;
class QVBoxLayout;

namespace tremira::help {
class ContextHelpFilter;
}

namespace tremira::ui {

class NumericEntryFilter;
class PlanPanel;

// The main window's calculated design: the texts its fields show, and the numbers the
// calculation worked from and gave, which the check works from.
struct ShownDesign {
    reports::DesignSnapshot snapshot;
    calc::InputNumbers inputs;
    calc::ResultNumbers results{};
    calc::Material materialI = calc::Material::Copper;
    calc::Material materialII = calc::Material::Copper;
};

// Asks where to save the workshop sheet, starting from `suggested`; empty when the user declines.
using SheetPathChooser = std::function<QString(QWidget *parent, const QString &suggested)>;

class FormCheck : public QDialog {
    Q_OBJECT
public:
    // Every field and button takes F1 to the check's topic through contextHelp.
    FormCheck(const ShownDesign &design, help::ContextHelpFilter &contextHelp, QWidget *parent = nullptr);

    // The folder "Сохранить лист…" offers first: the one the report goes to.
    void setSheetFolder(const QString &folder);
    // A file dialog unless set otherwise.
    void setSheetPathChooser(SheetPathChooser chooser);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // A titled group of captioned fields, and the verdict under it if it has one.
    struct Row {
        QString caption;
        QLineEdit *field;
    };
    struct Section {
        QString title;
        std::vector<Row> rows;
        QLabel *verdict = nullptr;
        QVBoxLayout *content = nullptr;
        QFormLayout *form = nullptr;
    };

    // The check's sections in two columns, scrolled when the window is smaller than they are.
    QScrollArea *createCheckPage();
    QScrollArea *createPlanPage();
    QWidget *createDesignColumn();
    QWidget *createCheckColumn();
    QLayout *createButtons();
    // Side by side when both columns fit the page's width, else one under the other.
    void arrangeColumns();
    // As large as the whole page, but no larger than the screen's free area.
    QSize openingSize() const;

    void addSection(QVBoxLayout *column, const QString &title);
    // A captioned field in the last section; a screen reader names it by its caption.
    QLineEdit *addRow(const char *name, const QString &caption, const QString &text);
    // A read-only field wide enough to show its whole text, which the mouse may select.
    QLineEdit *addAnswer(const char *name, const QString &caption, const QString &text = {});
    QLineEdit *addInput(const char *name, const QString &caption, const QString &text = {});
    QLabel *addVerdict(const char *name);

    void recheck();
    // The core window typed on the check page, as the plan reads it.
    void feedCoreWindow();
    // The design, the check and the plan as titled "caption: figure" lines.
    std::vector<reports::SheetSection> sheetSections() const;
    // The same as plain text.
    QString summary() const;
    void copySummary() const;
    void saveSheet();

    ShownDesign m_design;
    help::ContextHelpFilter &m_contextHelp;
    NumericEntryFilter *m_numericFilter = nullptr;
    std::vector<Section> m_sections;
    QString m_sheetFolder;
    SheetPathChooser m_chooseSheetPath;
    QTabWidget *m_pages = nullptr;
    PlanPanel *m_plan = nullptr;

    struct {
        QScrollArea *scroll = nullptr;
        QBoxLayout *columns = nullptr;
        QWidget *design = nullptr;
        QWidget *check = nullptr;
    } m_page;

    QLineEdit *m_windowWidth = nullptr;
    QLineEdit *m_windowHeight = nullptr;
    QLineEdit *m_fillFactor = nullptr;
    QLineEdit *m_testTurns = nullptr;
    QLineEdit *m_testVoltage = nullptr;

    QLineEdit *m_voltsPerTurn = nullptr;
    QLineEdit *m_copperArea = nullptr;
    QLineEdit *m_neededWindowArea = nullptr;
    QLineEdit *m_windowArea = nullptr;
    QLineEdit *m_fillPercent = nullptr;
    QLabel *m_fillVerdict = nullptr;
    QLineEdit *m_wireDiameterI = nullptr;
    QLineEdit *m_wireNominalI = nullptr;
    QLineEdit *m_wireDiameterII = nullptr;
    QLineEdit *m_wireNominalII = nullptr;
    QLineEdit *m_loadVoltage = nullptr;
    QLineEdit *m_strikeRatio = nullptr;
    QLabel *m_voltageVerdict = nullptr;
    QLineEdit *m_testVoltsPerTurn = nullptr;
    QLineEdit *m_correctedTurnsI = nullptr;
    QLineEdit *m_correctedTurnsII = nullptr;
    QLineEdit *m_actualInduction = nullptr;
    QLabel *m_inductionVerdict = nullptr;

    QPushButton *m_copy = nullptr;
    QPushButton *m_saveSheet = nullptr;
    QPushButton *m_close = nullptr;
};

}  // namespace tremira::ui
