// SPDX-License-Identifier: GPL-3.0-or-later
#include "WorkflowView.h"

#include "workcycle/BlockPlanningView.h"
#include "workcycle/BlockReviewView.h"
#include "workcycle/BreakView.h"
#include "workcycle/FocusView.h"
#include "workcycle/IdleView.h"
#include "workcycle/SessionPlanningView.h"
#include "workcycle/SessionReviewView.h"

#include <QApplication>
#include <QVBoxLayout>

namespace quillmere {

namespace {

void focusFirstControl(QWidget* screen)
{
    for (QWidget* next = screen->nextInFocusChain(); next != screen && screen->isAncestorOf(next);
         next = next->nextInFocusChain()) {
        if ((next->focusPolicy() & Qt::TabFocus) && next->isVisibleTo(screen) && next->isEnabled()) {
            next->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    screen->setFocus(Qt::OtherFocusReason);
}

} // namespace

WorkflowView::WorkflowView(AppModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    layout_ = new QVBoxLayout(this);
    layout_->setContentsMargins(0, 0, 0, 0);
    shownPhase_ = model_.state().workflowState;
    screen_ = makeScreen(shownPhase_);
    layout_->addWidget(screen_);
    connect(&model_, &AppModel::phaseChanged, this, &WorkflowView::showScreenIfPhaseChanged);
}

void WorkflowView::showScreenIfPhaseChanged()
{
    const WorkflowState phase = model_.state().workflowState;
    if (phase == shownPhase_) {
        return;
    }
    // A fresh screen, so its local copy starts again from the new state.
    shownPhase_ = phase;
    QWidget* old = screen_;
    screen_ = makeScreen(phase);
    layout_->replaceWidget(old, screen_);
    const bool hadFocus = old->isAncestorOf(QApplication::focusWidget());
    screen_->show();
    old->hide();
    old->deleteLater();
    if (hadFocus) {
        // Keyboard users carry on in the new screen, not on a hidden button.
        focusFirstControl(screen_);
    }
}

QWidget* WorkflowView::makeScreen(WorkflowState phase)
{
    switch (phase) {
    case WorkflowState::idle:
    case WorkflowState::complete: return new IdleView(model_, this);
    case WorkflowState::blockPlanning: return new BlockPlanningView(model_, this);
    case WorkflowState::sessionPlanning: return new SessionPlanningView(model_, this);
    case WorkflowState::focusing: return new FocusView(model_, this);
    case WorkflowState::sessionReview: return new SessionReviewView(model_, this);
    case WorkflowState::breaking: return new BreakView(model_, this);
    case WorkflowState::blockReview: return new BlockReviewView(model_, this);
    }
    return new IdleView(model_, this);
}

} // namespace quillmere
