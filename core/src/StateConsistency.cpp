// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/StateConsistency.h"

#include <cmath>
#include <string>

namespace quillmere {
namespace {

using StateConsistency::maximumDurationSeconds;

std::unexpected<CodingError> violation(std::string path, std::string reason)
{
    return std::unexpected(CodingError{std::move(path), std::move(reason)});
}

std::string secondsText(double seconds)
{
    if (!std::isfinite(seconds)) {
        return "a number that is not finite";
    }
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15g", seconds);
    return buffer;
}

// A duration that can be counted down: finite, not negative (or, where
// `positive`, above zero), and at most a day.
std::expected<void, CodingError> checkDuration(const std::string& path, double seconds, bool positive)
{
    const bool inRange = std::isfinite(seconds) && (positive ? seconds > 0 : seconds >= 0) &&
                         seconds <= maximumDurationSeconds;
    if (!inRange) {
        return violation(path, "expected " + std::string(positive ? "more than 0" : "0 or more") +
                                   " and at most 86400 seconds, found " + secondsText(seconds));
    }
    return {};
}

std::expected<void, CodingError> checkBlock(const Block& block, const std::string& path)
{
    if (auto checked = checkDuration(path + ".focus_duration_seconds", block.focusDurationSeconds, true); !checked) {
        return checked;
    }
    if (auto checked = checkDuration(path + ".break_duration_seconds", block.breakDurationSeconds, true); !checked) {
        return checked;
    }
    if (block.cycleCount < 1) {
        return violation(path + ".cycle_count", "expected 1 or more, found " + std::to_string(block.cycleCount));
    }
    for (std::size_t i = 0; i < block.sessions.size(); ++i) {
        const WorkSession& session = block.sessions[i];
        const std::string at = path + ".sessions[" + std::to_string(i) + "]";
        if (auto checked = checkDuration(at + ".planned_duration_seconds", session.plannedDurationSeconds, false);
            !checked) {
            return checked;
        }
        if (auto checked = checkDuration(at + ".accumulated_paused_seconds", session.accumulatedPausedSeconds, false);
            !checked) {
            return checked;
        }
    }
    return {};
}

// What the phase needs of the rest of the state for its screen to offer a
// way on; none when it has it. Fewer sessions planned than run is no fault:
// the current block's form can lower the count and raise it again.
std::optional<std::string> missingForPhase(const QuillmereState& state)
{
    const std::optional<Block>& block = state.currentBlock;
    switch (state.workflowState) {
    case WorkflowState::idle:
        // Only a scheduled block waits in idle; any other would block every
        // way to a new one.
        if (block && !block->plannedStart) {
            return "a current block in \"idle\" must have a planned start";
        }
        return std::nullopt;
    case WorkflowState::blockPlanning:
    case WorkflowState::complete: return std::nullopt;
    case WorkflowState::sessionPlanning:
        if (!block) {
            return "\"session_planning\" needs a current block";
        }
        return std::nullopt;
    case WorkflowState::focusing:
        if (!block || block->sessions.empty() || block->sessions.back().endedAt) {
            return "\"focusing\" needs a current block whose last session has not ended";
        }
        return std::nullopt;
    case WorkflowState::sessionReview:
        if (!block || block->sessions.empty()) {
            return "\"session_review\" needs a current block with a session to review";
        }
        return std::nullopt;
    case WorkflowState::breaking:
        if (!block || !state.breakStartedAt) {
            return "\"breaking\" needs a current block and the break's start";
        }
        return std::nullopt;
    case WorkflowState::blockReview:
        if (!block) {
            return "\"block_review\" needs a current block";
        }
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

std::expected<void, CodingError> checkConsistency(const QuillmereState& state)
{
    if (auto missing = missingForPhase(state)) {
        return violation("workflow_state", std::move(*missing));
    }
    if (state.currentBlock) {
        if (auto checked = checkBlock(*state.currentBlock, "current_block"); !checked) {
            return checked;
        }
    }
    for (std::size_t i = 0; i < state.blockHistory.size(); ++i) {
        if (auto checked = checkBlock(state.blockHistory[i], "block_history[" + std::to_string(i) + "]"); !checked) {
            return checked;
        }
    }
    return checkDuration("break_extension_seconds", state.breakExtensionSeconds, false);
}

} // namespace quillmere
