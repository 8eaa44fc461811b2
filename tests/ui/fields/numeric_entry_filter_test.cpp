// Pasted texts in a filtered field: taken whole when typing could have produced them, refused
// whole otherwise. (Drops never reach the field; a middle click pastes only where the platform
// has a selection, which the offscreen one has not: the end-to-end entry scenario clicks.)

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include <memory>

#include <gtest/gtest.h>

#include "ui/fields/numeric_entry_filter.h"

namespace {

using tremira::ui::NumericEntryFilter;

void shiftInsert(QLineEdit *field, const QString &text) {
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(field, Qt::Key_Insert, Qt::ShiftModifier);
}

// The menu's item is known by the shortcut it shows, whatever the language of its caption.
void contextMenuPaste(QLineEdit *field, const QString &text) {
    QGuiApplication::clipboard()->setText(text);
    const std::unique_ptr<QMenu> menu(field->createStandardContextMenu());
    const QString pasteShortcut = QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
    for (QAction *item : menu->actions()) {
        if (item->text().section(QLatin1Char('\t'), 1) == pasteShortcut) return item->trigger();
    }
    FAIL() << "no Paste in the context menu";
}

TEST(PastedText, IsTakenWholeWhenTypingCouldHaveProducedItAndRefusedWholeOtherwise) {
    NumericEntryFilter filter;
    QLineEdit field;
    filter.watch(&field);
    field.show();
    QApplication::setActiveWindow(&field);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&field));
    const struct {
        const char *text;
        const char *fieldAfter;  // the field held "5" with the cursor at its end
    } arrivals[] = {
        {"-160", "5"}, {"1e308", "5"}, {"1.5", "5"},    {" 220", "5"},     {"220 ", "5"},
        {"7x", "5"},   {"٣", "5"},     {"220", "5220"}, {"1,42", "51,42"}, {",,", "5,,"},
    };
    for (const auto &[routeName, paste] :
         {std::pair{"Shift+Insert", &shiftInsert}, std::pair{"context menu", &contextMenuPaste}}) {
        for (const auto &arrival : arrivals) {
            SCOPED_TRACE(std::string(routeName) + " paste of \"" + arrival.text + "\"");
            field.setText(QStringLiteral("5"));
            paste(&field, QString::fromUtf8(arrival.text));
            EXPECT_EQ(field.text().toStdString(), arrival.fieldAfter);
        }
    }
}

}  // namespace
