// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/FormFocus.h"

#include <QWidget>

#include <array>
#include <optional>

namespace quillmere {

// Edits a SessionReview.
class SessionReviewForm : public QWidget {
    Q_OBJECT

public:
    SessionReviewForm(const SessionReview& review, FormPresentation presentation, QWidget* parent = nullptr);

    const SessionReview& review() const { return review_; }
    void setReview(const SessionReview& review);
    std::optional<SessionReviewFocusField> focusedField() const;

signals:
    void edited(const quillmere::SessionReview& review);

private:
    void syncControls();

    SessionReview review_;
    FormPresentation presentation_;
    SegmentedControl* completion_ = nullptr;
    ValueRow* completionRow_ = nullptr;
    // In the order of SessionReviewFocusField.
    std::array<ProseField*, 3> prose_{};
};

} // namespace quillmere
