// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/TimerSnapshot.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quillmere {
namespace {

// floor(value) as a whole number of seconds; none when the value is not
// finite or its floor lies outside 64 bits (only a damaged file holds such).
std::optional<std::int64_t> flooredSeconds(double value)
{
    const double floored = std::floor(value);
    // -2^63 is exact as a double, 2^63 is the first value past the range.
    constexpr double lowest = -9223372036854775808.0;
    if (!std::isfinite(floored) || floored < lowest || floored >= -lowest) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(floored);
}

std::optional<TimerSnapshot> makeSnapshot(TimerKind kind, std::int64_t planned, std::int64_t elapsed, bool isPaused)
{
    std::int64_t remaining = 0;
    if (__builtin_sub_overflow(planned, elapsed, &remaining) || remaining == std::numeric_limits<std::int64_t>::min()) {
        return std::nullopt; // neither the difference nor its absolute value would fit
    }
    return TimerSnapshot{
        .kind = kind,
        .elapsedSeconds = elapsed,
        .remainingSeconds = remaining,
        .displaySeconds = remaining < 0 ? -remaining : remaining,
        .isOvertime = remaining < 0,
        .isPaused = isPaused,
    };
}

std::optional<TimerSnapshot> breakSnapshot(const QuillmereState& state, Instant now)
{
    if (!state.breakStartedAt || !state.currentBlock) {
        return std::nullopt;
    }
    // A clock set back before the start shows the break as not yet begun.
    const std::int64_t elapsed = std::max<std::int64_t>(0, flooredSecondsBetween(*state.breakStartedAt, now));
    // The block's break length is read live, so changing it changes the
    // break that is running.
    const auto total = flooredSeconds(state.currentBlock->breakDurationSeconds + state.breakExtensionSeconds);
    if (!total) {
        return std::nullopt;
    }
    return makeSnapshot(TimerKind::breakTime, *total, elapsed, false);
}

std::optional<TimerSnapshot> focusSnapshot(const QuillmereState& state, Instant now)
{
    const WorkSession* session = state.currentSession();
    if (!session) {
        return std::nullopt;
    }
    // The timer stands still while paused.
    const Instant reference = session->pausedAt.value_or(now);
    // Each term is floored on its own before subtracting. Flooring the
    // difference instead can give one second more, and every countdown shown
    // or exported must agree with the one the engine ends sessions by.
    const std::int64_t run = flooredSecondsBetween(session->startedAt, reference);
    const auto paused = flooredSeconds(session->accumulatedPausedSeconds);
    const auto planned = flooredSeconds(session->plannedDurationSeconds);
    std::int64_t elapsed = 0;
    if (!paused || !planned || __builtin_sub_overflow(run, *paused, &elapsed)) {
        return std::nullopt;
    }
    return makeSnapshot(TimerKind::focus, *planned, std::max<std::int64_t>(0, elapsed), session->pausedAt.has_value());
}

} // namespace

std::optional<TimerSnapshot> TimerSnapshot::derive(const QuillmereState& state, Instant now)
{
    switch (state.workflowState) {
    case WorkflowState::breaking: return breakSnapshot(state, now);
    case WorkflowState::focusing: return focusSnapshot(state, now);
    case WorkflowState::idle:
    case WorkflowState::blockPlanning:
    case WorkflowState::sessionPlanning:
    case WorkflowState::sessionReview:
    case WorkflowState::blockReview:
    case WorkflowState::complete: return std::nullopt;
    }
    return std::nullopt;
}

} // namespace quillmere
