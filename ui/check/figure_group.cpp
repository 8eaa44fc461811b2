#include "ui/check/figure_group.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

#include <algorithm>

#include "colours/readable_colour.h"
#include "help/context_help_filter.h"
#include "ui/fields/numeric_entry_filter.h"
#include "ui/fields/utf8_text.h"

namespace tremira::ui {
namespace {

// "Итог: помещается"; a note is its text alone.
QString labelText(const calc::FigureRow &row) {
    if (row.format.shown == calc::Shown::Note) return ToQString(row.text);
    return ToQString(row.format.caption) + QStringLiteral(": ") + ToQString(row.text);
}

// A figure in the palette's own text colour, what stands in its place in the message colour.
void colourByKnown(QLabel *answer, bool known) {
    QPalette palette = answer->palette();
    const QPalette usual = QApplication::palette(answer);
    palette.setColor(QPalette::WindowText, known ? usual.color(QPalette::WindowText)
                                                 : colours::MessageColourOn(usual.color(QPalette::Window)));
    answer->setPalette(palette);
}

// A figure with its unit stays on one line; a reason in its place wraps between its words.
int unbrokenWidth(const QLabel *answer, bool known) {
    const QStringList parts = known ? QStringList{answer->text()} : answer->text().split(QLatin1Char(' '));
    int width = 0;
    for (const QString &part : parts)
        width = std::max(width, answer->fontMetrics().size(Qt::TextSingleLine, part).width());
    return width + 2 * answer->margin();
}

void showAnswer(QLabel *answer, const calc::FigureRow &row) {
    answer->setText(ToQString(row.text));
    answer->setMinimumWidth(unbrokenWidth(answer, row.known));
    colourByKnown(answer, row.known);
}

// A field left empty shows, greyed, the value the calculation takes for it.
void showValueUsed(QLineEdit *typed, const calc::FigureRow &row) {
    typed->setPlaceholderText(row.known ? ToQString(row.text) : QString());
}

// Selectable with the mouse (copied from its menu), read whole however long: a message wraps
// under its first words. It takes no focus, not even from a click: the keys stay in the field.
QLabel *textLabel(const calc::FigureRow &row, QWidget *parent) {
    auto *label = new QLabel(parent);
    label->setObjectName(ToQString(row.format.name));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setFocusPolicy(Qt::NoFocus);
    return label;
}

}  // namespace

FigureGroup::FigureGroup(const calc::FigureSection &section, NumericEntryFilter &filter,
                         help::ContextHelpFilter &contextHelp, help::HelpTopic topic, QWidget *parent)
    : QGroupBox(ToQString(section.title), parent), m_filter(filter), m_contextHelp(contextHelp), m_topic(topic),
      m_form(new QFormLayout(this)) {
    setObjectName(ToQString(section.name));
    m_form->setRowWrapPolicy(QFormLayout::WrapLongRows);  // a long message goes under its caption
    for (const calc::FigureRow &row : section.rows) m_rows.push_back(addRow(row));
    if (!section.table.headers.empty()) addTable(section.table);
    showFigures(section);
}

FigureGroup::RowWidgets FigureGroup::addRow(const calc::FigureRow &row) {
    switch (row.format.shown) {
    case calc::Shown::Input: return {.field = addField(row)};
    case calc::Shown::Answer: return {.answer = addAnswer(row)};
    case calc::Shown::Verdict:
    case calc::Shown::Note: return {.line = addLine(row)};
    case calc::Shown::ColumnOnly: break;
    }
    return {};
}

QWidget *FigureGroup::addField(const calc::FigureRow &row) {
    if (!row.format.choices.empty()) return addChoice(row);
    const QString caption = ToQString(row.format.caption);
    auto *field = new QLineEdit(this);
    field->setObjectName(ToQString(row.format.name));
    field->setAccessibleName(caption);
    m_contextHelp.setTopic(field, m_topic);
    m_form->addRow(caption, field);  // the caption's label takes the field as its buddy
    m_filter.watch(field);
    connect(field, &QLineEdit::textChanged, this, &FigureGroup::edited);
    return field;
}

// The first entry stands for a choice left as it is.
QWidget *FigureGroup::addChoice(const calc::FigureRow &row) {
    const QString caption = ToQString(row.format.caption);
    auto *choice = new QComboBox(this);
    choice->setObjectName(ToQString(row.format.name));
    choice->setAccessibleName(caption);
    for (std::string_view entry : row.format.choices) choice->addItem(ToQString(entry));
    choice->setMinimumWidth(choice->sizeHint().width());  // every entry shown whole, however narrow the page
    m_contextHelp.setTopic(choice, m_topic);
    m_form->addRow(caption, choice);
    connect(choice, &QComboBox::currentIndexChanged, this, &FigureGroup::edited);
    return choice;
}

// Its caption labels it for a screen reader, which reads the answer as its text.
QLabel *FigureGroup::addAnswer(const calc::FigureRow &row) {
    QLabel *answer = textLabel(row, this);
    m_contextHelp.setTopic(answer, m_topic);
    m_form->addRow(ToQString(row.format.caption), answer);
    return answer;
}

QLabel *FigureGroup::addLine(const calc::FigureRow &row) {
    QLabel *line = textLabel(row, this);
    m_form->addRow(line);
    return line;
}

QList<QLabel *> FigureGroup::captions() const {
    QList<QLabel *> captions;
    for (int row = 0; row < m_form->rowCount(); ++row) {
        if (QLayoutItem *item = m_form->itemAt(row, QFormLayout::LabelRole)) {
            if (auto *caption = qobject_cast<QLabel *>(item->widget())) captions << caption;
        }
    }
    return captions;
}

int FigureGroup::captionWidth() const {
    int width = 0;
    for (const QLabel *caption : captions()) width = std::max(width, caption->sizeHint().width());
    return width;
}

void FigureGroup::setCaptionWidth(int width) {
    for (QLabel *caption : captions()) caption->setMinimumWidth(width);
}

void ShareCaptionColumn(const std::vector<FigureGroup *> &groups) {
    int width = 0;
    for (const FigureGroup *group : groups) width = std::max(width, group->captionWidth());
    for (FigureGroup *group : groups) group->setCaptionWidth(width);
}

void FigureGroup::addTable(const calc::FigureTable &table) {
    m_table = new QTableWidget(0, static_cast<int>(table.headers.size()), this);
    m_table->setObjectName(objectName());
    m_table->setAccessibleName(title());
    QStringList headers;
    for (std::string_view header : table.headers) headers << ToQString(header);
    m_table->setHorizontalHeaderLabels(headers);
    // The figures as wide as they are, the notes across the rest.
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->verticalHeader()->setVisible(false);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // As high as its rows, so that the panel fits small screens without an empty table; a table
    // wider than the page scrolls across inside itself, with room kept for its scroll bar,
    // instead of widening the page.
    m_table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    m_table->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Maximum);
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // One stop of the Tab chain, read cell by cell with the arrow keys.
    m_table->setFocusPolicy(Qt::StrongFocus);
    m_table->setTabKeyNavigation(false);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_contextHelp.setTopic(m_table, m_topic);
    m_form->addRow(m_table);
}

void FigureGroup::showFigures(const calc::FigureSection &section) {
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const calc::FigureRow &row = section.rows[i];
        if (auto *typed = qobject_cast<QLineEdit *>(m_rows[i].field)) showValueUsed(typed, row);
        if (m_rows[i].answer) showAnswer(m_rows[i].answer, row);
        if (m_rows[i].line) m_rows[i].line->setText(labelText(row));
    }
    if (m_table) showTable(section.table);
}

void FigureGroup::showTable(const calc::FigureTable &table) {
    m_table->setRowCount(static_cast<int>(table.rows.size()));
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const std::vector<std::string> &cells = table.rows[static_cast<std::size_t>(row)];
        for (int column = 0; column < m_table->columnCount(); ++column) {
            auto *item = new QTableWidgetItem(ToQString(cells[static_cast<std::size_t>(column)]));
            // Some styles grey out the text of a view without the focus; figures read as text.
            item->setForeground(m_table->palette().color(QPalette::Text));
            m_table->setItem(row, column, item);
        }
    }
    // The arrow keys start from the first cell, which is not shown selected until they move.
    if (!m_table->currentIndex().isValid() && m_table->rowCount() > 0) {
        m_table->selectionModel()->setCurrentIndex(m_table->model()->index(0, 0), QItemSelectionModel::NoUpdate);
    }
}

QWidget *FigureGroup::input(QStringView name) const {
    for (const RowWidgets &row : m_rows) {
        if (row.field && row.field->objectName() == name) return row.field;
    }
    return nullptr;
}

}  // namespace tremira::ui
