#include "quillmere/TextLimits.h"

namespace quillmere {
namespace {

// The length of the UTF-8 sequence that starts with `lead`, or 1 for a byte
// that cannot start one.
std::size_t sequenceLength(unsigned char lead)
{
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    if (lead >= 0xE0) {
        return lead <= 0xEF ? 3 : 1;
    }
    if (lead >= 0xC2) {
        return 2;
    }
    return 1;
}

// Where the character after the one at `at` begins.
std::size_t nextCharacter(std::string_view text, std::size_t at)
{
    const std::size_t length = sequenceLength(static_cast<unsigned char>(text[at]));
    if (at + length > text.size()) {
        return at + 1;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) {
            return at + 1;
        }
    }
    return at + length;
}

} // namespace

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
        at = nextCharacter(text, at);
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
