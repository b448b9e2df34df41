// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/QuillmereState.h"

#include <gtest/gtest.h>

#include <set>

namespace quillmere {
namespace {

using namespace std::chrono_literals;

const Instant T = utcInstant(2026, 3, 2, 9, 30, 0);

TEST(Enumerations, RawTextsRoundTripExactlyAndCaseSensitively)
{
    for (WorkflowState phase : allCases<WorkflowState>) {
        EXPECT_EQ(fromRawText<WorkflowState>(rawText(phase)), phase);
    }
    for (CompletionResult completion : allCases<CompletionResult>) {
        EXPECT_EQ(fromRawText<CompletionResult>(rawText(completion)), completion);
    }
    EXPECT_EQ(fromRawText<TimerKind>("breakTime"), TimerKind::breakTime);
    EXPECT_EQ(fromRawText<CompletionResult>("Half"), CompletionResult::half);
    EXPECT_FALSE(fromRawText<CompletionResult>("half"));
    EXPECT_FALSE(fromRawText<WorkflowState>("Idle"));
    EXPECT_FALSE(fromRawText<WorkflowState>("block_planning"));
    EXPECT_EQ(allCases<WorkflowState>.size(), 8u);
    EXPECT_EQ(allCases<WorkflowState>.back(), WorkflowState::complete);
}

TEST(Uuid, GeneratesDistinctVersion4IdentifiersInUpperCase)
{
    std::set<Uuid> seen;
    for (int i = 0; i < 1000; ++i) {
        const Uuid id = Uuid::generate();
        EXPECT_EQ(id.bytes()[6] >> 4, 4);
        EXPECT_EQ(id.bytes()[8] & 0xC0, 0x80);
        seen.insert(id);
    }
    EXPECT_EQ(seen.size(), 1000u);
    const std::string text = Uuid::generate().toString();
    ASSERT_EQ(text.size(), 36u);
    EXPECT_EQ(text.find_first_of("abcdef"), std::string::npos);
}

TEST(Uuid, ParsesEitherCaseAndRefusesMalformedText)
{
    const auto upper = Uuid::parse("0A1B2C3D-4E5F-4A7B-8C9D-0E1F2A3B4C5D");
    const auto lower = Uuid::parse("0a1b2c3d-4e5f-4a7b-8c9d-0e1f2a3b4c5d");
    ASSERT_TRUE(upper);
    EXPECT_EQ(upper, lower);
    EXPECT_EQ(upper->toString(), "0A1B2C3D-4E5F-4A7B-8C9D-0E1F2A3B4C5D");
    for (const char* bad : {"", "0A1B2C3D4E5F4A7B8C9D0E1F2A3B4C5D", "0A1B2C3D-4E5F-4A7B-8C9D-0E1F2A3B4C5",
                            "0A1B2C3D-4E5F-4A7B-8C9D-0E1F2A3B4C5DD", "0A1B2C3D+4E5F-4A7B-8C9D-0E1F2A3B4C5D",
                            "GA1B2C3D-4E5F-4A7B-8C9D-0E1F2A3B4C5D", "{A1B2C3D-4E5F-4A7B-8C9D-0E1F2A3B4C5}"}) {
        EXPECT_FALSE(Uuid::parse(bad)) << bad;
    }
}

TEST(Factories, DefaultBlockIsFourHoursOfEightCycles)
{
    const Block block = Block::defaultBlock(T);
    EXPECT_EQ(block.createdAt, T);
    EXPECT_FALSE(block.plannedStart);
    EXPECT_EQ(block.focusDurationSeconds, 1500);
    EXPECT_EQ(block.breakDurationSeconds, 300);
    EXPECT_EQ(block.cycleCount, 8);
    ASSERT_EQ(block.outcomes.size(), 1u);
    EXPECT_EQ(block.outcomes[0].title, "");
    EXPECT_NE(block.outcomes[0].id, block.id);
    EXPECT_TRUE(block.sessions.empty());
    EXPECT_FALSE(block.reflection || block.completedAt || block.scheduledStartTriggeredAt);
    EXPECT_NE(Block::defaultBlock(T).id, block.id);

    const SessionPlan plan = SessionPlan::blank(block.id);
    EXPECT_EQ(plan.id, block.id);
    EXPECT_EQ(plan.energy, 3);
    EXPECT_EQ(plan.morale, 3);
    EXPECT_FALSE(plan.blockOutcomeID);

    const QuillmereState state = QuillmereState::initial(T);
    EXPECT_EQ(state.workflowState, WorkflowState::idle);
    EXPECT_EQ(state.updatedAt, T);
    EXPECT_EQ(state.breakExtensionSeconds, 0);
    EXPECT_NE(QuillmereState::initial(T).id, state.id);
}

TEST(Block, PlannedEndCountsEveryCycleFromStartOrCreation)
{
    Block block = Block::defaultBlock(T);
    EXPECT_EQ(block.plannedEnd(), T + 14400s);
    block.plannedStart = T + 3600s;
    EXPECT_EQ(block.plannedEnd(), T + 3600s + 14400s);
    block.focusDurationSeconds = 0.25;
    block.breakDurationSeconds = 0.25;
    block.cycleCount = 3;
    EXPECT_EQ(block.plannedEnd(), T + 3600s + 1500ms);
}

TEST(Block, PlannedEndSaturatesForAbsurdStoredValues)
{
    Block block = Block::defaultBlock(T);
    block.cycleCount = std::numeric_limits<std::int64_t>::max();
    EXPECT_EQ(block.plannedEnd(), Instant::max());
    block.focusDurationSeconds = -1e300;
    EXPECT_EQ(block.plannedEnd(), Instant::min());
}

TEST(QuillmereState, OpenQuestionsNeedAnAnswerTimeToClose)
{
    QuillmereState state = QuillmereState::initial(T);
    state.agentQuestions = {
        AgentQuestion{Uuid::generate(), "answered text only", T, "yes", std::nullopt, std::nullopt},
        AgentQuestion{Uuid::generate(), "closed", T, "done", T + 1s, std::nullopt},
        AgentQuestion{Uuid::generate(), "open", T, std::nullopt, std::nullopt, std::nullopt},
    };
    const auto open = state.openQuestions();
    ASSERT_EQ(open.size(), 2u);
    EXPECT_EQ(open[0].question, "answered text only");
    EXPECT_EQ(open[1].question, "open");
}

TEST(QuillmereState, InterruptibleOnlyFalseWhileFocusRunsUnpaused)
{
    QuillmereState state = QuillmereState::initial(T);
    for (WorkflowState phase : allCases<WorkflowState>) {
        state.workflowState = phase;
        EXPECT_EQ(state.interruptible(), phase != WorkflowState::focusing) << rawText(phase);
    }
    state.currentBlock = Block::defaultBlock(T);
    state.workflowState = WorkflowState::focusing;
    EXPECT_EQ(state.currentSession(), nullptr);
    EXPECT_FALSE(state.interruptible());

    WorkSession session{Uuid::generate(), 1, SessionPlan::blank(Uuid::generate()), T, 1500, std::nullopt, 0,
                        std::nullopt, std::nullopt};
    state.currentBlock->sessions.push_back(session);
    EXPECT_FALSE(state.interruptible());
    state.currentSession()->pausedAt = T + 10s;
    EXPECT_TRUE(state.interruptible());
    EXPECT_EQ(state.currentSession()->number, 1);
}

} // namespace
} // namespace quillmere
