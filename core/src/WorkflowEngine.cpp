// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/WorkflowEngine.h"

#include "quillmere/TimerSnapshot.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace quillmere::WorkflowEngine {
namespace {

std::unexpected<WorkflowError> refuse(WorkflowError error)
{
    return std::unexpected(error);
}

// The state is written to JSON after every change, and JSON has no infinity,
// so an infinite duration is refused here rather than saved unreadably.
bool hasValidDurations(const Block& block)
{
    return block.focusDurationSeconds > 0 && std::isfinite(block.focusDurationSeconds) &&
           block.breakDurationSeconds > 0 && std::isfinite(block.breakDurationSeconds) && block.cycleCount >= 1;
}

bool hasValidRatings(const SessionPlan& plan)
{
    return plan.energy >= 1 && plan.energy <= 5 && plan.morale >= 1 && plan.morale <= 5;
}

bool hasScheduledBlock(const QuillmereState& state)
{
    return state.workflowState == WorkflowState::idle && state.currentBlock && state.currentBlock->plannedStart;
}

bool sessionsRemain(const Block& block)
{
    return static_cast<std::int64_t>(block.sessions.size()) < block.cycleCount;
}

void clearBreak(QuillmereState& state)
{
    state.breakStartedAt.reset();
    state.breakExtensionSeconds = 0;
    state.breakEndNotifiedAt.reset();
}

// Counts the pause in progress up to `now`; a clock set back counts nothing.
void closePause(WorkSession& session, Instant now)
{
    session.accumulatedPausedSeconds += std::max(0.0, secondsBetween(*session.pausedAt, now));
    session.pausedAt.reset();
}

// The changes of endFocus once its checks have passed; the timer evaluation
// reaches here only with a running session, so it needs no checks of its own.
void finishFocus(QuillmereState& state, Instant now)
{
    WorkSession& session = *state.currentSession();
    if (session.pausedAt) {
        closePause(session, now);
    }
    session.endedAt = now;
    state.workflowState = WorkflowState::sessionReview;
    state.updatedAt = now;
}

} // namespace

Result beginBlockPlanning(QuillmereState& state, Instant now)
{
    // A scheduled block must be edited, cancelled or started before another
    // block can be prepared: there is room for only one.
    if (state.workflowState != WorkflowState::idle || state.currentBlock) {
        return refuse(WorkflowError::invalidTransition);
    }
    state.workflowState = WorkflowState::blockPlanning;
    state.updatedAt = now;
    return {};
}

Result startBlock(QuillmereState& state, const Block& block, Instant now)
{
    if (state.workflowState != WorkflowState::blockPlanning) {
        return refuse(WorkflowError::invalidTransition);
    }
    if (!hasValidDurations(block)) {
        return refuse(WorkflowError::invalidDuration);
    }
    state.currentBlock = block;
    state.plannedNextSession.reset();
    state.workflowState = WorkflowState::sessionPlanning;
    state.updatedAt = now;
    return {};
}

Result scheduleBlock(QuillmereState& state, const Block& block, Instant now)
{
    if (state.workflowState != WorkflowState::blockPlanning || !block.plannedStart) {
        return refuse(WorkflowError::invalidTransition);
    }
    if (!hasValidDurations(block)) {
        return refuse(WorkflowError::invalidDuration);
    }
    // A start in the past is accepted; the next schedule evaluation starts it.
    state.currentBlock = block;
    state.workflowState = WorkflowState::idle;
    state.updatedAt = now;
    return {};
}

Result editScheduledBlock(QuillmereState& state, Instant now)
{
    if (!hasScheduledBlock(state)) {
        return refuse(WorkflowError::invalidTransition);
    }
    // The block keeps its planned start so that it can be scheduled again.
    state.workflowState = WorkflowState::blockPlanning;
    state.updatedAt = now;
    return {};
}

Result cancelScheduledBlock(QuillmereState& state, Instant now)
{
    if (!hasScheduledBlock(state)) {
        return refuse(WorkflowError::invalidTransition);
    }
    // Discarded: a block that never ran has no place in the history.
    state.currentBlock.reset();
    state.plannedNextSession.reset();
    state.updatedAt = now;
    return {};
}

Result startScheduledBlockNow(QuillmereState& state, Instant now)
{
    if (!hasScheduledBlock(state)) {
        return refuse(WorkflowError::invalidTransition);
    }
    state.currentBlock->plannedStart.reset();
    state.currentBlock->scheduledStartTriggeredAt = now;
    state.plannedNextSession.reset();
    state.workflowState = WorkflowState::sessionPlanning;
    state.updatedAt = now;
    return {};
}

bool evaluateSchedule(QuillmereState& state, Instant now)
{
    if (!hasScheduledBlock(state) || *state.currentBlock->plannedStart > now ||
        state.currentBlock->scheduledStartTriggeredAt) {
        return false;
    }
    // Unlike an early start, the automatic one keeps `plannedStart`, so the
    // block records both when it was planned and when it began.
    state.currentBlock->scheduledStartTriggeredAt = now;
    state.workflowState = WorkflowState::sessionPlanning;
    state.updatedAt = now;
    return true;
}

Result startFocus(QuillmereState& state, const std::optional<SessionPlan>& plan, Instant now)
{
    if (state.workflowState != WorkflowState::sessionPlanning || !state.currentBlock ||
        !sessionsRemain(*state.currentBlock)) {
        return refuse(WorkflowError::invalidTransition);
    }
    const std::optional<SessionPlan>& chosen = plan ? plan : state.plannedNextSession;
    if (!chosen) {
        return refuse(WorkflowError::missingSessionPlan);
    }
    if (!hasValidRatings(*chosen)) {
        return refuse(WorkflowError::ratingOutOfRange);
    }
    Block& block = *state.currentBlock;
    WorkSession session;
    session.id = Uuid::generate();
    session.number = static_cast<std::int64_t>(block.sessions.size()) + 1;
    // `chosen` may be plannedNextSession itself, cleared below: copy it first.
    session.plan = *chosen;
    session.startedAt = now;
    // Fixed now: a later change of the block's focus length does not move
    // the end of a session already running.
    session.plannedDurationSeconds = block.focusDurationSeconds;
    session.accumulatedPausedSeconds = 0;
    block.sessions.push_back(std::move(session));
    state.plannedNextSession.reset();
    state.workflowState = WorkflowState::focusing;
    state.updatedAt = now;
    return {};
}

Result pauseFocus(QuillmereState& state, Instant now)
{
    WorkSession* session = state.currentSession();
    if (state.workflowState != WorkflowState::focusing || !session || session->pausedAt) {
        return refuse(WorkflowError::invalidTransition);
    }
    session->pausedAt = now;
    state.updatedAt = now;
    return {};
}

Result resumeFocus(QuillmereState& state, Instant now)
{
    WorkSession* session = state.currentSession();
    if (state.workflowState != WorkflowState::focusing || !session || !session->pausedAt) {
        return refuse(WorkflowError::invalidTransition);
    }
    closePause(*session, now);
    state.updatedAt = now;
    return {};
}

Result endFocus(QuillmereState& state, Instant now)
{
    if (state.workflowState != WorkflowState::focusing || !state.currentSession()) {
        return refuse(WorkflowError::invalidTransition);
    }
    finishFocus(state, now);
    return {};
}

Result saveReviewAndStartBreak(QuillmereState& state, const SessionReview& review,
                               const std::optional<SessionPlan>& nextPlan, Instant now)
{
    if (state.workflowState != WorkflowState::sessionReview || !state.currentSession()) {
        return refuse(WorkflowError::invalidTransition);
    }
    const bool remain = sessionsRemain(*state.currentBlock);
    if (remain && !nextPlan) {
        return refuse(WorkflowError::nextSessionPlanRequired);
    }
    // Checked even after the last session, where the plan is then dropped:
    // the user is told about a bad rating rather than having it vanish.
    if (nextPlan && !hasValidRatings(*nextPlan)) {
        return refuse(WorkflowError::ratingOutOfRange);
    }
    state.currentSession()->review = review;
    state.breakExtensionSeconds = 0;
    state.breakEndNotifiedAt.reset();
    if (remain) {
        state.plannedNextSession = nextPlan;
        state.breakStartedAt = now;
        state.workflowState = WorkflowState::breaking;
    } else {
        // No break after the last session: the block goes to its reflection.
        state.plannedNextSession.reset();
        state.breakStartedAt.reset();
        state.workflowState = WorkflowState::blockReview;
    }
    state.updatedAt = now;
    return {};
}

Result extendBreak(QuillmereState& state, Seconds by, Instant now)
{
    // A bad extension is a refused action, not a bad duration setting; an
    // infinite total could not be saved.
    if (state.workflowState != WorkflowState::breaking || !(by > 0) || !std::isfinite(by) ||
        !std::isfinite(state.breakExtensionSeconds + by)) {
        return refuse(WorkflowError::invalidTransition);
    }
    state.breakExtensionSeconds += by;
    // The end of the longer break is to be signalled again.
    state.breakEndNotifiedAt.reset();
    state.updatedAt = now;
    return {};
}

Result endBreak(QuillmereState& state, Instant now)
{
    if (state.workflowState != WorkflowState::breaking) {
        return refuse(WorkflowError::invalidTransition);
    }
    clearBreak(state);
    // `plannedNextSession` stays for startFocus; focus never starts by itself.
    state.workflowState = WorkflowState::sessionPlanning;
    state.updatedAt = now;
    return {};
}

Result skipBreak(QuillmereState& state, Instant now)
{
    return endBreak(state, now);
}

TimerTransition evaluateTimer(QuillmereState& state, Instant now)
{
    const std::optional<TimerSnapshot> snapshot = TimerSnapshot::derive(state, now);
    if (!snapshot || snapshot->remainingSeconds > 0) {
        return TimerTransition::noChange;
    }
    switch (snapshot->kind) {
    case TimerKind::focus:
        finishFocus(state, now);
        return TimerTransition::focusEnded;
    case TimerKind::breakTime:
        // A break never ends by itself; its end is signalled once per length.
        if (state.breakEndNotifiedAt) {
            return TimerTransition::noChange;
        }
        state.breakEndNotifiedAt = now;
        state.updatedAt = now;
        return TimerTransition::breakEnded;
    }
    return TimerTransition::noChange;
}

Result completeBlockReview(QuillmereState& state, const BlockReview& review, Instant now)
{
    if (state.workflowState != WorkflowState::blockReview || !state.currentBlock) {
        return refuse(WorkflowError::invalidTransition);
    }
    Block block = std::move(*state.currentBlock);
    block.reflection = review;
    block.completedAt = now;
    state.blockHistory.insert(state.blockHistory.begin(), std::move(block));
    state.currentBlock.reset();
    state.plannedNextSession.reset();
    clearBreak(state);
    state.workflowState = WorkflowState::idle;
    state.updatedAt = now;
    return {};
}

Uuid addQuestion(QuillmereState& state, const std::string& question, Instant now, std::optional<std::string> askedBy)
{
    const Uuid id = Uuid::generate();
    state.agentQuestions.push_back(AgentQuestion{
        .id = id,
        .question = question,
        .createdAt = now,
        .answer = std::nullopt,
        .answeredAt = std::nullopt,
        .askedBy = std::move(askedBy),
    });
    state.updatedAt = now;
    return id;
}

Result answerQuestion(QuillmereState& state, const Uuid& id, const std::string& answer, Instant now)
{
    const auto found = std::ranges::find(state.agentQuestions, id, &AgentQuestion::id);
    if (found == state.agentQuestions.end()) {
        return refuse(WorkflowError::invalidTransition);
    }
    found->answer = answer;
    found->answeredAt = now;
    state.updatedAt = now;
    return {};
}

} // namespace quillmere::WorkflowEngine
