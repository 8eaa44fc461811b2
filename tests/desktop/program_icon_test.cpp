// The window's icon: the sizes a title bar and a task bar take, each a rendering of the
// program's drawing (core, windings, arc) on a transparent ground.
#include <QIcon>
#include <QImage>

#include <cstdlib>

#include <gtest/gtest.h>

#include "desktop/program_icon.h"

namespace {

// Renderers round a colour by a step or two.
bool nearColour(const QColor &seen, const QColor &expected) {
    return std::abs(seen.red() - expected.red()) <= 2 && std::abs(seen.green() - expected.green()) <= 2 &&
           std::abs(seen.blue() - expected.blue()) <= 2 && seen.alpha() == 255;
}

TEST(ProgramIcon, HasEverySmallSizeRenderedFromTheDrawing) {
    const QIcon icon = tremira::desktop::ProgramIcon();
    const QList<QSize> expected{{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}};
    EXPECT_EQ(icon.availableSizes(), expected);
    const QColor steel(0x46, 0x50, 0x5f);
    const QColor red(0xc8, 0x1e, 0x1e);
    for (const QSize &size : expected) {
        SCOPED_TRACE(size.width());
        const QImage image = icon.pixmap(size).toImage();
        ASSERT_EQ(image.size(), size);
        // Points of the 64-unit drawing, scaled: the corner lies outside the core, the core's
        // bottom yoke is steel, and the lowest turn of winding II is red.
        const double unit = size.width() / 64.0;
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
        EXPECT_TRUE(nearColour(image.pixelColor(int(32 * unit), int(53 * unit)), steel));
        EXPECT_TRUE(nearColour(image.pixelColor(int(48 * unit), int(40 * unit)), red));
    }
}

}  // namespace
