// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/Enumerations.h"

namespace quillmere {

std::string_view rawText(WorkflowState value)
{
    switch (value) {
    case WorkflowState::idle: return "idle";
    case WorkflowState::blockPlanning: return "blockPlanning";
    case WorkflowState::sessionPlanning: return "sessionPlanning";
    case WorkflowState::focusing: return "focusing";
    case WorkflowState::sessionReview: return "sessionReview";
    case WorkflowState::breaking: return "breaking";
    case WorkflowState::blockReview: return "blockReview";
    case WorkflowState::complete: return "complete";
    }
    return {};
}

std::string_view rawText(CompletionResult value)
{
    switch (value) {
    case CompletionResult::yes: return "Yes";
    case CompletionResult::half: return "Half";
    case CompletionResult::no: return "No";
    }
    return {};
}

std::string_view rawText(TimerKind value)
{
    switch (value) {
    case TimerKind::focus: return "focus";
    case TimerKind::breakTime: return "breakTime";
    }
    return {};
}

} // namespace quillmere
