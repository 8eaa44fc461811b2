#pragma once
// Colours of text that stay readable on whatever background the user's palette gives: the
// contrast of two colours as WCAG 2 measures it, and a colour moved just far enough in
// lightness to reach it; fills of a drawing told apart from each other and from their background.

#include <QColor>

namespace tremira::colours {

// The least contrast at which ordinary text reads well (WCAG 2, level AA).
inline constexpr double kReadableContrast = 4.5;
// The least contrast at which a shape stands out from what lies beside it (WCAG 2, non-text).
inline constexpr double kDistinctContrast = 3.0;

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

struct FillPair {
    QColor first;
    QColor second;
};

// Fills of the two wanted hues and saturations that stand out at kDistinctContrast from the
// background and from each other: the first by the least step of lightness away from the
// background, the second a step beyond it on the same side (on a background halfway between
// black and white, where there is no room for both there, on the other side of it).
FillPair DistinctFills(const QColor &background, const QColor &first, const QColor &second);

// The colour `share` of the way from `base` to `tint`: a tone between two of the palette's.
QColor Blend(const QColor &base, const QColor &tint, double share);

// Black or white, whichever reads better on the fill: for names and lines drawn over it.
QColor InkOn(const QColor &fill);

// The windows' own fixed colours were chosen for a light window: on a light background they stay
// exactly as they are, on a dark one they become readable.
QColor FixedColourOn(const QColor &fixed, const QColor &background);

// The program's dark red for a message that stands where a figure would, in the check window
// and on the help pages, readable on the background.
QColor MessageColourOn(const QColor &background);

}  // namespace tremira::colours
