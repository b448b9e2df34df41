// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPalette>

namespace quillmere::look {

// Quillmere's own palettes, for desktops whose platform theme supplies none
// (Fusion is then the style): calm neutral greys with a blue accent as the
// highlight. Every text role stays readable on the surface it is drawn on,
// disabled and placeholder text included, and every colour group is filled,
// so nothing falls back to Qt's built-in light colours in a dark window.
QPalette lightPalette();
QPalette darkPalette();

} // namespace quillmere::look
