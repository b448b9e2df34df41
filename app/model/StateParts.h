// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/QuillmereState.h"

#include <QFlags>

#include <optional>
#include <tuple>
#include <vector>

namespace quillmere {

// The parts of the state that views follow one by one, each with a signal of
// AppModel that says it changed. `stateChanged` covers them all, and also
// what belongs to none of them (the state's `id` and `updatedAt`).
enum class StatePart {
    // `workflowState`, from which `AppModel::phase()` is derived.
    phase = 0x1,
    // The work in hand: `currentBlock` (its preparation, a scheduled start,
    // its sessions with their plans and reviews, its reflection), the plan
    // saved for the next session and the running break.
    currentBlock = 0x2,
    // `blockHistory`: the completed blocks.
    history = 0x4,
    // `agentQuestions`.
    questions = 0x8,
};
Q_DECLARE_FLAGS(StateParts, StatePart)
Q_DECLARE_OPERATORS_FOR_FLAGS(StateParts)
inline constexpr StateParts allStateParts{StatePart::phase, StatePart::currentBlock, StatePart::history,
                                          StatePart::questions};

// The parts of the state that a change is told by, as they were before it;
// only those in `compared` are kept. Of the history only the length is kept:
// outside the editors, which name it, only the engine changes it, by adding a
// completed block, and comparing years of blocks after every command would
// cost more than the command.
class PartsBefore {
public:
    PartsBefore(const QuillmereState& state, StateParts compared);

    // The compared parts that differ in `state`.
    StateParts changedIn(const QuillmereState& state) const;

private:
    using WorkInHand = std::tuple<std::optional<Block>, std::optional<SessionPlan>, std::optional<Instant>, Seconds,
                                  std::optional<Instant>>;
    StateParts compared_;
    WorkflowState phase_;
    std::size_t historyLength_;
    std::optional<WorkInHand> work_;
    std::optional<std::vector<AgentQuestion>> questions_;
};

} // namespace quillmere
