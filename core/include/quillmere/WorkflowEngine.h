// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/QuillmereState.h"
#include "quillmere/WorkflowError.h"

#include <expected>
#include <optional>
#include <string>

namespace quillmere {

// What a timer evaluation did.
enum class TimerTransition { noChange, focusEnded, breakEnded };

// The state machine of the work cycle: stateless operations on one state,
// changed in place. Every operation is given `now` and reads no clock. All
// checks come before any change, so a refused operation leaves the state as
// it was; a successful one sets `updatedAt` to `now`.
namespace WorkflowEngine {

using Result = std::expected<void, WorkflowError>;

// Block lifecycle and scheduling.
Result beginBlockPlanning(QuillmereState& state, Instant now);
Result startBlock(QuillmereState& state, const Block& block, Instant now);
Result scheduleBlock(QuillmereState& state, const Block& block, Instant now);
Result editScheduledBlock(QuillmereState& state, Instant now);
Result cancelScheduledBlock(QuillmereState& state, Instant now);
Result startScheduledBlockNow(QuillmereState& state, Instant now);
// Starts the scheduled block once its planned start has come; true when it did.
bool evaluateSchedule(QuillmereState& state, Instant now);

// Focus, review and break cycle.
Result startFocus(QuillmereState& state, const std::optional<SessionPlan>& plan, Instant now);
Result pauseFocus(QuillmereState& state, Instant now);
Result resumeFocus(QuillmereState& state, Instant now);
Result endFocus(QuillmereState& state, Instant now);
Result saveReviewAndStartBreak(QuillmereState& state, const SessionReview& review,
                               const std::optional<SessionPlan>& nextPlan, Instant now);
Result extendBreak(QuillmereState& state, Seconds by, Instant now);
Result endBreak(QuillmereState& state, Instant now);
Result skipBreak(QuillmereState& state, Instant now);
// Ends a focus session whose time is up, or signals once per break length
// that a break is over (the break itself runs on into overtime).
TimerTransition evaluateTimer(QuillmereState& state, Instant now);
Result completeBlockReview(QuillmereState& state, const BlockReview& review, Instant now);

// Agent questions; allowed in every phase. `askedBy` names the agent that
// asked, if it said. Returns the new question's identifier.
Uuid addQuestion(QuillmereState& state, const std::string& question, Instant now,
                 std::optional<std::string> askedBy = std::nullopt);
Result answerQuestion(QuillmereState& state, const Uuid& id, const std::string& answer, Instant now);

} // namespace WorkflowEngine

} // namespace quillmere
