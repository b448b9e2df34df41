// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AppModel.h"

#include <QWidget>

class QVBoxLayout;

namespace quillmere {

// The work cycle tab: exactly one screen for the current phase, built afresh
// whenever the phase changes so that its local copy starts from the state.
class WorkflowView : public QWidget {
    Q_OBJECT

public:
    explicit WorkflowView(AppModel& model, QWidget* parent = nullptr);

    QWidget* screen() const { return screen_; }

private:
    void showScreenIfPhaseChanged();
    QWidget* makeScreen(WorkflowState phase);

    AppModel& model_;
    QVBoxLayout* layout_ = nullptr;
    QWidget* screen_ = nullptr;
    WorkflowState shownPhase_ = WorkflowState::idle;
};

} // namespace quillmere
