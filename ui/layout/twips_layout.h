#pragma once

#include <QFont>
#include <QRect>
#include <QString>

namespace tremira::ui {

// The windows keep their positions in twips; 15 twips are one device-independent pixel (1440 per
// inch at 96 dpi), so Qt's high-DPI scaling keeps the proportions on any screen.
constexpr int kTwipsPerPixel = 15;

constexpr int TwipsToPixels(int twips) { return twips / kTwipsPerPixel; }

QRect TwipsRect(int left, int top, int width, int height);

// A font sized in pixels, not points, so that text keeps its place in the pixel layout whatever
// dpi the display reports. The face asked for, if any, falls back to a metric-compatible sans serif.
QFont PixelFont(int pixelSize, const QString &family = QString());

}  // namespace tremira::ui
