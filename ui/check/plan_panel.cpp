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
#include <cmath>
#include <limits>
#include <span>

#include "calc/field_numbers.h"
#include "help/context_help_filter.h"
#include "ui/check/plan_texts.h"
#include "ui/check/winding_drawing.h"
#include "ui/fields/numeric_entry_filter.h"
#include "ui/fields/utf8_text.h"

namespace tremira::ui {
namespace {

// Where the plan's F1 leads until it has a topic of its own.
constexpr help::HelpTopic kPlanTopic = help::HelpTopic::DesignCheck;

// An empty field is not given; a text that is no number (a lone comma) is out of any range.
std::optional<double> numberIn(const QLineEdit *field) {
    const QString text = field->text().trimmed();
    if (text.isEmpty()) return std::nullopt;
    const QByteArray utf8 = text.toUtf8();
    const calc::Checked<double> number = calc::ParseDouble(Utf8View(utf8));
    if (!number) return std::numeric_limits<double>::quiet_NaN();
    return *number;
}

// A count that is no whole number in range says so through the plan, as one out of its range.
std::optional<int> countIn(const QLineEdit *field) {
    const std::optional<double> number = numberIn(field);
    if (!number) return std::nullopt;
    if (*number != std::floor(*number)) return 0;
    return calc::RoundHalfEven<int>(*number).value_or(0);
}

QString oneDecimal(double value) { return DecimalText(value, 1); }

QString matchText(const calc::CoreFromSides &core, double used) {
    const QString s = ToQString(calc::FormatSingle(static_cast<calc::Single>(used)));
    switch (core.match) {
    case calc::SectionMatch::WithinTolerance: return QStringLiteral("в пределах 5 % от S = %1 см²").arg(s);
    case calc::SectionMatch::SidesGiveLess:
        return QStringLiteral("меньше S = %1 см² более чем на 5 %: расчёт взял S").arg(s);
    case calc::SectionMatch::SidesGiveMore:
        return QStringLiteral("больше S = %1 см² более чем на 5 %: расчёт взял S").arg(s);
    }
    return {};
}

QString toBuyText(const calc::WireToBuy &wire) {
    return QStringLiteral("%1 м, %2 кг").arg(wire.lengthToBuy).arg(DecimalText(wire.massToBuy, 2));
}

QString spanText(const calc::TurnSpan &span) {
    return QStringLiteral("%1–%2: %3 мм²").arg(span.first).arg(span.last).arg(span.section);
}

QString tapRemark(const calc::Tap &tap) {
    QStringList remarks;
    if (tap.aboveSafeVoltage) remarks << QStringLiteral("выше %1 В").arg(DecimalText(calc::kSafeNoLoadVoltage, 0));
    if (tap.saturated) remarks << QStringLiteral("насыщение: от %1 Тл").arg(DecimalText(calc::kInductionLimit, 1));
    return remarks.join(QStringLiteral("; "));
}

// The cells of a tap's row, in the table's column order.
QStringList tapCells(const calc::Tap &tap) {
    return {QString::number(tap.turns), DecimalText(tap.noLoadVoltage, 1), DecimalText(tap.induction, 2),
            tapRemark(tap)};
}

// The drawing of the plan's builds in the typed window; none until the window has a width.
std::optional<WindingSizes> drawingSizes(const calc::WindingPlanInput &input, const calc::WindingPlan &plan) {
    if (!input.windowWidth) return std::nullopt;
    const auto known = [](const calc::Figure<double> &build) {
        return build.known() ? std::optional<double>(build.value()) : std::nullopt;
    };
    const bool toroid = input.coreType == calc::CoreType::Toroid;
    return WindingSizes{toroid ? WindowShape::Circle : WindowShape::Rectangle,
                        *input.windowWidth,
                        input.windowHeight.value_or(0),
                        input.legWidth,
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
    m_answersOf.secondMainsTurns = addAnswer(form, "secondMainsTurns", QStringLiteral("Витки до второго напряжения"));
    m_answersOf.lowerMainsTurns = addAnswer(form, "lowerMainsTurns", QStringLiteral("Витки на ток низшего"));
    m_answersOf.higherMainsTurns = addAnswer(form, "higherMainsTurns", QStringLiteral("Витки на ток высшего"));
    m_answersOf.breaker = addAnswer(form, "breaker", QStringLiteral("Автомат (А)"));
    m_answersOf.socketNote = addNote(form, "socketNote");
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
    const calc::InputNumbers &in = m_design.inputs;
    const calc::ResultNumbers &out = m_design.results;
    calc::WindingPlanInput plan;
    plan.mainsVoltage = in.mainsVoltage;
    plan.outputVoltage = in.outputVoltage;
    plan.weldingCurrent = in.weldingCurrent;
    plan.coreSection = in.coreSection;
    plan.turnsI = out.w1;
    plan.turnsII = out.w2;
    plan.wireSectionI = out.q1;
    plan.wireSectionII = out.q2;
    plan.currentI = out.i1;
    plan.materialI = m_design.materialI;
    plan.materialII = m_design.materialII;
    plan.coreType = in.coreType == calc::kToroidIndex ? calc::CoreType::Toroid : calc::CoreType::Rod;
    plan.fillFactor = m_window.fillFactor;
    plan.windowWidth = m_window.width;
    plan.windowHeight = m_window.height;
    plan.legWidth = numberIn(m_inputs.legWidth);
    plan.legDepth = numberIn(m_inputs.legDepth);
    plan.tapCount = countIn(m_inputs.tapCount);
    plan.lowestTapVoltage = numberIn(m_inputs.lowestTapVoltage);
    plan.secondMainsVoltage = numberIn(m_inputs.secondMainsVoltage);
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
           FigureText(plan.core, [](const calc::CoreFromSides &core) { return oneDecimal(core.section); }));
    const double used = m_design.inputs.coreSection;
    m_answersOf.sectionMatch->setText(
        FigureText(plan.core, [used](const calc::CoreFromSides &core) { return matchText(core, used); }));
    answer(m_answersOf.buildI, FigureText(plan.buildI, oneDecimal));
    answer(m_answersOf.buildII, FigureText(plan.buildII, oneDecimal));
    m_answersOf.fitVerdict->setText(QStringLiteral("Окно: ") + FigureText(plan.fitsWindow, [](bool fits) {
                                        return fits ? QStringLiteral("обмотки помещаются")
                                                    : QStringLiteral("не помещается");
                                    }));
}

void PlanPanel::showWire(const calc::WindingPlan &plan) {
    const auto showOne = [](const calc::Figure<calc::WireToBuy> &wire, QLineEdit *meanTurn, QLineEdit *length,
                            QLineEdit *toBuy, QLineEdit *resistance) {
        answer(meanTurn, FigureText(wire, [](const calc::WireToBuy &w) { return oneDecimal(w.meanTurn); }));
        answer(length, FigureText(wire, [](const calc::WireToBuy &w) { return oneDecimal(w.length); }));
        answer(toBuy, FigureText(wire, toBuyText));
        answer(resistance, FigureText(wire, [](const calc::WireToBuy &w) { return SignificantText(w.resistance); }));
    };
    showOne(plan.wireI, m_answersOf.meanTurnI, m_answersOf.lengthI, m_answersOf.toBuyI, m_answersOf.resistanceI);
    showOne(plan.wireII, m_answersOf.meanTurnII, m_answersOf.lengthII, m_answersOf.toBuyII, m_answersOf.resistanceII);
    answer(m_answersOf.copperLosses, FigureText(plan.copperLosses, [](double w) { return DecimalText(w, 0); }));
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
                                                    : ReasonText(*plan.taps.reason()));
}

void PlanPanel::showMains(const calc::WindingPlan &plan) {
    const calc::Figure<calc::SecondMains> &mains = plan.secondMains;
    answer(m_answersOf.secondMainsTurns,
           FigureText(mains, [](const calc::SecondMains &m) { return QString::number(m.turns); }));
    answer(m_answersOf.lowerMainsTurns,
           FigureText(mains, [](const calc::SecondMains &m) { return spanText(m.lowerMainsTurns); }));
    answer(m_answersOf.higherMainsTurns, FigureText(mains, [](const calc::SecondMains &m) {
               return m.higherMainsTurns ? spanText(*m.higherMainsTurns) : QStringLiteral("нет");
           }));
    answer(m_answersOf.breaker, FigureText(plan.breakerRating, [](int amperes) { return QString::number(amperes); }));
    m_answersOf.socketNote->setText(FigureText(plan.needsDedicatedLine, [](bool dedicated) {
        return dedicated ? QStringLiteral("Бытовая розетка не выдержит: нужна отдельная линия.")
                         : QStringLiteral("Хватит бытовой розетки.");
    }));
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
