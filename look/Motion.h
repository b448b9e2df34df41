// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace quillmere::look {

// Whether the screens may animate (a progress ring easing to its new value,
// a screen fading in). The shell turns this off when the desktop asks for
// reduced motion; everything that moves asks here first and otherwise jumps
// straight to its end state.
bool animationsEnabled();
void setAnimationsEnabled(bool enabled);

// How long the few transitions of the screens take, in milliseconds.
inline constexpr int transitionMilliseconds = 180;

} // namespace quillmere::look
