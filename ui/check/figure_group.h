#pragma once
// A titled group of the window "Проверка и план намотки" made from one section of figures: a
// caption beside each answer (read-only text that wraps, out of the Tab chain), the verdicts
// and notes on lines of their own, the typed inputs, and a table where the section has one. It
// shows the section's figures as they come; it reads none back.

#include <QGroupBox>
#include <QString>

#include <vector>

#include "calc/figures.h"
#include "help/help_topics.h"

class QFormLayout;
class QLabel;
class QLineEdit;
class QTableWidget;
class QWidget;

namespace tremira::help {
class ContextHelpFilter;
}

namespace tremira::ui {

class NumericEntryFilter;

class FigureGroup : public QGroupBox {
    Q_OBJECT
public:
    // The rows of `section` as widgets; every one takes F1 to `topic`, the inputs pass `filter`.
    FigureGroup(const calc::FigureSection &section, NumericEntryFilter &filter, help::ContextHelpFilter &contextHelp,
                help::HelpTopic topic, QWidget *parent = nullptr);

    // The figures of the same section worked out again; the inputs keep what was typed.
    void showFigures(const calc::FigureSection &section);
    // The typed field, or the list of choices, of the input row `name`; none when the section
    // has no such input.
    QWidget *input(QStringView name) const;

    int captionWidth() const;
    void setCaptionWidth(int width);

signals:
    void edited();

private:
    // The widget of one row: a typed field, an answer, or a verdict or note on a line of its
    // own; none for a column of tremira-calc alone.
    struct RowWidgets {
        QWidget *field = nullptr;  // a typed field or a list of choices
        QLabel *answer = nullptr;
        QLabel *line = nullptr;
    };

    RowWidgets addRow(const calc::FigureRow &row);
    QWidget *addField(const calc::FigureRow &row);
    QWidget *addChoice(const calc::FigureRow &row);
    QLabel *addAnswer(const calc::FigureRow &row);
    QLabel *addLine(const calc::FigureRow &row);
    QList<QLabel *> captions() const;
    void addTable(const calc::FigureTable &table);
    void showTable(const calc::FigureTable &table);

    NumericEntryFilter &m_filter;
    help::ContextHelpFilter &m_contextHelp;
    help::HelpTopic m_topic;
    QFormLayout *m_form = nullptr;
    std::vector<RowWidgets> m_rows;  // one per row of the section, in its order
    QTableWidget *m_table = nullptr;
};

// The groups of a page line their answers up in one column: every caption takes the width of
// the widest.
void ShareCaptionColumn(const std::vector<FigureGroup *> &groups);

}  // namespace tremira::ui
