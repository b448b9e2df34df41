// SPDX-License-Identifier: GPL-3.0-or-later
#include "BreakView.h"

#include "ScreenParts_p.h"

#include <QPushButton>

namespace quillmere {

BreakView::BreakView(AppModel& model, QWidget* parent) : TimedPhaseScreen(model, tr("Break"), tr("Break timer %1"), parent)
{
    addHint(tr("The next session is planned. Quillmere will not start focus automatically."));
    auto* end = makePrimaryButton(tr("End break"), this);
    connect(end, &QPushButton::clicked, this, [this] { model_.endBreak(); });
    auto* extend = makeButton(tr("Extend five minutes"), this);
    connect(extend, &QPushButton::clicked, this, [this] { model_.extendBreak(); });
    auto* skip = makeButton(tr("Skip break"), this);
    skip->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(skip, &QPushButton::clicked, this, [this] { model_.skipBreak(); });
    addButtons({end, extend, skip});
    addRowsPlace();
    refreshOnStateChange();
}

void BreakView::refresh()
{
    TimedPhaseScreen::refresh();
    const auto& plan = model_.state().plannedNextSession;
    if (!plan) {
        showRows({});
        return;
    }
    showRows({{tr("Next outcome"), orPlaceholder(plan->intendedOutcome, tr("Blank plan"))},
              {tr("First action"), orPlaceholder(plan->firstAction, tr("Not set"))}});
}

} // namespace quillmere
