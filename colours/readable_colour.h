#pragma once
// Colours of text that stay readable on whatever background the user's palette gives: the
// contrast of two colours as WCAG 2 measures it, and a colour moved just far enough in
// lightness to reach it.

#include <QColor>

namespace tremira::colours {

// The least contrast at which ordinary text reads well (WCAG 2, level AA).
inline constexpr double kReadableContrast = 4.5;

// The relative luminance of an sRGB colour: 0 for black, 1 for white.
double RelativeLuminance(const QColor &colour);

// The lighter colour's luminance over the darker one's, each plus 0,05: from 1 to 21.
double ContrastRatio(const QColor &first, const QColor &second);

// Whether black text reads better on it than white text.
bool IsLightBackground(const QColor &background);

// The wanted colour when it reaches kReadableContrast on the background; otherwise the same hue
// and saturation, darker on a light background or lighter on a dark one, by the least step of
// lightness that reaches it.
QColor ReadableOn(const QColor &wanted, const QColor &background);

// The windows' own fixed colours were chosen for a light window: on a light background they stay
// exactly as they are, on a dark one they become readable.
QColor FixedColourOn(const QColor &fixed, const QColor &background);

// The program's dark red for a message that stands where a figure would, in the check window
// and on the help pages, readable on the background.
QColor MessageColourOn(const QColor &background);

}  // namespace tremira::colours
