// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/Block.h"

#include <vector>

namespace quillmere {

// The root of everything persisted: the phase, the current block, the
// history (most recently completed first), the plan saved for the next
// session, the running break and the agent questions.
struct QuillmereState {
    Uuid id;
    WorkflowState workflowState = WorkflowState::idle;
    std::optional<Block> currentBlock;
    std::vector<Block> blockHistory;
    std::optional<SessionPlan> plannedNextSession;
    std::optional<Instant> breakStartedAt;
    Seconds breakExtensionSeconds = 0;
    std::optional<Instant> breakEndNotifiedAt;
    std::vector<AgentQuestion> agentQuestions;
    Instant updatedAt;

    // A fresh idle state with a new identifier.
    static QuillmereState initial(Instant updatedAt);

    // The last session of the current block, or null.
    const WorkSession* currentSession() const;
    WorkSession* currentSession();

    // Questions without an answer time, in stored order.
    std::vector<AgentQuestion> openQuestions() const;

    // False only while a focus session runs unpaused.
    bool interruptible() const;

    friend bool operator==(const QuillmereState&, const QuillmereState&) = default;
};

} // namespace quillmere
