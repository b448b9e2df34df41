// SPDX-License-Identifier: GPL-3.0-or-later
#include "SessionSection.h"

#include "Look.h"
#include "ScreenParts_p.h"
#include "forms/DisclosureButton.h"

#include "quillmere/QuillmereDesign.h"

#include <QVBoxLayout>

namespace quillmere {

SessionSection::SessionSection(const WorkSession& session, std::vector<Outcome> outcomes,
                               FormPresentation presentation, QWidget* parent)
    : QWidget(parent), session_(session), outcomes_(std::move(outcomes)), presentation_(presentation)
{
    auto* layout = makeColumn(this, QuillmereDesign::Spacing::snug);
    header_ = new DisclosureButton(tr("Session %L1").arg(session.number), this);
    layout->addWidget(header_, 0, Qt::AlignLeft);
    body_ = new QWidget(this);
    bodyLayout_ = makeColumn(body_, QuillmereDesign::Spacing::loose);
    bodyLayout_->setContentsMargins(look::points(QuillmereDesign::Spacing::loose), 0, 0, 0);
    body_->hide();
    layout->addWidget(body_);
    connect(header_, &DisclosureButton::expandedChanged, this, [this](bool expanded) {
        if (expanded) {
            buildForms();
        }
        body_->setVisible(expanded);
    });
}

bool SessionSection::isExpanded() const
{
    return header_->isExpanded();
}

void SessionSection::setExpanded(bool expanded)
{
    if (isExpanded() == expanded) {
        return;
    }
    header_->showExpanded(expanded);
    if (expanded) {
        buildForms();
    }
    body_->setVisible(expanded);
}

void SessionSection::setSession(const WorkSession& session, const std::vector<Outcome>& outcomes)
{
    header_->setTitle(tr("Session %L1").arg(session.number));
    if (plan_) {
        plan_->setOutcomes(outcomes);
        if (plan_->plan() != session.plan) {
            plan_->setPlan(session.plan);
        }
    }
    session_ = session;
    outcomes_ = outcomes;
    syncReviewForm();
}

void SessionSection::buildForms()
{
    if (plan_) {
        return;
    }
    plan_ = new SessionPlanForm(session_.plan, outcomes_, presentation_, SessionPlanFocusState{}, body_);
    bodyLayout_->addWidget(plan_);
    connect(plan_, &SessionPlanForm::edited, this, [this](const SessionPlan& plan) {
        session_.plan = plan;
        emit planEdited(session_.id, plan);
    });
    syncReviewForm();
    emit controlsChanged();
}

void SessionSection::syncReviewForm()
{
    if (!plan_) {
        return;
    }
    if (session_.review && !review_) {
        review_ = new SessionReviewForm(*session_.review, presentation_, body_);
        bodyLayout_->addWidget(review_);
        connect(review_, &SessionReviewForm::edited, this, [this](const SessionReview& review) {
            session_.review = review;
            emit reviewEdited(session_.id, review);
        });
        emit controlsChanged();
    } else if (!session_.review && review_) {
        discard(review_);
        review_ = nullptr;
    } else if (review_ && review_->review() != *session_.review) {
        review_->setReview(*session_.review);
    }
}

} // namespace quillmere
