#pragma once
// A result wider than its field is cut at the field's right edge; the field then offers its
// whole text as a tooltip, or is made wide enough to show it.

#include <QStringView>

class QFontMetrics;
class QLineEdit;

namespace tremira::ui {

// Whether text of these metrics shows whole in a text area of the given width.
bool TextFitsWidth(const QFontMetrics &metrics, QStringView text, int textAreaWidth);

// The width at which the field shows the whole of its text inside the style's frame.
int WholeTextWidth(const QLineEdit &field);

// Sets the field's tooltip to its text when the text does not fit the field, and clears it
// when the text fits.
void ShowCutTextAsToolTip(QLineEdit *field);

}  // namespace tremira::ui
