// SPDX-License-Identifier: GPL-3.0-or-later
#include "SessionReviewView.h"

#include "ScreenParts_p.h"
#include "forms/SessionPlanForm.h"
#include "forms/SessionReviewForm.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace quillmere {

SessionReviewView::SessionReviewView(AppModel& model, QWidget* parent) : PhaseScreen(model, Spacing::form, parent)
{
    const WorkSession* session = model_.state().currentSession();
    review_ = session != nullptr && session->review
                  ? *session->review
                  : SessionReview{Uuid::generate(), CompletionResult::half, "", "", ""};
    nextPlan_ = model_.state().plannedNextSession.value_or(newBlankPlan());

    addTitle(tr("Review session"));

    auto* reviewForm = new SessionReviewForm(review_, FormPresentation::editable, this);
    connect(reviewForm, &SessionReviewForm::edited, this, [this](const SessionReview& edited) {
        review_ = edited;
        saveDraft();
    });
    column()->addWidget(reviewForm);

    const std::vector<Outcome> outcomes =
        model_.state().currentBlock ? model_.state().currentBlock->outcomes : std::vector<Outcome>{};
    nextPlanForm_ = new SessionPlanForm(nextPlan_, outcomes, FormPresentation::editable, SessionPlanFocusState{}, this);
    connect(nextPlanForm_, &SessionPlanForm::edited, this, [this](const SessionPlan& edited) {
        nextPlan_ = edited;
        saveDraft();
    });
    column()->addWidget(nextPlanForm_);

    primary_ = makePrimaryButton(QString(), this);
    primary_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
    connect(primary_, &QPushButton::clicked, this, [this] {
        model_.saveReview(review_, isFinal() ? std::nullopt : std::optional(nextPlan_));
    });
    blankPlan_ = makeButton(tr("Save a blank next plan and start break"), this);
    connect(blankPlan_, &QPushButton::clicked, this, [this] { model_.saveReview(review_, newBlankPlan()); });
    addButtons({primary_, blankPlan_});
    refreshOnStateChange();
}

bool SessionReviewView::isFinal() const
{
    const auto& block = model_.state().currentBlock;
    return !block || static_cast<std::int64_t>(block->sessions.size()) >= block->cycleCount;
}

void SessionReviewView::refresh()
{
    const bool final = isFinal();
    nextPlanForm_->setVisible(!final && model_.state().currentBlock.has_value());
    if (const auto& block = model_.state().currentBlock) {
        nextPlanForm_->setOutcomes(block->outcomes);
    }
    blankPlan_->setVisible(!final);
    retitle(primary_, final ? tr("Continue to block reflection") : tr("Save review and start break"));
}

void SessionReviewView::saveDraft()
{
    model_.saveReviewDraft(review_, isFinal() ? std::nullopt : std::optional(nextPlan_));
}

} // namespace quillmere
