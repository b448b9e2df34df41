#include "HistoryView.h"

#include "Look.h"
#include "ScreenParts_p.h"
#include "forms/FormComponents.h"
#include "history/CompletedBlockEditor.h"

#include "quillmere/QuillmereDesign.h"

#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace quillmere {

HistoryView::HistoryView(AppModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    auto* layout = makeColumn(this, QuillmereDesign::Spacing::loose);
    layout->addWidget(makeLabel(tr("Block history"), look::titleFont(), this));
    empty_ = makeEmptyState("clock", tr("No completed blocks"), tr("Completed block reflections stay here."), this);
    layout->addWidget(empty_);
    list_ = new QWidget(this);
    listLayout_ = makeColumn(list_, QuillmereDesign::Spacing::regular);
    layout->addWidget(list_);
    layout->addStretch(1);
    connect(&model_, &AppModel::stateChanged, this, &HistoryView::refresh);
    refresh();
}

CompletedBlockEditor* HistoryView::editor(const Uuid& blockId) const
{
    const auto found = std::ranges::find(editors_, blockId, &CompletedBlockEditor::blockId);
    return found == editors_.end() ? nullptr : *found;
}

void HistoryView::refresh()
{
    const std::vector<Block>& history = model_.state().blockHistory;
    empty_->setVisible(history.empty());
    list_->setVisible(!history.empty());

    // Runs on every change of the state, also while the user types in the
    // work cycle tab: one binary search and one comparison per block. Equal
    // ids (a hand-edited file) each keep an editor of their own, in order.
    std::vector<std::pair<Uuid, CompletedBlockEditor*>> existing;
    existing.reserve(editors_.size());
    for (CompletedBlockEditor* editor : editors_) {
        existing.emplace_back(editor->blockId(), editor);
    }
    std::ranges::stable_sort(existing, {}, &std::pair<Uuid, CompletedBlockEditor*>::first);
    std::vector<CompletedBlockEditor*> next;
    next.reserve(history.size());
    bool added = false;
    for (const Block& block : history) {
        auto found = std::ranges::lower_bound(existing, block.id, {}, &std::pair<Uuid, CompletedBlockEditor*>::first);
        while (found != existing.end() && found->first == block.id && !found->second) {
            ++found;
        }
        if (found != existing.end() && found->first == block.id) {
            found->second->setBlock(block);
            next.push_back(found->second);
            found->second = nullptr;
            continue;
        }
        auto* editor = new CompletedBlockEditor(model_, block, list_);
        connect(editor, &CompletedBlockEditor::controlsChanged, this, &HistoryView::renewKeyboardOrder);
        next.push_back(editor);
        added = true;
    }
    for (const auto& [id, unused] : existing) {
        if (unused) {
            discard(unused);
        }
    }
    if (next == editors_) {
        return;
    }
    for (CompletedBlockEditor* editor : next) {
        listLayout_->removeWidget(editor);
    }
    for (CompletedBlockEditor* editor : next) {
        listLayout_->addWidget(editor);
    }
    editors_ = std::move(next);
    if (added) {
        renewKeyboardOrder();
    }
}

void HistoryView::renewKeyboardOrder()
{
    orderFocusByLayout(this);
}

} // namespace quillmere
