// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/SourceText.h"

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

// The message to translate where a person reads it.
SourceText messageSource(WorkflowError error);
// The English message, as D-Bus replies and the command line give it.
std::string_view message(WorkflowError error);

} // namespace quillmere
