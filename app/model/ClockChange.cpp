// SPDX-License-Identifier: GPL-3.0-or-later
#include "ClockChange.h"

#include <ctime>
#include <utility>

namespace quillmere {

std::chrono::nanoseconds ClockChangeDetector::bootTime()
{
    timespec now {};
    ::clock_gettime(CLOCK_BOOTTIME, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

ClockChangeDetector::ClockChangeDetector(ElapsedClock elapsed, Instant now) : elapsed_(std::move(elapsed))
{
    if (elapsed_) {
        last_ = Reading{now, elapsed_()};
    }
}

std::optional<std::chrono::seconds> ClockChangeDetector::read(Instant now)
{
    if (!elapsed_) {
        return std::nullopt;
    }
    const Reading reading{now, elapsed_()};
    const Reading last = *std::exchange(last_, reading);
    const auto change =
        std::chrono::round<std::chrono::seconds>((reading.wall - last.wall) - (reading.elapsed - last.elapsed));
    if (std::chrono::abs(change) < threshold) {
        return std::nullopt;
    }
    return change;
}

bool keepRunningTimer(QuillmereState& state, std::chrono::seconds change)
{
    bool moved = false;
    if (state.workflowState == WorkflowState::focusing) {
        if (WorkSession* session = state.currentSession()) {
            session->startedAt += change;
            if (session->pausedAt) {
                *session->pausedAt += change;
            }
            moved = true;
        }
    }
    if (state.workflowState == WorkflowState::breaking && state.breakStartedAt) {
        *state.breakStartedAt += change;
        if (state.breakEndNotifiedAt) {
            *state.breakEndNotifiedAt += change;
        }
        moved = true;
    }
    return moved;
}

} // namespace quillmere
