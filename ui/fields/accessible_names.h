#pragma once
// What a screen reader hears for the fields: each one is named by the caption of its label,
// as a sighted user knows it, and never by the value it holds.

#include <QString>

class QComboBox;
class QWidget;

namespace tremira::ui {

// An option list whose accessible name is its own (its label's caption) and whose current
// entry is its value; Qt on Linux would name it by the entry.
QComboBox *NewOptionList(QWidget *parent);

// Gives a field the caption of its label as its accessible name; an editable option list's
// text part gets it too, since that part holds the keyboard focus.
void NameAfterCaption(QWidget *field, const QString &caption);

}  // namespace tremira::ui
