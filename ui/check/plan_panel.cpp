#include "ui/check/plan_panel.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <span>

#include "calc/field_numbers.h"
#include "calc/winding_plan_texts.h"
#include "help/context_help_filter.h"
#include "ui/check/winding_drawing.h"
#include "ui/fields/numeric_entry_filter.h"
#include "ui/fields/utf8_text.h"

namespace tremira::ui {
namespace {

constexpr help::HelpTopic kPlanTopic = help::HelpTopic::WindingPlan;

// The figure's text by `format`, or the reason it has none, in the words tremira-calc uses.
template <typename T, typename Format>
QString textOf(const calc::Figure<T> &figure, Format format) {
    if (!figure.known()) return ToQString(calc::ReasonText(*figure.reason()));
    return format(figure.value());
}

QString rounded(double value, int decimals) { return ToQString(calc::FigureText(value, decimals)); }
QString oneDecimal(double value) { return rounded(value, 1); }
// Four places, as tremira-calc gives them: winding II's resistance is hundredths of an ohm.
QString ohms(double value) { return rounded(value, 4); }
QString whole(int value) { return ToQString(calc::FormatDouble(value)); }

QString toBuyText(const calc::WireToBuy &wire) {
    return QStringLiteral("%1 м, %2 кг").arg(whole(wire.lengthToBuy), rounded(wire.massToBuy, 2));
}

QString spanText(const calc::TurnSpan &span) {
    return ToQString(calc::SpanText(span)) + QStringLiteral(": %1 мм²").arg(whole(span.section));
}

// The cells of a tap's row, in the table's column order.
QStringList tapCells(const calc::Tap &tap) {
    return {whole(tap.turns), rounded(tap.noLoadVoltage, 1), rounded(tap.induction, 2),
            ToQString(calc::TapWarningsText(tap))};
}

std::optional<double> known(const calc::Figure<double> &figure) {
    return figure.known() ? std::optional<double>(figure.value()) : std::nullopt;
}

// The drawing of the plan's builds in the typed window; none until the window has a width.
std::optional<WindingSizes> drawingSizes(const calc::WindingPlanInput &input, const calc::WindingPlan &plan) {
    if (!input.windowWidth.known()) return std::nullopt;
    const bool toroid = input.design.coreType == calc::kToroidIndex;
    return WindingSizes{toroid ? WindowShape::Circle : WindowShape::Rectangle,
                        input.windowWidth.value(),
                        known(input.windowHeight).value_or(0),
                        known(input.legWidth),
                        known(plan.buildI),
                        known(plan.buildII),
                        !plan.fitsWindow.known() || plan.fitsWindow.value()};
}

void answer(QLineEdit *field, const QString &text) {
    field->setText(text);
    field->setToolTip(text);  // a reason may be longer than the field
    field->setCursorPosition(0);
}

}  // namespace

PlanPanel::PlanPanel(help::ContextHelpFilter &contextHelp, QWidget *parent)
    : QWidget(parent), m_contextHelp(contextHelp), m_numericFilter(new NumericEntryFilter(this)),
      m_drawing(new WindingDrawing(this)) {
    m_drawing->setObjectName(QStringLiteral("windingDrawing"));
    auto *columns = new QGridLayout(this);
    columns->addWidget(createInputs(), 0, 0);
    columns->addWidget(createCoreAnswers(), 1, 0);
    columns->addWidget(m_drawing, 2, 0);
    columns->addWidget(createWireAnswers(), 0, 1, 2, 1);
    columns->addWidget(createMainsAnswers(), 2, 1);
    columns->addWidget(createTapAnswers(), 3, 0, 1, 2);
    setTabOrder(m_inputs.legWidth, m_inputs.legDepth);
    setTabOrder(m_inputs.legDepth, m_inputs.tapCount);
    setTabOrder(m_inputs.tapCount, m_inputs.lowestTapVoltage);
    setTabOrder(m_inputs.lowestTapVoltage, m_inputs.secondMainsVoltage);
    replan();
}

QGroupBox *PlanPanel::createInputs() {
    auto *box = new QGroupBox(QStringLiteral("План намотки"), this);
    auto *form = new QFormLayout(box);
    m_inputs.legWidth = addInput(form, "legWidth", QStringLiteral("Ширина стержня a (мм)"));
    m_inputs.legDepth = addInput(form, "legDepth", QStringLiteral("Толщина набора b (мм)"));
    m_inputs.tapCount = addInput(form, "tapCount", QStringLiteral("Число отводов"));
    m_inputs.lowestTapVoltage = addInput(form, "lowestTapVoltage", QStringLiteral("Нижнее напряжение отводов (В)"));
    m_inputs.secondMainsVoltage = addInput(form, "secondMainsVoltage", QStringLiteral("Второе напряжение сети (В)"));
    return box;
}

QGroupBox *PlanPanel::createCoreAnswers() {
    auto *box = new QGroupBox(QStringLiteral("Сердечник и намотка"), this);
    auto *form = new QFormLayout(box);
    m_answersOf.coreFromSides = addAnswer(form, "coreFromSides", QStringLiteral("Сечение по сторонам S₀ (см²)"));
    m_answersOf.sectionMatch = addNote(form, "sectionMatch");
    m_answersOf.buildI = addAnswer(form, "buildI", QStringLiteral("Толщина I обмотки t₁ (мм)"));
    m_answersOf.buildII = addAnswer(form, "buildII", QStringLiteral("Толщина II обмотки t₂ (мм)"));
    m_answersOf.fitVerdict = addNote(form, "fitVerdict");
    return box;
}

QGroupBox *PlanPanel::createWireAnswers() {
    auto *box = new QGroupBox(QStringLiteral("Провод"), this);
    auto *form = new QFormLayout(box);
    m_answersOf.meanTurnI = addAnswer(form, "meanTurnI", QStringLiteral("Средний виток I (мм)"));
    m_answersOf.lengthI = addAnswer(form, "lengthI", QStringLiteral("Длина провода I (м)"));
    m_answersOf.toBuyI = addAnswer(form, "toBuyI", QStringLiteral("Купить провода I"));
    m_answersOf.outerTurnsI = addAnswer(form, "outerTurnsI", QStringLiteral("Второй провод I: витки"));
    m_answersOf.outerLengthI = addAnswer(form, "outerLengthI", QStringLiteral("Длина второго провода I (м)"));
    m_answersOf.outerToBuyI = addAnswer(form, "outerToBuyI", QStringLiteral("Купить второго провода I"));
    m_answersOf.resistanceI = addAnswer(form, "resistanceI", QStringLiteral("Сопротивление I (Ом)"));
    m_answersOf.meanTurnII = addAnswer(form, "meanTurnII", QStringLiteral("Средний виток II (мм)"));
    m_answersOf.lengthII = addAnswer(form, "lengthII", QStringLiteral("Длина провода II (м)"));
    m_answersOf.toBuyII = addAnswer(form, "toBuyII", QStringLiteral("Купить провода II"));
    m_answersOf.resistanceII = addAnswer(form, "resistanceII", QStringLiteral("Сопротивление II (Ом)"));
    m_answersOf.copperLosses = addAnswer(form, "copperLosses", QStringLiteral("Потери в меди (Вт)"));
    return box;
}

QGroupBox *PlanPanel::createTapAnswers() {
    auto *box = new QGroupBox(QStringLiteral("Отводы I обмотки"), this);
    auto *rows = new QVBoxLayout(box);
    m_answersOf.tapsNote = new QLabel(box);
    m_answersOf.tapsNote->setObjectName(QStringLiteral("tapsNote"));
    m_answersOf.tapsNote->setWordWrap(true);
    m_answersOf.taps = new QTableWidget(0, 4, box);
    m_answersOf.taps->setObjectName(QStringLiteral("taps"));
    m_answersOf.taps->setAccessibleName(box->title());
    m_answersOf.taps->setHorizontalHeaderLabels(
        {QStringLiteral("Витки"), QStringLiteral("U хх (В)"), QStringLiteral("B (Тл)"), QStringLiteral("Замечание")});
    m_answersOf.taps->horizontalHeader()->setStretchLastSection(true);
    m_answersOf.taps->verticalHeader()->setVisible(false);
    m_answersOf.taps->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // As high as its rows, so that the panel fits small screens without an empty table.
    m_answersOf.taps->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    m_answersOf.taps->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Maximum);
    m_answersOf.taps->setFocusPolicy(Qt::ClickFocus);
    m_contextHelp.setTopic(m_answersOf.taps, kPlanTopic);
    rows->addWidget(m_answersOf.tapsNote);
    rows->addWidget(m_answersOf.taps);
    return box;
}

QGroupBox *PlanPanel::createMainsAnswers() {
    auto *box = new QGroupBox(QStringLiteral("Сеть"), this);
    auto *form = new QFormLayout(box);
    m_answersOf.breaker = addAnswer(form, "breaker", QStringLiteral("Автомат (А)"));
    m_answersOf.socketNote = addNote(form, "socketNote");
    m_answersOf.secondMainsTurns = addAnswer(form, "secondMainsTurns", QStringLiteral("Витки до второго напряжения"));
    m_answersOf.lowerMainsTurns = addAnswer(form, "lowerMainsTurns", QStringLiteral("Витки на ток низшего"));
    m_answersOf.higherMainsTurns = addAnswer(form, "higherMainsTurns", QStringLiteral("Витки на ток высшего"));
    m_answersOf.secondMainsCurrent =
        addAnswer(form, "secondMainsCurrent", QStringLiteral("Ток сети на втором напряжении (А)"));
    m_answersOf.secondMainsBreaker =
        addAnswer(form, "secondMainsBreaker", QStringLiteral("Автомат на втором напряжении (А)"));
    m_answersOf.secondSocketNote = addNote(form, "secondSocketNote");
    return box;
}

QLineEdit *PlanPanel::addInput(QFormLayout *form, const char *name, const QString &caption) {
    QLineEdit *field = addAnswer(form, name, caption);
    field->setReadOnly(false);
    field->setFocusPolicy(Qt::StrongFocus);
    m_numericFilter->watch(field);
    connect(field, &QLineEdit::textChanged, this, &PlanPanel::replan);
    return field;
}

// Read-only answers take the focus from a click only, so Tab and Enter pass over them.
QLineEdit *PlanPanel::addAnswer(QFormLayout *form, const char *name, const QString &caption) {
    auto *field = new QLineEdit(form->parentWidget());
    field->setObjectName(QLatin1String(name));
    field->setAccessibleName(caption);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::ClickFocus);
    m_contextHelp.setTopic(field, kPlanTopic);
    auto *label = new QLabel(caption, form->parentWidget());
    label->setBuddy(field);
    form->addRow(label, field);
    m_rows.push_back({label, field, nullptr});
    return field;
}

QLabel *PlanPanel::addNote(QFormLayout *form, const char *name) {
    auto *note = new QLabel(form->parentWidget());
    note->setObjectName(QLatin1String(name));
    note->setWordWrap(true);
    note->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(note);
    m_rows.push_back({nullptr, nullptr, note});
    return note;
}

void PlanPanel::setDesign(const PlanDesign &design) {
    m_design = design;
    relabelForCoreType();
    replan();
}

void PlanPanel::setCoreWindow(const CoreWindow &window) {
    m_window = window;
    replan();
}

void PlanPanel::relabelForCoreType() {
    const bool toroid = m_design.inputs.coreType == calc::kToroidIndex;
    recaption(m_inputs.legWidth,
              toroid ? QStringLiteral("Ширина кольца a (мм)") : QStringLiteral("Ширина стержня a (мм)"));
    recaption(m_inputs.legDepth,
              toroid ? QStringLiteral("Высота кольца b (мм)") : QStringLiteral("Толщина набора b (мм)"));
}

void PlanPanel::recaption(QLineEdit *field, const QString &caption) {
    const auto row = std::ranges::find(m_rows, field, &Row::field);
    row->caption->setText(caption);
    field->setAccessibleName(caption);
}

// The one place that turns the design, the window and the fields into the plan's input.
calc::WindingPlanInput PlanPanel::planInput() const {
    calc::WindingPlanInput plan;
    plan.design = m_design.inputs;
    plan.results = m_design.results;
    plan.materialI = m_design.materialI;
    plan.materialII = m_design.materialII;
    plan.fillFactor = m_window.fillFactor;
    plan.windowWidth = m_window.width;
    plan.windowHeight = m_window.height;
    plan.legWidth = ReadTyped(m_inputs.legWidth->text(), calc::ReadPlanNumber);
    plan.legDepth = ReadTyped(m_inputs.legDepth->text(), calc::ReadPlanNumber);
    plan.tapCount = ReadTyped(m_inputs.tapCount->text(), calc::ReadTapCount);
    plan.lowestTapVoltage = ReadTyped(m_inputs.lowestTapVoltage->text(), calc::ReadPlanNumber);
    plan.secondMainsVoltage = ReadTyped(m_inputs.secondMainsVoltage->text(), calc::ReadPlanNumber);
    return plan;
}

void PlanPanel::replan() {
    const calc::WindingPlanInput input = planInput();
    const calc::WindingPlan plan = calc::PlanWinding(input);
    showCore(plan);
    showWire(plan);
    showTaps(plan);
    showMains(plan);
    m_drawing->setSizes(drawingSizes(input, plan));
}

void PlanPanel::showCore(const calc::WindingPlan &plan) {
    answer(m_answersOf.coreFromSides,
           textOf(plan.core, [](const calc::CoreFromSides &core) { return oneDecimal(core.section); }));
    m_answersOf.sectionMatch->setText(textOf(
        plan.core, [](const calc::CoreFromSides &core) { return ToQString(calc::SectionMatchText(core.match)); }));
    answer(m_answersOf.buildI, textOf(plan.buildI, oneDecimal));
    answer(m_answersOf.buildII, textOf(plan.buildII, oneDecimal));
    m_answersOf.fitVerdict->setText(QStringLiteral("Окно: ") + ToQString(calc::FitText(plan.fitsWindow)));
}

void PlanPanel::showWire(const calc::WindingPlan &plan) {
    const auto meanTurn = [](const calc::WireToBuy &wire) { return oneDecimal(wire.meanTurn); };
    const auto length = [](const calc::WireToBuy &wire) { return oneDecimal(wire.length); };
    const int firstEnds = plan.wireI.known() ? plan.wireI.value().turns : 0;
    const auto outerSpan = [firstEnds](const calc::WireToBuy &wire) {
        return spanText({firstEnds + 1, firstEnds + wire.turns, wire.section});
    };
    answer(m_answersOf.meanTurnI, textOf(plan.wireI, meanTurn));
    answer(m_answersOf.lengthI, textOf(plan.wireI, length));
    answer(m_answersOf.toBuyI, textOf(plan.wireI, toBuyText));
    answer(m_answersOf.outerTurnsI, textOf(plan.wireIOuter, outerSpan));
    answer(m_answersOf.outerLengthI, textOf(plan.wireIOuter, length));
    answer(m_answersOf.outerToBuyI, textOf(plan.wireIOuter, toBuyText));
    answer(m_answersOf.resistanceI, textOf(plan.resistanceI, ohms));
    answer(m_answersOf.meanTurnII, textOf(plan.wireII, meanTurn));
    answer(m_answersOf.lengthII, textOf(plan.wireII, length));
    answer(m_answersOf.toBuyII, textOf(plan.wireII, toBuyText));
    answer(m_answersOf.resistanceII,
           textOf(plan.wireII, [](const calc::WireToBuy &wire) { return ohms(wire.resistance); }));
    answer(m_answersOf.copperLosses, textOf(plan.copperLosses, [](double watts) { return rounded(watts, 0); }));
}

void PlanPanel::showTaps(const calc::WindingPlan &plan) {
    QTableWidget *table = m_answersOf.taps;
    const std::span<const calc::Tap> taps = plan.taps.known() ? plan.taps.value().taps() : std::span<const calc::Tap>{};
    table->setRowCount(static_cast<int>(taps.size()));
    for (int row = 0; row < table->rowCount(); ++row) {
        const QStringList cells = tapCells(taps[static_cast<std::size_t>(row)]);
        for (int column = 0; column < cells.size(); ++column) {
            table->setItem(row, column, new QTableWidgetItem(cells[column]));
        }
    }
    table->resizeColumnsToContents();
    m_answersOf.tapsNote->setText(plan.taps.known() ? QStringLiteral("От наибольшего числа витков к w₁:")
                                                    : ToQString(calc::ReasonText(*plan.taps.reason())));
}

void PlanPanel::showMains(const calc::WindingPlan &plan) {
    const calc::Figure<calc::SecondMains> &mains = plan.secondMains;
    const auto supply = [](bool dedicated) { return ToQString(calc::SupplyText(dedicated)); };
    answer(m_answersOf.breaker, textOf(plan.breakerRating, whole));
    m_answersOf.socketNote->setText(textOf(plan.needsDedicatedLine, supply));
    answer(m_answersOf.secondMainsTurns, textOf(mains, [](const calc::SecondMains &m) { return whole(m.turns); }));
    answer(m_answersOf.lowerMainsTurns,
           textOf(mains, [](const calc::SecondMains &m) { return spanText(m.lowerMainsTurns); }));
    answer(m_answersOf.higherMainsTurns, textOf(mains, [](const calc::SecondMains &m) {
               return m.higherMainsTurns ? spanText(*m.higherMainsTurns) : QStringLiteral("нет");
           }));
    answer(m_answersOf.secondMainsCurrent,
           textOf(mains, [](const calc::SecondMains &m) { return rounded(m.current, 2); }));
    answer(m_answersOf.secondMainsBreaker,
           textOf(mains, [](const calc::SecondMains &m) { return textOf(m.breakerRating, whole); }));
    m_answersOf.secondSocketNote->setText(
        textOf(mains, [supply](const calc::SecondMains &m) { return supply(m.needsDedicatedLine); }));
}

std::vector<reports::SheetSection> PlanPanel::summary() const {
    reports::SheetSection figures{QStringLiteral("План намотки"), {}};
    for (const Row &row : m_rows) {
        figures.lines << (row.field ? row.caption->text() + QStringLiteral(": ") + row.field->text()
                                    : row.note->text());
    }
    reports::SheetSection taps{QStringLiteral("Отводы I обмотки"), {m_answersOf.tapsNote->text()}};
    const QTableWidget *table = m_answersOf.taps;
    for (int row = 0; row < table->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < table->columnCount(); ++column) {
            const QString header = table->horizontalHeaderItem(column)->text();
            const QString cell = table->item(row, column)->text();
            if (!cell.isEmpty()) cells << header + QStringLiteral(" ") + cell;
        }
        taps.lines << QStringLiteral("%1. %2").arg(row + 1).arg(cells.join(QStringLiteral(", ")));
    }
    return {figures, taps};
}

void PlanPanel::paintDrawing(QPainter &painter, const QRectF &area) const {
    m_drawing->paint(painter, area, PaperPalette());
}

}  // namespace tremira::ui
