// SPDX-License-Identifier: GPL-3.0-or-later
#include "SessionPlanningView.h"

#include "ScreenParts_p.h"
#include "forms/SessionPlanForm.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillmere {

SessionPlanningView::SessionPlanningView(AppModel& model, QWidget* parent) : PhaseScreen(model, Spacing::form, parent)
{
    plan_ = model_.state().plannedNextSession.value_or(newBlankPlan());
    title_ = addTitle(QString());

    if (const auto& block = model_.state().currentBlock) {
        form_ = new SessionPlanForm(plan_, block->outcomes, FormPresentation::editable, SessionPlanFocusState{}, this);
        connect(form_, &SessionPlanForm::edited, this, [this](const SessionPlan& edited) {
            plan_ = edited;
            model_.saveSessionPlanDraft(plan_);
        });
        column()->addWidget(form_);

        auto* start = makePrimaryButton(tr("Start focus"), this);
        start->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
        connect(start, &QPushButton::clicked, this, [this] { model_.startFocus(plan_); });
        auto* blank = makeButton(tr("Use an explicit blank plan and start"), this);
        blank->setAccessibleName(tr("Start focus with a blank session plan"));
        connect(blank, &QPushButton::clicked, this, [this] { model_.startFocus(newBlankPlan()); });
        addButtons({start, blank});
    }
    refreshOnStateChange();
}

void SessionPlanningView::refresh()
{
    const auto& block = model_.state().currentBlock;
    const auto number = block ? static_cast<long long>(block->sessions.size()) + 1 : 1;
    title_->setText(tr("Plan session %1").arg(number));
    title_->setAccessibleName(title_->text());
    if (form_ && block) {
        form_->setOutcomes(block->outcomes);
    }
}

} // namespace quillmere
