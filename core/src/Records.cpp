// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/QuillmereState.h"

#include <algorithm>
#include <utility>

namespace quillmere {

SessionPlan SessionPlan::blank(Uuid id)
{
    SessionPlan plan;
    plan.id = id;
    return plan;
}

Seconds WorkSession::focusSeconds(Instant now) const
{
    return std::max(0.0, secondsBetween(startedAt, runEnd(now)) - accumulatedPausedSeconds);
}

Seconds WorkSession::pausedSeconds(Instant now) const
{
    // A clock set back while paused counts nothing for the pause in progress.
    const Seconds running = pausedAt && !endedAt ? std::max(0.0, secondsBetween(*pausedAt, now)) : 0.0;
    return accumulatedPausedSeconds + running;
}

Block Block::defaultBlock(Instant now)
{
    Block block;
    block.id = Uuid::generate();
    block.createdAt = now;
    block.focusDurationSeconds = 1500;
    block.breakDurationSeconds = 300;
    block.cycleCount = 8;
    block.outcomes = {Outcome{Uuid::generate(), ""}};
    return block;
}

Instant Block::plannedEnd() const
{
    const Seconds cycle = focusDurationSeconds + breakDurationSeconds;
    return addSeconds(plannedStart.value_or(createdAt), cycle * static_cast<double>(cycleCount));
}

QuillmereState QuillmereState::initial(Instant updatedAt)
{
    QuillmereState state;
    state.id = Uuid::generate();
    state.updatedAt = updatedAt;
    return state;
}

const WorkSession* QuillmereState::currentSession() const
{
    if (!currentBlock || currentBlock->sessions.empty()) {
        return nullptr;
    }
    return &currentBlock->sessions.back();
}

WorkSession* QuillmereState::currentSession()
{
    return const_cast<WorkSession*>(std::as_const(*this).currentSession());
}

std::vector<AgentQuestion> QuillmereState::openQuestions() const
{
    std::vector<AgentQuestion> open;
    for (const AgentQuestion& question : agentQuestions) {
        if (!question.answeredAt) {
            open.push_back(question);
        }
    }
    return open;
}

bool QuillmereState::interruptible() const
{
    if (workflowState != WorkflowState::focusing) {
        return true;
    }
    const WorkSession* session = currentSession();
    return session != nullptr && session->pausedAt.has_value();
}

} // namespace quillmere
