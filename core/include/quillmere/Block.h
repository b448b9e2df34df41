// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/Records.h"

#include <vector>

namespace quillmere {

// One work block: what it is for, how long its cycles are, and the focus
// sessions run so far. Scheduled while it carries `plannedStart` in `idle`.
struct Block {
    Uuid id;
    Instant createdAt;
    std::optional<Instant> plannedStart;
    Seconds focusDurationSeconds = 1500;
    Seconds breakDurationSeconds = 300;
    std::int64_t cycleCount = 8;
    std::vector<Outcome> outcomes;
    std::string whyValue;
    std::string doneTest;
    std::string hazards;
    std::string measurableCheck;
    std::string contextNotes;
    std::vector<WorkSession> sessions;
    std::optional<BlockReview> reflection;
    std::optional<Instant> completedAt;
    std::optional<Instant> scheduledStartTriggeredAt;

    // Eight cycles of 25 minutes of focus and 5 of break, one empty outcome.
    static Block defaultBlock(Instant now);

    // (planned start, else creation) + (focus + break) x cycles. The last
    // break counts although none is taken after the last session. Saturates
    // at the ends of the clock's range for absurd stored values.
    Instant plannedEnd() const;

    friend bool operator==(const Block&, const Block&) = default;
};

} // namespace quillmere
