#include "ui/check/form_check.h"

#include <QApplication>
#include <QBoxLayout>
#include <QClipboard>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>

#include "calc/design_check.h"
#include "help/context_help_filter.h"
#include "ui/check/plan_panel.h"
#include "ui/fields/numeric_entry_filter.h"
#include "ui/fields/utf8_text.h"
#include "ui/fields/whole_text_tooltip.h"
#include "ui/layout/readable_colour.h"

namespace tremira::ui {
namespace {

const QString kSheetFileName = QStringLiteral("лист.pdf");

QString askSheetPath(QWidget *parent, const QString &suggested) {
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Сохранить лист"), suggested,
                                        QStringLiteral("PDF (*.pdf)"));
}

void showFigure(QLineEdit *field, const calc::CheckFigure &figure) {
    const QString text = ToQString(figure.text);
    field->setText(text);
    field->setToolTip(text);  // a message may be longer than the field
    field->setCursorPosition(0);
    // A figure in the palette's own text colour, a message in the program's message colour.
    QPalette palette = field->palette();
    const QPalette usual = QApplication::palette(field);
    palette.setColor(QPalette::Text,
                     figure.known ? usual.color(QPalette::Text) : MessageColourOn(usual.color(QPalette::Base)));
    field->setPalette(palette);
}

void showVerdict(QLabel *label, const calc::CheckFigure &verdict) {
    label->setText(QStringLiteral("Итог: ") + ToQString(verdict.text));
}

// A message in place of a figure is longer than a number: the field grows to show it whole.
void keepWholeTextShown(QLineEdit *field) {
    const auto fit = [field] { field->setMinimumWidth(WholeTextWidth(*field)); };
    QObject::connect(field, &QLineEdit::textChanged, field, fit);
    fit();
}

}  // namespace

FormCheck::FormCheck(const ShownDesign &design, help::ContextHelpFilter &contextHelp, QWidget *parent)
    : QDialog(parent), m_design(design), m_contextHelp(contextHelp), m_numericFilter(new NumericEntryFilter(this)),
      m_chooseSheetPath(askSheetPath) {
    setWindowTitle(QStringLiteral("Проверка и план намотки"));
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    m_pages = new QTabWidget;
    m_pages->setFocusPolicy(Qt::NoFocus);  // Tab goes to the typed fields; Ctrl+Tab turns the page
    m_pages->tabBar()->setFocusPolicy(Qt::NoFocus);
    m_pages->addTab(createCheckPage(), QStringLiteral("Проверка"));
    m_pages->addTab(createPlanPage(), QStringLiteral("План намотки"));
    layout->addWidget(m_pages);
    layout->addLayout(createButtons());
    // The typed fields keep Escape from the dialog: the shortcut reaches it before they do.
    new QShortcut(QKeySequence::Cancel, this, this, &FormCheck::reject);
    // The core window is typed once, here, for the check and the plan alike.
    for (QLineEdit *typed : {m_windowWidth, m_windowHeight, m_fillFactor})
        connect(typed, &QLineEdit::textChanged, this, &FormCheck::feedCoreWindow);
    recheck();
    feedCoreWindow();
    resize(openingSize());
    m_windowWidth->setFocus();
}

QScrollArea *FormCheck::createCheckPage() {
    auto *page = new QWidget;
    m_page.columns = new QBoxLayout(QBoxLayout::LeftToRight, page);
    m_page.design = createDesignColumn();
    m_page.check = createCheckColumn();
    m_page.columns->addWidget(m_page.design);
    m_page.columns->addWidget(m_page.check);
    m_page.scroll = new QScrollArea;
    m_page.scroll->setWidget(page);
    m_page.scroll->setWidgetResizable(true);
    m_page.scroll->setFocusPolicy(Qt::NoFocus);  // Tab goes to the typed fields only
    m_page.scroll->installEventFilter(this);
    return m_page.scroll;
}

QScrollArea *FormCheck::createPlanPage() {
    m_plan = new PlanPanel(m_contextHelp);
    m_plan->setDesign({m_design.inputs, m_design.results, m_design.materialI, m_design.materialII});
    auto *scroll = new QScrollArea;
    scroll->setWidget(m_plan);
    scroll->setWidgetResizable(true);
    scroll->setFocusPolicy(Qt::NoFocus);
    return scroll;
}

QWidget *FormCheck::createDesignColumn() {
    const ShownDesign &d = m_design;
    auto *column = new QWidget;
    auto *sections = new QVBoxLayout(column);
    sections->setContentsMargins({});
    addSection(sections, QStringLiteral("Расчёт"));
    const struct {
        const char *name;
        QString caption;
        QString text;
    } shown[] = {
        {"mainsVoltage", QStringLiteral("Напряжение сети (В)"), d.snapshot.Text4},
        {"outputVoltage", QStringLiteral("Выходное напряжение (В)"), d.snapshot.Text3},
        {"weldingCurrent", QStringLiteral("Ток сварки (А)"), d.snapshot.Text2},
        {"coreSection", QStringLiteral("Сечение сердечника (см²)"), d.snapshot.Text1},
        {"materialI", QStringLiteral("Материал I обмотки"), d.snapshot.Combo1},
        {"materialII", QStringLiteral("Материал II обмотки"), d.snapshot.Combo2},
        {"coreType", QStringLiteral("Тип сердечника"), d.snapshot.Combo3},
        {"induction", QStringLiteral("Макс. индукция (Тл)"), d.snapshot.Text10},
        {"turnsI", QStringLiteral("Витки I обмотки"), d.snapshot.Text6},
        {"turnsII", QStringLiteral("Витки II обмотки"), d.snapshot.Text7},
        {"wireSectionI", QStringLiteral("Сечение провода I (мм²)"), d.snapshot.Text8},
        {"wireSectionII", QStringLiteral("Сечение провода II (мм²)"), d.snapshot.Text9},
        {"overallPower", QStringLiteral("Габаритная мощность (Вт)"), d.snapshot.Text5},
        {"requiredPower", QStringLiteral("Требуемая мощность (Вт)"), d.snapshot.Text11},
        {"currentI", QStringLiteral("Максимальный ток I обмотки (А)"), d.snapshot.Text12},
    };
    for (const auto &row : shown) addAnswer(row.name, row.caption, row.text);
    m_voltsPerTurn = addAnswer("voltsPerTurn", QStringLiteral("Вольт на виток K (В)"));

    addSection(sections, QStringLiteral("Провод"));
    m_wireDiameterI = addAnswer("wireDiameterI", QStringLiteral("Диаметр провода I (мм)"));
    m_wireNominalI = addAnswer("wireNominalI", QStringLiteral("Провод I по IEC 60317 (мм)"));
    m_wireDiameterII = addAnswer("wireDiameterII", QStringLiteral("Диаметр провода II (мм)"));
    m_wireNominalII = addAnswer("wireNominalII", QStringLiteral("Провод II по IEC 60317 (мм)"));
    sections->addStretch();
    return column;
}

QWidget *FormCheck::createCheckColumn() {
    const bool toroid = m_design.inputs.coreType == calc::kToroidIndex;
    auto *column = new QWidget;
    auto *sections = new QVBoxLayout(column);
    sections->setContentsMargins({});
    addSection(sections, QStringLiteral("Окно сердечника"));
    m_windowWidth = addInput("windowWidth",
                             toroid ? QStringLiteral("Внутренний диаметр (мм)") : QStringLiteral("Ширина окна (мм)"));
    m_windowHeight = addInput("windowHeight", QStringLiteral("Высота окна (мм)"));
    m_windowHeight->setEnabled(!toroid);  // a toroid's window is its inner circle
    m_fillFactor =
        addInput("fillFactor", QStringLiteral("Коэффициент заполнения"), ToQString(calc::kDefaultFillFactor));
    m_fillFactor->setPlaceholderText(ToQString(calc::kDefaultFillFactor));  // what the check takes for an empty one
    m_copperArea = addAnswer("copperArea", QStringLiteral("Площадь меди (мм²)"));
    m_neededWindowArea = addAnswer("neededWindowArea", QStringLiteral("Нужно окно (мм²)"));
    m_windowArea = addAnswer("windowArea", QStringLiteral("Площадь окна (мм²)"));
    m_fillPercent = addAnswer("fillPercent", QStringLiteral("Заполнение (%)"));
    m_fillVerdict = addVerdict("fillVerdict");

    addSection(sections, QStringLiteral("Напряжение холостого хода"));
    m_loadVoltage = addAnswer("loadVoltage", QStringLiteral("Напряжение дуги (В)"));
    m_strikeRatio = addAnswer("strikeRatio", QStringLiteral("Запас U2 : Uдуги"));
    m_voltageVerdict = addVerdict("voltageVerdict");

    // A test winding on a transformer whose winding I is kept: it tells the turns of the new
    // winding II, the turns winding I acts with, and whether that core saturates.
    addSection(sections, QStringLiteral("Пробная обмотка (перемотка готового трансформатора)"));
    m_testTurns = addInput("testTurns", QStringLiteral("Витки пробной обмотки"));
    m_testVoltage = addInput("testVoltage", QStringLiteral("Напряжение на ней (В)"));
    m_testVoltsPerTurn = addAnswer("testVoltsPerTurn", QStringLiteral("Вольт на виток K′ (В)"));
    m_correctedTurnsI = addAnswer("correctedTurnsI", QStringLiteral("Действующие витки I обмотки w1′"));
    m_correctedTurnsII = addAnswer("correctedTurnsII", QStringLiteral("Витки новой II обмотки w2′"));
    m_actualInduction = addAnswer("actualInduction", QStringLiteral("Индукция сердечника B′ (Тл)"));
    m_inductionVerdict = addVerdict("inductionVerdict");
    sections->addStretch();
    return column;
}

QLayout *FormCheck::createButtons() {
    m_copy = new QPushButton(QStringLiteral("Копировать"));
    m_copy->setObjectName(QStringLiteral("copyButton"));
    m_saveSheet = new QPushButton(QStringLiteral("Сохранить лист…"));
    m_saveSheet->setObjectName(QStringLiteral("saveSheetButton"));
    m_close = new QPushButton(QStringLiteral("Закрыть"));
    m_close->setObjectName(QStringLiteral("closeButton"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *button : {m_copy, m_saveSheet, m_close}) {
        button->setAutoDefault(false);
        m_contextHelp.setTopic(button, help::HelpTopic::DesignCheck);
        buttons->addWidget(button);
    }
    m_contextHelp.setTopic(m_saveSheet, help::HelpTopic::WindingPlan);
    connect(m_copy, &QPushButton::clicked, this, &FormCheck::copySummary);
    connect(m_saveSheet, &QPushButton::clicked, this, &FormCheck::saveSheet);
    connect(m_close, &QPushButton::clicked, this, &FormCheck::accept);
    return buttons;
}

bool FormCheck::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_page.scroll && event->type() == QEvent::Resize) arrangeColumns();
    return QDialog::eventFilter(watched, event);
}

void FormCheck::arrangeColumns() {
    // Measured with room for the vertical scroll bar, so that the choice never turns on the
    // scroll bar it brings or removes.
    const int width =
        m_page.scroll->maximumViewportSize().width() - m_page.scroll->verticalScrollBar()->sizeHint().width();
    const QMargins margins = m_page.columns->contentsMargins();
    const int sideBySide = margins.left() + m_page.design->sizeHint().width() + m_page.columns->spacing() +
                           m_page.check->sizeHint().width() + margins.right();
    m_page.columns->setDirection(width >= sideBySide ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
}

QSize FormCheck::openingSize() const {
    // A scroll area asks for a few dozen lines only; the window asks for its whole page.
    const int frame = 2 * m_page.scroll->frameWidth();
    const QSize wholePage = m_page.scroll->widget()->sizeHint() +
                            QSize(frame + m_page.scroll->verticalScrollBar()->sizeHint().width(), frame);
    const QSize wanted = sizeHint() - m_page.scroll->sizeHint() + wholePage;
    return wanted.boundedTo(screen()->availableGeometry().size());
}

void FormCheck::addSection(QVBoxLayout *column, const QString &title) {
    auto *group = new QGroupBox(title);
    auto *content = new QVBoxLayout(group);
    auto *form = new QFormLayout;
    form->setRowWrapPolicy(QFormLayout::WrapLongRows);  // a long message goes under its caption
    content->addLayout(form);
    column->addWidget(group);
    m_sections.push_back({title, {}, nullptr, content, form});
}

QLineEdit *FormCheck::addRow(const char *name, const QString &caption, const QString &text) {
    auto *field = new QLineEdit(text);
    field->setObjectName(QLatin1String(name));
    field->setAccessibleName(caption);
    m_contextHelp.setTopic(field, help::HelpTopic::DesignCheck);
    Section &section = m_sections.back();
    section.form->addRow(caption, field);  // the caption's label takes the field as its buddy
    section.rows.push_back({caption, field});
    return field;
}

QLineEdit *FormCheck::addAnswer(const char *name, const QString &caption, const QString &text) {
    QLineEdit *field = addRow(name, caption, text);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::ClickFocus);
    field->setCursorPosition(0);
    keepWholeTextShown(field);
    return field;
}

QLineEdit *FormCheck::addInput(const char *name, const QString &caption, const QString &text) {
    QLineEdit *field = addRow(name, caption, text);
    m_numericFilter->watch(field);
    connect(field, &QLineEdit::textChanged, this, &FormCheck::recheck);
    return field;
}

QLabel *FormCheck::addVerdict(const char *name) {
    auto *label = new QLabel;
    label->setObjectName(QLatin1String(name));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Section &section = m_sections.back();
    label->setAccessibleName(QStringLiteral("Итог: ") + section.title);
    section.content->addWidget(label);
    section.verdict = label;
    return label;
}

void FormCheck::recheck() {
    // The views of the check point into these UTF-8 copies for the length of the call.
    const QByteArray texts[] = {m_windowWidth->text().toUtf8(), m_windowHeight->text().toUtf8(),
                                m_fillFactor->text().toUtf8(), m_testTurns->text().toUtf8(),
                                m_testVoltage->text().toUtf8()};
    calc::DesignCheckInput input;
    input.design = m_design.inputs;
    input.results = m_design.results;
    input.windowWidth = Utf8View(texts[0]);
    input.windowHeight = Utf8View(texts[1]);
    input.fillFactor = Utf8View(texts[2]);
    input.testTurns = Utf8View(texts[3]);
    input.testVoltage = Utf8View(texts[4]);

    const calc::DesignCheckOutcome out = calc::CheckDesign(input);
    showFigure(m_voltsPerTurn, out.voltsPerTurn);
    showFigure(m_copperArea, out.copperArea);
    showFigure(m_neededWindowArea, out.neededWindowArea);
    showFigure(m_windowArea, out.windowArea);
    showFigure(m_fillPercent, out.fillPercent);
    showVerdict(m_fillVerdict, out.fillVerdict);
    showFigure(m_wireDiameterI, out.wireI.diameter);
    showFigure(m_wireNominalI, out.wireI.nominal);
    showFigure(m_wireDiameterII, out.wireII.diameter);
    showFigure(m_wireNominalII, out.wireII.nominal);
    showFigure(m_loadVoltage, out.loadVoltage);
    showFigure(m_strikeRatio, out.strikeRatio);
    showVerdict(m_voltageVerdict, out.voltageVerdict);
    showFigure(m_testVoltsPerTurn, out.testVoltsPerTurn);
    showFigure(m_correctedTurnsI, out.correctedTurnsI);
    showFigure(m_correctedTurnsII, out.correctedTurnsII);
    showFigure(m_actualInduction, out.actualInduction);
    showVerdict(m_inductionVerdict, out.inductionVerdict);
}

void FormCheck::feedCoreWindow() {
    m_plan->setCoreWindow({ReadTyped(m_windowWidth->text(), calc::ReadPlanNumber),
                           ReadTyped(m_windowHeight->text(), calc::ReadPlanNumber),
                           ReadTyped(m_fillFactor->text(), calc::ReadFillFactor)});
}

std::vector<reports::SheetSection> FormCheck::sheetSections() const {
    std::vector<reports::SheetSection> sections;
    for (const Section &section : m_sections) {
        reports::SheetSection lines{section.title, {}};
        for (const Row &row : section.rows) {
            if (row.field->isEnabled()) lines.lines << row.caption + QStringLiteral(": ") + row.field->text();
        }
        if (section.verdict) lines.lines << section.verdict->text();
        sections.push_back(lines);
    }
    for (reports::SheetSection &plan : m_plan->summary()) sections.push_back(std::move(plan));
    return sections;
}

QString FormCheck::summary() const {
    QString text = windowTitle() + QLatin1Char('\n');
    for (const reports::SheetSection &section : sheetSections()) {
        text += QLatin1Char('\n') + section.title + QLatin1Char('\n');
        for (const QString &line : section.lines) text += line + QLatin1Char('\n');
    }
    return text;
}

void FormCheck::copySummary() const { QGuiApplication::clipboard()->setText(summary()); }

void FormCheck::setSheetFolder(const QString &folder) { m_sheetFolder = folder; }

void FormCheck::setSheetPathChooser(SheetPathChooser chooser) { m_chooseSheetPath = std::move(chooser); }

void FormCheck::saveSheet() {
    const QString path = m_chooseSheetPath(this, QDir(m_sheetFolder).filePath(kSheetFileName));
    if (path.isEmpty()) return;
    const reports::WorkshopSheet sheet{windowTitle(), sheetSections(), [this](QPainter &painter, const QRectF &area) {
                                           m_plan->paintDrawing(painter, area);
                                       }};
    if (const auto error = reports::SaveWorkshopSheet(path, sheet)) {
        QMessageBox box(QMessageBox::Critical, windowTitle(), reports::FileWriteErrorText(*error), QMessageBox::Ok,
                        this);
        box.exec();
    }
}

}  // namespace tremira::ui
