// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "workcycle/PhaseScreen.h"

class QPushButton;

namespace quillmere {

// A focus session running or paused: the timer, the session's plan, and
// pause or resume and end early.
class FocusView : public TimedPhaseScreen {
    Q_OBJECT

public:
    explicit FocusView(AppModel& model, QWidget* parent = nullptr);

private:
    void refresh() override;
    QString timerCaption() const override;
    QColor timerColour() const override;
    bool paused() const;

    QPushButton* pause_ = nullptr;
};

} // namespace quillmere
