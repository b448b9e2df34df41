// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/QuillmereState.h"

#include <chrono>
#include <functional>
#include <optional>

namespace quillmere {

// Tells a change of the system clock from time passing, by holding each
// reading of the clock against real time, which counts on however the clock
// is set and while the computer sleeps.
class ClockChangeDetector {
public:
    using ElapsedClock = std::function<std::chrono::nanoseconds()>;

    // A difference this large between the system clock and real time over
    // one reading is a change of the clock, not a late reading.
    static constexpr std::chrono::seconds threshold{2};

    // The kernel's boot-time clock, which keeps counting while the computer
    // sleeps, so that a night of suspend is not taken for a change.
    static std::chrono::nanoseconds bootTime();

    // Without `elapsed`, no change is ever found.
    ClockChangeDetector(ElapsedClock elapsed, Instant now);

    // How far the clock was set since the last reading.
    std::optional<std::chrono::seconds> read(Instant now);

private:
    struct Reading {
        Instant wall;
        std::chrono::nanoseconds elapsed;
    };
    ElapsedClock elapsed_;
    std::optional<Reading> last_;
};

// Setting the clock is no time spent: moves the instants of a running focus
// or break by `change`, so that the timer keeps what it has run and what it
// has left. Scheduled starts stay at their time. Whether there was a timer.
bool keepRunningTimer(QuillmereState& state, std::chrono::seconds change);

} // namespace quillmere
