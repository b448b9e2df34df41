// SPDX-License-Identifier: GPL-3.0-or-later
// What a tap opens and what a screen reader says for the widget.

#include "QuillmereWidgetLink.h"

#include <gtest/gtest.h>

namespace quillmere {
namespace {

const Instant T = utcInstant(2026, 3, 2, 10, 0, 0);

TEST(QuillmereWidgetLink, FallbackOpensTheIdleRoute)
{
    EXPECT_EQ(QuillmereWidgetLink::fallback(), "quillmere://open/idle");
}

TEST(QuillmereWidgetLink, AccessibilityLabel_ReadsPhaseFrozenTimeCaptionAndOutcome)
{
    WidgetSnapshot placeholder = WidgetSnapshot::placeholder(T);
    EXPECT_EQ(QuillmereWidgetLink::accessibilityLabel(placeholder),
              "Quillmere, Focus, 17:00 remaining, Session 3 of 8, Outcome: Draft the widget acceptance notes");

    // The frozen value, even if the label is read later.
    placeholder.countdown->isPaused = true;
    placeholder.countdown->frozenRemainingSeconds = 65;
    placeholder.intendedOutcome.clear();
    EXPECT_EQ(QuillmereWidgetLink::accessibilityLabel(placeholder), "Quillmere, Focus, paused at 01:05, Session 3 of 8");

    EXPECT_EQ(QuillmereWidgetLink::accessibilityLabel(WidgetSnapshot::empty(T)), "Quillmere, Idle, No active block");
}

} // namespace
} // namespace quillmere
