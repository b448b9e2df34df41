// SPDX-License-Identifier: GPL-3.0-or-later
#include "BlockReviewForm.h"

#include "LocalText.h"
#include "forms/FormParts_p.h"

#include "Look.h"

#include "quillmere/QuillmereDesign.h"

#include <QApplication>
#include <QBoxLayout>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <limits>

namespace quillmere {

namespace {

constexpr std::array<std::string BlockReview::*, 5> reflectionProseMembers{
    &BlockReview::outputProduced, &BlockReview::normalComparison, &BlockReview::boggedDown,
    &BlockReview::wentWell,       &BlockReview::lessons,
};

} // namespace

BlockReviewForm::BlockReviewForm(const BlockReview& review, FormPresentation presentation, QWidget* parent)
    : QWidget(parent), review_(review), presentation_(presentation)
{
    auto* layout = makeFormLayout(this);
    auto* group = new FormGroup(tr("Block reflection"), this);
    layout->addWidget(group);

    addProseFields(this, group, presentation, prose_,
                   {tr("Output produced"), tr("Comparison with normal output"), tr("Where work became bogged down"),
                    tr("What went well"), tr("Transferable lessons")},
                   reflectionProseMembers, review_, [this] { emit edited(review_); });

    syncControls();
    orderFocusByLayout(this);
}

void BlockReviewForm::setReview(const BlockReview& review)
{
    review_ = review;
    syncControls();
}

std::optional<BlockReviewFocusField> BlockReviewForm::focusedField() const
{
    return focusedProse<BlockReviewFocusField>(prose_);
}

void BlockReviewForm::syncControls()
{
    for (std::size_t index = 0; index < prose_.size(); ++index) {
        prose_[index]->setText(qtText(review_.*reflectionProseMembers[index]));
    }
}

} // namespace quillmere
