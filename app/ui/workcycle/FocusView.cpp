// SPDX-License-Identifier: GPL-3.0-or-later
#include "FocusView.h"

#include "Look.h"
#include "ScreenParts_p.h"

#include <QPushButton>

namespace quillmere {

FocusView::FocusView(AppModel& model, QWidget* parent) : TimedPhaseScreen(model, tr("Focus"), tr("Focus timer %1"), parent)
{
    pause_ = makeButton(tr("Pause"), this);
    pause_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(pause_, &QPushButton::clicked, this, [this] { model_.pauseOrResumeFocus(); });
    auto* end = makeButton(tr("End early"), this);
    end->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    connect(end, &QPushButton::clicked, this, [this] { model_.endFocus(); });
    addButtons({pause_, end});
    addRowsPlace();
    refreshOnStateChange();
}

bool FocusView::paused() const
{
    const WorkSession* session = model_.state().currentSession();
    return session != nullptr && session->pausedAt;
}

QString FocusView::timerCaption() const
{
    return paused() ? tr("Paused") : QString();
}

QColor FocusView::timerColour() const
{
    // A paused ring recedes, so the word under the digits carries the news.
    return paused() ? look::tertiary(palette()) : TimedPhaseScreen::timerColour();
}

void FocusView::refresh()
{
    TimedPhaseScreen::refresh();
    const WorkSession* session = model_.state().currentSession();
    retitle(pause_, paused() ? tr("Resume") : tr("Pause"));
    if (session == nullptr) {
        showRows({});
        return;
    }
    const SessionPlan& plan = session->plan;
    showRows({{tr("Outcome"), orPlaceholder(plan.intendedOutcome, tr("Blank"))},
              {tr("First action"), orPlaceholder(plan.firstAction, tr("Not set"))},
              {tr("Hazards"), orPlaceholder(plan.hazardsMitigation, tr("Not set"))},
              {tr("NICU framing"), orPlaceholder(plan.nicuFraming, tr("Not set"))}});
}

} // namespace quillmere
