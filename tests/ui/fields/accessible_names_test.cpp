// The names a screen reader hears: option lists named by their labels, their entries as values.
#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include <gtest/gtest.h>

#include "ui/fields/accessible_names.h"

namespace {

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
