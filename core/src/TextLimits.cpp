// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/TextLimits.h"

#include "Utf8_p.h"

#include <algorithm>

namespace quillmere {

std::string truncatedText(std::string_view text, std::size_t maxCharacters)
{
    if (maxCharacters == 0) {
        return {};
    }
    // Cheap for the common case: no text of fewer bytes can be too long.
    if (text.size() <= maxCharacters) {
        return std::string(text);
    }
    std::size_t at = 0;
    std::size_t counted = 0;
    std::size_t keep = 0; // the end of the first maxCharacters - 1 characters
    while (at < text.size() && counted < maxCharacters) {
        at += std::max<std::size_t>(1, utf8SequenceLength(text, at));
        ++counted;
        if (counted == maxCharacters - 1) {
            keep = at;
        }
    }
    if (at >= text.size()) {
        return std::string(text);
    }
    std::string cut(text.substr(0, keep));
    cut += "\u2026";
    return cut;
}

} // namespace quillmere
