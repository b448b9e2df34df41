// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/WidgetSnapshot.h"

#include <chrono>
#include <vector>

namespace quillmere {

// Turns one snapshot into what the widget host needs: the entries to show by
// date, and when to ask again. A running countdown gets a second entry at its
// end so that the widget settles at zero without the application publishing.
namespace WidgetTimelinePlan {

// One dated entry of a timeline.
struct Entry {
    Instant date;
    WidgetSnapshot snapshot;

    friend bool operator==(const Entry&, const Entry&) = default;
};

// How often a widget without a running countdown is refreshed.
inline constexpr std::chrono::seconds idleRefreshInterval{1800};

// One entry at `at`, plus one at the end of a countdown that runs past `at`.
std::vector<Entry> entries(const WidgetSnapshot& snapshot, Instant at);

// A second after a running countdown ends, else `at` + idleRefreshInterval.
Instant refreshDate(const WidgetSnapshot& snapshot, Instant at);

} // namespace WidgetTimelinePlan
} // namespace quillmere
