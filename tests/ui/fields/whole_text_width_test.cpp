// Whether a text shows whole in its field: a field made as wide as WholeTextWidth says shows
// its whole text, a pixel less cuts it.

#include <QFontMetrics>
#include <QLineEdit>

#include <gtest/gtest.h>

#include "ui/fields/whole_text_tooltip.h"

namespace {

using tremira::ui::ShowCutTextAsToolTip;
using tremira::ui::TextFitsWidth;
using tremira::ui::WholeTextWidth;

TEST(WholeTextWidth, IsTheNarrowestWidthThatShowsTheWholeText) {
    const struct {
        const char *name;
        const char *text;
        QMargins textMargins;
    } cases[] = {
        {"a figure", "2,637", {}},
        {"a message", "напряжение пробной обмотки: не задано", {}},
        {"with text margins", "пробная обмотка не задана", {5, 0, 7, 0}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QLineEdit field(QString::fromUtf8(c.text));
        field.setTextMargins(c.textMargins);
        field.resize(WholeTextWidth(field), field.sizeHint().height());
        ShowCutTextAsToolTip(&field);
        EXPECT_EQ(field.toolTip(), QString());
        field.resize(field.width() - 1, field.height());
        ShowCutTextAsToolTip(&field);
        EXPECT_EQ(field.toolTip(), field.text());
    }
}

TEST(TextFitsWidth, ATextNeedsItsAdvanceAndTwoPixelsForTheCursor) {
    const QFontMetrics metrics{QFont()};
    const QString text = QStringLiteral("48,19277");
    const int advance = metrics.horizontalAdvance(text);
    EXPECT_TRUE(TextFitsWidth(metrics, text, advance + 2));
    EXPECT_FALSE(TextFitsWidth(metrics, text, advance + 1));
    EXPECT_TRUE(TextFitsWidth(metrics, QString(), 2));
}

}  // namespace
