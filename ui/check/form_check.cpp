#include "ui/check/form_check.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "calc/design_check.h"
#include "help/context_help_filter.h"
#include "ui/fields/numeric_entry_filter.h"
#include "ui/fields/utf8_text.h"
#include "ui/layout/readable_colour.h"
#include "ui/layout/twips_layout.h"

namespace tremira::ui {
namespace {

constexpr int kLeftColumn = 120;
constexpr int kRightColumn = 5160;
constexpr int kCaptionWidth = 2400;
constexpr int kFieldWidth = 2280;
constexpr int kRowHeight = 300;
constexpr int kFieldHeight = 285;
constexpr int kVerdictHeight = 510;
constexpr int kFontPixels = 12;

const QColor kMessageColour(128, 0, 0);

void showFigure(QLineEdit *field, const calc::CheckFigure &figure) {
    const QString text = ToQString(figure.text);
    field->setText(text);
    field->setToolTip(text);  // a message may be longer than the field
    field->setCursorPosition(0);
    // A figure in the palette's own text colour, a message in dark red made readable on the field.
    QPalette palette = field->palette();
    const QPalette usual = QApplication::palette(field);
    palette.setColor(QPalette::Text, figure.known ? usual.color(QPalette::Text)
                                                  : ReadableOn(kMessageColour, usual.color(QPalette::Base)));
    field->setPalette(palette);
}

void showVerdict(QLabel *label, const calc::CheckFigure &verdict) {
    label->setText(QStringLiteral("Итог: ") + ToQString(verdict.text));
}

}  // namespace

FormCheck::FormCheck(const ShownDesign &design, help::ContextHelpFilter &contextHelp, QWidget *parent)
    : QDialog(parent), m_design(design), m_contextHelp(contextHelp), m_numericFilter(new NumericEntryFilter(this)) {
    setWindowTitle(QStringLiteral("Проверка конструкции"));
    setModal(true);
    setFixedSize(TwipsRect(0, 0, 10200, 7500).size());
    setFont(PixelFont(kFontPixels));
    createDesignColumn();
    createCheckColumn();
    createButtons();
    recheck();
    m_windowWidth->setFocus();
}

void FormCheck::createDesignColumn() {
    const ShownDesign &d = m_design;
    addSection(QStringLiteral("Расчёт"), kLeftColumn, 120);
    const struct {
        const char *name;
        QString caption;
        QString text;
    } shown[] = {
        {"mainsVoltage", QStringLiteral("Напряжение сети (В)"), d.fields.Text4},
        {"outputVoltage", QStringLiteral("Выходное напряжение (В)"), d.fields.Text3},
        {"weldingCurrent", QStringLiteral("Ток сварки (А)"), d.fields.Text2},
        {"coreSection", QStringLiteral("Сечение сердечника (см²)"), d.fields.Text1},
        {"materialI", QStringLiteral("Материал I обмотки"), d.fields.Combo1},
        {"materialII", QStringLiteral("Материал II обмотки"), d.fields.Combo2},
        {"coreType", QStringLiteral("Тип сердечника"), d.fields.Combo3},
        {"induction", QStringLiteral("Макс. индукция (Тл)"), d.fields.Text10},
        {"turnsI", QStringLiteral("Витки I обмотки"), d.fields.Text6},
        {"turnsII", QStringLiteral("Витки II обмотки"), d.fields.Text7},
        {"wireSectionI", QStringLiteral("Сечение провода I (мм²)"), d.fields.Text8},
        {"wireSectionII", QStringLiteral("Сечение провода II (мм²)"), d.fields.Text9},
    };
    int top = 420;
    for (const auto &row : shown) {
        addRow(row.name, row.caption, kLeftColumn, top, row.text);
        top += kRowHeight;
    }
    m_voltsPerTurn = addRow("voltsPerTurn", QStringLiteral("Вольт на виток K (В)"), kLeftColumn, top);

    addSection(QStringLiteral("Провод"), kLeftColumn, 4440);
    m_wireDiameterI = addRow("wireDiameterI", QStringLiteral("Диаметр провода I (мм)"), kLeftColumn, 4740);
    m_wireNominalI = addRow("wireNominalI", QStringLiteral("Провод I по IEC 60317 (мм)"), kLeftColumn, 5040);
    m_wireDiameterII = addRow("wireDiameterII", QStringLiteral("Диаметр провода II (мм)"), kLeftColumn, 5340);
    m_wireNominalII = addRow("wireNominalII", QStringLiteral("Провод II по IEC 60317 (мм)"), kLeftColumn, 5640);
}

void FormCheck::createCheckColumn() {
    const bool toroid = m_design.inputs.coreType == calc::kToroidIndex;
    addSection(QStringLiteral("Окно сердечника"), kRightColumn, 120);
    m_windowWidth =
        addInput("windowWidth", toroid ? QStringLiteral("Внутренний диаметр (мм)") : QStringLiteral("Ширина окна (мм)"),
                 kRightColumn, 420);
    m_windowHeight = addInput("windowHeight", QStringLiteral("Высота окна (мм)"), kRightColumn, 720);
    m_windowHeight->setEnabled(!toroid);  // a toroid's window is its inner circle
    m_fillFactor = addInput("fillFactor", QStringLiteral("Коэффициент заполнения"), kRightColumn, 1020,
                            ToQString(calc::kDefaultFillFactor));
    m_fillFactor->setPlaceholderText(ToQString(calc::kDefaultFillFactor));  // what the check takes for an empty one
    m_copperArea = addRow("copperArea", QStringLiteral("Площадь меди (мм²)"), kRightColumn, 1320);
    m_neededWindowArea = addRow("neededWindowArea", QStringLiteral("Нужно окно (мм²)"), kRightColumn, 1620);
    m_windowArea = addRow("windowArea", QStringLiteral("Площадь окна (мм²)"), kRightColumn, 1920);
    m_fillPercent = addRow("fillPercent", QStringLiteral("Заполнение (%)"), kRightColumn, 2220);
    m_fillVerdict = addVerdict("fillVerdict", kRightColumn, 2520);

    addSection(QStringLiteral("Напряжение холостого хода"), kRightColumn, 3120);
    m_loadVoltage = addRow("loadVoltage", QStringLiteral("Напряжение дуги (В)"), kRightColumn, 3420);
    m_strikeRatio = addRow("strikeRatio", QStringLiteral("Запас U2 : Uдуги"), kRightColumn, 3720);
    m_voltageVerdict = addVerdict("voltageVerdict", kRightColumn, 4020);

    addSection(QStringLiteral("Пробная обмотка"), kRightColumn, 4620);
    m_testTurns = addInput("testTurns", QStringLiteral("Витки пробной обмотки"), kRightColumn, 4920);
    m_testVoltage = addInput("testVoltage", QStringLiteral("Напряжение на ней (В)"), kRightColumn, 5220);
    m_testVoltsPerTurn = addRow("testVoltsPerTurn", QStringLiteral("Вольт на виток K′ (В)"), kRightColumn, 5520);
    m_correctedTurnsI = addRow("correctedTurnsI", QStringLiteral("Витки I обмотки w1′"), kRightColumn, 5820);
    m_correctedTurnsII = addRow("correctedTurnsII", QStringLiteral("Витки II обмотки w2′"), kRightColumn, 6120);
    m_actualInduction = addRow("actualInduction", QStringLiteral("Индукция B′ (Тл)"), kRightColumn, 6420);
    m_inductionVerdict = addVerdict("inductionVerdict", kRightColumn, 6720);
}

void FormCheck::createButtons() {
    m_copy = new QPushButton(QStringLiteral("Копировать"), this);
    m_copy->setObjectName(QStringLiteral("copyButton"));
    m_copy->setGeometry(TwipsRect(kLeftColumn, 6720, 1500, 375));
    m_close = new QPushButton(QStringLiteral("Закрыть"), this);
    m_close->setObjectName(QStringLiteral("closeButton"));
    m_close->setGeometry(TwipsRect(kLeftColumn + 1620, 6720, 1500, 375));
    for (QPushButton *button : {m_copy, m_close}) {
        button->setAutoDefault(false);
        m_contextHelp.setTopic(button, help::HelpTopic::DesignCheck);
    }
    connect(m_copy, &QPushButton::clicked, this, &FormCheck::copySummary);
    connect(m_close, &QPushButton::clicked, this, &FormCheck::accept);
}

void FormCheck::addSection(const QString &title, int left, int top) {
    auto *caption = new QLabel(title, this);
    caption->setGeometry(TwipsRect(left, top, kCaptionWidth + kFieldWidth, kFieldHeight));
    QFont font = caption->font();
    font.setBold(true);
    caption->setFont(font);
    m_sections.push_back({title, {}, nullptr});
}

QLineEdit *FormCheck::addRow(const char *name, const QString &caption, int left, int top, const QString &text) {
    auto *label = new QLabel(caption, this);
    label->setGeometry(TwipsRect(left, top, kCaptionWidth, kFieldHeight));
    auto *field = new QLineEdit(text, this);
    field->setObjectName(QLatin1String(name));
    field->setGeometry(TwipsRect(left + kCaptionWidth + 40, top, kFieldWidth, kFieldHeight));
    field->setReadOnly(true);
    field->setCursorPosition(0);
    m_contextHelp.setTopic(field, help::HelpTopic::DesignCheck);
    label->setBuddy(field);
    m_sections.back().rows.push_back({caption, field});
    return field;
}

QLineEdit *FormCheck::addInput(const char *name, const QString &caption, int left, int top, const QString &text) {
    QLineEdit *field = addRow(name, caption, left, top, text);
    field->setReadOnly(false);
    m_numericFilter->watch(field);
    connect(field, &QLineEdit::textChanged, this, &FormCheck::recheck);
    return field;
}

QLabel *FormCheck::addVerdict(const char *name, int left, int top) {
    auto *label = new QLabel(this);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(TwipsRect(left, top, kCaptionWidth + 40 + kFieldWidth, kVerdictHeight));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_sections.back().verdict = label;
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

QString FormCheck::summary() const {
    QString text = windowTitle() + QLatin1Char('\n');
    for (const Section &section : m_sections) {
        text += QLatin1Char('\n') + section.title + QLatin1Char('\n');
        for (const Row &row : section.rows) {
            if (row.field->isEnabled())
                text += row.caption + QStringLiteral(": ") + row.field->text() + QLatin1Char('\n');
        }
        if (section.verdict) text += section.verdict->text() + QLatin1Char('\n');
    }
    return text;
}

void FormCheck::copySummary() const { QGuiApplication::clipboard()->setText(summary()); }

}  // namespace tremira::ui
