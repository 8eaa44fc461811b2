#pragma once
// The words of the winding plan, the same in the window, on the sheet and in tremira-calc:
// figures in the program's number format, and what stands in place of a figure that cannot be
// given.

#include <string>

#include "winding_plan.h"

namespace tremira::calc {

// What the program shows in place of a figure the inputs make impossible.
std::string ReasonText(NoFigure reason);
// A known figure rounded to `decimals` places in the program's number format; a figure too
// large to show, one that would read 0, or one not known says so in words.
std::string FigureText(const Figure<double> &figure, int decimals);

// S₀ against the calculation's S.
std::string SectionMatchText(SectionMatch match);
// Whether both windings fit the window or the toroid's hole.
std::string FitText(const Figure<bool> &fits);
// Turns first–last with an en dash, which no spreadsheet takes for a date.
std::string SpanText(const TurnSpan &span);
// "108 вит. / 50,9 В / 1,1 Тл", and the warnings of the tap.
std::string TapText(const Tap &tap);
// The warnings of a tap alone, " / " between them; empty for a tap without any.
std::string TapWarningsText(const Tap &tap);
// Where the supply of a current comes from.
std::string SupplyText(bool needsDedicatedLine);

}  // namespace tremira::calc
