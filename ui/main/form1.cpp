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
#include "help/chelp.h"
#include "ui/fields/calc_text.h"
#include "ui/fields/numeric_entry_filter.h"
#include "ui/layout/twips_layout.h"
#include "ui/main/program_start.h"
#include "ui/main/window_icon.h"

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
    QFont font = pixelFont(kWindowFontPixels);
    font.setWordSpacing(-1);
    return font;
}

void fillOptionList(QComboBox *list, const std::array<std::string_view, 2> &entries) {
    for (std::string_view entry : entries) {
        list->addItem(toQString(entry));
    }
    list->setCurrentIndex(0);
}

}  // namespace

Form1::Form1(QWidget *parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Расчет сварочного трансформатора"));
    setWindowIcon(QPixmap::fromImage(DrawWindowIcon()));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFont(windowFont());
    setProperty("helpNumber", 0);

    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    m_client->setFixedSize(twipsToPixels(kClientWidth), twipsToPixels(kClientHeight));
    setCentralWidget(m_client);
    m_numericFilter = new NumericEntryFilter(this);

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
    Text4 = addField("Text4", 3480, 240, 600, kFieldHeight, 1);
    Text3 = addField("Text3", 3480, 600, 600, kFieldHeight, 2);
    Text2 = addField("Text2", 3480, 960, 600, kFieldHeight, 3);
    Text1 = addField("Text1", 3480, 1320, 600, kFieldHeight, 4);
    Combo1 = addOptionList("Combo1", 6000, 240, 0);
    Combo2 = addOptionList("Combo2", 6000, 600, 0);
    Combo3 = addOptionList("Combo3", 6000, 960, 5);
    Text10 = addField("Text10", 6840, 1320, 735, kFieldHeight, 6);

    Text4->setText(QStringLiteral("220"));
    Text3->setText(QStringLiteral("65"));
    Text10->setText(QStringLiteral("1,42"));
    Text2->setToolTip(QStringLiteral("Макс. ток сварки зависит от  диаметра электрода"));
    for (QLineEdit *field : {Text4, Text3, Text2, Text1, Text10}) m_numericFilter->watch(field);

    addLabel("Label1", "Входное напряжение    (вольт)", 240, 360, 2415, Text4, kTallLabelHeight);
    addLabel("Label2", "Выходное напряжение (вольт)", 240, 720, 2295, Text3);
    addLabel("Label3", "Максимальный ток сварки (А)", 240, 1080, 2895, Text2);
    addLabel("Label5", "Сечение сердечника трансф-тора (см2)", 240, 1440, 3255, Text1);
    addLabel("Label6", "Материал I обмотки", 4200, 360, 1695, Combo1);
    addLabel("Label7", "Материал II обмотки", 4200, 720, 1815, Combo2, kTallLabelHeight);
    addLabel("Label12", "Тип сердечника", 4200, 1080, 1575, Combo3);
    addLabel("Label13", "Макс. индукция сердечника  (Тл)", 4200, 1440, 2775, Text10);
}

void Form1::createResultFrame() {
    addFrame("Frame1", "Расчетные данные", 1800, 1935, kRed);
    Text5 = addResultField("Text5", 3480, 2040, 600, kFieldHeight);
    Text6 = addResultField("Text6", 3480, 2400, 600, kFieldHeight);
    Text7 = addResultField("Text7", 3480, 2760, 600, kFieldHeight);
    Text12 = addResultField("Text12", 3480, 3120, 615, 285);
    Text11 = addResultField("Text11", 6960, 2040, 615, 285);
    Text8 = addResultField("Text8", 6960, 2400, 600, kFieldHeight);
    Text9 = addResultField("Text9", 6960, 2760, 600, kFieldHeight);

    addLabel("Label4", "Габаритн. мощность трансф-тора (вт)", 240, 2160, 3375, Text5);
    addLabel("Label10", "Количество витков I обмотки", 240, 2520, 2535, Text6);
    addLabel("Label11", "Количество витков II обмотки", 240, 2880, 2655, Text7);
    addLabel("Label15", "Максимальный ток I обмотки (A)", 240, 3240, 2655, Text12);
    addLabel("Label14", "Требуемая мощность тр-ра  (вт)", 4200, 2160, 2535, Text11);
    addLabel("Label8", "Сечение провода  I обмотки (см2)", 4200, 2520, 2775, Text8);
    addLabel("Label9", "Сечение провода II обмотки (см2)", 4200, 2880, 2775, Text9);
}

void Form1::createButtons() {
    cndCalc = addButton("cndCalc", "Расcчитать", 5160);
    cndExit = addButton("cndExit", "Выход", 6480);
}

void Form1::createMenus() {
    menuBar()->setNativeMenuBar(false);  // the client area lies below a menu bar of the window's own
    mfile = menuBar()->addMenu(QStringLiteral("Файл"));
    mfile->setObjectName(QStringLiteral("mfile"));
    mfile->setProperty("helpNumber", 7);
    MFsave = addMenuItem(mfile, "MFsave", "Записать на диск", 7);
    MFprint = addMenuItem(mfile, "MFprint", "Распечатать", 7);
    addMenuItem(mfile, "ser", nullptr, 7);
    MFexit = addMenuItem(mfile, "MFexit", "Выход", 6);

    MHelp = menuBar()->addMenu(QStringLiteral("Помощь"));
    MHelp->setObjectName(QStringLiteral("MHelp"));
    MHelp->setProperty("helpNumber", 8);
    MHelpHTML = addMenuItem(MHelp, "MHelpHTML", "Помощь", 8);
    addMenuItem(MHelp, "mh1", nullptr, 0);
    MHabout = addMenuItem(MHelp, "MHabout", "О программе", 8);
}

void Form1::arrangeTabOrder() {
    const QWidget *const order[] = {Text4,   Text3, Text2, Text1, Combo1, Combo2, Combo3, Text10, cndCalc,
                                    cndExit, Text5, Text6, Text7, Text8,  Text9,  Text11, Text12, Text4};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
        QWidget::setTabOrder(const_cast<QWidget *>(order[i]), const_cast<QWidget *>(order[i + 1]));
    }
}

void Form1::connectHandlers() {
    connect(cndCalc, &QPushButton::clicked, this, &Form1::calculateDesign);
    connect(Text2, &QLineEdit::textChanged, this, &Form1::suggestCoreSection);
    connect(cndExit, &QPushButton::clicked, this, &Form1::exitProgram);
    connect(MFexit, &QAction::triggered, this, &Form1::exitProgram);
    connect(MFsave, &QAction::triggered, this, &Form1::saveReport);
    connect(MFprint, &QAction::triggered, this, &Form1::printReport);
    connect(MHelpHTML, &QAction::triggered, this, &Form1::showHelpContents);
    connect(MHabout, &QAction::triggered, this, &Form1::showAbout);
}

// The load steps after the second-copy check (which the entry point makes before any window).
void Form1::startUp() {
    CurDir = ProgramFolder(QCoreApplication::applicationDirPath());
    qApp->setProperty("helpFile", help::HelpFilePath(CurDir));
    fillOptionList(Combo1, calc::kMaterialEntries);
    fillOptionList(Combo2, calc::kMaterialEntries);
    fillOptionList(Combo3, calc::kCoreTypeEntries);
    MFsave->setEnabled(false);
    MFprint->setEnabled(false);
    Text4->setFocus();
}

QLineEdit *Form1::addField(const char *name, int left, int top, int width, int height, int helpNumber) {
    auto *field = new QLineEdit(m_client);
    field->setObjectName(QLatin1String(name));
    field->setGeometry(twipsRect(left, top, width, height));
    // QLineEdit cuts text at 32767 characters unless told otherwise; a long paste must reach
    // the calculation whole and get its error there.
    field->setMaxLength(std::numeric_limits<int>::max());
    field->setProperty("helpNumber", helpNumber);
    return field;
}

QComboBox *Form1::addOptionList(const char *name, int left, int top, int helpNumber) {
    auto *list = new QComboBox(m_client);
    list->setObjectName(QLatin1String(name));
    list->setGeometry(twipsRect(left, top, 1575, kFieldHeight));
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setCompleter(nullptr);  // a typed text stays as typed, never completed to an entry
    list->setProperty("helpNumber", helpNumber);
    return list;
}

QLineEdit *Form1::addResultField(const char *name, int left, int top, int width, int height) {
    QLineEdit *field = addField(name, left, top, width, height, 0);
    field->setReadOnly(true);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Text, kRed);
    field->setPalette(palette);
    return field;
}

void Form1::addLabel(const char *name, const char *caption, int left, int top, int width, QWidget *buddy, int height) {
    auto *label = new QLabel(QString::fromUtf8(caption), m_client);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(twipsRect(left, top, width, height));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setBuddy(buddy);
}

void Form1::addFrame(const char *name, const char *caption, int top, int height, const QColor &captionColour) {
    auto *frame = new QGroupBox(QString::fromUtf8(caption), m_client);
    frame->setObjectName(QLatin1String(name));
    frame->setGeometry(twipsRect(120, top, 7575, height));
    QFont font = pixelFont(kFrameCaptionFontPixels);
    font.setBold(true);
    frame->setFont(font);
    QPalette palette = frame->palette();
    palette.setColor(QPalette::WindowText, captionColour);
    palette.setColor(QPalette::Text, captionColour);
    frame->setPalette(palette);
}

QPushButton *Form1::addButton(const char *name, const char *caption, int left) {
    auto *button = new QPushButton(QString::fromUtf8(caption), m_client);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(twipsRect(left, 3240, 1095, kFieldHeight));
    button->setAutoDefault(false);
    button->setProperty("helpNumber", 0);
    return button;
}

QAction *Form1::addMenuItem(QMenu *menu, const char *name, const char *caption, int helpNumber) {
    QAction *item = caption ? menu->addAction(QString::fromUtf8(caption)) : menu->addSeparator();
    item->setObjectName(QLatin1String(name));
    item->setProperty("helpNumber", helpNumber);
    return item;
}

}  // namespace tremira::ui
