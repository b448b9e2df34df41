#pragma once

#include "AppModel.h"
#include "TimerLabel.h"
#include "Forms.h"

#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include <functional>

class QCheckBox;
class QDateTimeEdit;
class QVBoxLayout;

namespace quillmere {

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

// A push button whose action is replaced on every refresh, so a click always
// runs the latest one. Title and accessible name are the same text.
class ScheduledActionButton : public QPushButton {
    Q_OBJECT

public:
    ScheduledActionButton(const QString& title, std::function<void()> action, QWidget* parent = nullptr);
    void update(const QString& title, std::function<void()> action);

private:
    std::function<void()> action_;
};

// The work cycle tab: exactly one screen for the current phase, built afresh
// whenever the phase changes so that its local copy starts from the state.
class WorkflowView : public QWidget {
    Q_OBJECT

public:
    explicit WorkflowView(AppModel& model, QWidget* parent = nullptr);

    QWidget* screen() const { return screen_; }
    WorkflowState shownPhase() const { return shownPhase_; }

private:
    void showScreenIfPhaseChanged();
    QWidget* makeScreen(WorkflowState phase);

    AppModel& model_;
    QVBoxLayout* layout_ = nullptr;
    QWidget* screen_ = nullptr;
    WorkflowState shownPhase_ = WorkflowState::idle;
};

// Nothing running: plan a block, or act on the scheduled one.
class IdleView : public QWidget {
    Q_OBJECT

public:
    explicit IdleView(AppModel& model, QWidget* parent = nullptr);

private:
    void refresh();

    AppModel& model_;
    QWidget* scheduled_ = nullptr;
    QLabel* scheduledText_ = nullptr;
    ScheduledActionButton* startNow_ = nullptr;
    ScheduledActionButton* edit_ = nullptr;
    ScheduledActionButton* cancel_ = nullptr;
    QWidget* unscheduled_ = nullptr;
};

class BlockPlanningView : public QWidget {
    Q_OBJECT

public:
    explicit BlockPlanningView(AppModel& model, QWidget* parent = nullptr);
    const BlockScheduleDraft& draft() const { return draft_; }
    QPushButton* primaryButton() const { return primary_; }

private:
    void blockChanged();
    void refreshSchedule();

    AppModel& model_;
    BlockScheduleDraft draft_;
    BlockPreparationForm* form_ = nullptr;
    QCheckBox* scheduleForLater_ = nullptr;
    QDateTimeEdit* start_ = nullptr;
    QPushButton* primary_ = nullptr;
};

class SessionPlanningView : public QWidget {
    Q_OBJECT

public:
    explicit SessionPlanningView(AppModel& model, QWidget* parent = nullptr);
    const SessionPlan& plan() const { return plan_; }

private:
    void refresh();

    AppModel& model_;
    SessionPlan plan_;
    QLabel* title_ = nullptr;
    SessionPlanForm* form_ = nullptr;
};

class FocusView : public QWidget {
    Q_OBJECT

public:
    explicit FocusView(AppModel& model, QWidget* parent = nullptr);
    TimerLabel* timer() const { return timer_; }

private:
    void refresh();
    void refreshTimer();

    AppModel& model_;
    TimerLabel* timer_ = nullptr;
    QWidget* planRows_ = nullptr;
    QPushButton* pause_ = nullptr;
};

class SessionReviewView : public QWidget {
    Q_OBJECT

public:
    explicit SessionReviewView(AppModel& model, QWidget* parent = nullptr);
    // True when the session under review is the block's last one.
    bool isFinal() const;
    QPushButton* primaryButton() const { return primary_; }

private:
    void refresh();
    void saveDraft();

    AppModel& model_;
    SessionReview review_;
    SessionPlan nextPlan_;
    SessionPlanForm* nextPlanForm_ = nullptr;
    QWidget* nextPlanGroup_ = nullptr;
    QPushButton* primary_ = nullptr;
    QPushButton* blankPlan_ = nullptr;
};

class BreakView : public QWidget {
    Q_OBJECT

public:
    explicit BreakView(AppModel& model, QWidget* parent = nullptr);
    TimerLabel* timer() const { return timer_; }

private:
    void refresh();
    void refreshTimer();

    AppModel& model_;
    TimerLabel* timer_ = nullptr;
    QWidget* nextRows_ = nullptr;
};

class BlockReviewView : public QWidget {
    Q_OBJECT

public:
    explicit BlockReviewView(AppModel& model, QWidget* parent = nullptr);

private:
    AppModel& model_;
    BlockReview review_;
};

} // namespace quillmere
