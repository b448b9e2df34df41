// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The four forms, for screens that show several of them.
#include "forms/BlockPreparationForm.h"
#include "forms/BlockReviewForm.h"
#include "forms/SessionPlanForm.h"
#include "forms/SessionReviewForm.h"
