#include "ui/main/form1.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

#include <limits>

#include "calc/design_calculation.h"
#include "colours/readable_colour.h"
#include "desktop/program_icon.h"
#include "help/chelp.h"
#include "help/context_help_filter.h"
#include "ui/fields/accessible_names.h"
#include "ui/fields/numeric_entry_filter.h"
#include "ui/fields/utf8_text.h"
#include "ui/layout/twips_layout.h"
#include "ui/main/menu_bar_keys.h"

namespace tremira::ui {
namespace {

constexpr int kClientWidth = 7830;
constexpr int kClientHeight = 3855;
constexpr int kTallLabelHeight = 375;
constexpr int kFieldHeight = 315;

const QColor kInputCaptionColour(0, 128, 0);
const QColor kRed(255, 0, 0);

// Font sizes in pixels: 8 pt and 9.75 pt at 96 dpi.
constexpr int kWindowFontPixels = 11;
constexpr int kFrameCaptionFontPixels = 13;

// Liberation Sans is a little wider than the face the label widths were made for: blanks one
// pixel narrower let "Выходное напряжение (вольт)" fit its label whole.
QFont windowFont() {
    QFont font = PixelFont(kWindowFontPixels);
    font.setWordSpacing(-1);
    return font;
}

void fillOptionList(QComboBox *list, const std::array<std::string_view, 2> &entries) {
    for (std::string_view entry : entries) {
        list->addItem(ToQString(entry));
    }
    list->setCurrentIndex(0);
}

}  // namespace

Form1::Form1(const QString &programFolder, help::ViewerCall helpViewer, const QString &printModule, QWidget *parent)
    : QMainWindow(parent), m_curDir(programFolder), m_helpViewer(std::move(helpViewer)), m_printModule(printModule) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Расчет сварочного трансформатора"));
    setWindowIcon(desktop::ProgramIcon());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFont(windowFont());

    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    m_client->setFixedSize(TwipsToPixels(kClientWidth), TwipsToPixels(kClientHeight));
    setCentralWidget(m_client);
    m_numericFilter = new NumericEntryFilter(this);
    m_contextHelp = new help::ContextHelpFilter(help::HelpFilePath(m_curDir), m_helpViewer, this);

    createInputFrame();
    createResultFrame();
    createButtons();
    createMenus();
    arrangeTabOrder();
    connectHandlers();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    startUp();
}

void Form1::createInputFrame() {
    addFrame("Frame2", "Ввод данных", 0, 1815, kInputCaptionColour);
    m_inputs.Text4 = addField("Text4", 3480, 240, 600, kFieldHeight);
    m_inputs.Text3 = addField("Text3", 3480, 600, 600, kFieldHeight);
    m_inputs.Text2 = addField("Text2", 3480, 960, 600, kFieldHeight);
    m_inputs.Text1 = addField("Text1", 3480, 1320, 600, kFieldHeight);
    m_inputs.Combo1 = addOptionList("Combo1", 6000, 240);
    m_inputs.Combo2 = addOptionList("Combo2", 6000, 600);
    m_inputs.Combo3 = addOptionList("Combo3", 6000, 960);
    m_inputs.Text10 = addField("Text10", 6840, 1320, 735, kFieldHeight);
    m_contextHelp->setTopic(m_inputs.Text4, help::HelpTopic::MainsVoltage);
    m_contextHelp->setTopic(m_inputs.Text3, help::HelpTopic::OutputVoltage);
    m_contextHelp->setTopic(m_inputs.Text2, help::HelpTopic::WeldingCurrent);
    m_contextHelp->setTopic(m_inputs.Text1, help::HelpTopic::CoreSection);
    m_contextHelp->setTopic(m_inputs.Combo3, help::HelpTopic::CoreType);
    m_contextHelp->setTopic(m_inputs.Text10, help::HelpTopic::Induction);

    m_inputs.Text4->setText(QStringLiteral("220"));
    m_inputs.Text3->setText(QStringLiteral("65"));
    m_inputs.Text10->setText(QStringLiteral("1,42"));
    m_inputs.Text2->setToolTip(QStringLiteral("Макс. ток сварки зависит от  диаметра электрода"));
    for (QLineEdit *field : {m_inputs.Text4, m_inputs.Text3, m_inputs.Text2, m_inputs.Text1, m_inputs.Text10})
        m_numericFilter->watch(field);

    addLabel("Label1", "Входное напряжение    (вольт)", 240, 360, 2415, m_inputs.Text4, kTallLabelHeight);
    addLabel("Label2", "Выходное напряжение (вольт)", 240, 720, 2295, m_inputs.Text3);
    addLabel("Label3", "Максимальный ток сварки (А)", 240, 1080, 2895, m_inputs.Text2);
    addLabel("Label5", "Сечение сердечника трансф-тора (см2)", 240, 1440, 3255, m_inputs.Text1);
    addLabel("Label6", "Материал I обмотки", 4200, 360, 1695, m_inputs.Combo1);
    addLabel("Label7", "Материал II обмотки", 4200, 720, 1815, m_inputs.Combo2, kTallLabelHeight);
    addLabel("Label12", "Тип сердечника", 4200, 1080, 1575, m_inputs.Combo3);
    addLabel("Label13", "Макс. индукция сердечника  (Тл)", 4200, 1440, 2775, m_inputs.Text10);
}

void Form1::createResultFrame() {
    addFrame("Frame1", "Расчетные данные", 1800, 1935, kRed);
    m_results.Text5 = addResultField("Text5", 3480, 2040, 600, kFieldHeight);
    m_results.Text6 = addResultField("Text6", 3480, 2400, 600, kFieldHeight);
    m_results.Text7 = addResultField("Text7", 3480, 2760, 600, kFieldHeight);
    m_results.Text12 = addResultField("Text12", 3480, 3120, 615, 285);
    m_results.Text11 = addResultField("Text11", 6960, 2040, 615, 285);
    m_results.Text8 = addResultField("Text8", 6960, 2400, 600, kFieldHeight);
    m_results.Text9 = addResultField("Text9", 6960, 2760, 600, kFieldHeight);

    addLabel("Label4", "Габаритн. мощность трансф-тора (вт)", 240, 2160, 3375, m_results.Text5);
    addLabel("Label10", "Количество витков I обмотки", 240, 2520, 2535, m_results.Text6);
    addLabel("Label11", "Количество витков II обмотки", 240, 2880, 2655, m_results.Text7);
    addLabel("Label15", "Максимальный ток I обмотки (A)", 240, 3240, 2655, m_results.Text12);
    addLabel("Label14", "Требуемая мощность тр-ра  (вт)", 4200, 2160, 2535, m_results.Text11);
    addLabel("Label8", "Сечение провода  I обмотки (см2)", 4200, 2520, 2775, m_results.Text8);
    addLabel("Label9", "Сечение провода II обмотки (см2)", 4200, 2880, 2775, m_results.Text9);
}

void Form1::createButtons() {
    m_buttons.cndCalc = addButton("cndCalc", "Расcчитать", 5160);
    // The caption's Latin c would make a Russian voice stumble over the word.
    m_buttons.cndCalc->setAccessibleName(QStringLiteral("Рассчитать"));
    m_buttons.cndExit = addButton("cndExit", "Выход", 6480);
}

void Form1::createMenus() {
    menuBar()->setNativeMenuBar(false);  // the client area lies below a menu bar of the window's own
    m_menus.mfile = menuBar()->addMenu(QStringLiteral("Файл"));
    m_menus.mfile->setObjectName(QStringLiteral("mfile"));
    m_contextHelp->setTopic(m_menus.mfile, help::HelpTopic::FileMenu);
    m_menus.MFsave = addMenuItem(m_menus.mfile, "MFsave", "Записать на диск", help::HelpTopic::FileMenu);
    m_menus.MFprint = addMenuItem(m_menus.mfile, "MFprint", "Распечатать", help::HelpTopic::FileMenu);
    addMenuItem(m_menus.mfile, "ser", nullptr, help::HelpTopic::FileMenu);
    // The exit item has always carried help number 6, which the help file maps to the induction.
    m_menus.MFexit = addMenuItem(m_menus.mfile, "MFexit", "Выход", help::HelpTopic::Induction);

    m_menus.MHelp = menuBar()->addMenu(QStringLiteral("Помощь"));
    m_menus.MHelp->setObjectName(QStringLiteral("MHelp"));
    m_contextHelp->setTopic(m_menus.MHelp, help::HelpTopic::HelpMenu);
    m_menus.MHelpHTML = addMenuItem(m_menus.MHelp, "MHelpHTML", "Помощь", help::HelpTopic::HelpMenu);
    addMenuItem(m_menus.MHelp, "mh1", nullptr, help::HelpTopic::Overview);
    m_menus.MHabout = addMenuItem(m_menus.MHelp, "MHabout", "О программе", help::HelpTopic::HelpMenu);

    m_menus.MService = menuBar()->addMenu(QStringLiteral("Сервис"));
    m_menus.MService->setObjectName(QStringLiteral("MService"));
    m_contextHelp->setTopic(m_menus.MService, help::HelpTopic::DesignCheck);
    m_menus.MScheck = addMenuItem(m_menus.MService, "MScheck", "Проверка конструкции…", help::HelpTopic::DesignCheck);
    KeepMenuBarInKeyboardReach(this);
}

void Form1::arrangeTabOrder() {
    const QWidget *const order[] = {
        m_inputs.Text4,  m_inputs.Text3,  m_inputs.Text2,    m_inputs.Text1,    m_inputs.Combo1,  m_inputs.Combo2,
        m_inputs.Combo3, m_inputs.Text10, m_buttons.cndCalc, m_buttons.cndExit, m_results.Text5,  m_results.Text6,
        m_results.Text7, m_results.Text8, m_results.Text9,   m_results.Text11,  m_results.Text12, m_inputs.Text4};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
        QWidget::setTabOrder(const_cast<QWidget *>(order[i]), const_cast<QWidget *>(order[i + 1]));
    }
}

void Form1::connectHandlers() {
    connect(m_buttons.cndCalc, &QPushButton::clicked, this, &Form1::calculateDesign);
    connect(m_inputs.Text2, &QLineEdit::textChanged, this, &Form1::suggestCoreSection);
    connect(m_buttons.cndExit, &QPushButton::clicked, this, &Form1::exitProgram);
    connect(m_menus.MFexit, &QAction::triggered, this, &Form1::exitProgram);
    connect(m_menus.MFsave, &QAction::triggered, this, &Form1::saveReport);
    connect(m_menus.MFprint, &QAction::triggered, this, &Form1::printReport);
    connect(m_menus.MHelpHTML, &QAction::triggered, this, &Form1::showHelpContents);
    connect(m_menus.MHabout, &QAction::triggered, this, &Form1::showAbout);
    connect(m_menus.MScheck, &QAction::triggered, this, &Form1::showDesignCheck);
}

// The load steps after the second-copy check (which the entry point makes before any window).
void Form1::startUp() {
    QCoreApplication::instance()->installEventFilter(m_contextHelp);
    fillOptionList(m_inputs.Combo1, calc::kMaterialEntries);
    fillOptionList(m_inputs.Combo2, calc::kMaterialEntries);
    fillOptionList(m_inputs.Combo3, calc::kCoreTypeEntries);
    m_menus.MFsave->setEnabled(false);
    m_menus.MFprint->setEnabled(false);
    m_menus.MScheck->setEnabled(false);
    m_inputs.Text4->setFocus();
}

reports::DesignSnapshot Form1::snapshot() const {
    return {.Text4 = m_inputs.Text4->text(),
            .Text3 = m_inputs.Text3->text(),
            .Text2 = m_inputs.Text2->text(),
            .Text1 = m_inputs.Text1->text(),
            .Combo1 = m_inputs.Combo1->currentText(),
            .Combo2 = m_inputs.Combo2->currentText(),
            .Combo3 = m_inputs.Combo3->currentText(),
            .Text10 = m_inputs.Text10->text(),
            .Text5 = m_results.Text5->text(),
            .Text11 = m_results.Text11->text(),
            .Text6 = m_results.Text6->text(),
            .Text7 = m_results.Text7->text(),
            .Text8 = m_results.Text8->text(),
            .Text9 = m_results.Text9->text(),
            .Text12 = m_results.Text12->text()};
}

QLineEdit *Form1::addField(const char *name, int left, int top, int width, int height) {
    auto *field = new QLineEdit(m_client);
    field->setObjectName(QLatin1String(name));
    field->setGeometry(TwipsRect(left, top, width, height));
    // QLineEdit cuts text at 32767 characters unless told otherwise; a long paste must reach
    // the calculation whole and get its error there.
    field->setMaxLength(std::numeric_limits<int>::max());
    return field;
}

QComboBox *Form1::addOptionList(const char *name, int left, int top) {
    QComboBox *list = NewOptionList(m_client);
    list->setObjectName(QLatin1String(name));
    list->setGeometry(TwipsRect(left, top, 1575, kFieldHeight));
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setCompleter(nullptr);  // a typed text stays as typed, never completed to an entry
    return list;
}

QLineEdit *Form1::addResultField(const char *name, int left, int top, int width, int height) {
    QLineEdit *field = addField(name, left, top, width, height);
    field->setReadOnly(true);
    // Said after the name instead of the field's tooltip, which repeats a cut result's value.
    field->setAccessibleDescription(QStringLiteral("Результат расчёта"));
    QPalette palette = field->palette();
    palette.setColor(QPalette::Text, colours::FixedColourOn(kRed, palette.color(QPalette::Base)));
    field->setPalette(palette);
    return field;
}

void Form1::addLabel(const char *name, const char *caption, int left, int top, int width, QWidget *buddy, int height) {
    auto *label = new QLabel(m_client);
    label->setTextFormat(Qt::PlainText);  // captions only: no look for markup in each of them
    label->setText(QString::fromUtf8(caption));
    label->setObjectName(QLatin1String(name));
    label->setGeometry(TwipsRect(left, top, width, height));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setBuddy(buddy);
    NameAfterCaption(buddy, label->text());
    // Labels lie on the window under the fields: where a caption runs into its field, a click
    // there still reaches the field.
    label->stackUnder(buddy);
}

void Form1::addFrame(const char *name, const char *caption, int top, int height, const QColor &captionColour) {
    auto *frame = new QGroupBox(QString::fromUtf8(caption), m_client);
    frame->setObjectName(QLatin1String(name));
    frame->setGeometry(TwipsRect(120, top, 7575, height));
    QFont font = PixelFont(kFrameCaptionFontPixels);
    font.setBold(true);
    frame->setFont(font);
    QPalette palette = frame->palette();
    const QColor shownColour = colours::FixedColourOn(captionColour, palette.color(QPalette::Window));
    palette.setColor(QPalette::WindowText, shownColour);
    palette.setColor(QPalette::Text, shownColour);
    frame->setPalette(palette);
}

QPushButton *Form1::addButton(const char *name, const char *caption, int left) {
    auto *button = new QPushButton(QString::fromUtf8(caption), m_client);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(TwipsRect(left, 3240, 1095, kFieldHeight));
    // Enter presses the focused button, as Space does; a main window has no default button, so
    // Enter in a field still only moves the focus.
    button->setAutoDefault(true);
    return button;
}

QAction *Form1::addMenuItem(QMenu *menu, const char *name, const char *caption, help::HelpTopic topic) {
    QAction *item = caption ? menu->addAction(QString::fromUtf8(caption)) : menu->addSeparator();
    item->setObjectName(QLatin1String(name));
    m_contextHelp->setTopic(item, topic);
    return item;
}

}  // namespace tremira::ui
