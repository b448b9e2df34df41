// SPDX-License-Identifier: GPL-3.0-or-later
#include "CurrentBlockView.h"

#include "Look.h"
#include "ScreenParts_p.h"
#include "block/BlockEditing_p.h"
#include "block/BlockForms.h"
#include "forms/FormComponents.h"

#include "quillmere/QuillmereDesign.h"

#include <QVBoxLayout>

#include <algorithm>

namespace quillmere {

CurrentBlockView::CurrentBlockView(AppModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    layout_ = makeColumn(this, QuillmereDesign::Spacing::loose);
    layout_->addWidget(makeLabel(tr("Current block"), look::titleFont(), this));
    empty_ = makeEmptyState("square.dashed", tr("No active block"),
                            tr("Start or schedule a block from the Work cycle tab."), this);
    layout_->addWidget(empty_);
    layout_->addStretch(1);
    connect(&model_, &AppModel::currentBlockChanged, this, &CurrentBlockView::refresh);
    refresh();
}

void CurrentBlockView::refresh()
{
    const std::optional<Block>& block = model_.state().currentBlock;
    if (forms_ && (!block || block->id != forms_->blockId())) {
        discard(forms_);
        forms_ = nullptr;
    }
    empty_->setVisible(!block);
    if (!block) {
        return;
    }
    if (forms_) {
        forms_->setBlock(*block);
        return;
    }
    forms_ = new BlockForms(*block, FormPresentation::editable, sessionsTitle,
                            [this](Seconds seconds) {
                                model_.updateBreakDuration(seconds, model_.now());
                                // A refused change leaves the state, and so
                                // no refresh follows: show the stored value.
                                if (forms_ && model_.state().currentBlock) {
                                    forms_->preparationForm()->setBlock(*model_.state().currentBlock);
                                }
                            },
                            this);
    layout_->insertWidget(layout_->count() - 1, forms_);
    connect(forms_, &BlockForms::preparationEdited, this, &CurrentBlockView::storePreparation);
    connect(forms_, &BlockForms::planEdited, this, [this](const Uuid& id, const SessionPlan& plan) {
        storeSession(id, [&](WorkSession& session) { session.plan = plan; });
    });
    connect(forms_, &BlockForms::reviewEdited, this, [this](const Uuid& id, const SessionReview& review) {
        storeSession(id, [&](WorkSession& session) { session.review = review; });
    });
    connect(forms_, &BlockForms::reflectionEdited, this, &CurrentBlockView::storeReflection);
    connect(forms_, &BlockForms::controlsChanged, this, [this] { orderFocusByLayout(this); });
    orderFocusByLayout(this);
}

void CurrentBlockView::storePreparation(const Block& edited)
{
    const std::optional<Block>& block = model_.state().currentBlock;
    if (!block || block->id != edited.id) {
        return;
    }
    // The break length is not among them: it changes through its command.
    model_.editState(StatePart::currentBlock, [&](QuillmereState& state) { copyPreparation(*state.currentBlock, edited, false); });
    model_.persistSoon();
}

void CurrentBlockView::storeSession(const Uuid& sessionId, const std::function<void(WorkSession&)>& change)
{
    const std::optional<Block>& block = model_.state().currentBlock;
    if (!block || std::ranges::find(block->sessions, sessionId, &WorkSession::id) == block->sessions.end()) {
        return;
    }
    model_.editState(StatePart::currentBlock, [&](QuillmereState& state) { change(*findSession(*state.currentBlock, sessionId)); });
    model_.persistSoon();
}

void CurrentBlockView::storeReflection(const BlockReview& review)
{
    if (!model_.state().currentBlock) {
        return;
    }
    model_.editState(StatePart::currentBlock, [&](QuillmereState& state) { state.currentBlock->reflection = review; });
    model_.persistSoon();
}

} // namespace quillmere
