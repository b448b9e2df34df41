// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/StateCoding.h"
#include "quillmere/WorkflowEngine.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <random>
#include <set>
#include <string>
#include <vector>

using namespace quillmere;
namespace engine = quillmere::WorkflowEngine;

namespace {

enum class Op {
    beginBlockPlanning,
    startBlock,
    scheduleBlock,
    editScheduledBlock,
    cancelScheduledBlock,
    startScheduledBlockNow,
    evaluateSchedule,
    startFocus,
    pauseFocus,
    resumeFocus,
    endFocus,
    saveReviewAndStartBreak,
    extendBreak,
    endBreak,
    skipBreak,
    evaluateTimer,
    completeBlockReview,
    addQuestion,
    answerQuestion,
};
constexpr int operationCount = static_cast<int>(Op::answerQuestion) + 1;

// The operations that can succeed in a phase. Drawing from these most of the
// time keeps the sequence moving through whole blocks instead of collecting
// refusals in idle.
std::vector<Op> usefulIn(WorkflowState phase)
{
    switch (phase) {
    case WorkflowState::idle:
        return {Op::beginBlockPlanning, Op::editScheduledBlock, Op::cancelScheduledBlock, Op::startScheduledBlockNow,
                Op::evaluateSchedule};
    case WorkflowState::blockPlanning: return {Op::startBlock, Op::startBlock, Op::scheduleBlock};
    case WorkflowState::sessionPlanning: return {Op::startFocus};
    case WorkflowState::focusing:
        return {Op::pauseFocus, Op::resumeFocus, Op::endFocus, Op::evaluateTimer};
    case WorkflowState::sessionReview: return {Op::saveReviewAndStartBreak};
    case WorkflowState::breaking:
        return {Op::extendBreak, Op::endBreak, Op::skipBreak, Op::evaluateTimer};
    case WorkflowState::blockReview: return {Op::completeBlockReview};
    case WorkflowState::complete: return {};
    }
    return {};
}

// Draws operations and their arguments, valid and invalid alike, and moves
// the clock forward by uneven, mostly sub-second steps.
class Generator {
public:
    explicit Generator(std::uint64_t seed) : random_(seed) {}

    Instant now = utcInstant(2026, 3, 2, 9, 0, 0);

    void advance()
    {
        const double seconds = chance(0.1) ? real(0, 1000) : real(0, 2);
        now = addSeconds(now, seconds);
    }

    Op operation(WorkflowState phase)
    {
        const std::vector<Op> useful = usefulIn(phase);
        if (!useful.empty() && chance(0.75)) {
            return useful[static_cast<std::size_t>(integer(0, static_cast<std::int64_t>(useful.size()) - 1))];
        }
        return static_cast<Op>(integer(0, operationCount - 1));
    }

    SessionPlan plan()
    {
        SessionPlan result = SessionPlan::blank(Uuid::generate());
        result.intendedOutcome = "Draft section " + std::to_string(integer(1, 9));
        result.energy = integer(-1, 7);
        result.morale = integer(-1, 7);
        return result;
    }

    std::optional<SessionPlan> maybePlan()
    {
        return chance(0.25) ? std::nullopt : std::optional(plan());
    }

    Block block(const QuillmereState& state)
    {
        // Starting the scheduled block that is being edited, unchanged.
        if (state.currentBlock && chance(0.5)) {
            return *state.currentBlock;
        }
        Block result = Block::defaultBlock(now);
        result.focusDurationSeconds = duration(1800);
        result.breakDurationSeconds = duration(600);
        result.cycleCount = integer(0, 4);
        if (chance(0.8)) {
            result.plannedStart = addSeconds(now, real(-600, 3600));
        }
        if (chance(0.05)) {
            result.scheduledStartTriggeredAt = now;
        }
        return result;
    }

    Seconds extension()
    {
        switch (integer(0, 9)) {
        case 0: return 0;
        case 1: return -real(0, 100);
        case 2: return std::numeric_limits<double>::quiet_NaN();
        case 3: return std::numeric_limits<double>::infinity();
        case 4: return std::numeric_limits<double>::max();
        default: return real(1, 600);
        }
    }

    Uuid questionId(const QuillmereState& state)
    {
        if (state.agentQuestions.empty() || chance(0.2)) {
            return Uuid::generate();
        }
        const auto last = static_cast<std::int64_t>(state.agentQuestions.size()) - 1;
        return state.agentQuestions[static_cast<std::size_t>(integer(0, last))].id;
    }

    bool chance(double probability) { return std::bernoulli_distribution(probability)(random_); }

private:
    // Mostly usable lengths, sometimes each kind of bad one.
    Seconds duration(double longest)
    {
        switch (integer(0, 19)) {
        case 0: return 0;
        case 1: return -real(0, longest);
        case 2: return std::numeric_limits<double>::quiet_NaN();
        case 3: return std::numeric_limits<double>::infinity();
        default: return real(1, longest);
        }
    }

    std::int64_t integer(std::int64_t low, std::int64_t high)
    {
        return std::uniform_int_distribution<std::int64_t>(low, high)(random_);
    }

    double real(double low, double high) { return std::uniform_real_distribution<double>(low, high)(random_); }

    std::mt19937_64 random_;
};

struct Attempt {
    bool changed = false;
    std::optional<WorkflowError> error = std::nullopt;
    std::optional<TimerTransition> timer = std::nullopt;
};

Attempt fromResult(const engine::Result& result)
{
    return {result.has_value(), result ? std::nullopt : std::optional(result.error()), std::nullopt};
}

Attempt apply(Op op, QuillmereState& state, Generator& generate)
{
    const Instant now = generate.now;
    switch (op) {
    case Op::beginBlockPlanning: return fromResult(engine::beginBlockPlanning(state, now));
    case Op::startBlock: return fromResult(engine::startBlock(state, generate.block(state), now));
    case Op::scheduleBlock: return fromResult(engine::scheduleBlock(state, generate.block(state), now));
    case Op::editScheduledBlock: return fromResult(engine::editScheduledBlock(state, now));
    case Op::cancelScheduledBlock: return fromResult(engine::cancelScheduledBlock(state, now));
    case Op::startScheduledBlockNow: return fromResult(engine::startScheduledBlockNow(state, now));
    case Op::evaluateSchedule: return {engine::evaluateSchedule(state, now), std::nullopt, std::nullopt};
    case Op::startFocus: return fromResult(engine::startFocus(state, generate.maybePlan(), now));
    case Op::pauseFocus: return fromResult(engine::pauseFocus(state, now));
    case Op::resumeFocus: return fromResult(engine::resumeFocus(state, now));
    case Op::endFocus: return fromResult(engine::endFocus(state, now));
    case Op::saveReviewAndStartBreak: {
        const SessionReview review{Uuid::generate(), CompletionResult::yes, "Result", "", ""};
        return fromResult(engine::saveReviewAndStartBreak(state, review, generate.maybePlan(), now));
    }
    case Op::extendBreak: return fromResult(engine::extendBreak(state, generate.extension(), now));
    case Op::endBreak: return fromResult(engine::endBreak(state, now));
    case Op::skipBreak: return fromResult(engine::skipBreak(state, now));
    case Op::evaluateTimer: {
        const TimerTransition transition = engine::evaluateTimer(state, now);
        return {transition != TimerTransition::noChange, std::nullopt, transition};
    }
    case Op::completeBlockReview:
        return fromResult(engine::completeBlockReview(state, BlockReview{"Output", "", "", "", ""}, now));
    case Op::addQuestion: engine::addQuestion(state, generate.chance(0.3) ? "" : "Next step?", now); return {true};
    case Op::answerQuestion: return fromResult(engine::answerQuestion(state, generate.questionId(state), "Yes", now));
    }
    return {false};
}

bool reviewed(const WorkSession& session)
{
    return session.endedAt && session.review;
}

void expectInvariants(const QuillmereState& state)
{
    const WorkflowState phase = state.workflowState;
    const bool breaking = phase == WorkflowState::breaking;
    EXPECT_EQ(state.breakStartedAt.has_value(), breaking);
    if (!breaking) {
        EXPECT_EQ(state.breakExtensionSeconds, 0);
        EXPECT_EQ(state.breakEndNotifiedAt, std::nullopt);
    }
    for (const Block& done : state.blockHistory) {
        EXPECT_TRUE(done.completedAt && done.reflection);
    }

    const Block* block = state.currentBlock ? &*state.currentBlock : nullptr;
    const WorkSession* last = state.currentSession();
    if (block) {
        const std::vector<WorkSession>& sessions = block->sessions;
        EXPECT_LE(static_cast<std::int64_t>(sessions.size()), block->cycleCount);
        for (std::size_t i = 0; i < sessions.size(); ++i) {
            EXPECT_EQ(sessions[i].number, static_cast<std::int64_t>(i) + 1);
            if (i + 1 < sessions.size()) {
                EXPECT_TRUE(reviewed(sessions[i])) << "session " << i + 1;
                EXPECT_EQ(sessions[i].pausedAt, std::nullopt);
            }
        }
    }
    if (last && last->pausedAt) {
        EXPECT_EQ(phase, WorkflowState::focusing);
    }

    // What each phase leaves behind.
    const bool sessionsRemain = block && static_cast<std::int64_t>(block->sessions.size()) < block->cycleCount;
    switch (phase) {
    case WorkflowState::idle:
        EXPECT_TRUE(!block || block->plannedStart);
        EXPECT_EQ(state.plannedNextSession, std::nullopt);
        break;
    case WorkflowState::blockPlanning: EXPECT_EQ(state.plannedNextSession, std::nullopt); break;
    case WorkflowState::sessionPlanning:
        EXPECT_TRUE(sessionsRemain);
        EXPECT_TRUE(!last || reviewed(*last));
        break;
    case WorkflowState::focusing:
        EXPECT_TRUE(last && !last->endedAt);
        EXPECT_EQ(state.plannedNextSession, std::nullopt);
        break;
    case WorkflowState::sessionReview:
        EXPECT_TRUE(last && last->endedAt && !last->review);
        EXPECT_EQ(state.plannedNextSession, std::nullopt);
        break;
    case WorkflowState::breaking:
        EXPECT_TRUE(sessionsRemain && last && reviewed(*last));
        EXPECT_TRUE(state.plannedNextSession.has_value());
        break;
    case WorkflowState::blockReview:
        EXPECT_TRUE(block && !sessionsRemain && last && reviewed(*last));
        EXPECT_EQ(state.plannedNextSession, std::nullopt);
        break;
    case WorkflowState::complete: ADD_FAILURE() << "no operation enters complete"; break;
    }
}

// Tallies over all runs, checked at the end so that a passing run cannot
// be one that never left idle.
struct Coverage {
    std::array<int, operationCount> succeeded{};
    std::set<WorkflowState> phasesReached;
    std::set<WorkflowError> errorsSeen;
    std::set<TimerTransition> timerResults;
    std::size_t blocksCompleted = 0;
    int refusals = 0;
};

// One state driven through `steps` random operations. Refusals are checked
// against the encoded file text; the encoding of the state before a call is
// reused while nothing changes, since encoding dominates the running time.
void runSequence(std::uint64_t seed, int steps, Coverage& coverage)
{
    Generator generate(seed);
    QuillmereState state = QuillmereState::initial(generate.now);
    std::optional<std::string> encodedBefore;

    for (int step = 0; step < steps && !testing::Test::HasFailure(); ++step) {
        generate.advance();
        const Op op = generate.operation(state.workflowState);
        SCOPED_TRACE(testing::Message() << "step " << step << ", operation " << static_cast<int>(op) << " in "
                                        << rawText(state.workflowState));
        const QuillmereState before = state;
        const Attempt attempt = apply(op, state, generate);
        if (attempt.timer) {
            coverage.timerResults.insert(*attempt.timer);
        }
        if (attempt.changed) {
            ++coverage.succeeded[static_cast<std::size_t>(op)];
            coverage.phasesReached.insert(state.workflowState);
            EXPECT_EQ(state.updatedAt, generate.now);
            expectInvariants(state);
            encodedBefore.reset();
            continue;
        }
        ++coverage.refusals;
        if (attempt.error) {
            coverage.errorsSeen.insert(*attempt.error);
        }
        EXPECT_EQ(state, before);
        if (!encodedBefore) {
            const auto encoded = encodeState(before);
            ASSERT_TRUE(encoded.has_value()) << encoded.error().description();
            encodedBefore = *encoded;
        }
        EXPECT_EQ(encodeState(state), *encodedBefore);
    }
    coverage.blocksCompleted += state.blockHistory.size();
}

} // namespace

TEST(EngineSequence, RandomOperations_KeepInvariantsAndRefusalsChangeNothing)
{
    constexpr std::uint64_t seed = 0x5111'3e7e'2026'0302ULL;
    constexpr int runs = 20;
    constexpr int stepsPerRun = 200;
    Coverage coverage;
    for (int run = 0; run < runs && !HasFailure(); ++run) {
        SCOPED_TRACE(testing::Message() << "run " << run);
        runSequence(seed + static_cast<std::uint64_t>(run), stepsPerRun, coverage);
    }

    for (int op = 0; op < operationCount; ++op) {
        EXPECT_GT(coverage.succeeded[static_cast<std::size_t>(op)], 0) << "operation " << op << " never succeeded";
    }
    EXPECT_EQ(coverage.phasesReached.size(), allCases<WorkflowState>.size() - 1); // all but complete
    EXPECT_EQ(coverage.errorsSeen,
              (std::set{WorkflowError::invalidTransition, WorkflowError::missingSessionPlan,
                        WorkflowError::nextSessionPlanRequired, WorkflowError::ratingOutOfRange,
                        WorkflowError::invalidDuration}));
    EXPECT_EQ(coverage.timerResults.size(), 3u);
    EXPECT_GE(coverage.blocksCompleted, 2u * runs);
    EXPECT_GT(coverage.refusals, runs * stepsPerRun / 10);
}
