// The names a screen reader hears: captions respelled for a Russian voice, option lists named
// by their labels.
#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include <gtest/gtest.h>

#include "ui/fields/accessible_names.h"

namespace {

using tremira::ui::CyrillicSpelling;

TEST(CyrillicSpelling, RespellsOnlyLatinLettersInsideCyrillicWords) {
    const struct {
        const char *name;
        QString caption;
        QString spoken;
    } cases[] = {
        {"Latin c in the calculate button", QStringLiteral("Расcчитать"), QStringLiteral("Рассчитать")},
        {"Latin letters at a word's ends", QStringLiteral("pаботаe"), QStringLiteral("работае")},
        {"capital look-alikes", QStringLiteral("TOК"), QStringLiteral("ТОК")},
        {"numeral I as a word of its own", QStringLiteral("Материал I обмотки"), QStringLiteral("Материал I обмотки")},
        {"unit A in brackets", QStringLiteral("ток I обмотки (A)"), QStringLiteral("ток I обмотки (A)")},
        {"Latin words", QStringLiteral("About Programm"), QStringLiteral("About Programm")},
        {"a Latin letter without a look-alike", QStringLiteral("Медьz"), QStringLiteral("Медьz")},
        {"digits end a word", QStringLiteral("см2c"), QStringLiteral("см2c")},
        {"empty", QString(), QString()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CyrillicSpelling(c.caption), c.spoken);
    }
}

TEST(NameAfterCaption, AnOptionListIsNamedByItsCaptionAndHoldsItsEntryAsValue) {
    for (bool editable : {true, false}) {
        SCOPED_TRACE(editable ? "editable" : "fixed");
        QWidget window;
        QComboBox *list = tremira::ui::NewOptionList(&window);
        list->setEditable(editable);
        list->addItems({QStringLiteral("Медь"), QStringLiteral("Алюминий")});
        tremira::ui::NameAfterCaption(list, QStringLiteral("Материал I обмотки"));
        QAccessibleInterface *shown = QAccessible::queryAccessibleInterface(list);
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->role(), QAccessible::ComboBox);
        EXPECT_EQ(shown->text(QAccessible::Name), QStringLiteral("Материал I обмотки"));
        EXPECT_EQ(shown->text(QAccessible::Value), QStringLiteral("Медь"));
        ASSERT_EQ(shown->childCount(), editable ? 2 : 1);
        EXPECT_EQ(shown->child(0)->object(), static_cast<QObject *>(list->view()));
        if (editable) {
            EXPECT_EQ(shown->child(1)->object(), static_cast<QObject *>(list->lineEdit()));
            EXPECT_EQ(shown->child(1)->text(QAccessible::Name), QStringLiteral("Материал I обмотки"));
            EXPECT_EQ(shown->indexOfChild(shown->child(1)), 1);
        }
    }
}

}  // namespace
