// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The status-area item in every phase and the states a timer can be in, for
// the legibility test and for the pictures people look at, so that both
// cover the same cases.

#include "MenuBarLabel.h"

#include <vector>

namespace quillmere::shelltest {

struct StatusIconCase {
    const char* name;
    MenuBarLabel label;
};

// Sizes tray hosts ask for, and the two panels an icon has to stand out
// from: a light one and a dark one.
inline constexpr int statusIconSides[] = {16, 22, 24, 32};
inline const QColor lightPanel{0xF0, 0xF0, 0xF0};
inline const QColor darkPanel{0x20, 0x20, 0x20};

inline std::vector<StatusIconCase> statusIconCases()
{
    const auto label = [](WidgetPhase phase, std::optional<TimerSnapshot> timer = std::nullopt, bool questions = false) {
        MenuBarLabel result;
        result.phase = phase;
        result.timer = timer;
        result.hasOpenQuestions = questions;
        return result;
    };
    // Five minutes into a 25-minute focus, one into a 5-minute break, and a
    // break three minutes over.
    const TimerSnapshot focus{TimerKind::focus, 300, 1200, 1200, false, false};
    TimerSnapshot paused = focus;
    paused.isPaused = true;
    const TimerSnapshot rest{TimerKind::breakTime, 60, 240, 240, false, false};
    const TimerSnapshot over{TimerKind::breakTime, 480, -180, 180, true, false};
    return {
        {"idle", label(WidgetPhase::idle)},
        {"idle-question", label(WidgetPhase::idle, std::nullopt, true)},
        {"planning", label(WidgetPhase::planning)},
        {"focusing", label(WidgetPhase::focusing, focus)},
        {"focusing-paused", label(WidgetPhase::focusing, paused)},
        {"focusing-question", label(WidgetPhase::focusing, focus, true)},
        {"reviewing", label(WidgetPhase::reviewing)},
        {"breaking", label(WidgetPhase::breaking, rest)},
        {"breaking-overtime", label(WidgetPhase::breaking, over)},
        {"complete", label(WidgetPhase::complete)},
    };
}

} // namespace quillmere::shelltest
