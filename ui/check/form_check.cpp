#include "ui/check/form_check.h"

#include <QBoxLayout>
#include <QClipboard>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>

#include "help/context_help_filter.h"
#include "ui/check/connection_diagram.h"
#include "ui/check/figure_group.h"
#include "ui/check/figure_panel.h"
#include "ui/check/weld_chart.h"
#include "ui/check/winding_drawing.h"
#include "ui/fields/numeric_entry_filter.h"
#include "ui/fields/utf8_text.h"

namespace tremira::ui {
namespace {

const QString kSheetFileName = QStringLiteral("лист.pdf");

// A name typed without an extension gets ".pdf" before the dialog asks whether to replace a file.
QString askSheetPath(QWidget *parent, const QString &suggested) {
    QFileDialog dialog(parent, QStringLiteral("Сохранить лист"), suggested, QStringLiteral("PDF (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles().value(0);
}

// The main window's fields as the design's rows: the texts it shows, as it shows them.
void addDesignRows(calc::FigureSection &design, const reports::DesignSnapshot &d) {
    const struct {
        std::string_view name;
        std::string_view caption;
        const QString &text;
    } shown[] = {
        {"mainsVoltage", "Напряжение сети (В)", d.Text4},
        {"outputVoltage", "Выходное напряжение (В)", d.Text3},
        {"weldingCurrent", "Ток сварки (А)", d.Text2},
        {"coreSection", "Сечение сердечника (см²)", d.Text1},
        {"materialI", "Материал I обмотки", d.Combo1},
        {"materialII", "Материал II обмотки", d.Combo2},
        {"coreType", "Тип сердечника", d.Combo3},
        {"induction", "Макс. индукция (Тл)", d.Text10},
        {"turnsI", "Витки I обмотки", d.Text6},
        {"turnsII", "Витки II обмотки", d.Text7},
        {"wireSectionI", "Сечение провода I (мм²)", d.Text8},
        {"wireSectionII", "Сечение провода II (мм²)", d.Text9},
        {"overallPower", "Габаритная мощность (Вт)", d.Text5},
        {"requiredPower", "Требуемая мощность (Вт)", d.Text11},
        {"currentI", "Максимальный ток I обмотки (А)", d.Text12},
    };
    std::vector<calc::FigureRow> rows;
    for (const auto &row : shown) rows.push_back({{row.name, {}, row.caption}, row.text.toStdString(), true});
    design.rows.insert(design.rows.begin(), rows.begin(), rows.end());
}

// The sections of the check in the window's two columns.
constexpr std::size_t kDesignSection = 0;
constexpr std::size_t kWireSection = 1;
constexpr std::size_t kCoreWindowSection = 2;
constexpr std::size_t kVoltageSection = 3;
constexpr std::size_t kTestWindingSection = 4;

// The names of the typed fields, in the order of calc::TypedFields.
constexpr std::array<QStringView, 20> kTypedNames{
    u"windowWidth",      u"windowHeight",       u"fillFactor",    u"testTurns",
    u"testVoltage",      u"legWidth",           u"legDepth",      u"tapCount",
    u"lowestTapVoltage", u"secondMainsVoltage", u"arrangement",   u"gap",
    u"measuredTurns",    u"measuredCurrent",    u"chokeLegWidth", u"chokeLegDepth",
    u"chokeWindowWidth", u"chokeWindowHeight",  u"steelLoss",     u"insulationClass"};

// Where the plan's sections stand: the inputs and the core on the left, the wire and the mains on
// the right, the drawing and the connection diagram across, the taps across the foot.
constexpr PanelPlace kPlanPlaces[] = {{0, 0, 1, 1}, {1, 0, 1, 1}, {0, 1, 1, 1}, {3, 0, 1, 2}, {1, 1, 1, 1}};
constexpr PanelPlace kDrawingPlace{2, 0, 1, 2};
// The welding page: the inputs and the chart on the left, the induction and the choke on the
// right, the taps without and with the choke across, the heating of each at the foot.
constexpr PanelPlace kWeldPlaces[] = {{0, 0, 1, 1}, {0, 1, 1, 1}, {2, 0, 1, 2}, {1, 1, 1, 1},
                                      {3, 0, 1, 2}, {4, 0, 1, 1}, {4, 1, 1, 1}};
constexpr PanelPlace kChartPlace{1, 0, 1, 1};

QString textOf(const QWidget *typed) {
    if (const auto *choice = qobject_cast<const QComboBox *>(typed)) return choice->currentText();
    return static_cast<const QLineEdit *>(typed)->text();
}

void setTextOf(QWidget *typed, const QString &text) {
    if (auto *choice = qobject_cast<QComboBox *>(typed))
        choice->setCurrentText(text);
    else
        static_cast<QLineEdit *>(typed)->setText(text);
}

// The views point into the UTF-8 copies for as long as they live.
calc::TypedFields typedFieldsOf(const std::array<QByteArray, kTypedNames.size()> &t) {
    return {Utf8View(t[0]),  Utf8View(t[1]),  Utf8View(t[2]),  Utf8View(t[3]),  Utf8View(t[4]),
            Utf8View(t[5]),  Utf8View(t[6]),  Utf8View(t[7]),  Utf8View(t[8]),  Utf8View(t[9]),
            Utf8View(t[10]), Utf8View(t[11]), Utf8View(t[12]), Utf8View(t[13]), Utf8View(t[14]),
            Utf8View(t[15]), Utf8View(t[16]), Utf8View(t[17]), Utf8View(t[18]), Utf8View(t[19])};
}

}  // namespace

FormCheck::FormCheck(const ShownDesign &design, help::ContextHelpFilter &contextHelp, QWidget *parent)
    : QDialog(parent), m_design(design), m_contextHelp(contextHelp), m_numericFilter(new NumericEntryFilter(this)),
      m_outcome(checkOf({.fillFactor = calc::kDefaultFillFactor})), m_chooseSheetPath(askSheetPath) {
    setWindowTitle(QStringLiteral("Проверка и план намотки"));
    setWindowModality(Qt::WindowModal);
    auto *layout = new QVBoxLayout(this);
    m_pages = new QTabWidget;
    m_pages->setFocusPolicy(Qt::NoFocus);  // Tab goes to the typed fields; Ctrl+Tab turns the page
    m_pages->tabBar()->setFocusPolicy(Qt::NoFocus);
    m_pages->addTab(createCheckPage(), QStringLiteral("Проверка"));
    m_pages->addTab(createPlanPage(), QStringLiteral("План намотки"));
    m_pages->addTab(createWeldPage(), QStringLiteral("Ток и нагрев"));
    layout->addWidget(m_pages);
    layout->addLayout(createButtons());
    // The typed fields keep Escape from the dialog: the shortcut reaches it before they do.
    new QShortcut(QKeySequence::Cancel, this, this, &FormCheck::reject);
    for (std::size_t i = 0; i < kTypedNames.size(); ++i) {
        m_typed[i] = typedField(kTypedNames[i]);
        if (m_typed[i]) m_typed[i]->installEventFilter(this);
    }
    setTextOf(typedField(u"fillFactor"), ToQString(calc::kDefaultFillFactor));
    resize(openingSize());
    m_typed[0]->setFocus();
}

QWidget *FormCheck::typedField(QStringView name) const {
    for (const FigureGroup *group : m_checkGroups) {
        if (QWidget *field = group->input(name)) return field;
    }
    if (QWidget *field = m_plan->input(name)) return field;
    return m_weld->input(name);
}

calc::CheckOutcome FormCheck::checkOf(const calc::TypedFields &typed) const {
    calc::CheckOutcome outcome = calc::CheckDesign({m_design.inputs, m_design.results, typed});
    addDesignRows(outcome.check[kDesignSection], m_design.snapshot);
    return outcome;
}

QScrollArea *FormCheck::createCheckPage() {
    for (const calc::FigureSection &section : m_outcome.check) {
        auto *group = new FigureGroup(section, *m_numericFilter, m_contextHelp, help::HelpTopic::DesignCheck);
        connect(group, &FigureGroup::edited, this, &FormCheck::recalculate);
        m_checkGroups.push_back(group);
    }
    auto *page = new QWidget;
    m_page.columns = new QBoxLayout(QBoxLayout::LeftToRight, page);
    m_page.design = createColumn({kDesignSection, kWireSection});
    m_page.check = createColumn({kCoreWindowSection, kVoltageSection, kTestWindingSection});
    ShareCaptionColumn(m_checkGroups);
    m_page.columns->addWidget(m_page.design);
    m_page.columns->addWidget(m_page.check);
    m_page.scroll = new QScrollArea;
    m_page.scroll->setWidget(page);
    m_page.scroll->setWidgetResizable(true);
    m_page.scroll->setFocusPolicy(Qt::NoFocus);  // Tab goes to the typed fields only
    m_page.scroll->installEventFilter(this);
    page->installEventFilter(this);
    return m_page.scroll;
}

QWidget *FormCheck::createColumn(std::initializer_list<std::size_t> sections) {
    auto *column = new QWidget;
    auto *groups = new QVBoxLayout(column);
    groups->setContentsMargins({});
    for (std::size_t section : sections) groups->addWidget(m_checkGroups[section]);
    groups->addStretch();
    return column;
}

QScrollArea *FormCheck::createPlanPage() {
    m_drawing = new WindingDrawing;
    m_drawing->setObjectName(QStringLiteral("windingDrawing"));
    m_diagram = new ConnectionDiagram;
    m_diagram->setObjectName(QStringLiteral("connectionDiagram"));
    auto *pictures = new QWidget;
    m_planPictures = new QBoxLayout(QBoxLayout::LeftToRight, pictures);
    m_planPictures->setContentsMargins({});
    m_planPictures->addWidget(m_drawing);
    m_planPictures->addWidget(m_diagram);
    m_plan = new FigurePanel(m_outcome.plan, kPlanPlaces, pictures, kDrawingPlace, *m_numericFilter, m_contextHelp,
                             help::HelpTopic::WindingPlan);
    m_plan->setObjectName(QStringLiteral("planPage"));
    return scrolled(m_plan);
}

QScrollArea *FormCheck::createWeldPage() {
    m_chart = new WeldChart;
    m_chart->setObjectName(QStringLiteral("weldChart"));
    m_weld = new FigurePanel(m_outcome.weld, kWeldPlaces, m_chart, kChartPlace, *m_numericFilter, m_contextHelp,
                             help::HelpTopic::WeldingAndHeat);
    m_weld->setObjectName(QStringLiteral("weldPage"));
    return scrolled(m_weld);
}

QScrollArea *FormCheck::scrolled(QWidget *page) {
    connect(static_cast<FigurePanel *>(page), &FigurePanel::edited, this, &FormCheck::recalculate);
    page->installEventFilter(this);
    auto *scroll = new QScrollArea;
    scroll->setWidget(page);
    scroll->setWidgetResizable(true);
    scroll->setFocusPolicy(Qt::NoFocus);
    return scroll;
}

QLayout *FormCheck::createButtons() {
    m_copy = new QPushButton(QStringLiteral("Копировать"));
    m_copy->setObjectName(QStringLiteral("copyButton"));
    // The sheet's name is typed beside the button that saves it, and Tab reaches it just before.
    m_designName = new QLineEdit;
    m_designName->setObjectName(QStringLiteral("designName"));
    m_designName->setPlaceholderText(QString::fromUtf16(reports::kDefaultDesignName));
    m_contextHelp.setTopic(m_designName, help::HelpTopic::WindingPlan);
    // Enter moves on to the button, as in the typed fields; queued, so that the Enter itself
    // does not reach the button as well.
    connect(
        m_designName, &QLineEdit::returnPressed, this, [this] { focusNextChild(); }, Qt::QueuedConnection);
    auto *nameCaption = new QLabel(QStringLiteral("Название:"));
    nameCaption->setObjectName(QStringLiteral("designNameCaption"));
    nameCaption->setBuddy(m_designName);
    m_saveSheet = new QPushButton(QStringLiteral("Сохранить лист…"));
    m_saveSheet->setObjectName(QStringLiteral("saveSheetButton"));
    m_close = new QPushButton(QStringLiteral("Закрыть"));
    m_close->setObjectName(QStringLiteral("closeButton"));
    m_sheetStatus = new QLabel;
    m_sheetStatus->setObjectName(QStringLiteral("sheetStatus"));
    m_sheetStatus->setWordWrap(true);
    m_sheetStatus->setTextFormat(Qt::PlainText);
    m_sheetStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_sheetStatus->setFocusPolicy(Qt::NoFocus);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_sheetStatus, 1);
    for (QPushButton *button : {m_copy, m_saveSheet, m_close}) {
        button->setAutoDefault(false);
        m_contextHelp.setTopic(button, help::HelpTopic::DesignCheck);
    }
    buttons->addWidget(m_copy);
    buttons->addWidget(nameCaption);
    buttons->addWidget(m_designName);
    buttons->addWidget(m_saveSheet);
    buttons->addWidget(m_close);
    m_contextHelp.setTopic(m_saveSheet, help::HelpTopic::WindingPlan);
    connect(m_copy, &QPushButton::clicked, this, &FormCheck::copySummary);
    connect(m_saveSheet, &QPushButton::clicked, this, &FormCheck::saveSheet);
    connect(m_close, &QPushButton::clicked, this, &FormCheck::accept);
    return buttons;
}

bool FormCheck::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_page.scroll && event->type() == QEvent::Resize) arrangeColumns();
    if (watched == m_plan && event->type() == QEvent::Resize) arrangePlanPictures();
    const bool relaidOut = event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest;
    if (relaidOut && (watched == m_page.scroll->widget() || watched == m_plan || watched == m_weld)) {
        keepWrappedTextWhole(static_cast<QWidget *>(watched));
    }
    if (event->type() == QEvent::FocusIn) scrollIntoView(qobject_cast<QWidget *>(watched));
    return QDialog::eventFilter(watched, event);
}

void FormCheck::keepWrappedTextWhole(QWidget *page) {
    // The scroll area sizes its page for the width it has before its scroll bar appears, and
    // not again when an answer grows longer: the wrapped answers would get fewer lines than they
    // need.
    page->setMinimumHeight(page->heightForWidth(page->width()));
}

void FormCheck::scrollIntoView(QWidget *field) {
    for (QWidget *outer = field ? field->parentWidget() : nullptr; outer; outer = outer->parentWidget()) {
        if (auto *scroll = qobject_cast<QScrollArea *>(outer)) {
            scroll->ensureWidgetVisible(field);
            return;
        }
    }
}

void FormCheck::keyPressEvent(QKeyEvent *event) {
    // The buttons are not the dialog's default, so that Enter in a field presses none of them.
    auto *button = qobject_cast<QPushButton *>(focusWidget());
    if (button && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        button->click();
        return;
    }
    QDialog::keyPressEvent(event);
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

void FormCheck::arrangePlanPictures() {
    const int sideBySide = m_drawing->sizeHint().width() + m_planPictures->spacing() + m_diagram->sizeHint().width();
    const bool fits = m_planPictures->parentWidget()->width() >= sideBySide;
    m_planPictures->setDirection(fits ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
}

QSize FormCheck::openingSize() const {
    // A scroll area asks for a few dozen lines only; the window asks for its whole page.
    const int frame = 2 * m_page.scroll->frameWidth();
    const QSize wholePage = m_page.scroll->widget()->sizeHint() +
                            QSize(frame + m_page.scroll->verticalScrollBar()->sizeHint().width(), frame);
    const QSize wanted = sizeHint() - m_page.scroll->sizeHint() + wholePage;
    return wanted.boundedTo(screen()->availableGeometry().size());
}

void FormCheck::recalculate() {
    std::array<QByteArray, kTypedNames.size()> texts;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (m_typed[i]) texts[i] = textOf(m_typed[i]).toUtf8();
    }
    m_outcome = checkOf(typedFieldsOf(texts));
    for (std::size_t i = 0; i < m_checkGroups.size(); ++i) m_checkGroups[i]->showFigures(m_outcome.check[i]);
    m_plan->showFigures(m_outcome.plan);
    m_drawing->setFigure(m_outcome.drawing);
    m_diagram->setFigure(m_outcome.connections);
    m_weld->showFigures(m_outcome.weld);
    m_chart->setFigure(m_outcome.chart);
}

std::vector<calc::FigureSection> FormCheck::allSections() const {
    std::vector<calc::FigureSection> sections = m_outcome.check;
    for (const auto *part : {&m_outcome.plan, &m_outcome.weld})
        sections.insert(sections.end(), part->begin(), part->end());
    sections.push_back(m_outcome.workOrder);
    return sections;
}

QString FormCheck::summary() const {
    QString text = windowTitle() + QLatin1Char('\n');
    for (const reports::SheetSection &section : reports::SheetSectionsOf(allSections())) {
        text += QLatin1Char('\n') + section.title + QLatin1Char('\n');
        for (const QString &line : section.lines) text += line + QLatin1Char('\n');
    }
    return text;
}

void FormCheck::copySummary() const { QGuiApplication::clipboard()->setText(summary()); }

void FormCheck::setSheetFolder(const QString &folder) { m_sheetFolder = folder; }

void FormCheck::setSheetPathChooser(SheetPathChooser chooser) { m_chooseSheetPath = std::move(chooser); }

FormCheck::TypedTexts FormCheck::typedTexts() const {
    TypedTexts texts;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (m_typed[i]) texts[i] = textOf(m_typed[i]);
    }
    return texts;
}

void FormCheck::setTypedTexts(const TypedTexts &texts) {
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (m_typed[i]) setTextOf(m_typed[i], texts[i]);
    }
}

void FormCheck::saveSheet() {
    const QString path = m_chooseSheetPath(this, QDir(m_sheetFolder).filePath(kSheetFileName));
    if (path.isEmpty()) return;
    const auto onPaper = [](const QString &caption, const auto *picture) {
        return reports::SheetDrawing{caption, [picture](QPainter &painter, const QRectF &area) {
                                         picture->paint(painter, area, PaperPalette());
                                     }};
    };
    const reports::SheetTitleBlock head{m_designName->text(),
                                        reports::MakeReportStamp(QDateTime::currentDateTime(), QLocale::system()),
                                        QStringLiteral(TREMIRA_VERSION), reports::DesignInputsLine(m_design.snapshot)};
    const reports::WorkshopSheet sheet{
        windowTitle(),
        head,
        allSections(),
        {onPaper(QStringLiteral("Сердечник и обмотки"), m_drawing),
         onPaper(QStringLiteral("Схема соединений"), m_diagram),
         onPaper(QStringLiteral("Внешние характеристики отводов и линия дуги"), m_chart)}};
    const QString shownPath = QDir::toNativeSeparators(path);
    const auto error = reports::SaveWorkshopSheet(path, sheet);
    if (!error) {
        m_sheetStatus->setText(QStringLiteral("Лист сохранён: %1").arg(shownPath));
        return;
    }
    m_sheetStatus->setText(QStringLiteral("Лист не сохранён: %1 (%2)").arg(shownPath, error->reason));
    QMessageBox box(QMessageBox::Critical, windowTitle(), reports::FileWriteErrorText(*error, QStringLiteral("лист")),
                    QMessageBox::Ok, this);
    box.exec();
}

}  // namespace tremira::ui
