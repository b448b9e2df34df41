// SPDX-License-Identifier: GPL-3.0-or-later
#include "StateParts.h"

namespace quillmere {
namespace {

auto workInHand(const QuillmereState& state)
{
    return std::tie(state.currentBlock, state.plannedNextSession, state.breakStartedAt, state.breakExtensionSeconds,
                    state.breakEndNotifiedAt);
}

} // namespace

PartsBefore::PartsBefore(const QuillmereState& state, StateParts compared)
    : compared_(compared), phase_(state.workflowState), historyLength_(state.blockHistory.size())
{
    if (compared.testFlag(StatePart::currentBlock)) {
        work_ = workInHand(state);
    }
    if (compared.testFlag(StatePart::questions)) {
        questions_ = state.agentQuestions;
    }
}

StateParts PartsBefore::changedIn(const QuillmereState& state) const
{
    StateParts changed;
    changed.setFlag(StatePart::phase, compared_.testFlag(StatePart::phase) && state.workflowState != phase_);
    changed.setFlag(StatePart::currentBlock, work_ && workInHand(state) != *work_);
    changed.setFlag(StatePart::history,
                    compared_.testFlag(StatePart::history) && state.blockHistory.size() != historyLength_);
    changed.setFlag(StatePart::questions, questions_ && state.agentQuestions != *questions_);
    return changed;
}

} // namespace quillmere
