// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "workcycle/PhaseScreen.h"

class QCheckBox;
class QDateTimeEdit;
class QPushButton;

namespace quillmere {

class BlockPreparationForm;

// What the block planning screen edits: the block, and the "Schedule for
// later" switch with the start picked for it. The picked start survives the
// switch being turned off, so turning it on again restores it.
struct BlockScheduleDraft {
    Block block;
    bool scheduleForLater = false;
    Instant scheduledStart;

    // Scheduled exactly when the block already has a planned start;
    // otherwise `defaultStart` is offered.
    static BlockScheduleDraft make(const Block& block, Instant defaultStart);
    void setScheduleForLater(bool on);
    void setScheduledStart(Instant start);

    friend bool operator==(const BlockScheduleDraft&, const BlockScheduleDraft&) = default;
};

// The block's preparation, then either its first session plan now or a
// start later.
class BlockPlanningView : public PhaseScreen {
    Q_OBJECT

public:
    explicit BlockPlanningView(AppModel& model, QWidget* parent = nullptr);
    const BlockScheduleDraft& draft() const { return draft_; }
    QPushButton* primaryButton() const { return primary_; }

private:
    void blockChanged();
    void refreshSchedule();

    BlockScheduleDraft draft_;
    BlockPreparationForm* form_ = nullptr;
    QCheckBox* scheduleForLater_ = nullptr;
    QDateTimeEdit* start_ = nullptr;
    QWidget* startRow_ = nullptr;
    QPushButton* primary_ = nullptr;
};

} // namespace quillmere
