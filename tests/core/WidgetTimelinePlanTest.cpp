// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/WidgetTimelinePlan.h"

#include <gtest/gtest.h>

namespace quillmere {
namespace {

using namespace std::chrono_literals;

const Instant T = utcInstant(2026, 3, 2, 10, 0, 0);

WidgetSnapshot withCountdown(std::optional<WidgetCountdown> countdown)
{
    WidgetSnapshot snapshot = WidgetSnapshot::placeholder(T);
    snapshot.countdown = countdown;
    return snapshot;
}

TEST(WidgetTimelinePlan, WithoutALiveCountdownShowsTheSnapshotAndRefreshesInHalfAnHour)
{
    const std::pair<const char*, std::optional<WidgetCountdown>> cases[] = {
        {"no countdown", std::nullopt},
        {"paused a second before its end", WidgetCountdown{T + 1s, T - 1499s, true, 1}},
        {"ends exactly now", WidgetCountdown{T, T - 1500s, false, 0}},
        {"ended earlier", WidgetCountdown{T - 5s, T - 1505s, false, -5}},
    };
    for (const auto& [name, countdown] : cases) {
        SCOPED_TRACE(name);
        const WidgetSnapshot snapshot = withCountdown(countdown);
        EXPECT_EQ(WidgetTimelinePlan::entries(snapshot, T), (std::vector<WidgetTimelinePlan::Entry>{{T, snapshot}}));
        EXPECT_EQ(WidgetTimelinePlan::refreshDate(snapshot, T), T + 1800s);
    }
}

TEST(WidgetTimelinePlan, RunningCountdownGetsAnEntryAtZeroAndARefreshJustAfter)
{
    const Instant end = T + 1020s + 250ms;
    const WidgetSnapshot snapshot = withCountdown(WidgetCountdown{end, T - 480s, false, 1020});
    WidgetSnapshot atZero = snapshot;
    atZero.countdown->frozenRemainingSeconds = 0;

    EXPECT_EQ(WidgetTimelinePlan::entries(snapshot, T),
              (std::vector<WidgetTimelinePlan::Entry>{{T, snapshot}, {end, atZero}}));
    EXPECT_EQ(WidgetTimelinePlan::refreshDate(snapshot, T), end + 1s);
}

TEST(WidgetTimelinePlan, RefreshSaturatesAtTheEndOfTheClock)
{
    const WidgetSnapshot running = withCountdown(WidgetCountdown{Instant::max(), T, false, 1});
    EXPECT_EQ(WidgetTimelinePlan::refreshDate(running, T), Instant::max());
    EXPECT_EQ(WidgetTimelinePlan::refreshDate(withCountdown(std::nullopt), Instant::max() - 1s), Instant::max());
}

} // namespace
} // namespace quillmere
