// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/Enumerations.h"
#include "quillmere/QuillmereState.h"

#include <cstdint>
#include <optional>

namespace quillmere {

// The running focus or break timer in whole seconds: the one source of every
// countdown that is shown, exported or scheduled. Never stored.
struct TimerSnapshot {
    TimerKind kind = TimerKind::focus;
    std::int64_t elapsedSeconds = 0;
    std::int64_t remainingSeconds = 0;
    std::int64_t displaySeconds = 0;
    bool isOvertime = false;
    bool isPaused = false;

    // The timer of `state` at `now`, or none outside focusing and breaking or
    // when the running timer's data is missing. Every value is floored on its
    // own before it is subtracted. Values that are not finite or do not fit 64
    // bits (a damaged file) also give none.
    static std::optional<TimerSnapshot> derive(const QuillmereState& state, Instant now);

    friend bool operator==(const TimerSnapshot&, const TimerSnapshot&) = default;
};

} // namespace quillmere
