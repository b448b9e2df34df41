// SPDX-License-Identifier: GPL-3.0-or-later
#include "BlockReviewView.h"

#include "ScreenParts_p.h"
#include "forms/BlockReviewForm.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace quillmere {

BlockReviewView::BlockReviewView(AppModel& model, QWidget* parent) : PhaseScreen(model, Spacing::form, parent)
{
    const auto& block = model_.state().currentBlock;
    review_ = block && block->reflection ? *block->reflection : BlockReview{};

    addTitle(tr("Reflect on the block"));
    addHint(tr("Blank answers are accepted and remain editable in History."));
    auto* form = new BlockReviewForm(review_, FormPresentation::editable, this);
    connect(form, &BlockReviewForm::edited, this, [this](const BlockReview& edited) {
        review_ = edited;
        model_.saveBlockReviewDraft(review_);
    });
    column()->addWidget(form);
    auto* complete = makePrimaryButton(tr("Complete block"), this);
    complete->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
    connect(complete, &QPushButton::clicked, this, [this] { model_.completeBlock(review_); });
    addButtons({complete});
}

} // namespace quillmere
