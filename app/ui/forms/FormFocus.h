// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/FormComponents.h"

#include <optional>

namespace quillmere {

enum class BlockPreparationFocusField { whyValue, doneTest, hazards, measurableCheck, contextNotes };
enum class SessionPlanFocusField { intendedOutcome, firstAction, hazardsMitigation, nicuFraming };
enum class SessionReviewFocusField { noteworthyResult, distractions, improvement };
enum class BlockReviewFocusField { outputProduced, normalComparison, boggedDown, wentWell, lessons };

struct SessionPlanFocusState {
    bool isPreparationExpanded = false;
    std::optional<SessionPlanFocusField> focusedField;

    friend bool operator==(const SessionPlanFocusState&, const SessionPlanFocusState&) = default;
};

// The four forms. Each shows a copy of its record; every user change updates
// that copy at once and is reported through `edited` with the whole record,
// and the host decides what to do with it (save a draft, call a command).
// `set...` replaces the shown record without reporting an edit and without
// disturbing the field being typed in.

} // namespace quillmere
