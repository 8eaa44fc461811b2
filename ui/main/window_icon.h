#pragma once
// The window's own icon: a transformer core with its two windings, 33 × 33 pixels, 24-bit.

#include <QImage>

namespace tremira::ui {

QImage DrawWindowIcon();

}  // namespace tremira::ui
