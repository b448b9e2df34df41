// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/SourceText.h"

namespace quillmere {

std::string Phrase::english() const
{
    const std::string_view source = text.english;
    std::string result;
    result.reserve(source.size() + 8 * numbers.size());
    for (std::size_t i = 0; i < source.size(); ++i) {
        const char next = i + 1 < source.size() ? source[i + 1] : '\0';
        if (source[i] == '%' && next >= '1' && next <= '9' &&
            static_cast<std::size_t>(next - '1') < numbers.size()) {
            result += std::to_string(numbers[static_cast<std::size_t>(next - '1')]);
            ++i;
        } else {
            result += source[i];
        }
    }
    return result;
}

} // namespace quillmere
