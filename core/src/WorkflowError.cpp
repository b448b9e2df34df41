#include "quillmere/WorkflowError.h"

namespace quillmere {

std::string_view message(WorkflowError error)
{
    switch (error) {
    case WorkflowError::invalidTransition: return "This action is not available in the current workflow state.";
    case WorkflowError::missingBlock: return "Start or schedule a block before this action.";
    case WorkflowError::missingSessionPlan: return "Save a session plan before focus starts.";
    case WorkflowError::nextSessionPlanRequired: return "Save the next session plan before the break starts.";
    case WorkflowError::ratingOutOfRange: return "Energy and Morale must each be from 1 through 5.";
    case WorkflowError::invalidDuration: return "Durations and the cycle count must be greater than zero.";
    }
    return {};
}

} // namespace quillmere
