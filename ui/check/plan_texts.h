#pragma once
// The texts the plan's window and sheet make from its numbers: the program's comma and
// rounding, and the short reason shown in place of a figure that the inputs make impossible.

#include <QString>

#include "calc/winding_plan.h"

namespace tremira::ui {

// `value` rounded to `decimals` places in the program's format: "23,7", "42".
QString DecimalText(double value, int decimals);
// Three significant figures, for resistances that span decades: "0,111", "0,0133".
QString SignificantText(double value);

QString ReasonText(calc::NoFigure reason);

// The figure's text by `format`, or the reason it has none.
template <typename T, typename Format>
QString FigureText(const calc::Figure<T> &figure, Format format) {
    if (!figure.known()) return ReasonText(*figure.reason());
    return format(figure.value());
}

}  // namespace tremira::ui
