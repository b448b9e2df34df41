// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "workcycle/PhaseScreen.h"

namespace quillmere {

// The break between two sessions: the timer, the next session's plan, and
// end, extend or skip the break. Focus never starts from here by itself.
class BreakView : public TimedPhaseScreen {
    Q_OBJECT

public:
    explicit BreakView(AppModel& model, QWidget* parent = nullptr);

private:
    void refresh() override;
};

} // namespace quillmere
