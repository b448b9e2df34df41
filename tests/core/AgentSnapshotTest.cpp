// SPDX-License-Identifier: GPL-3.0-or-later
#include "StateFixtures.h"
#include "quillmere/AgentSnapshot.h"

#include <gtest/gtest.h>

namespace quillmere {
namespace {

using namespace std::chrono_literals;
using nlohmann::json;

const Instant T = utcInstant(2026, 3, 2, 9, 30, 0);

WorkSession session(std::int64_t number, Instant startedAt, bool ended, bool reviewed)
{
    WorkSession s{Uuid::generate(), number, SessionPlan::blank(Uuid::generate()), startedAt, 1500, std::nullopt, 0,
                  std::nullopt, std::nullopt};
    s.plan.intendedOutcome = "Outcome " + std::to_string(number);
    s.plan.firstAction = "Action " + std::to_string(number);
    if (ended) {
        s.endedAt = startedAt + 1500s;
    }
    if (reviewed) {
        s.review = SessionReview{Uuid::generate(), CompletionResult::yes, "", "", ""};
    }
    return s;
}

QuillmereState focusingState()
{
    QuillmereState state = QuillmereState::initial(T);
    state.workflowState = WorkflowState::focusing;
    state.currentBlock = Block::defaultBlock(T);
    state.currentBlock->sessions = {session(1, T, true, true), session(2, T + 1800s, false, false)};
    state.updatedAt = T + 1800s;
    return state;
}

json fileTree(const AgentSnapshot& snapshot)
{
    return json::parse(encodeAgentSnapshot(snapshot).value());
}

TEST(AgentSnapshot, PassesOnOnlyAskerNamesThatAnAskerCouldHaveGiven)
{
    const std::pair<std::string, bool> names[] = {
        {"test-agent", true}, {"", false}, {std::string(65, 'a'), false}, {"bot\x1b[2J", false}};
    for (const auto& [name, passedOn] : names) {
        SCOPED_TRACE(name);
        QuillmereState state = QuillmereState::initial(T);
        state.agentQuestions = {AgentQuestion{Uuid::generate(), "Open", T, std::nullopt, std::nullopt, name}};
        const AgentSnapshot snapshot = AgentSnapshot::make(state);
        EXPECT_EQ(snapshot.openQuestions.at(0).askedBy, passedOn ? std::optional(name) : std::nullopt);
        EXPECT_EQ(state.agentQuestions[0].askedBy, name); // the state keeps what the file held
    }
}

TEST(AgentSnapshot, IdleStateWritesAllTwelveKeysWithNulls)
{
    QuillmereState state = QuillmereState::initial(T);
    state.agentQuestions = {AgentQuestion{Uuid::generate(), "Open", T, std::nullopt, std::nullopt, std::nullopt},
                            AgentQuestion{Uuid::generate(), "Done", T, "yes", T + 1s, std::nullopt}};
    const json tree = fileTree(AgentSnapshot::make(state));
    EXPECT_EQ(tree.size(), 12u);
    EXPECT_EQ(tree["schema_version"], 1);
    EXPECT_EQ(tree["workflow_state"], "idle");
    EXPECT_EQ(tree["interruptible"], true);
    for (const char* key : {"block", "current_session", "next_session", "remaining_seconds"}) {
        EXPECT_TRUE(tree.at(key).is_null()) << key;
    }
    for (const char* key : {"outcomes", "tasks", "sessions"}) {
        EXPECT_EQ(tree.at(key), json::array()) << key;
    }
    ASSERT_EQ(tree["open_questions"].size(), 1u);
    EXPECT_EQ(tree["open_questions"][0]["question"], "Open");
    EXPECT_EQ(tree["updated_at"], "2026-03-02T09:30:00Z");
}

TEST(AgentSnapshot, RunningFocusIsNotInterruptibleAndCountsDownAtItsInstant)
{
    QuillmereState state = focusingState();
    const AgentSnapshot atSave = AgentSnapshot::make(state);
    EXPECT_FALSE(atSave.interruptible);
    EXPECT_EQ(atSave.remainingSeconds, 1500);
    EXPECT_EQ(atSave.updatedAt, state.updatedAt);
    ASSERT_EQ(atSave.tasks.size(), 2u);
    EXPECT_EQ(atSave.tasks[0].status, "reviewed");
    EXPECT_EQ(atSave.tasks[1].status, "current");
    EXPECT_EQ(atSave.tasks[1].id, state.currentBlock->sessions[1].plan.id);
    EXPECT_EQ(atSave.tasks[1].title, "Outcome 2");
    EXPECT_EQ(atSave.tasks[1].firstAction, "Action 2");
    EXPECT_EQ(atSave.currentSession, state.currentBlock->sessions[1]);

    const AgentSnapshot later = AgentSnapshot::make(state, state.updatedAt + 1600s);
    EXPECT_EQ(later.updatedAt, state.updatedAt + 1600s);
    EXPECT_EQ(later.remainingSeconds, -100);
    EXPECT_EQ(fileTree(later)["remaining_seconds"], -100);

    state.currentBlock->sessions[1].pausedAt = state.updatedAt + 10s;
    EXPECT_TRUE(AgentSnapshot::make(state).interruptible);
}

TEST(AgentSnapshot, ReviewStoredDuringReviewIsADraft)
{
    QuillmereState state = focusingState();
    state.currentBlock->sessions[1] = session(2, T + 1800s, true, true);
    for (const auto& [phase, status] : {std::pair{WorkflowState::sessionReview, "review_draft"},
                                        std::pair{WorkflowState::breaking, "reviewed"},
                                        std::pair{WorkflowState::blockReview, "reviewed"}}) {
        state.workflowState = phase;
        SCOPED_TRACE(rawText(phase));
        const AgentSnapshot snapshot = AgentSnapshot::make(state);
        EXPECT_EQ(snapshot.tasks[0].status, "reviewed"); // only the last session can be a draft
        EXPECT_EQ(snapshot.tasks[1].status, status);
    }
}

TEST(AgentSnapshot, PlannedSessionIsListedOnceAndLast)
{
    QuillmereState state = focusingState();
    state.workflowState = WorkflowState::breaking;
    state.breakStartedAt = T + 3300s;
    state.currentBlock->sessions[1] = session(2, T + 1800s, true, true);

    state.plannedNextSession = state.currentBlock->sessions[1].plan; // already started
    AgentSnapshot snapshot = AgentSnapshot::make(state);
    EXPECT_EQ(snapshot.tasks.size(), 2u);
    EXPECT_EQ(snapshot.nextSession, state.plannedNextSession);

    state.plannedNextSession = SessionPlan::blank(Uuid::generate());
    state.plannedNextSession->intendedOutcome = "Next";
    snapshot = AgentSnapshot::make(state);
    ASSERT_EQ(snapshot.tasks.size(), 3u);
    EXPECT_EQ(snapshot.tasks.back(), (AgentTaskSnapshot{state.plannedNextSession->id, "Next", "", "planned"}));
    EXPECT_EQ(snapshot.remainingSeconds, 300 - 0);
}

TEST(AgentSnapshot, FileReadsBackAsTheSameRecord)
{
    fixtures::StateGenerator generate(99);
    for (int i = 0; i < 100; ++i) {
        QuillmereState state = fixtures::truncatedToWholeSeconds(generate.state());
        const AgentSnapshot snapshot = AgentSnapshot::make(state);
        const auto decoded = decodeAgentSnapshot(encodeAgentSnapshot(snapshot).value());
        ASSERT_TRUE(decoded) << decoded.error().description();
        EXPECT_EQ(*decoded, snapshot);
    }
    // The four optional keys may also be missing altogether.
    json tree = fileTree(AgentSnapshot::make(QuillmereState::initial(T)));
    for (const char* key : {"block", "current_session", "next_session", "remaining_seconds"}) {
        tree.erase(key);
    }
    EXPECT_TRUE(decodeAgentSnapshot(tree.dump()));
    tree.erase("tasks");
    EXPECT_EQ(decodeAgentSnapshot(tree.dump()).error().path, "tasks");
}

} // namespace
} // namespace quillmere
