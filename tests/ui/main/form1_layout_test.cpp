// The window right after start-up: layout, captions, help numbers, menus, start values.

#include <QAbstractItemView>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>
#include <iterator>
#include <limits>

#include "desktop/program_icon.h"
#include "form1_control_table.h"
#include "form1_fixture.h"

namespace {

QList<QLineEdit *> resultFields(const Form1Controls &ui) {
    return {ui.Text5, ui.Text6, ui.Text7, ui.Text8, ui.Text9, ui.Text11, ui.Text12};
}

QStringList entriesOf(const QComboBox *list) {
    QStringList entries;
    for (int i = 0; i < list->count(); ++i) entries << list->itemText(i);
    return entries;
}

}  // namespace

// Positions in pixels: the twips of the layout divided by 15.
TEST_F(Form1Test, LabelsHaveTheirCaptionsPlacesAndBuddiesAndShowTheWholeCaption) {
    const struct {
        const char *name;
        const char *caption;
        QRect geometry;
        QWidget *buddy;
    } labels[] = {
        {"Label1", "Входное напряжение    (вольт)", {16, 24, 161, 25}, ui.Text4},
        {"Label2", "Выходное напряжение (вольт)", {16, 48, 153, 17}, ui.Text3},
        {"Label3", "Максимальный ток сварки (\u0410)", {16, 72, 193, 17}, ui.Text2},
        {"Label5", "Сечение сердечника трансф-тора (см2)", {16, 96, 217, 17}, ui.Text1},
        {"Label6", "Материал I обмотки", {280, 24, 113, 17}, ui.Combo1},
        {"Label7", "Материал II обмотки", {280, 48, 121, 25}, ui.Combo2},
        {"Label12", "Тип сердечника", {280, 72, 105, 17}, ui.Combo3},
        {"Label13", "Макс. индукция сердечника  (Тл)", {280, 96, 185, 17}, ui.Text10},
        {"Label4", "Габаритн. мощность трансф-тора (вт)", {16, 144, 225, 17}, ui.Text5},
        {"Label10", "Количество витков I обмотки", {16, 168, 169, 17}, ui.Text6},
        {"Label11", "Количество витков II обмотки", {16, 192, 177, 17}, ui.Text7},
        {"Label15", "Максимальный ток I обмотки (A)", {16, 216, 177, 17}, ui.Text12},
        {"Label14", "Требуемая мощность тр-ра  (вт)", {280, 144, 169, 17}, ui.Text11},
        {"Label8", "Сечение провода  I обмотки (см2)", {280, 168, 185, 17}, ui.Text8},
        {"Label9", "Сечение провода II обмотки (см2)", {280, 192, 185, 17}, ui.Text9},
    };
    for (const auto &c : labels) {
        SCOPED_TRACE(c.name);
        const auto *label = window.findChild<QLabel *>(QString::fromLatin1(c.name));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), QString::fromUtf8(c.caption));
        EXPECT_EQ(label->geometry(), c.geometry);
        EXPECT_EQ(label->buddy(), c.buddy);
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width());
    }
}

// Places from the shared control table, in twips: 15 to a pixel.
TEST_F(Form1Test, ControlsHaveTheirNamesPlacesAndF1Topics) {
    const struct {
        const char *name;
        QWidget *control;
        int helpNumber;
    } controls[] = {
        {"Text4", ui.Text4, 1},     {"Text3", ui.Text3, 2},   {"Text2", ui.Text2, 3},   {"Text1", ui.Text1, 4},
        {"Combo1", ui.Combo1, 0},   {"Combo2", ui.Combo2, 0}, {"Combo3", ui.Combo3, 5}, {"Text10", ui.Text10, 6},
        {"Text5", ui.Text5, 0},     {"Text6", ui.Text6, 0},   {"Text7", ui.Text7, 0},   {"Text12", ui.Text12, 0},
        {"Text11", ui.Text11, 0},   {"Text8", ui.Text8, 0},   {"Text9", ui.Text9, 0},   {"cndCalc", ui.cndCalc, 0},
        {"cndExit", ui.cndExit, 0},
    };
    const QList<ControlPlace> places = ControlTable();
    ASSERT_EQ(places.size(), static_cast<qsizetype>(std::size(controls)));  // and each found below
    for (const auto &c : controls) {
        SCOPED_TRACE(c.name);
        const auto place = std::find_if(places.begin(), places.end(),
                                        [&](const ControlPlace &p) { return p.name == QLatin1String(c.name); });
        ASSERT_NE(place, places.end());
        const QRect &twips = place->twips;
        ASSERT_NE(c.control, nullptr);
        EXPECT_EQ(c.control->objectName(), QString::fromLatin1(c.name));
        EXPECT_EQ(c.control->geometry(),
                  QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
        c.control->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return user::focusedControl(window) == c.control; }));
        helpViewer.requests.clear();
        user::press(Qt::Key_F1);
        ASSERT_EQ(helpViewer.requests.size(), 1);
        EXPECT_EQ(helpViewer.requests[0].topic, c.helpNumber);
    }
}

TEST_F(Form1Test, FramesAndButtonsCarryTheirCaptions) {
    const auto *inputFrame = window.findChild<QGroupBox *>(QStringLiteral("Frame2"));
    const auto *resultFrame = window.findChild<QGroupBox *>(QStringLiteral("Frame1"));
    ASSERT_NE(inputFrame, nullptr);
    ASSERT_NE(resultFrame, nullptr);
    EXPECT_EQ(inputFrame->title(), QStringLiteral("Ввод данных"));
    EXPECT_EQ(inputFrame->geometry(), QRect(8, 0, 505, 121));
    EXPECT_EQ(inputFrame->palette().color(QPalette::WindowText), QColor(0, 128, 0));
    EXPECT_EQ(resultFrame->title(), QStringLiteral("Расчетные данные"));
    EXPECT_EQ(resultFrame->geometry(), QRect(8, 120, 505, 129));
    EXPECT_EQ(resultFrame->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    for (const QGroupBox *frame : {inputFrame, resultFrame}) {
        EXPECT_TRUE(frame->font().bold());
        EXPECT_EQ(frame->font().pixelSize(), 13);  // 9.75 pt at 96 dpi
    }
    EXPECT_EQ(ui.cndCalc->text(), QStringLiteral("Рас") + QLatin1Char('c') + QStringLiteral("читать"));
    EXPECT_EQ(ui.cndExit->text(), QStringLiteral("Выход"));
    for (const QPushButton *button : {ui.cndCalc, ui.cndExit}) EXPECT_FALSE(button->isDefault());
    EXPECT_EQ(ui.Text2->toolTip(), QStringLiteral("Макс. ток сварки зависит от  диаметра электрода"));
}

TEST_F(Form1Test, WindowHasFixedSizeNoMinMaxBoxAndItsOwnIcon) {
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Расчет сварочного трансформатора"));
    EXPECT_EQ(window.centralWidget()->size(), QSize(522, 257));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(window.menuBar()->isNativeMenuBar());
    EXPECT_EQ(window.windowIcon().availableSizes(), tremira::desktop::ProgramIcon().availableSizes());
}

// The fields take the window's face; message boxes and the other windows keep the
// application's own.
TEST_F(Form1Test, FieldsTakeTheWindowFontAndTheApplicationFontStaysAsItWas) {
    const QFont applicationFont = QApplication::font();
    {
        const tremira::ui::Form1 another(QCoreApplication::applicationDirPath(), helpViewer.call(), QString());
        for (const QLineEdit *field : another.findChildren<QLineEdit *>()) {
            SCOPED_TRACE(field->objectName().toStdString());
            EXPECT_EQ(field->font(), another.font());
        }
    }
    EXPECT_EQ(QApplication::font(), applicationFont);
    EXPECT_NE(QApplication::font(), window.font());
}

TEST_F(Form1Test, MenusHoldTheirItemsWithoutShortcutsOrAccessLetters) {
    struct Item {
        QAction *action;
        const char *name;
        const char *caption;  // empty for a separator
    };
    const struct {
        QMenu *menu;
        const char *name;
        const char *title;
        std::vector<Item> items;
    } menus[] = {
        {ui.mfile,
         "mfile",
         "Файл",
         {{ui.MFsave, "MFsave", "Записать на диск"},
          {ui.MFprint, "MFprint", "Распечатать"},
          {nullptr, "ser", ""},
          {ui.MFexit, "MFexit", "Выход"}}},
        {ui.MHelp,
         "MHelp",
         "Помощь",
         {{ui.MHelpHTML, "MHelpHTML", "Помощь"}, {nullptr, "mh1", ""}, {ui.MHabout, "MHabout", "О программе"}}},
        {ui.MService, "MService", "Сервис", {{ui.MScheck, "MScheck", "Проверка конструкции…"}}},
    };
    // "Сервис" comes after the two menus of the original window.
    EXPECT_EQ(window.menuBar()->actions(),
              (QList<QAction *>{ui.mfile->menuAction(), ui.MHelp->menuAction(), ui.MService->menuAction()}));
    for (const auto &menu : menus) {
        SCOPED_TRACE(menu.name);
        EXPECT_EQ(menu.menu->objectName(), QString::fromLatin1(menu.name));
        EXPECT_EQ(menu.menu->title(), QString::fromUtf8(menu.title));
        const QList<QAction *> actions = menu.menu->actions();
        ASSERT_EQ(actions.size(), static_cast<qsizetype>(menu.items.size()));
        for (std::size_t i = 0; i < menu.items.size(); ++i) {
            const Item &item = menu.items[i];
            SCOPED_TRACE(item.name);
            QAction *action = actions[static_cast<qsizetype>(i)];
            if (item.action) {
                EXPECT_EQ(action, item.action);
            }
            EXPECT_EQ(action->objectName(), QString::fromLatin1(item.name));
            EXPECT_EQ(action->isSeparator(), item.action == nullptr);
            EXPECT_EQ(action->text(), QString::fromUtf8(item.caption));
            EXPECT_TRUE(action->shortcut().isEmpty());
        }
    }
}

TEST_F(Form1Test, StartsWithDefaultTextsFirstEntriesReportsDisabledAndFocusInMainsVoltage) {
    EXPECT_EQ(ui.Text4->text(), QStringLiteral("220"));
    EXPECT_EQ(ui.Text3->text(), QStringLiteral("65"));
    EXPECT_EQ(ui.Text10->text(), QStringLiteral("1,42"));
    EXPECT_TRUE(ui.Text2->text().isEmpty());
    EXPECT_TRUE(ui.Text1->text().isEmpty());
    const QStringList materials{QStringLiteral("Медь"), QStringLiteral("Алюминий")};
    EXPECT_EQ(entriesOf(ui.Combo1), materials);
    EXPECT_EQ(entriesOf(ui.Combo2), materials);
    EXPECT_EQ(entriesOf(ui.Combo3), QStringList({QStringLiteral("Стержневой"), QStringLiteral("Тор")}));
    EXPECT_EQ(ui.Combo1->currentText(), QStringLiteral("Медь"));
    EXPECT_EQ(ui.Combo2->currentText(), QStringLiteral("Медь"));
    EXPECT_EQ(ui.Combo3->currentText(), QStringLiteral("Стержневой"));
    for (const QComboBox *list : {ui.Combo1, ui.Combo2, ui.Combo3}) {
        EXPECT_TRUE(list->isEditable());
        EXPECT_EQ(list->insertPolicy(), QComboBox::NoInsert);
    }
    for (const QLineEdit *field : resultFields(ui)) EXPECT_TRUE(field->text().isEmpty());
    EXPECT_FALSE(ui.MFsave->isEnabled());
    EXPECT_FALSE(ui.MFprint->isEnabled());
    EXPECT_FALSE(ui.MScheck->isEnabled());
    EXPECT_TRUE(ui.MFexit->isEnabled());
    EXPECT_TRUE(ui.MHelpHTML->isEnabled());
    EXPECT_TRUE(ui.MHabout->isEnabled());
    EXPECT_EQ(user::focusedControl(window), ui.Text4);
}

// The drop-down lists are built the first time they open, not at start-up: each opens with its
// two entries, and the typed text stays as it is until an entry is picked.
TEST_F(Form1Test, OptionListsOpenWithTheirEntries) {
    for (QComboBox *list : {ui.Combo1, ui.Combo2, ui.Combo3}) {
        SCOPED_TRACE(list->objectName().toStdString());
        list->showPopup();
        ASSERT_TRUE(list->view()->isVisible());
        EXPECT_EQ(list->view()->model()->rowCount(), 2);
        list->hidePopup();
        EXPECT_FALSE(list->view()->isVisible());
        EXPECT_EQ(list->lineEdit()->completer(), nullptr);
    }
}

TEST_F(Form1Test, ResultFieldsAreRedReadOnlyAndFocusable) {
    for (const QLineEdit *field : resultFields(ui)) {
        SCOPED_TRACE(field->objectName().toStdString());
        EXPECT_TRUE(field->isReadOnly());
        EXPECT_TRUE(field->focusPolicy() & Qt::TabFocus);
        EXPECT_EQ(field->palette().color(QPalette::Text), QColor(255, 0, 0));
    }
}

TEST_F(Form1Test, NoTextFieldHasALengthLimit) {
    for (const QLineEdit *field : window.findChildren<QLineEdit *>()) {
        if (qobject_cast<QComboBox *>(field->parentWidget())) continue;
        SCOPED_TRACE(field->objectName().toStdString());
        EXPECT_EQ(field->maxLength(), std::numeric_limits<int>::max());
    }
}
