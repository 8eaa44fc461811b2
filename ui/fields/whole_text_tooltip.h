#pragma once
// A result wider than its field is cut at the field's right edge; the field then offers its
// whole text as a tooltip.

#include <QStringView>

class QFontMetrics;
class QLineEdit;

namespace tremira::ui {

// Whether text of these metrics shows whole in a text area of the given width.
bool TextFitsWidth(const QFontMetrics &metrics, QStringView text, int textAreaWidth);

// Sets the field's tooltip to its text when the text does not fit the field, and clears it
// when the text fits.
void ShowCutTextAsToolTip(QLineEdit *field);

}  // namespace tremira::ui
