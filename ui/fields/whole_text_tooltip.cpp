#include "ui/fields/whole_text_tooltip.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

namespace tremira::ui {
namespace {

// A line edit keeps this many pixels blank at either side of its text.
constexpr int kLineEditSideMargin = 2;
// Beyond the text a line edit needs one pixel and the width of its cursor.
constexpr int kRoomAfterText = 2;

QStyleOptionFrame frameOption(const QLineEdit &field) {
    QStyleOptionFrame option;
    option.initFrom(&field);
    option.lineWidth = field.hasFrame() ? field.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &field) : 0;
    return option;
}

// The width inside the field's frame and margins where its text is drawn.
int textAreaWidth(const QLineEdit &field) {
    const QStyleOptionFrame option = frameOption(field);
    const QRect contents = field.style()->subElementRect(QStyle::SE_LineEditContents, &option, &field);
    return contents.marginsRemoved(field.textMargins()).width() - 2 * kLineEditSideMargin;
}

}  // namespace

bool TextFitsWidth(const QFontMetrics &metrics, QStringView text, int textAreaWidth) {
    return metrics.horizontalAdvance(text.toString()) + kRoomAfterText <= textAreaWidth;
}

void ShowCutTextAsToolTip(QLineEdit *field) {
    const bool fits = TextFitsWidth(field->fontMetrics(), field->text(), textAreaWidth(*field));
    field->setToolTip(fits ? QString() : field->text());
}

int WholeTextWidth(const QLineEdit &field) {
    const QMargins margins = field.textMargins();
    const int textWidth = field.fontMetrics().horizontalAdvance(field.text()) + kRoomAfterText +
                          2 * kLineEditSideMargin + margins.left() + margins.right();
    const QStyleOptionFrame option = frameOption(field);
    return field.style()
        ->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(textWidth, field.height()), &field)
        .width();
}

}  // namespace tremira::ui
