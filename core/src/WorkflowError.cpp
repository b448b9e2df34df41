// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/WorkflowError.h"

namespace quillmere {

SourceText messageSource(WorkflowError error)
{
    switch (error) {
    case WorkflowError::invalidTransition:
        return QUILLMERE_TEXT("quillmere::WorkflowError", "This action is not available in the current workflow state.");
    case WorkflowError::missingBlock:
        return QUILLMERE_TEXT("quillmere::WorkflowError", "Start or schedule a block before this action.");
    case WorkflowError::missingSessionPlan:
        return QUILLMERE_TEXT("quillmere::WorkflowError", "Save a session plan before focus starts.");
    case WorkflowError::nextSessionPlanRequired:
        return QUILLMERE_TEXT("quillmere::WorkflowError", "Save the next session plan before the break starts.");
    case WorkflowError::ratingOutOfRange:
        return QUILLMERE_TEXT("quillmere::WorkflowError", "Energy and Morale must each be from 1 through 5.");
    case WorkflowError::invalidDuration:
        return QUILLMERE_TEXT("quillmere::WorkflowError", "Durations and the cycle count must be greater than zero.");
    }
    return {};
}

std::string_view message(WorkflowError error)
{
    return messageSource(error).english;
}

} // namespace quillmere
