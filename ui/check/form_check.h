#pragma once
// The window "Проверка конструкции": the design as the main window shows it, read-only, and
// the check of it (fill of the core window, wire, no-load voltage, test winding), worked out
// again at every change of the check's own fields. Modal; built anew for each opening.

#include <QDialog>
#include <QString>

#include <vector>

#include "calc/design_calculation.h"
#include "reports/design_snapshot.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tremira::help {
class ContextHelpFilter;
}

namespace tremira::ui {

class NumericEntryFilter;

// The main window's calculated design: the texts its fields show, and the numbers the
// calculation worked from and gave, which the check works from.
struct ShownDesign {
    reports::DesignSnapshot fields;
    calc::InputNumbers inputs;
    calc::ResultNumbers results{};
};

class FormCheck : public QDialog {
    Q_OBJECT
public:
    // Every field and button takes F1 to the check's topic through contextHelp.
    FormCheck(const ShownDesign &design, help::ContextHelpFilter &contextHelp, QWidget *parent = nullptr);

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
    };

    void createDesignColumn();
    void createCheckColumn();
    void createButtons();
    void addSection(const QString &title, int left, int top);
    QLineEdit *addRow(const char *name, const QString &caption, int left, int top, const QString &text = {});
    QLineEdit *addInput(const char *name, const QString &caption, int left, int top, const QString &text = {});
    QLabel *addVerdict(const char *name, int left, int top);

    void recheck();
    // The check as plain text: every section's captions and figures, and its verdict.
    QString summary() const;
    void copySummary() const;

    ShownDesign m_design;
    help::ContextHelpFilter &m_contextHelp;
    NumericEntryFilter *m_numericFilter = nullptr;
    std::vector<Section> m_sections;

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
    QPushButton *m_close = nullptr;
};

}  // namespace tremira::ui
