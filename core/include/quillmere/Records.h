// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/Enumerations.h"
#include "quillmere/Instant.h"
#include "quillmere/Uuid.h"

#include <cstdint>
#include <optional>
#include <string>

namespace quillmere {

// One intended result of a block.
struct Outcome {
    Uuid id;
    std::string title;

    friend bool operator==(const Outcome&, const Outcome&) = default;
};

// The plan for one focus session. Ratings outside 1..5 may be stored; the
// engine refuses them only when a plan is used.
struct SessionPlan {
    Uuid id;
    std::optional<Uuid> blockOutcomeID;
    std::string intendedOutcome;
    std::string firstAction;
    std::string hazardsMitigation;
    std::string nicuFraming;
    std::int64_t energy = 3;
    std::int64_t morale = 3;

    // Empty texts, no outcome, both ratings 3.
    static SessionPlan blank(Uuid id);

    friend bool operator==(const SessionPlan&, const SessionPlan&) = default;
};

// The review written after a focus session.
struct SessionReview {
    Uuid id;
    CompletionResult completion = CompletionResult::yes;
    std::string noteworthyResult;
    std::string distractions;
    std::string improvement;

    friend bool operator==(const SessionReview&, const SessionReview&) = default;
};

// One focus session of a block. `pausedAt` is present exactly while paused.
struct WorkSession {
    Uuid id;
    std::int64_t number = 0;
    SessionPlan plan;
    Instant startedAt;
    Seconds plannedDurationSeconds = 0;
    std::optional<Instant> pausedAt;
    Seconds accumulatedPausedSeconds = 0;
    std::optional<Instant> endedAt;
    std::optional<SessionReview> review;

    // Where its run has got to: its end, else its pause, else `now`.
    Instant runEnd(Instant now) const { return endedAt ? *endedAt : pausedAt.value_or(now); }
    // Focus worked: from the start to runEnd less the pauses, never below
    // zero.
    Seconds focusSeconds(Instant now) const;
    // The pauses, the one in progress up to `now` included.
    Seconds pausedSeconds(Instant now) const;

    friend bool operator==(const WorkSession&, const WorkSession&) = default;
};

// The reflection written at the end of a block; it has no identity of its own.
struct BlockReview {
    std::string outputProduced;
    std::string normalComparison;
    std::string boggedDown;
    std::string wentWell;
    std::string lessons;

    friend bool operator==(const BlockReview&, const BlockReview&) = default;
};

// A question kept for or from automated agents; open while `answeredAt` is
// absent, whatever `answer` holds.
struct AgentQuestion {
    Uuid id;
    std::string question;
    Instant createdAt;
    std::optional<std::string> answer;
    std::optional<Instant> answeredAt;
    // The agent that asked, when it gave its name.
    std::optional<std::string> askedBy;

    friend bool operator==(const AgentQuestion&, const AgentQuestion&) = default;
};

} // namespace quillmere
