// Contrast as WCAG 2 measures it, and colours moved just far enough to be readable.

#include <gtest/gtest.h>

#include "colours/readable_colour.h"

namespace {

using namespace tremira::colours;

const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);
const QColor kRed(255, 0, 0);
const QColor kGreen(0, 128, 0);
const QColor kBlue(0, 0, 255);
const QColor kDarkRed(128, 0, 0);
const QColor kLightWindow(239, 239, 239);
const QColor kDarkWindow(53, 53, 53);
const QColor kDarkBase(42, 42, 42);

TEST(ContrastRatio, FollowsTheLuminanceFormulaInEitherOrder) {
    // Luminances by hand: red 0,2126; green 0,7152 × 0,2158605 = 0,1543834; blue 0,0722;
    // #777777 0,1844750; #353535 0,0356013.
    const struct {
        const char *name;
        QColor first, second;
        double ratio;
    } cases[] = {
        {"black on white", kBlack, kWhite, 21.0},
        {"a colour on itself", kGreen, kGreen, 1.0},
        {"red on white", kRed, kWhite, 1.05 / 0.2626},
        {"green on white", kGreen, kWhite, 1.05 / 0.2043834},
        {"blue on white", kBlue, kWhite, 1.05 / 0.1222},
        {"grey #777777 on white", QColor(0x77, 0x77, 0x77), kWhite, 1.05 / 0.2344750},
        {"white on a dark window", kWhite, kDarkWindow, 1.05 / 0.0856013},
        {"red on a dark window", kRed, kDarkWindow, 0.2626 / 0.0856013},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(ContrastRatio(c.first, c.second), c.ratio, 1e-4);
        EXPECT_NEAR(ContrastRatio(c.second, c.first), c.ratio, 1e-4);
    }
}

TEST(IsLightBackground, WhereBlackReadsBetterThanWhite) {
    const struct {
        QColor background;
        bool light;
    } cases[] = {
        {kWhite, true},
        {kLightWindow, true},
        {QColor(0x77, 0x77, 0x77), true},
        {kDarkWindow, false},
        {QColor(0x75, 0x75, 0x75), false},
        {kBlack, false},
        {kRed, true},
        {kBlue, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.background.name().toStdString());
        EXPECT_EQ(IsLightBackground(c.background), c.light);
    }
}

TEST(ReadableOn, KeepsAReadableColourAndMovesAnotherOnlyInLightnessJustFarEnough) {
    const struct {
        const char *name;
        QColor wanted, background;
        bool kept;
        bool darker;  // when moved
    } cases[] = {
        {"blue on white", kBlue, kWhite, true, false},
        {"dark red on white", kDarkRed, kWhite, true, false},
        {"green on white", kGreen, kWhite, true, false},
        {"red on white", kRed, kWhite, false, true},
        {"green on a light window", kGreen, kLightWindow, false, true},
        {"red on a dark field", kRed, kDarkBase, false, false},
        {"dark red on a dark field", kDarkRed, kDarkBase, false, false},
        {"green on a dark window", kGreen, kDarkWindow, false, false},
        {"blue on a dark window", kBlue, kDarkWindow, false, false},
        {"black on a dark field", kBlack, kDarkBase, false, false},
        {"white on white", kWhite, kWhite, false, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QColor readable = ReadableOn(c.wanted, c.background);
        EXPECT_GE(ContrastRatio(readable, c.background), kReadableContrast);
        if (c.kept) {
            EXPECT_EQ(readable, c.wanted);
            continue;
        }
        // The least step: one more unit of lightness back would not read.
        EXPECT_LT(ContrastRatio(readable, c.background), kReadableContrast + 0.1);
        EXPECT_EQ(readable.hslHue(), c.wanted.hslHue());
        EXPECT_NEAR(readable.hslSaturation(), c.wanted.hslSaturation(), 3);
        EXPECT_EQ(readable.lightnessF() < c.wanted.lightnessF(), c.darker);
    }
}

TEST(FixedColourOn, KeepsAFixedColourExactlyOnALightBackgroundAndMakesItReadableOnADarkOne) {
    // Red on white reads at 4,0 : 1 only, but the window's red stays as it is on a light palette.
    EXPECT_EQ(FixedColourOn(kRed, kWhite), kRed);
    EXPECT_EQ(FixedColourOn(kGreen, kLightWindow), kGreen);
    for (const QColor &fixed : {kRed, kGreen}) {
        SCOPED_TRACE(fixed.name().toStdString());
        const QColor onDark = FixedColourOn(fixed, kDarkBase);
        EXPECT_GE(ContrastRatio(onDark, kDarkBase), kReadableContrast);
        EXPECT_EQ(onDark.hslHue(), fixed.hslHue());
    }
}

TEST(DistinctFills, StandOutFromTheBackgroundAndFromEachOtherKeepingTheirHues) {
    const QColor highlight(0x30, 0x8c, 0xc6);
    const QColor orange(0xc6, 0x6c, 0x30);
    const QColor grey(0x80, 0x80, 0x80);
    const struct {
        const char *name;
        QColor background, first, second;
    } cases[] = {
        {"blue and orange on white", kWhite, highlight, orange},
        {"blue and orange on a light window", kLightWindow, highlight, orange},
        {"blue and orange on a dark field", kDarkBase, highlight, orange},
        {"blue and orange on black", kBlack, highlight, orange},
        // No room for two fills on the darker side: the second goes to the lighter one.
        {"blue and orange on mid grey", QColor(0x7a, 0x7a, 0x7a), highlight, orange},
        {"two greys on white, as on paper", kWhite, grey, grey},
        {"the same hue twice on a dark field", kDarkBase, highlight, highlight},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const FillPair fills = DistinctFills(c.background, c.first, c.second);
        EXPECT_GE(ContrastRatio(fills.first, c.background), kDistinctContrast);
        EXPECT_GE(ContrastRatio(fills.second, c.background), kDistinctContrast);
        EXPECT_GE(ContrastRatio(fills.first, fills.second), kDistinctContrast);
        // The first as near the background as it may be, which leaves the second the most room.
        EXPECT_LT(ContrastRatio(fills.first, c.background), kDistinctContrast + 0.1);
        EXPECT_NEAR(fills.first.hslHue(), c.first.hslHue(), 1);
        EXPECT_NEAR(fills.second.hslHue(), c.second.hslHue(), 1);
    }
}

TEST(InkOn, ReadsOnEveryFill) {
    for (int lightness = 0; lightness <= 255; ++lightness) {
        for (const int hue : {-1, 0, 60, 120, 210, 300}) {
            const QColor fill = QColor::fromHsl(hue, hue < 0 ? 0 : 200, lightness);
            SCOPED_TRACE(fill.name().toStdString());
            EXPECT_GE(ContrastRatio(InkOn(fill), fill), kReadableContrast);
        }
    }
}

}  // namespace
