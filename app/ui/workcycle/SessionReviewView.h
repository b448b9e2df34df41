// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "workcycle/PhaseScreen.h"

class QPushButton;

namespace quillmere {

class SessionPlanForm;

// The review of the session just ended and, unless it was the block's last,
// the plan of the next one, written before the break starts.
class SessionReviewView : public PhaseScreen {
    Q_OBJECT

public:
    explicit SessionReviewView(AppModel& model, QWidget* parent = nullptr);
    // True when the session under review is the block's last one.
    bool isFinal() const;
    QPushButton* primaryButton() const { return primary_; }

private:
    void refresh() override;
    void saveDraft();

    SessionReview review_;
    SessionPlan nextPlan_;
    SessionPlanForm* nextPlanForm_ = nullptr;
    QPushButton* primary_ = nullptr;
    QPushButton* blankPlan_ = nullptr;
};

} // namespace quillmere
