// SPDX-License-Identifier: GPL-3.0-or-later
#include "StateFixtures.h"
#include "quillmere/StateConsistency.h"
#include "quillmere/WorkflowEngine.h"

#include <gtest/gtest.h>

#include <functional>

namespace quillmere {
namespace {

using namespace std::chrono_literals;

const Instant T = utcInstant(2026, 3, 2, 9, 30, 0) + 300ms;

// Every phase as the engine leaves it, through one block of two cycles.
std::vector<QuillmereState> statesOfARealBlock()
{
    namespace engine = WorkflowEngine;
    std::vector<QuillmereState> seen;
    QuillmereState state = QuillmereState::initial(T);
    Instant now = T;
    const auto step = [&](const std::function<engine::Result(QuillmereState&, Instant)>& operation) {
        now += 61s;
        ASSERT_TRUE(operation(state, now));
        seen.push_back(state);
    };
    const SessionPlan plan = SessionPlan::blank(Uuid::generate());
    const SessionReview review{Uuid::generate(), CompletionResult::yes, "", "", ""};
    Block block = Block::defaultBlock(T);
    block.cycleCount = 2;
    seen.push_back(state);
    step(engine::beginBlockPlanning);
    block.plannedStart = T + 1h;
    step([&](QuillmereState& s, Instant at) { return engine::scheduleBlock(s, block, at); });
    step(engine::startScheduledBlockNow);
    for (int session = 0; session < 2; ++session) {
        step([&](QuillmereState& s, Instant at) { return engine::startFocus(s, plan, at); });
        step(engine::pauseFocus);
        step(engine::resumeFocus);
        step(engine::endFocus);
        step([&](QuillmereState& s, Instant at) { return engine::saveReviewAndStartBreak(s, review, plan, at); });
        if (state.workflowState == WorkflowState::breaking) {
            step([](QuillmereState& s, Instant at) { return engine::extendBreak(s, 300, at); });
            step(engine::endBreak);
        }
    }
    step([](QuillmereState& s, Instant at) { return engine::completeBlockReview(s, BlockReview{}, at); });
    return seen;
}

TEST(StateConsistency, EveryStateTheEngineMakesIsAccepted)
{
    const auto states = statesOfARealBlock();
    ASSERT_GE(states.size(), 15u);
    for (std::size_t i = 0; i < states.size(); ++i) {
        SCOPED_TRACE(i);
        const auto checked = checkConsistency(states[i]);
        EXPECT_TRUE(checked) << checked.error().description();
    }
    for (const auto& [name, state] : fixtures::goldenStates()) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(checkConsistency(state));
    }
}

TEST(StateConsistency, StatesWithNoWayOnAreRefusedNamingTheKey)
{
    struct Case {
        const char* name;
        std::function<void(QuillmereState&)> edit;
        std::string path;
    };
    const Case cases[] = {
        {"focus without a block",
         [](QuillmereState& s) {
             s.workflowState = WorkflowState::focusing;
             s.currentBlock.reset();
         },
         "workflow_state"},
        {"focus whose session has ended",
         [](QuillmereState& s) {
             s.workflowState = WorkflowState::focusing;
             s.currentBlock->sessions.back().endedAt = T;
         },
         "workflow_state"},
        {"focus without any session",
         [](QuillmereState& s) {
             s.workflowState = WorkflowState::focusing;
             s.currentBlock->sessions.clear();
         },
         "workflow_state"},
        {"break without its start", [](QuillmereState& s) { s.breakStartedAt.reset(); }, "workflow_state"},
        {"review without a block",
         [](QuillmereState& s) {
             s.workflowState = WorkflowState::sessionReview;
             s.currentBlock.reset();
         },
         "workflow_state"},
        {"idle with a block that is not scheduled",
         [](QuillmereState& s) {
             s.workflowState = WorkflowState::idle;
             s.currentBlock->plannedStart.reset();
         },
         "workflow_state"},
        {"session planned for ever",
         [](QuillmereState& s) { s.currentBlock->sessions[0].plannedDurationSeconds = 1e308; },
         "current_block.sessions[0].planned_duration_seconds"},
        {"pauses longer than any session",
         [](QuillmereState& s) { s.currentBlock->sessions[1].accumulatedPausedSeconds = 1e18; },
         "current_block.sessions[1].accumulated_paused_seconds"},
        {"negative pause",
         [](QuillmereState& s) { s.currentBlock->sessions[1].accumulatedPausedSeconds = -1; },
         "current_block.sessions[1].accumulated_paused_seconds"},
        {"zero focus length", [](QuillmereState& s) { s.currentBlock->focusDurationSeconds = 0; },
         "current_block.focus_duration_seconds"},
        {"break of two days", [](QuillmereState& s) { s.currentBlock->breakDurationSeconds = 172800; },
         "current_block.break_duration_seconds"},
        {"no cycles", [](QuillmereState& s) { s.currentBlock->cycleCount = 0; }, "current_block.cycle_count"},
        {"history with an endless session",
         [](QuillmereState& s) { s.blockHistory[0].sessions[0].plannedDurationSeconds = 1e300; },
         "block_history[0].sessions[0].planned_duration_seconds"},
        {"endless break extension", [](QuillmereState& s) { s.breakExtensionSeconds = 1e18; },
         "break_extension_seconds"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QuillmereState state = fixtures::everyOptionalPresent(); // a running break
        c.edit(state);
        const auto checked = checkConsistency(state);
        ASSERT_FALSE(checked);
        EXPECT_EQ(checked.error().path, c.path) << checked.error().description();
    }
}

TEST(StateConsistency, TheCurrentBlockMayHoldMoreSessionsThanItsCount)
{
    // The current block's form may lower the count below the sessions run
    // and raise it again: a state the user can always leave.
    QuillmereState state = fixtures::everyOptionalPresent();
    state.currentBlock->cycleCount = 1;
    EXPECT_TRUE(checkConsistency(state));
    state.workflowState = WorkflowState::sessionPlanning;
    EXPECT_TRUE(checkConsistency(state));
}

} // namespace
} // namespace quillmere
