// SPDX-License-Identifier: GPL-3.0-or-later
#include "Contrast.h"

#include <algorithm>
#include <cmath>

namespace quillmere::look {

namespace {

double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

} // namespace

double relativeLuminance(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

double contrastRatio(const QColor& a, const QColor& b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor withLuminance(const QColor& colour, double luminance)
{
    // Luminance grows with lightness at a fixed hue and saturation, so the
    // lightness is found by halving the range.
    const QColor hsl = colour.toHsl();
    const auto at = [&](int lightness) {
        return QColor::fromHsl(hsl.hslHue(), hsl.hslSaturation(), lightness, colour.alpha());
    };
    int low = 0;
    int high = 255;
    while (high - low > 1) {
        const int middle = (low + high) / 2;
        (relativeLuminance(at(middle)) < luminance ? low : high) = middle;
    }
    const bool lowIsNearer =
        std::abs(relativeLuminance(at(low)) - luminance) <= std::abs(relativeLuminance(at(high)) - luminance);
    return at(lowIsNearer ? low : high);
}

} // namespace quillmere::look
