// A result wider than its field offers its whole text as a tooltip.

#include <QFontMetrics>

#include "form1_fixture.h"
#include "ui/fields/whole_text_tooltip.h"

using namespace user;
using tremira::ui::TextFitsWidth;

TEST(TextFitsWidth, ATextNeedsItsAdvanceAndTwoPixelsForTheCursor) {
    const QFontMetrics metrics{QFont()};
    const QString text = QStringLiteral("48,19277");
    const int advance = metrics.horizontalAdvance(text);
    const struct {
        const char *name;
        QString text;
        int width;
        bool fits;
    } cases[] = {
        {"two pixels to spare", text, advance + 2, true},
        {"one pixel to spare", text, advance + 1, false},
        {"exactly its advance", text, advance, false},
        {"wide area", text, advance + 40, true},
        {"empty text", QString(), 2, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TextFitsWidth(metrics, c.text, c.width), c.fits);
    }
}

TEST_F(Form1Test, OnlyAResultWiderThanItsFieldShowsItsWholeTextAsTooltip) {
    for (QLineEdit *field : {ui.Text5, ui.Text6, ui.Text7, ui.Text8, ui.Text9, ui.Text11, ui.Text12}) {
        EXPECT_EQ(field->toolTip(), QString()) << "empty " << field->objectName().toStdString();
    }
    type(ui.Text2, QStringLiteral("160"));
    click(ui.cndCalc);
    ASSERT_EQ(ui.Text12->text(), QStringLiteral("48,19277"));
    EXPECT_EQ(ui.Text12->toolTip(), QStringLiteral("48,19277"));
    for (QLineEdit *field : {ui.Text5, ui.Text6, ui.Text7, ui.Text8, ui.Text9, ui.Text11}) {
        EXPECT_EQ(field->toolTip(), QString())
            << field->objectName().toStdString() << " " << field->text().toStdString();
    }

    // 132 V give 50 turns against 25, so winding I carries half the welding current.
    retype(ui.Text4, QStringLiteral("132"));
    click(ui.cndCalc);
    ASSERT_EQ(ui.Text12->text(), QStringLiteral("80"));
    EXPECT_EQ(ui.Text12->toolTip(), QString());
}
