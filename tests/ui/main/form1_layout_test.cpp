// The window right after start-up: layout, captions, tab order, help numbers, menus, start
// values, and what a screen reader finds in it.

#include <QAccessible>
#include <QGroupBox>
#include <QLabel>

#include "desktop/program_icon.h"
#include "form1_control_table.h"
#include "form1_fixture.h"

using tremira::testing::ViewerRequest;

// Positions in pixels: the twips of the layout divided by 15. A field is named for a screen
// reader by its label's caption; its value stays the value, and a description only adds to it.
TEST_F(Form1Test, EachLabelShowsItsWholeCaptionAtItsPlaceAndNamesItsField) {
    calculateRunA();  // every field holds a value; Text12 is cut, so its tooltip is its value
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
        QAccessibleInterface *field = QAccessible::queryAccessibleInterface(c.buddy);
        ASSERT_NE(field, nullptr);
        const bool list = qobject_cast<QComboBox *>(c.buddy);
        EXPECT_EQ(field->role(), list ? QAccessible::ComboBox : QAccessible::EditableText);
        EXPECT_EQ(field->text(QAccessible::Name), label->text());
        const QString value = field->text(QAccessible::Value);
        EXPECT_EQ(value, list ? qobject_cast<QComboBox *>(c.buddy)->currentText()
                              : qobject_cast<QLineEdit *>(c.buddy)->text());
        EXPECT_NE(field->text(QAccessible::Description), value);
    }
}

// The shared control table lists the controls in tab order, each with its place in twips.
TEST_F(Form1Test, TabVisitsTheControlsInTableOrderEachAtItsPlaceWithItsF1Topic) {
    const QHash<QString, int> topics{{QStringLiteral("Text4"), 1},  {QStringLiteral("Text3"), 2},
                                     {QStringLiteral("Text2"), 3},  {QStringLiteral("Text1"), 4},
                                     {QStringLiteral("Combo3"), 5}, {QStringLiteral("Text10"), 6}};
    const QList<ControlPlace> table = ControlTable();
    ASSERT_EQ(table.size(), 17);
    for (qsizetype i = 0; i <= table.size(); ++i) {  // and back to the first
        const ControlPlace &row = table[i % table.size()];
        SCOPED_TRACE(row.name.toStdString());
        QWidget *control = user::focusedControl(window);
        ASSERT_NE(control, nullptr);
        ASSERT_EQ(control->objectName(), row.name);
        const QRect &t = row.twips;
        EXPECT_EQ(control->geometry(), QRect(t.x() / 15, t.y() / 15, t.width() / 15, t.height() / 15));
        helpViewer.requests.clear();
        user::press(Qt::Key_F1);
        EXPECT_EQ(helpViewer.requests, (QList<ViewerRequest>{{HelpFile(), topics.value(row.name, 0)}}));
        user::press(Qt::Key_Tab);
    }
}

TEST_F(Form1Test, WindowFramesAndButtonsCarryTheirTitlesPlacesAndNames) {
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Расчет сварочного трансформатора"));
    EXPECT_EQ(window.centralWidget()->size(), QSize(522, 257));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    const Qt::WindowFlags boxes =
        Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint;
    EXPECT_EQ(window.windowFlags() & boxes, Qt::WindowCloseButtonHint);
    EXPECT_FALSE(window.menuBar()->isNativeMenuBar());
    EXPECT_EQ(window.windowIcon().availableSizes(), tremira::desktop::ProgramIcon().availableSizes());
    const struct {
        const char *name;
        const char *title;
        QRect geometry;
    } frames[] = {{"Frame2", "Ввод данных", {8, 0, 505, 121}}, {"Frame1", "Расчетные данные", {8, 120, 505, 129}}};
    for (const auto &f : frames) {
        SCOPED_TRACE(f.name);
        const auto *frame = window.findChild<QGroupBox *>(QLatin1String(f.name));
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(frame->title(), QString::fromUtf8(f.title));
        EXPECT_EQ(frame->geometry(), f.geometry);
        EXPECT_TRUE(frame->font().bold());
        EXPECT_EQ(frame->font().pixelSize(), 13);  // 9.75 pt at 96 dpi
    }
    // The caption's Latin c stays; a screen reader hears the word in Cyrillic.
    EXPECT_EQ(ui.cndCalc->text(), QStringLiteral("Рас") + QLatin1Char('c') + QStringLiteral("читать"));
    EXPECT_EQ(ui.cndExit->text(), QStringLiteral("Выход"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(ui.cndCalc)->text(QAccessible::Name), QStringLiteral("Рассчитать"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(ui.cndExit)->text(QAccessible::Name), QStringLiteral("Выход"));
    for (const QPushButton *button : {ui.cndCalc, ui.cndExit}) EXPECT_FALSE(button->isDefault());
    EXPECT_EQ(ui.Text2->toolTip(), QStringLiteral("Макс. ток сварки зависит от  диаметра электрода"));
}

// The fields take the window's face; message boxes and the other windows keep the
// application's own.
TEST_F(Form1Test, FieldsTakeTheWindowFontAndTheApplicationFontStaysAsItWas) {
    const QFont applicationFont = QApplication::font();
    for (const QLineEdit *field : window.findChildren<QLineEdit *>()) {
        SCOPED_TRACE(field->objectName().toStdString());
        EXPECT_EQ(field->font(), window.font());
    }
    EXPECT_NE(window.font(), applicationFont);
    const tremira::ui::Form1 another(QCoreApplication::applicationDirPath(), helpViewer.call(), QString());
    EXPECT_EQ(QApplication::font(), applicationFont);
}

TEST_F(Form1Test, MenusHoldTheirItemsWithoutShortcutsOrAccessLetters) {
    const struct {
        QMenu *menu;
        const char *title;
        QStringList items;  // object name, then caption
    } menus[] = {
        {ui.mfile, "Файл", {"MFsave Записать на диск", "MFprint Распечатать", "ser ", "MFexit Выход"}},
        {ui.MHelp, "Помощь", {"MHelpHTML Помощь", "mh1 ", "MHabout О программе"}},
        {ui.MService, "Сервис", {"MScheck Проверка конструкции…"}},
    };
    // "Сервис" comes after the two menus of the original window.
    EXPECT_EQ(window.menuBar()->actions(),
              (QList<QAction *>{ui.mfile->menuAction(), ui.MHelp->menuAction(), ui.MService->menuAction()}));
    for (const auto &m : menus) {
        SCOPED_TRACE(m.title);
        EXPECT_EQ(m.menu->title(), QString::fromUtf8(m.title));
        QStringList items;
        for (const QAction *item : m.menu->actions()) {
            items << item->objectName() + QLatin1Char(' ') + item->text();
            EXPECT_EQ(item->isSeparator(), item->text().isEmpty());
            EXPECT_TRUE(item->shortcut().isEmpty());
        }
        EXPECT_EQ(items, m.items);
    }
}

TEST_F(Form1Test, StartsWithDefaultTextsFirstEntriesReportsDisabledAndFocusInMainsVoltage) {
    QStringList inputs;
    for (const QLineEdit *field : ui.numericFields()) inputs << field->text();
    EXPECT_EQ(inputs, (QStringList{"220", "65", "", "", "1,42"}));
    EXPECT_EQ(ui.results(), QStringList(7));
    const QStringList materials{QStringLiteral("Медь"), QStringLiteral("Алюминий")};
    const QStringList coreTypes{QStringLiteral("Стержневой"), QStringLiteral("Тор")};
    for (const auto &[list, entries] :
         {std::pair{ui.Combo1, materials}, std::pair{ui.Combo2, materials}, std::pair{ui.Combo3, coreTypes}}) {
        SCOPED_TRACE(list->objectName().toStdString());
        QStringList shown;
        for (int i = 0; i < list->count(); ++i) shown << list->itemText(i);
        EXPECT_EQ(shown, entries);
        EXPECT_EQ(list->currentText(), entries.first());
        EXPECT_TRUE(list->isEditable());
        EXPECT_EQ(list->insertPolicy(), QComboBox::NoInsert);
        EXPECT_EQ(list->lineEdit()->completer(), nullptr);
    }
    for (const QAction *item : {ui.MFsave, ui.MFprint, ui.MScheck}) EXPECT_FALSE(item->isEnabled());
    for (const QAction *item : {ui.MFexit, ui.MHelpHTML, ui.MHabout}) EXPECT_TRUE(item->isEnabled());
    EXPECT_EQ(user::focusedControl(window), ui.Text4);
}
