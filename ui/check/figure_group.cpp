#include "ui/check/figure_group.h"

#include <QApplication>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

#include "colours/readable_colour.h"
#include "help/context_help_filter.h"
#include "ui/fields/numeric_entry_filter.h"
#include "ui/fields/utf8_text.h"
#include "ui/fields/whole_text_tooltip.h"

namespace tremira::ui {
namespace {

// "Итог: помещается"; a note is its text alone.
QString labelText(const calc::FigureRow &row) {
    if (row.format.shown == calc::Shown::Note) return ToQString(row.text);
    return ToQString(row.format.caption) + QStringLiteral(": ") + ToQString(row.text);
}

// A figure in the palette's own text colour, what stands in its place in the message colour.
void colourByKnown(QWidget *widget, bool known) {
    QPalette palette = widget->palette();
    const QPalette usual = QApplication::palette(widget);
    palette.setColor(QPalette::Text,
                     known ? usual.color(QPalette::Text) : colours::MessageColourOn(usual.color(QPalette::Base)));
    widget->setPalette(palette);
}

void showAnswer(QLineEdit *field, const calc::FigureRow &row) {
    const QString text = ToQString(row.text);
    field->setText(text);
    field->setToolTip(text);  // a message may be longer than the field
    field->setCursorPosition(0);
    colourByKnown(field, row.known);
}

// A message in place of a figure is longer than a number: the field grows to show it whole.
void keepWholeTextShown(QLineEdit *field) {
    const auto fit = [field] { field->setMinimumWidth(WholeTextWidth(*field)); };
    QObject::connect(field, &QLineEdit::textChanged, field, fit);
    fit();
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
    case calc::Shown::Answer:
    case calc::Shown::Input: return {addField(row), nullptr};
    case calc::Shown::Verdict:
    case calc::Shown::Note: return {nullptr, addLabel(row)};
    case calc::Shown::ColumnOnly: break;
    }
    return {};
}

QLineEdit *FigureGroup::addField(const calc::FigureRow &row) {
    const QString caption = ToQString(row.format.caption);
    auto *field = new QLineEdit(this);
    field->setObjectName(ToQString(row.format.name));
    field->setAccessibleName(caption);
    m_contextHelp.setTopic(field, m_topic);
    m_form->addRow(caption, field);  // the caption's label takes the field as its buddy
    if (row.format.shown == calc::Shown::Input) {
        m_filter.watch(field);
        connect(field, &QLineEdit::textChanged, this, &FigureGroup::edited);
        return field;
    }
    // Read-only answers take the focus from a click only, so Tab and Enter pass over them.
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::ClickFocus);
    keepWholeTextShown(field);
    return field;
}

QLabel *FigureGroup::addLabel(const calc::FigureRow &row) {
    auto *label = new QLabel(this);
    label->setObjectName(ToQString(row.format.name));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    if (row.format.shown == calc::Shown::Verdict)
        label->setAccessibleName(ToQString(row.format.caption) + ": " + title());
    m_form->addRow(label);
    return label;
}

void FigureGroup::addTable(const calc::FigureTable &table) {
    m_table = new QTableWidget(0, static_cast<int>(table.headers.size()), this);
    m_table->setObjectName(objectName());
    m_table->setAccessibleName(title());
    QStringList headers;
    for (std::string_view header : table.headers) headers << ToQString(header);
    m_table->setHorizontalHeaderLabels(headers);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->verticalHeader()->setVisible(false);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // As high as its rows, so that the panel fits small screens without an empty table.
    m_table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    m_table->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Maximum);
    m_table->setFocusPolicy(Qt::ClickFocus);
    m_contextHelp.setTopic(m_table, m_topic);
    m_form->addRow(m_table);
}

void FigureGroup::showFigures(const calc::FigureSection &section) {
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const calc::FigureRow &row = section.rows[i];
        if (row.format.shown == calc::Shown::Input) continue;
        if (m_rows[i].field) showAnswer(m_rows[i].field, row);
        if (m_rows[i].label) m_rows[i].label->setText(labelText(row));
    }
    if (m_table) showTable(section.table);
}

void FigureGroup::showTable(const calc::FigureTable &table) {
    m_table->setRowCount(static_cast<int>(table.rows.size()));
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const std::vector<std::string> &cells = table.rows[static_cast<std::size_t>(row)];
        for (int column = 0; column < m_table->columnCount(); ++column) {
            m_table->setItem(row, column, new QTableWidgetItem(ToQString(cells[static_cast<std::size_t>(column)])));
        }
    }
    m_table->resizeColumnsToContents();
}

QLineEdit *FigureGroup::input(QStringView name) const {
    for (const RowWidgets &row : m_rows) {
        if (row.field && !row.field->isReadOnly() && row.field->objectName() == name) return row.field;
    }
    return nullptr;
}

}  // namespace tremira::ui
