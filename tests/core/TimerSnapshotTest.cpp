// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/TimerSnapshot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace quillmere;

namespace {

const Instant start = utcInstant(2026, 3, 2, 9, 0, 0);

Instant at(double seconds)
{
    return addSeconds(start, seconds);
}

QuillmereState focusing(Seconds planned, Seconds finishedPauses = 0, std::optional<double> pausedAt = std::nullopt)
{
    QuillmereState state = QuillmereState::initial(start);
    state.workflowState = WorkflowState::focusing;
    state.currentBlock = Block::defaultBlock(start);
    WorkSession session;
    session.number = 1;
    session.startedAt = start;
    session.plannedDurationSeconds = planned;
    session.accumulatedPausedSeconds = finishedPauses;
    if (pausedAt) {
        session.pausedAt = at(*pausedAt);
    }
    state.currentBlock->sessions.push_back(session);
    return state;
}

QuillmereState breaking(Seconds length, Seconds extension = 0)
{
    QuillmereState state = QuillmereState::initial(start);
    state.workflowState = WorkflowState::breaking;
    state.currentBlock = Block::defaultBlock(start);
    state.currentBlock->breakDurationSeconds = length;
    state.breakStartedAt = start;
    state.breakExtensionSeconds = extension;
    return state;
}

TimerSnapshot snapshot(TimerKind kind, std::int64_t elapsed, std::int64_t remaining, bool paused = false)
{
    return TimerSnapshot{kind, elapsed, remaining, remaining < 0 ? -remaining : remaining, remaining < 0, paused};
}

struct Case {
    const char* name;
    QuillmereState state;
    Instant now;
    TimerSnapshot expected;
};

void expectCases(const std::vector<Case>& cases)
{
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TimerSnapshot::derive(c.state, c.now), c.expected);
    }
}

} // namespace

TEST(TimerSnapshot, Derive_MatchesWorkedExamples)
{
    using enum TimerKind;
    expectCases({
        {"focus, fraction of a second dropped", focusing(1500), at(100.4), snapshot(focus, 100, 1400)},
        {"focus paused at 600", focusing(1500, 0, 600), at(900), snapshot(focus, 600, 900, true)},
        {"focus in overtime", focusing(1500), at(1530.9), snapshot(focus, 1530, -30)},
        {"pauses floored before subtracting", focusing(1500, 59.6), at(160.2), snapshot(focus, 101, 1399)},
        {"extended break in overtime", breaking(300, 60), at(400), snapshot(breakTime, 400, -40)},
        {"break with clock set back", breaking(300), at(-5), snapshot(breakTime, 0, 300)},
    });
}

TEST(TimerSnapshot, Derive_FloorsRatherThanTruncatesOrRounds)
{
    using enum TimerKind;
    expectCases({
        {"break length and extension summed before flooring", breaking(300.6, 0.6), at(0), snapshot(breakTime, 0, 301)},
        {"fractional focus length", focusing(1499.9), at(0), snapshot(focus, 0, 1499)},
        {"negative length floors downwards", focusing(-0.5), at(0), snapshot(focus, 0, -1)},
        {"focus started after now", focusing(1500), at(-42.5), snapshot(focus, 0, 1500)},
        {"exactly at the end is not overtime", focusing(1500), at(1500), snapshot(focus, 1500, 0)},
    });
}

TEST(TimerSnapshot, Derive_PausedFocusStandsStill)
{
    const QuillmereState state = focusing(1500, 12.5, 300);
    EXPECT_EQ(TimerSnapshot::derive(state, at(400)), TimerSnapshot::derive(state, at(90000)));
}

TEST(TimerSnapshot, Derive_ExtendingBreakBeyondOvertimeCountsDownAgain)
{
    QuillmereState state = breaking(300);
    ASSERT_TRUE(TimerSnapshot::derive(state, at(350))->isOvertime);
    state.breakExtensionSeconds = 120;
    EXPECT_EQ(TimerSnapshot::derive(state, at(350)), snapshot(TimerKind::breakTime, 350, 70));
}

TEST(TimerSnapshot, Derive_FocusKeepsSessionLengthButBreakFollowsBlockSetting)
{
    QuillmereState focus = focusing(1500);
    focus.currentBlock->focusDurationSeconds = 600;
    EXPECT_EQ(TimerSnapshot::derive(focus, at(100))->remainingSeconds, 1400);

    QuillmereState pause = breaking(300);
    pause.currentBlock->breakDurationSeconds = 600;
    EXPECT_EQ(TimerSnapshot::derive(pause, at(100))->remainingSeconds, 500);
}

TEST(TimerSnapshot, Derive_GivesNothingWithoutRunningTimer)
{
    QuillmereState noSessions = focusing(1500);
    noSessions.currentBlock->sessions.clear();
    QuillmereState focusWithoutBlock = focusing(1500);
    focusWithoutBlock.currentBlock.reset();
    QuillmereState breakWithoutStart = breaking(300);
    breakWithoutStart.breakStartedAt.reset();
    QuillmereState breakWithoutBlock = breaking(300);
    breakWithoutBlock.currentBlock.reset();

    for (const auto& [name, state] : {std::pair{"focusing, no sessions", noSessions},
                                      {"focusing, no block", focusWithoutBlock},
                                      {"breaking, no start", breakWithoutStart},
                                      {"breaking, no block", breakWithoutBlock}}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(TimerSnapshot::derive(state, at(10)), std::nullopt);
    }

    // Every other phase, even with all the data of both timers present.
    QuillmereState full = focusing(1500);
    full.breakStartedAt = start;
    for (WorkflowState phase : allCases<WorkflowState>) {
        if (phase == WorkflowState::focusing || phase == WorkflowState::breaking) {
            continue;
        }
        SCOPED_TRACE(rawText(phase));
        full.workflowState = phase;
        EXPECT_EQ(TimerSnapshot::derive(full, at(10)), std::nullopt);
    }
}

TEST(TimerSnapshot, Derive_GivesNothingForDamagedValues)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const double twoTo63 = 9223372036854775808.0;
    struct Damaged {
        const char* name;
        QuillmereState state;
        double now = 100;
    };
    const Damaged cases[] = {
        {"NaN focus length", focusing(nan)},
        {"infinite focus length", focusing(inf)},
        {"minus infinite focus length", focusing(-inf)},
        {"focus length beyond 64 bits", focusing(1e300)},
        {"focus length of exactly 2^63", focusing(twoTo63)},
        {"NaN pauses", focusing(1500, nan)},
        {"pauses beyond 64 bits", focusing(1500, 1e300)},
        {"negative pauses beyond 64 bits", focusing(1500, -1e300)},
        {"run minus pauses overflows", focusing(1500, -twoTo63)},
        {"length minus elapsed overflows", focusing(-twoTo63)},
        {"focus remaining has no absolute value", focusing(-twoTo63), 0},
        {"NaN break length", breaking(nan)},
        {"infinite extension", breaking(300, inf)},
        {"break total beyond 64 bits", breaking(300, 1e300)},
        {"break remaining has no absolute value", breaking(-twoTo63), 0},
    };
    for (const Damaged& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TimerSnapshot::derive(c.state, at(c.now)), std::nullopt);
    }
}

TEST(TimerSnapshot, Derive_KeepsLargestValuesThatFit)
{
    const double largestBelow2To63 = std::nextafter(9223372036854775808.0, 0.0);
    const auto largest = static_cast<std::int64_t>(largestBelow2To63);
    EXPECT_EQ(TimerSnapshot::derive(focusing(largestBelow2To63), at(0)), snapshot(TimerKind::focus, 0, largest));
    // Pauses longer than the run leave the elapsed time at zero.
    EXPECT_EQ(TimerSnapshot::derive(focusing(1500, 1e18), at(100)), snapshot(TimerKind::focus, 0, 1500));
}
