// The main window's fields show their longest texts whole under every widget style a user may
// choose: each style Qt offers here, and one that pads fields far more than any of them.

#include <QProxyStyle>
#include <QStyleOptionFrame>

#include "form1_fixture.h"
#include "tests/ui/main/user_style.h"

namespace {

// Pads line edits and the text part of option lists as wide as a generous style might.
class WidePaddingStyle : public QProxyStyle {
public:
    WidePaddingStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override {
        return metric == PM_DefaultFrameWidth ? 6 : QProxyStyle::pixelMetric(metric, option, widget);
    }
    QRect subElementRect(SubElement element, const QStyleOption *option, const QWidget *widget) const override {
        const QRect rect = QProxyStyle::subElementRect(element, option, widget);
        return element == SE_LineEditContents ? rect.adjusted(4, 0, -4, 0) : rect;
    }
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl part,
                         const QWidget *widget) const override {
        const QRect rect = QProxyStyle::subControlRect(control, option, part, widget);
        return control == CC_ComboBox && part == SC_ComboBoxEditField ? rect.adjusted(8, 0, -8, 0) : rect;
    }
};

// The width a line edit draws its text in, as QLineEdit works it out: the style's contents
// rectangle for the field's frame, less the field's text margins and its own 2 pixels a side.
int textRoom(const QLineEdit &field) {
    QStyleOptionFrame option;
    option.initFrom(&field);
    option.rect = field.contentsRect();
    option.lineWidth = field.hasFrame() ? field.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &field) : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    if (field.isReadOnly()) option.state |= QStyle::State_ReadOnly;
    const QRect contents = field.style()->subElementRect(QStyle::SE_LineEditContents, &option, &field);
    return contents.marginsRemoved(field.textMargins()).width() - 2 * 2;
}

// A text shows whole when its advance fits that width: the results are shown from their start.
bool showsWhole(const QLineEdit &field, const QString &text) {
    return QFontMetrics(field.font()).horizontalAdvance(text) <= textRoom(field);
}

TEST(StyleProofFields, EveryResultAndOptionListShowsItsLongestTextWholeUnderEveryStyle) {
    for (const auto &[name, makeStyle] :
         tremira::testing::EveryStyleAnd({QStringLiteral("wide padding"), [] { return new WidePaddingStyle; }})) {
        SCOPED_TRACE(name.toStdString());
        const tremira::testing::UserStyle userStyle(makeStyle());
        tremira::testing::ViewerRecorder helpViewer;
        tremira::ui::Form1 window(QCoreApplication::applicationDirPath(), helpViewer.call(), QString());
        window.show();
        const Form1Controls ui(window);
        // Int16 results have at most five digits; the wire sections are a current over 5 or 8 and so
        // have four; the current of winding I stays below half of 32767 and keeps its fraction in
        // the tooltip when that runs past the field.
        const QList<std::pair<QLineEdit *, const char *>> fields{{ui.Text5, "32767"},
                                                                 {ui.Text11, "32767"},
                                                                 {ui.Text6, "32767"},
                                                                 {ui.Text7, "32767"},
                                                                 {ui.Text8, "6553"},
                                                                 {ui.Text9, "6553"},
                                                                 {ui.Text12, "16383"},
                                                                 {ui.Combo1->lineEdit(), "Алюминий"},
                                                                 {ui.Combo2->lineEdit(), "Алюминий"},
                                                                 {ui.Combo3->lineEdit(), "Стержневой"}};
        for (const auto &[field, longest] : fields) {
            EXPECT_TRUE(showsWhole(*field, QString::fromUtf8(longest)))
                << longest << " in " << textRoom(*field) << " pixels";
        }
    }
}

}  // namespace
