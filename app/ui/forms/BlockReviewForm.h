// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/FormFocus.h"

#include <QWidget>

#include <array>
#include <optional>

namespace quillmere {

// Edits a BlockReview (the five-answer reflection).
class BlockReviewForm : public QWidget {
    Q_OBJECT

public:
    BlockReviewForm(const BlockReview& review, FormPresentation presentation, QWidget* parent = nullptr);

    const BlockReview& review() const { return review_; }
    void setReview(const BlockReview& review);
    std::optional<BlockReviewFocusField> focusedField() const;

signals:
    void edited(const quillmere::BlockReview& review);

private:
    void syncControls();

    BlockReview review_;
    FormPresentation presentation_;
    // In the order of BlockReviewFocusField.
    std::array<ProseField*, 5> prose_{};
};

} // namespace quillmere
