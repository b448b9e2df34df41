// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/WorkflowEngine.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <limits>
#include <map>
#include <string>
#include <tuple>

using namespace quillmere;
namespace engine = quillmere::WorkflowEngine;

namespace {

const Instant t0 = utcInstant(2026, 3, 2, 9, 0, 0);
const double nan = std::numeric_limits<double>::quiet_NaN();
const double inf = std::numeric_limits<double>::infinity();

Instant at(double seconds)
{
    return addSeconds(t0, seconds);
}

SessionPlan plan(std::int64_t energy = 3, std::int64_t morale = 3)
{
    SessionPlan result = SessionPlan::blank(Uuid::generate());
    result.intendedOutcome = "Outline chapter two";
    result.energy = energy;
    result.morale = morale;
    return result;
}

SessionReview review()
{
    return SessionReview{Uuid::generate(), CompletionResult::half, "Outline", "Mail", "Close the browser"};
}

Block block(std::int64_t cycles = 2)
{
    Block result = Block::defaultBlock(t0);
    result.cycleCount = cycles;
    result.whyValue = "Unblocks the review";
    return result;
}

Block scheduled(Instant plannedStart)
{
    Block result = block();
    result.plannedStart = plannedStart;
    return result;
}

void expectOk(const engine::Result& result)
{
    EXPECT_TRUE(result.has_value()) << message(result.error());
}

// Each builder drives the engine from an idle state, so the fixtures are
// states the engine can actually reach. Every state holds one question.
QuillmereState idle()
{
    QuillmereState state = QuillmereState::initial(t0);
    engine::addQuestion(state, "Which chapter first?", t0);
    return state;
}

QuillmereState planning()
{
    QuillmereState state = idle();
    expectOk(engine::beginBlockPlanning(state, at(1)));
    return state;
}

QuillmereState scheduledAt(double plannedStart)
{
    QuillmereState state = planning();
    expectOk(engine::scheduleBlock(state, scheduled(at(plannedStart)), at(2)));
    return state;
}

QuillmereState sessionPlanning(std::int64_t cycles = 2)
{
    QuillmereState state = planning();
    expectOk(engine::startBlock(state, block(cycles), at(2)));
    return state;
}

// Focus of 1500 s started at second 10.
QuillmereState focusing(std::int64_t cycles = 2)
{
    QuillmereState state = sessionPlanning(cycles);
    expectOk(engine::startFocus(state, plan(), at(10)));
    return state;
}

QuillmereState paused()
{
    QuillmereState state = focusing();
    expectOk(engine::pauseFocus(state, at(20)));
    return state;
}

QuillmereState reviewing(std::int64_t cycles = 2)
{
    QuillmereState state = focusing(cycles);
    expectOk(engine::endFocus(state, at(1510)));
    return state;
}

// Break of 300 s started at second 1600.
QuillmereState breaking()
{
    QuillmereState state = reviewing();
    expectOk(engine::saveReviewAndStartBreak(state, review(), plan(), at(1600)));
    return state;
}

QuillmereState blockReview()
{
    QuillmereState state = reviewing(1);
    expectOk(engine::saveReviewAndStartBreak(state, review(), std::nullopt, at(1600)));
    return state;
}

// An evaluation that changes nothing is reported as a refusal, so that every
// operation can share the same table.
using Operation = std::function<engine::Result(QuillmereState&, Instant)>;

engine::Result changed(bool didChange)
{
    return didChange ? engine::Result{} : std::unexpected(WorkflowError::invalidTransition);
}

struct NamedOperation {
    const char* name;
    Operation run;
};

const std::vector<NamedOperation>& operations()
{
    static const std::vector<NamedOperation> all = {
        {"beginBlockPlanning", engine::beginBlockPlanning},
        {"startBlock", [](QuillmereState& s, Instant now) { return engine::startBlock(s, block(), now); }},
        {"scheduleBlock", [](QuillmereState& s, Instant now) { return engine::scheduleBlock(s, scheduled(now), now); }},
        {"editScheduledBlock", engine::editScheduledBlock},
        {"cancelScheduledBlock", engine::cancelScheduledBlock},
        {"startScheduledBlockNow", engine::startScheduledBlockNow},
        {"evaluateSchedule", [](QuillmereState& s, Instant now) { return changed(engine::evaluateSchedule(s, now)); }},
        {"startFocus", [](QuillmereState& s, Instant now) { return engine::startFocus(s, plan(), now); }},
        {"pauseFocus", engine::pauseFocus},
        {"resumeFocus", engine::resumeFocus},
        {"endFocus", engine::endFocus},
        {"saveReviewAndStartBreak",
         [](QuillmereState& s, Instant now) { return engine::saveReviewAndStartBreak(s, review(), plan(), now); }},
        {"extendBreak", [](QuillmereState& s, Instant now) { return engine::extendBreak(s, 60, now); }},
        {"endBreak", engine::endBreak},
        {"skipBreak", engine::skipBreak},
        {"evaluateTimer",
         [](QuillmereState& s, Instant now) {
             return changed(engine::evaluateTimer(s, now) != TimerTransition::noChange);
         }},
        {"completeBlockReview",
         [](QuillmereState& s, Instant now) { return engine::completeBlockReview(s, BlockReview{}, now); }},
        {"addQuestion",
         [](QuillmereState& s, Instant now) {
             engine::addQuestion(s, "Why?", now);
             return engine::Result{};
         }},
        {"answerQuestion",
         [](QuillmereState& s, Instant now) {
             return engine::answerQuestion(s, s.agentQuestions.front().id, "Because", now);
         }},
    };
    return all;
}

struct Situation {
    const char* name;
    QuillmereState state;
};

std::vector<Situation> situations()
{
    return {
        {"idle", idle()},
        {"idle with scheduled block", scheduledAt(3600)},
        {"blockPlanning", planning()},
        {"sessionPlanning", sessionPlanning()},
        {"focusing", focusing()},
        {"focusing, paused", paused()},
        {"sessionReview", reviewing()},
        {"breaking", breaking()},
        {"blockReview", blockReview()},
    };
}

// Late enough that the schedule is due and both timers have run out.
const Instant matrixNow = at(7200);

// Runs `operation` and checks it either moved to `expected` with `updatedAt`
// set, or was refused with the phase error and left the state untouched.
void expectTransition(const Operation& operation, QuillmereState state, std::optional<WorkflowState> expected)
{
    const QuillmereState before = state;
    const engine::Result result = operation(state, matrixNow);
    if (expected) {
        ASSERT_TRUE(result.has_value()) << message(result.error());
        EXPECT_EQ(state.workflowState, *expected);
        EXPECT_EQ(state.updatedAt, matrixNow);
    } else {
        ASSERT_FALSE(result.has_value());
        EXPECT_EQ(result.error(), WorkflowError::invalidTransition);
        EXPECT_EQ(state, before);
    }
}

} // namespace

TEST(WorkflowEngine, TransitionMatrix_EveryOperationInEveryPhase)
{
    using enum WorkflowState;
    const std::optional<WorkflowState> no;
    // Columns follow situations(): idle, scheduled, blockPlanning,
    // sessionPlanning, focusing, paused, sessionReview, breaking, blockReview.
    const std::map<std::string, std::array<std::optional<WorkflowState>, 9>> expected = {
        {"beginBlockPlanning", {blockPlanning, no, no, no, no, no, no, no, no}},
        {"startBlock", {no, no, sessionPlanning, no, no, no, no, no, no}},
        {"scheduleBlock", {no, no, idle, no, no, no, no, no, no}},
        {"editScheduledBlock", {no, blockPlanning, no, no, no, no, no, no, no}},
        {"cancelScheduledBlock", {no, idle, no, no, no, no, no, no, no}},
        {"startScheduledBlockNow", {no, sessionPlanning, no, no, no, no, no, no, no}},
        {"evaluateSchedule", {no, sessionPlanning, no, no, no, no, no, no, no}},
        {"startFocus", {no, no, no, focusing, no, no, no, no, no}},
        {"pauseFocus", {no, no, no, no, focusing, no, no, no, no}},
        {"resumeFocus", {no, no, no, no, no, focusing, no, no, no}},
        {"endFocus", {no, no, no, no, sessionReview, sessionReview, no, no, no}},
        {"saveReviewAndStartBreak", {no, no, no, no, no, no, breaking, no, no}},
        {"extendBreak", {no, no, no, no, no, no, no, breaking, no}},
        {"endBreak", {no, no, no, no, no, no, no, sessionPlanning, no}},
        {"skipBreak", {no, no, no, no, no, no, no, sessionPlanning, no}},
        // A paused focus timer stands still, so it has not run out.
        {"evaluateTimer", {no, no, no, no, sessionReview, no, no, breaking, no}},
        {"completeBlockReview", {no, no, no, no, no, no, no, no, idle}},
        {"addQuestion", {idle, idle, blockPlanning, sessionPlanning, focusing, focusing, sessionReview, breaking,
                         blockReview}},
        {"answerQuestion", {idle, idle, blockPlanning, sessionPlanning, focusing, focusing, sessionReview, breaking,
                            blockReview}},
    };
    const std::vector<Situation> all = situations();
    ASSERT_EQ(expected.size(), operations().size());
    for (const NamedOperation& operation : operations()) {
        for (std::size_t column = 0; column < all.size(); ++column) {
            SCOPED_TRACE(std::string(operation.name) + " in " + all[column].name);
            expectTransition(operation.run, all[column].state, expected.at(operation.name)[column]);
        }
    }
}

TEST(WorkflowEngine, TransitionMatrix_CompletePhaseOnlyAnswersQuestions)
{
    for (Situation situation : situations()) {
        situation.state.workflowState = WorkflowState::complete;
        for (const NamedOperation& operation : operations()) {
            SCOPED_TRACE(std::string(operation.name) + " in complete, built from " + situation.name);
            const bool questions = std::string_view(operation.name).ends_with("Question");
            expectTransition(operation.run, situation.state,
                             questions ? std::optional(WorkflowState::complete) : std::nullopt);
        }
    }
}

TEST(WorkflowEngine, RefusesRightPhaseWithMissingData)
{
    QuillmereState planningWithoutBlock = sessionPlanning();
    planningWithoutBlock.currentBlock.reset();
    QuillmereState fullBlock = sessionPlanning(1);
    fullBlock.currentBlock->sessions.push_back(focusing(1).currentBlock->sessions.back());
    fullBlock.plannedNextSession = plan();
    QuillmereState focusingWithoutBlock = focusing();
    focusingWithoutBlock.currentBlock.reset();
    QuillmereState focusingWithoutSessions = focusing();
    focusingWithoutSessions.currentBlock->sessions.clear();
    QuillmereState reviewWithoutSessions = reviewing();
    reviewWithoutSessions.currentBlock->sessions.clear();
    QuillmereState blockReviewWithoutBlock = blockReview();
    blockReviewWithoutBlock.currentBlock.reset();
    QuillmereState idleWithUnscheduledBlock = scheduledAt(3600);
    idleWithUnscheduledBlock.currentBlock->plannedStart.reset();
    QuillmereState alreadyTriggered = scheduledAt(3600);
    alreadyTriggered.currentBlock->scheduledStartTriggeredAt = at(3);

    const auto op = [](std::string_view name) {
        for (const NamedOperation& operation : operations()) {
            if (name == operation.name) {
                return operation.run;
            }
        }
        return Operation{};
    };
    const std::vector<std::tuple<const char*, QuillmereState, Operation>> cases = {
        {"startFocus without block", planningWithoutBlock, op("startFocus")},
        {"startFocus when block is full, before the plan check", fullBlock,
         [](QuillmereState& s, Instant now) { return engine::startFocus(s, std::nullopt, now); }},
        {"pauseFocus without block", focusingWithoutBlock, op("pauseFocus")},
        {"pauseFocus without session", focusingWithoutSessions, op("pauseFocus")},
        {"resumeFocus without session", focusingWithoutSessions, op("resumeFocus")},
        {"endFocus without session", focusingWithoutSessions, op("endFocus")},
        {"evaluateTimer without session", focusingWithoutSessions, op("evaluateTimer")},
        {"review without session, before the next-plan check", reviewWithoutSessions,
         [](QuillmereState& s, Instant now) {
             return engine::saveReviewAndStartBreak(s, review(), std::nullopt, now);
         }},
        {"completeBlockReview without block", blockReviewWithoutBlock, op("completeBlockReview")},
        {"beginBlockPlanning with a block in idle", idleWithUnscheduledBlock, op("beginBlockPlanning")},
        {"editScheduledBlock without planned start", idleWithUnscheduledBlock, op("editScheduledBlock")},
        {"cancelScheduledBlock without planned start", idleWithUnscheduledBlock, op("cancelScheduledBlock")},
        {"startScheduledBlockNow without planned start", idleWithUnscheduledBlock, op("startScheduledBlockNow")},
        {"evaluateSchedule without planned start", idleWithUnscheduledBlock, op("evaluateSchedule")},
        {"evaluateSchedule once already triggered", alreadyTriggered, op("evaluateSchedule")},
        {"answerQuestion with unknown identifier", idle(),
         [](QuillmereState& s, Instant now) { return engine::answerQuestion(s, Uuid::generate(), "x", now); }},
    };
    for (const auto& [name, state, operation] : cases) {
        SCOPED_TRACE(name);
        expectTransition(operation, state, std::nullopt);
    }
}

TEST(WorkflowEngine, Message_IsTheFixedTextOfEachError)
{
    const std::pair<WorkflowError, std::string_view> cases[] = {
        {WorkflowError::invalidTransition, "This action is not available in the current workflow state."},
        {WorkflowError::missingBlock, "Start or schedule a block before this action."},
        {WorkflowError::missingSessionPlan, "Save a session plan before focus starts."},
        {WorkflowError::nextSessionPlanRequired, "Save the next session plan before the break starts."},
        {WorkflowError::ratingOutOfRange, "Energy and Morale must each be from 1 through 5."},
        {WorkflowError::invalidDuration, "Durations and the cycle count must be greater than zero."},
    };
    for (const auto& [error, text] : cases) {
        EXPECT_EQ(message(error), text);
    }
}

TEST(WorkflowEngine, StartAndScheduleBlock_RefuseBadDurationsAfterPhaseAndStartChecks)
{
    struct Bad {
        const char* name;
        double focus;
        double pause;
        std::int64_t cycles;
    };
    const Bad cases[] = {
        {"zero focus", 0, 300, 2},     {"negative focus", -1, 300, 2},   {"zero break", 1500, 0, 2},
        {"zero cycles", 1500, 300, 0}, {"negative cycles", 1500, 300, -3}, {"NaN focus", nan, 300, 2},
        {"NaN break", 1500, nan, 2},   {"infinite focus", inf, 300, 2},  {"infinite break", 1500, inf, 2},
    };
    for (const Bad& c : cases) {
        SCOPED_TRACE(c.name);
        Block bad = scheduled(at(3600));
        bad.focusDurationSeconds = c.focus;
        bad.breakDurationSeconds = c.pause;
        bad.cycleCount = c.cycles;
        Block badUnscheduled = bad;
        badUnscheduled.plannedStart.reset();

        for (const auto& [state, operation, blockUsed, error] :
             {std::tuple{planning(), &engine::startBlock, bad, WorkflowError::invalidDuration},
              {planning(), &engine::scheduleBlock, bad, WorkflowError::invalidDuration},
              {idle(), &engine::startBlock, bad, WorkflowError::invalidTransition},
              {planning(), &engine::scheduleBlock, badUnscheduled, WorkflowError::invalidTransition}}) {
            QuillmereState after = state;
            EXPECT_EQ(operation(after, blockUsed, at(5)), std::unexpected(error));
            EXPECT_EQ(after, state);
        }
    }
}

TEST(WorkflowEngine, StartBlock_StoresBlockAsGivenAndClearsStalePlan)
{
    QuillmereState state = planning();
    state.plannedNextSession = plan();
    const Block given = scheduled(at(-3600));
    expectOk(engine::startBlock(state, given, at(5)));
    EXPECT_EQ(state.currentBlock, given);
    EXPECT_EQ(state.plannedNextSession, std::nullopt);
}

TEST(WorkflowEngine, ScheduleBlock_InThePastStartsAtNextEvaluation)
{
    QuillmereState state = scheduledAt(-3600);
    ASSERT_EQ(state.workflowState, WorkflowState::idle);
    EXPECT_TRUE(engine::evaluateSchedule(state, at(3)));
    EXPECT_EQ(state.workflowState, WorkflowState::sessionPlanning);
}

TEST(WorkflowEngine, EvaluateSchedule_StartsExactlyAtPlannedStartAndKeepsIt)
{
    QuillmereState early = scheduledAt(3600);
    const QuillmereState before = early;
    EXPECT_FALSE(engine::evaluateSchedule(early, at(3599)));
    EXPECT_EQ(early, before);

    QuillmereState due = scheduledAt(3600);
    due.plannedNextSession = plan(); // not touched by the automatic start
    EXPECT_TRUE(engine::evaluateSchedule(due, at(3600)));
    EXPECT_EQ(due.currentBlock->plannedStart, at(3600));
    EXPECT_EQ(due.currentBlock->scheduledStartTriggeredAt, at(3600));
    EXPECT_TRUE(due.plannedNextSession.has_value());
    EXPECT_EQ(due.updatedAt, at(3600));
}

TEST(WorkflowEngine, StartScheduledBlockNow_ClearsPlannedStartAndSavedPlan)
{
    QuillmereState state = scheduledAt(3600);
    state.plannedNextSession = plan();
    expectOk(engine::startScheduledBlockNow(state, at(60)));
    EXPECT_EQ(state.currentBlock->plannedStart, std::nullopt);
    EXPECT_EQ(state.currentBlock->scheduledStartTriggeredAt, at(60));
    EXPECT_EQ(state.plannedNextSession, std::nullopt);
}

TEST(WorkflowEngine, CancelScheduledBlock_DiscardsWithoutHistory)
{
    QuillmereState state = scheduledAt(3600);
    expectOk(engine::cancelScheduledBlock(state, at(60)));
    EXPECT_EQ(state.currentBlock, std::nullopt);
    EXPECT_TRUE(state.blockHistory.empty());
}

TEST(WorkflowEngine, EditScheduledBlockThenStart_KeepsPlannedStartUntriggered)
{
    QuillmereState state = scheduledAt(3600);
    expectOk(engine::editScheduledBlock(state, at(60)));
    ASSERT_EQ(state.currentBlock->plannedStart, at(3600));
    expectOk(engine::startBlock(state, *state.currentBlock, at(61)));
    EXPECT_EQ(state.currentBlock->plannedStart, at(3600));
    EXPECT_EQ(state.currentBlock->scheduledStartTriggeredAt, std::nullopt);
}

TEST(WorkflowEngine, StartFocus_ChoosesPlanAndChecksItsRatings)
{
    QuillmereState noPlan = sessionPlanning();
    EXPECT_EQ(engine::startFocus(noPlan, std::nullopt, at(5)), std::unexpected(WorkflowError::missingSessionPlan));

    const SessionPlan saved = plan(4, 4);
    const SessionPlan given = plan(2, 2);
    QuillmereState withSaved = sessionPlanning();
    withSaved.plannedNextSession = saved;
    QuillmereState givenWins = withSaved;
    expectOk(engine::startFocus(withSaved, std::nullopt, at(5)));
    EXPECT_EQ(withSaved.currentSession()->plan, saved);
    EXPECT_EQ(withSaved.plannedNextSession, std::nullopt);
    expectOk(engine::startFocus(givenWins, given, at(5)));
    EXPECT_EQ(givenWins.currentSession()->plan, given);

    const std::tuple<std::int64_t, std::int64_t, bool> ratings[] = {
        {1, 5, true}, {5, 1, true}, {0, 3, false}, {6, 3, false}, {3, 0, false}, {3, 6, false}, {-1, 7, false},
    };
    for (const auto& [energy, morale, accepted] : ratings) {
        SCOPED_TRACE(testing::Message() << "energy " << energy << ", morale " << morale);
        // A bad saved plan is refused just like a bad given one.
        QuillmereState state = sessionPlanning();
        state.plannedNextSession = plan(energy, morale);
        const QuillmereState before = state;
        const engine::Result result = engine::startFocus(state, std::nullopt, at(5));
        EXPECT_EQ(result.has_value(), accepted);
        if (!accepted) {
            EXPECT_EQ(result, std::unexpected(WorkflowError::ratingOutOfRange));
            EXPECT_EQ(state, before);
        }
    }
}

TEST(WorkflowEngine, StartFocus_CreatesNumberedSessionWithCurrentFocusLength)
{
    QuillmereState state = sessionPlanning(3);
    state.currentBlock->focusDurationSeconds = 900.5;
    const SessionPlan used = plan();
    expectOk(engine::startFocus(state, used, at(5)));
    const WorkSession& session = *state.currentSession();
    EXPECT_EQ(session.number, 1);
    EXPECT_EQ(session.plan, used);
    EXPECT_EQ(session.startedAt, at(5));
    EXPECT_EQ(session.plannedDurationSeconds, 900.5);
    EXPECT_EQ(session.pausedAt, std::nullopt);
    EXPECT_EQ(session.endedAt, std::nullopt);
}

TEST(WorkflowEngine, PauseAndResume_AccumulateExactPauseLength)
{
    QuillmereState state = focusing(); // started at 10
    expectOk(engine::pauseFocus(state, at(110)));
    EXPECT_EQ(engine::pauseFocus(state, at(120)), std::unexpected(WorkflowError::invalidTransition));
    expectOk(engine::resumeFocus(state, at(170)));
    EXPECT_EQ(state.currentSession()->accumulatedPausedSeconds, 60);
    EXPECT_EQ(state.currentSession()->pausedAt, std::nullopt);

    expectOk(engine::pauseFocus(state, at(200.25)));
    expectOk(engine::resumeFocus(state, at(200.75)));
    EXPECT_EQ(state.currentSession()->accumulatedPausedSeconds, 60.5);

    // A clock set back during a pause adds nothing rather than subtracting.
    expectOk(engine::pauseFocus(state, at(300)));
    expectOk(engine::resumeFocus(state, at(250)));
    EXPECT_EQ(state.currentSession()->accumulatedPausedSeconds, 60.5);
}

TEST(WorkflowEngine, EndFocus_WhilePausedCountsPauseUpToNow)
{
    QuillmereState state = focusing();
    expectOk(engine::pauseFocus(state, at(110)));
    expectOk(engine::endFocus(state, at(140)));
    const WorkSession& session = *state.currentSession();
    EXPECT_EQ(session.accumulatedPausedSeconds, 30);
    EXPECT_EQ(session.pausedAt, std::nullopt);
    EXPECT_EQ(session.endedAt, at(140));
}

TEST(WorkflowEngine, EvaluateTimer_EndsFocusAtFirstTickAtOrAfterItsEnd)
{
    QuillmereState state = focusing(); // 1500 s from second 10
    const QuillmereState before = state;
    EXPECT_EQ(engine::evaluateTimer(state, at(1509)), TimerTransition::noChange);
    EXPECT_EQ(state, before);

    // A 40 s pause moves the end to second 1550.
    expectOk(engine::pauseFocus(state, at(500)));
    expectOk(engine::resumeFocus(state, at(540)));
    EXPECT_EQ(engine::evaluateTimer(state, at(1549.9)), TimerTransition::noChange);
    EXPECT_EQ(engine::evaluateTimer(state, at(1550)), TimerTransition::focusEnded);
    EXPECT_EQ(state.workflowState, WorkflowState::sessionReview);
    EXPECT_EQ(state.currentSession()->endedAt, at(1550));
    EXPECT_EQ(state.updatedAt, at(1550));
}

TEST(WorkflowEngine, EvaluateTimer_SignalsBreakEndOncePerLength)
{
    QuillmereState state = breaking(); // 300 s from second 1600
    EXPECT_EQ(engine::evaluateTimer(state, at(1899)), TimerTransition::noChange);
    EXPECT_EQ(engine::evaluateTimer(state, at(1900)), TimerTransition::breakEnded);
    EXPECT_EQ(state.breakEndNotifiedAt, at(1900));
    EXPECT_EQ(state.updatedAt, at(1900));

    const QuillmereState signalled = state;
    EXPECT_EQ(engine::evaluateTimer(state, at(1950)), TimerTransition::noChange);
    EXPECT_EQ(state, signalled);

    expectOk(engine::extendBreak(state, 120, at(1960)));
    EXPECT_EQ(state.breakEndNotifiedAt, std::nullopt);
    EXPECT_EQ(engine::evaluateTimer(state, at(2019)), TimerTransition::noChange);
    EXPECT_EQ(engine::evaluateTimer(state, at(2020)), TimerTransition::breakEnded);
    EXPECT_EQ(state.workflowState, WorkflowState::breaking);
}

TEST(WorkflowEngine, ExtendBreak_AccumulatesAndRefusesBadAmountsAsTransitionError)
{
    QuillmereState state = breaking();
    expectOk(engine::extendBreak(state, 60, at(1700)));
    expectOk(engine::extendBreak(state, 30.5, at(1701)));
    EXPECT_EQ(state.breakExtensionSeconds, 90.5);

    QuillmereState nearLimit = breaking();
    nearLimit.breakExtensionSeconds = std::numeric_limits<double>::max();
    const std::pair<const char*, std::pair<QuillmereState, double>> cases[] = {
        {"zero", {state, 0}},
        {"negative", {state, -5}},
        {"NaN", {state, nan}},
        {"infinite", {state, inf}},
        {"total would become infinite", {nearLimit, std::numeric_limits<double>::max()}},
    };
    for (const auto& [name, input] : cases) {
        SCOPED_TRACE(name);
        QuillmereState after = input.first;
        EXPECT_EQ(engine::extendBreak(after, input.second, at(1800)),
                  std::unexpected(WorkflowError::invalidTransition));
        EXPECT_EQ(after, input.first);
    }
}

TEST(WorkflowEngine, SaveReview_RequiresValidNextPlanWhileSessionsRemain)
{
    const std::tuple<const char*, std::optional<SessionPlan>, WorkflowError> cases[] = {
        {"no next plan", std::nullopt, WorkflowError::nextSessionPlanRequired},
        {"energy 0", plan(0, 3), WorkflowError::ratingOutOfRange},
        {"morale 6", plan(3, 6), WorkflowError::ratingOutOfRange},
    };
    for (const auto& [name, next, error] : cases) {
        SCOPED_TRACE(name);
        QuillmereState state = reviewing();
        const QuillmereState before = state;
        EXPECT_EQ(engine::saveReviewAndStartBreak(state, review(), next, at(1600)), std::unexpected(error));
        EXPECT_EQ(state, before);
    }
}

TEST(WorkflowEngine, SaveReview_LastSessionChecksButDropsNextPlan)
{
    QuillmereState badPlan = reviewing(1);
    EXPECT_EQ(engine::saveReviewAndStartBreak(badPlan, review(), plan(0, 3), at(1600)),
              std::unexpected(WorkflowError::ratingOutOfRange));

    QuillmereState state = reviewing(1);
    const SessionReview saved = review();
    expectOk(engine::saveReviewAndStartBreak(state, saved, plan(), at(1600)));
    EXPECT_EQ(state.workflowState, WorkflowState::blockReview);
    EXPECT_EQ(state.currentSession()->review, saved);
    EXPECT_EQ(state.plannedNextSession, std::nullopt);
    EXPECT_EQ(state.breakStartedAt, std::nullopt);
}

TEST(WorkflowEngine, TwoCycleBlock_RunsThroughBreakToHistory)
{
    QuillmereState state = reviewing(2);
    const SessionPlan next = plan(2, 4);
    expectOk(engine::saveReviewAndStartBreak(state, review(), next, at(1600)));
    EXPECT_EQ(state.workflowState, WorkflowState::breaking);
    EXPECT_EQ(state.breakStartedAt, at(1600));
    EXPECT_EQ(state.plannedNextSession, next);

    expectOk(engine::extendBreak(state, 60, at(1700)));
    expectOk(engine::skipBreak(state, at(1800)));
    EXPECT_EQ(state.workflowState, WorkflowState::sessionPlanning);
    EXPECT_EQ(state.breakStartedAt, std::nullopt);
    EXPECT_EQ(state.breakExtensionSeconds, 0);
    EXPECT_EQ(state.plannedNextSession, next);

    expectOk(engine::startFocus(state, std::nullopt, at(1810)));
    EXPECT_EQ(state.currentSession()->number, 2);
    EXPECT_EQ(state.currentSession()->plan, next);
    expectOk(engine::endFocus(state, at(3310)));
    expectOk(engine::saveReviewAndStartBreak(state, review(), std::nullopt, at(3400)));
    EXPECT_EQ(state.workflowState, WorkflowState::blockReview);

    QuillmereState older = blockReview();
    expectOk(engine::completeBlockReview(older, BlockReview{}, at(3400)));
    state.blockHistory = older.blockHistory;
    const Uuid finished = state.currentBlock->id;
    const BlockReview reflection{"Two chapters", "Better", "Citations", "Outline first", "Plan the night before"};
    expectOk(engine::completeBlockReview(state, reflection, at(3500)));
    EXPECT_EQ(state.workflowState, WorkflowState::idle);
    EXPECT_EQ(state.currentBlock, std::nullopt);
    ASSERT_EQ(state.blockHistory.size(), 2u);
    EXPECT_EQ(state.blockHistory[0].id, finished);
    EXPECT_EQ(state.blockHistory[0].reflection, reflection);
    EXPECT_EQ(state.blockHistory[0].completedAt, at(3500));
    EXPECT_EQ(state.blockHistory[1], older.blockHistory[0]);
}

TEST(WorkflowEngine, Questions_StoredAsGivenAndAnsweredAgain)
{
    QuillmereState state = QuillmereState::initial(t0);
    engine::addQuestion(state, "", at(1));
    ASSERT_EQ(state.agentQuestions.size(), 1u);
    const AgentQuestion& question = state.agentQuestions[0];
    EXPECT_EQ(question.question, "");
    EXPECT_EQ(question.createdAt, at(1));
    EXPECT_EQ(question.answeredAt, std::nullopt);

    expectOk(engine::answerQuestion(state, question.id, "First", at(2)));
    expectOk(engine::answerQuestion(state, question.id, "Second", at(3)));
    EXPECT_EQ(question.answer, "Second");
    EXPECT_EQ(question.answeredAt, at(3));
    EXPECT_EQ(state.agentQuestions.size(), 1u);
}
