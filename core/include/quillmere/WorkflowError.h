#pragma once

#include <string_view>

namespace quillmere {

// Why the engine refused an operation. Each case has one fixed message that
// the application shows as the command's error text.
enum class WorkflowError {
    invalidTransition,
    missingBlock,
    missingSessionPlan,
    nextSessionPlanRequired,
    ratingOutOfRange,
    invalidDuration,
};

std::string_view message(WorkflowError error);

} // namespace quillmere
