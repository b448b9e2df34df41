// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillmere {

// How much text Quillmere accepts and carries. Every field a user types is
// bounded where it is typed; a stored text (a hand-edited file, an older
// version) is kept whole but cut wherever it is only shown, so that no text
// can make a screen or the widget slow.
namespace TextLimits {

// The longest text a form field accepts, in characters: some pages of notes.
inline constexpr std::size_t fieldCharacters = 10'000;
// The longest agent question: a question, not a document.
inline constexpr std::size_t questionCharacters = 2'000;
// How much of each text the desktop widget's snapshot carries: the widget
// shows a few lines at most.
inline constexpr std::size_t widgetCharacters = 500;

} // namespace TextLimits

// `text` cut to at most `maxCharacters` Unicode characters, with "…" as the
// last of them when anything was cut. Never splits a UTF-8 sequence; bytes
// that are not valid UTF-8 count as one character each.
std::string truncatedText(std::string_view text, std::size_t maxCharacters);

} // namespace quillmere
