// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "workcycle/PhaseScreen.h"

class QLabel;

namespace quillmere {

class SessionPlanForm;

// The plan of the next session, written before focus starts; focus starts
// only from here, when the user asks.
class SessionPlanningView : public PhaseScreen {
    Q_OBJECT

public:
    explicit SessionPlanningView(AppModel& model, QWidget* parent = nullptr);
    const SessionPlan& plan() const { return plan_; }

private:
    void refresh() override;

    SessionPlan plan_;
    QLabel* title_ = nullptr;
    SessionPlanForm* form_ = nullptr;
};

} // namespace quillmere
