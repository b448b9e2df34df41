// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/JsonCoding.h"
#include "quillmere/QuillmereState.h"

#include <expected>

namespace quillmere {

// Whether a decoded state is one the application can run: the decoder takes
// every well-typed value as stored, but a hand-edited or hostile file can be
// well-typed and still describe a screen the user cannot leave (a focus
// without a block, a countdown that never ends). The first violation found is
// named in the file's spelling, like a decoding error.
//
//     auto state = decodeState(bytes);
//     if (state) {
//         if (auto checked = checkConsistency(*state); !checked) { /* treat like an unreadable file */ }
//     }
namespace StateConsistency {

// The longest duration a state may hold: every form offers far less (two
// hours of focus, one of break), and a day leaves room for extended breaks.
inline constexpr double maximumDurationSeconds = 24 * 60 * 60;

} // namespace StateConsistency

[[nodiscard]] std::expected<void, CodingError> checkConsistency(const QuillmereState& state);

} // namespace quillmere
