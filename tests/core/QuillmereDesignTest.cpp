// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/QuillmereDesign.h"

#include <gtest/gtest.h>

#include <limits>

namespace quillmere {
namespace {

const Instant T = utcInstant(2026, 3, 2, 10, 0, 0);

TEST(QuillmereDesign, TimeText)
{
    constexpr auto lowest = std::numeric_limits<std::int64_t>::min();
    constexpr auto highest = std::numeric_limits<std::int64_t>::max();
    const std::pair<std::int64_t, const char*> cases[] = {
        {1020, "17:00"},
        {59, "00:59"},
        {0, "00:00"},
        {-1, "+00:01"},
        {-75, "+01:15"},
        {600, "10:00"},
        {3600, "60:00"},
        {6000, "100:00"},
        {7500, "125:00"},
        {highest, "153722867280912930:07"},
        {lowest, "+153722867280912930:08"},
    };
    for (const auto& [seconds, text] : cases) {
        SCOPED_TRACE(seconds);
        EXPECT_EQ(QuillmereDesign::timeText(seconds), text);
    }
}

TEST(QuillmereDesign, Caption)
{
    const auto caption = [](WidgetPhase phase, std::optional<std::int64_t> number, std::int64_t planned) {
        WidgetSnapshot snapshot = WidgetSnapshot::empty(T);
        snapshot.phase = phase;
        snapshot.currentSessionNumber = number;
        snapshot.sessionsPlanned = planned;
        return QuillmereDesign::caption(snapshot);
    };
    EXPECT_EQ(caption(WidgetPhase::focusing, 3, 8), "Session 3 of 8");
    EXPECT_EQ(caption(WidgetPhase::focusing, std::nullopt, 8), "Focus in progress");
    EXPECT_EQ(caption(WidgetPhase::focusing, 3, 0), "Focus in progress");
    EXPECT_EQ(caption(WidgetPhase::focusing, -2, 1), "Session -2 of 1");
    EXPECT_EQ(caption(WidgetPhase::idle, 3, 8), "No active block");
    EXPECT_EQ(caption(WidgetPhase::planning, std::nullopt, 8), "Plan the next session");
    EXPECT_EQ(caption(WidgetPhase::reviewing, std::nullopt, 8), "Review this session");
    EXPECT_EQ(caption(WidgetPhase::breaking, std::nullopt, 8), "Break");
    EXPECT_EQ(caption(WidgetPhase::complete, std::nullopt, 8), "Block complete");
}

TEST(QuillmereDesign, FamiliesGrowInAreaAndOnlyTheLargestTakesTwoColumns)
{
    EXPECT_EQ(supportedWidgetFamilies, allCases<QuillmereWidgetFamily>);
    EXPECT_EQ(largestWidgetFamily, QuillmereWidgetFamily::extraLarge);
    struct Case {
        QuillmereWidgetFamily family;
        int area;
        QuillmereWidgetLayout layout;
        bool fullPlan;
        bool twoColumns;
    };
    const Case cases[] = {
        {QuillmereWidgetFamily::small, 1, QuillmereWidgetLayout::compact, false, false},
        {QuillmereWidgetFamily::medium, 2, QuillmereWidgetLayout::split, false, false},
        {QuillmereWidgetFamily::large, 4, QuillmereWidgetLayout::detailed, true, false},
        {QuillmereWidgetFamily::extraLarge, 8, QuillmereWidgetLayout::detailed, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(rawText(c.family));
        EXPECT_EQ(relativeArea(c.family), c.area);
        EXPECT_EQ(layout(c.family), c.layout);
        EXPECT_EQ(showsFullPlan(layout(c.family)), c.fullPlan);
        EXPECT_EQ(prefersTwoColumns(c.family), c.twoColumns);
    }
}

// Every case reads back from its own text, and texts are distinct.
template <class Enum>
void expectRawTextsRoundTrip(std::vector<std::string_view> texts)
{
    ASSERT_EQ(allCases<Enum>.size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        SCOPED_TRACE(texts[i]);
        EXPECT_EQ(rawText(allCases<Enum>[i]), texts[i]);
        EXPECT_EQ(fromRawText<Enum>(texts[i]), allCases<Enum>[i]);
    }
    EXPECT_EQ(fromRawText<Enum>("unknown"), std::nullopt);
    EXPECT_EQ(fromRawText<Enum>(""), std::nullopt);
}

TEST(QuillmereDesign, RawTextsReadBackAndUnknownTextsGiveNone)
{
    expectRawTextsRoundTrip<QuillmereWidgetFamily>({"small", "medium", "large", "extraLarge"});
    expectRawTextsRoundTrip<QuillmereWidgetLayout>({"compact", "split", "detailed"});
    expectRawTextsRoundTrip<QuillmereDesign::Accent>({"focus", "rest", "plan", "review", "neutral"});
    expectRawTextsRoundTrip<WidgetPhase>({"idle", "planning", "focusing", "reviewing", "breaking", "complete"});
    expectRawTextsRoundTrip<WidgetRoute>(
        {"idle", "block-planning", "session-planning", "focus", "session-review", "break", "block-review"});
    EXPECT_EQ(fromRawText<QuillmereWidgetFamily>("ExtraLarge"), std::nullopt);
}

} // namespace
} // namespace quillmere
