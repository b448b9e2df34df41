// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/TextLimits.h"

#include <gtest/gtest.h>

namespace quillmere {
namespace {

TEST(TextLimits, TruncationCountsCharactersAndNeverSplitsOne)
{
    struct Case {
        const char* name;
        std::string text;
        std::size_t limit;
        std::string expected;
    };
    const Case cases[] = {
        {"short text stays", "abc", 3, "abc"},
        {"long text ends in an ellipsis", "abcdef", 4, "abc\u2026"},
        {"multi-byte characters count once", "\u00e4\u00f6\u00fc\u00df", 4, "\u00e4\u00f6\u00fc\u00df"},
        {"a cut keeps whole characters", "\u00e4\u00f6\u00fc\u00df", 3, "\u00e4\u00f6\u2026"},
        {"four-byte characters", "\U0001F600\U0001F600\U0001F600", 2, "\U0001F600\u2026"},
        {"invalid bytes count one each", std::string("a\xff\xfe" "b"), 3, std::string("a\xff\u2026")},
        {"a truncated sequence at the end", std::string("ab\xe2\x82"), 3, std::string("ab\u2026")},
        {"limit of one", "abc", 1, "\u2026"},
        {"limit of zero", "abc", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(truncatedText(c.text, c.limit), c.expected);
    }
}

} // namespace
} // namespace quillmere
