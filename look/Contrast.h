// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

namespace quillmere::look {

// How light a colour looks to the eye, 0 for black to 1 for white, after the
// sRGB curve is taken off (as accessibility guidelines define it). Alpha is
// ignored: blend a translucent colour over its background first.
double relativeLuminance(const QColor& colour);

// The contrast of two colours, 1 (the same) to 21 (black on white): 3 is
// enough for large text, icons and shapes, 4.5 for small text.
double contrastRatio(const QColor& a, const QColor& b);

// `colour` with its hue, saturation and alpha kept and its lightness moved
// until its relative luminance is as near `luminance` as that hue allows.
QColor withLuminance(const QColor& colour, double luminance);

} // namespace quillmere::look
