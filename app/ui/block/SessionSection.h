// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/Forms.h"

#include <QWidget>

#include <vector>

class QVBoxLayout;

namespace quillmere {

class DisclosureButton;

// One session of a block: a collapsible "Session N" whose plan form, and
// review form when the session has a review, are built the first time it
// is expanded. Afterwards they are updated in place.
class SessionSection : public QWidget {
    Q_OBJECT

public:
    SessionSection(const WorkSession& session, std::vector<Outcome> outcomes, FormPresentation presentation,
                   QWidget* parent = nullptr);

    const Uuid& sessionId() const { return session_.id; }
    bool isExpanded() const;
    void setExpanded(bool expanded);
    void setSession(const WorkSession& session, const std::vector<Outcome>& outcomes);
    DisclosureButton* header() const { return header_; }
    // Null until the section is first expanded; the review form also while
    // the session has no review.
    SessionPlanForm* planForm() const { return plan_; }
    SessionReviewForm* reviewForm() const { return review_; }

signals:
    void planEdited(const quillmere::Uuid& sessionId, const quillmere::SessionPlan& plan);
    void reviewEdited(const quillmere::Uuid& sessionId, const quillmere::SessionReview& review);
    // Controls were added or removed; the keyboard order needs renewing.
    void controlsChanged();

private:
    void buildForms();
    void syncReviewForm();

    WorkSession session_;
    std::vector<Outcome> outcomes_;
    FormPresentation presentation_;
    DisclosureButton* header_ = nullptr;
    QWidget* body_ = nullptr;
    QVBoxLayout* bodyLayout_ = nullptr;
    SessionPlanForm* plan_ = nullptr;
    SessionReviewForm* review_ = nullptr;
};

} // namespace quillmere
