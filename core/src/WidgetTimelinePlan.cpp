// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/WidgetTimelinePlan.h"

namespace quillmere::WidgetTimelinePlan {
namespace {

// A countdown that will visibly reach zero after `at` unless something changes.
bool isLive(const WidgetSnapshot& snapshot, Instant at)
{
    return snapshot.countdown && !snapshot.countdown->isPaused && snapshot.countdown->endsAt > at;
}

} // namespace

std::vector<Entry> entries(const WidgetSnapshot& snapshot, Instant at)
{
    std::vector<Entry> planned{Entry{at, snapshot}};
    if (isLive(snapshot, at)) {
        WidgetSnapshot finished = snapshot;
        finished.countdown->isPaused = false;
        finished.countdown->frozenRemainingSeconds = 0;
        planned.push_back(Entry{snapshot.countdown->endsAt, std::move(finished)});
    }
    return planned;
}

Instant refreshDate(const WidgetSnapshot& snapshot, Instant at)
{
    if (isLive(snapshot, at)) {
        return addSeconds(snapshot.countdown->endsAt, 1);
    }
    return addSeconds(at, static_cast<double>(idleRefreshInterval.count()));
}

} // namespace quillmere::WidgetTimelinePlan
