// What a screen reader finds in the main window: each field named by its label's caption, the
// value as the value, and a description only where it adds to the name.
#include <QAccessible>

#include "tests/ui/main/form1_fixture.h"

namespace {

QAccessibleInterface *shown(QWidget *control) { return QAccessible::queryAccessibleInterface(control); }

TEST_F(Form1Test, EachFieldIsNamedByItsLabelNotByItsValue) {
    const struct {
        QWidget *field;
        QString name;
        QAccessible::Role role;
    } fields[] = {
        {ui.Text4, QStringLiteral("Входное напряжение    (вольт)"), QAccessible::EditableText},
        {ui.Text3, QStringLiteral("Выходное напряжение (вольт)"), QAccessible::EditableText},
        {ui.Text2, QStringLiteral("Максимальный ток сварки (А)"), QAccessible::EditableText},
        {ui.Text1, QStringLiteral("Сечение сердечника трансф-тора (см2)"), QAccessible::EditableText},
        {ui.Combo1, QStringLiteral("Материал I обмотки"), QAccessible::ComboBox},
        {ui.Combo2, QStringLiteral("Материал II обмотки"), QAccessible::ComboBox},
        {ui.Combo3, QStringLiteral("Тип сердечника"), QAccessible::ComboBox},
        {ui.Text10, QStringLiteral("Макс. индукция сердечника  (Тл)"), QAccessible::EditableText},
        {ui.Text5, QStringLiteral("Габаритн. мощность трансф-тора (вт)"), QAccessible::EditableText},
        {ui.Text6, QStringLiteral("Количество витков I обмотки"), QAccessible::EditableText},
        {ui.Text7, QStringLiteral("Количество витков II обмотки"), QAccessible::EditableText},
        {ui.Text12, QStringLiteral("Максимальный ток I обмотки (A)"), QAccessible::EditableText},
        {ui.Text11, QStringLiteral("Требуемая мощность тр-ра  (вт)"), QAccessible::EditableText},
        {ui.Text8, QStringLiteral("Сечение провода  I обмотки (см2)"), QAccessible::EditableText},
        {ui.Text9, QStringLiteral("Сечение провода II обмотки (см2)"), QAccessible::EditableText},
    };
    user::type(ui.Text2, QStringLiteral("160"));
    user::click(ui.cndCalc);
    ASSERT_EQ(ui.Text12->text(), QStringLiteral("48,19277"));  // cut by its field: its tooltip is its value
    for (const auto &f : fields) {
        SCOPED_TRACE(f.field->objectName().toStdString());
        QAccessibleInterface *field = shown(f.field);
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->role(), f.role);
        EXPECT_EQ(field->text(QAccessible::Name), f.name);
        const QString value = field->text(QAccessible::Value);
        EXPECT_FALSE(value.isEmpty());
        const QString description = field->text(QAccessible::Description);
        EXPECT_NE(description, value);
        EXPECT_NE(description, f.name);
    }
    EXPECT_EQ(shown(ui.Combo1)->text(QAccessible::Value), QStringLiteral("Медь"));
    EXPECT_EQ(shown(ui.Text2)->text(QAccessible::Description),
              QStringLiteral("Макс. ток сварки зависит от  диаметра электрода"));
}

TEST_F(Form1Test, TheButtonsAreNamedInCyrillicWhileTheCaptionKeepsItsLatinC) {
    EXPECT_EQ(ui.cndCalc->text(), QStringLiteral("Рас") + QLatin1Char('c') + QStringLiteral("читать"));
    EXPECT_EQ(shown(ui.cndCalc)->text(QAccessible::Name), QStringLiteral("Рассчитать"));
    EXPECT_EQ(shown(ui.cndExit)->text(QAccessible::Name), QStringLiteral("Выход"));
}

}  // namespace
