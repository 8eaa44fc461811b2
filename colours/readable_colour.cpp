#include "colours/readable_colour.h"

#include <cmath>

namespace tremira::colours {
namespace {

double linearChannel(double encoded) {
    return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

// A colour as it is drawn and written into a style sheet: eight bits a channel.
QColor shown(const QColor &colour) { return QColor(colour.rgb()); }

QColor withLightness(const QColor &colour, double lightness) {
    const QColor hsl = colour.toHsl();
    return shown(QColor::fromHslF(hsl.hslHueF(), hsl.hslSaturationF(), static_cast<float>(lightness)));
}

// The wanted hue and saturation darker than the reference (or lighter), by the least step of
// lightness that reaches `ratio` against it; black (or white) when none does. Luminance grows with
// lightness at a fixed hue and saturation, so halving the interval finds the step.
QColor steppedFrom(const QColor &wanted, const QColor &reference, double ratio, bool darker) {
    const double referenceLuminance = RelativeLuminance(reference) + 0.05;
    const auto reaches = [&](double lightness) {
        const double luminance = RelativeLuminance(withLightness(wanted, lightness)) + 0.05;
        return (darker ? referenceLuminance / luminance : luminance / referenceLuminance) >= ratio;
    };
    double reads = darker ? 0.0 : 1.0;
    double fails = 1.0 - reads;
    for (int step = 0; step < 24; ++step) {
        const double middle = (reads + fails) / 2;
        (reaches(middle) ? reads : fails) = middle;
    }
    return withLightness(wanted, reads);
}

}  // namespace

double RelativeLuminance(const QColor &colour) {
    const QColor rgb = shown(colour);
    return 0.2126 * linearChannel(rgb.redF()) + 0.7152 * linearChannel(rgb.greenF()) +
           0.0722 * linearChannel(rgb.blueF());
}

double ContrastRatio(const QColor &first, const QColor &second) {
    const double a = RelativeLuminance(first);
    const double b = RelativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

bool IsLightBackground(const QColor &background) {
    return ContrastRatio(background, Qt::black) > ContrastRatio(background, Qt::white);
}

QColor ReadableOn(const QColor &wanted, const QColor &background) {
    if (ContrastRatio(wanted, background) >= kReadableContrast) return shown(wanted);
    return steppedFrom(wanted, background, kReadableContrast, IsLightBackground(background));
}

FillPair DistinctFills(const QColor &background, const QColor &first, const QColor &second) {
    const bool darker = IsLightBackground(background);
    const QColor near = steppedFrom(first, background, kDistinctContrast, darker);
    const QColor beyond = steppedFrom(second, near, kDistinctContrast, darker);
    if (ContrastRatio(beyond, near) >= kDistinctContrast) return {near, beyond};
    // A background halfway between black and white leaves no room for both on one side of it.
    return {near, steppedFrom(second, background, kDistinctContrast, !darker)};
}

QColor Blend(const QColor &base, const QColor &tint, double share) {
    const auto mix = [share](double a, double b) { return a + (b - a) * share; };
    return QColor::fromRgbF(static_cast<float>(mix(base.redF(), tint.redF())),
                            static_cast<float>(mix(base.greenF(), tint.greenF())),
                            static_cast<float>(mix(base.blueF(), tint.blueF())));
}

QColor InkOn(const QColor &fill) { return IsLightBackground(fill) ? QColor(Qt::black) : QColor(Qt::white); }

QColor FixedColourOn(const QColor &fixed, const QColor &background) {
    return IsLightBackground(background) ? fixed : ReadableOn(fixed, background);
}

QColor MessageColourOn(const QColor &background) { return ReadableOn(QColor(128, 0, 0), background); }

}  // namespace tremira::colours
