// SPDX-License-Identifier: GPL-3.0-or-later
#include "HistoryView.h"

#include "Look.h"
#include "ScreenParts_p.h"
#include "forms/FormComponents.h"
#include "forms/DisclosureButton.h"
#include "history/CompletedBlockEditor.h"

#include "quillmere/QuillmereDesign.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace quillmere {

HistoryView::HistoryView(AppModel& model, QWidget* parent) : QWidget(parent), model_(model), rows_(model)
{
    auto* layout = makeColumn(this, QuillmereDesign::Spacing::loose);
    layout->addWidget(makeLabel(tr("Block history"), look::titleFont(), this));
    empty_ = makeEmptyState("clock", tr("No completed blocks"), tr("Completed block reflections stay here."), this);
    layout->addWidget(empty_);
    list_ = new QWidget(this);
    listLayout_ = makeColumn(list_, QuillmereDesign::Spacing::regular);
    layout->addWidget(list_);

    const MoreRow more = makeMoreRow(tr("Show older blocks"), this);
    more_ = more.row;
    moreText_ = more.text;
    showMore_ = more.button;
    layout->addWidget(more_);
    layout->addStretch(1);
    connect(showMore_, &QPushButton::clicked, this, &HistoryView::showMore);

    connect(&rows_, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { insertEditors(first, last); });
    connect(&rows_, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex&, int first, int last) { removeEditors(first, last); });
    connect(&rows_, &QAbstractItemModel::modelReset, this, &HistoryView::rebuild);
    // The rows carry only what a header shows, so a change of a block
    // reaches its editor through the history's own signal, once the rows
    // (connected first, when they were made) have followed it.
    connect(&model_, &AppModel::historyChanged, this, &HistoryView::updateEditors);
    rebuild();
}

CompletedBlockEditor* HistoryView::editor(const Uuid& blockId) const
{
    const auto found = std::ranges::find(editors_, blockId, &CompletedBlockEditor::blockId);
    return found == editors_.end() ? nullptr : *found;
}

const Block* HistoryView::blockAt(int row) const
{
    const std::vector<Block>& history = model_.state().blockHistory;
    return row >= 0 && row < std::ssize(history) ? &history[static_cast<std::size_t>(row)] : nullptr;
}

void HistoryView::insertEditors(int first, int last)
{
    const int shown = static_cast<int>(editors_.size());
    if (first > shown || (first == shown && shown >= editorLimit_)) {
        syncFooter(); // rows past the last page
        return;
    }
    // New rows among the shown ones get editors; none of the shown editors
    // is pushed out of sight for them.
    editorLimit_ = std::max(editorLimit_, shown + (last - first + 1));
    for (int row = first; row <= last && row < editorLimit_; ++row) {
        const Block* block = blockAt(row);
        if (block == nullptr) {
            break;
        }
        auto* editor = new CompletedBlockEditor(model_, *block, list_);
        connect(editor, &CompletedBlockEditor::controlsChanged, this, &HistoryView::renewKeyboardOrder);
        listLayout_->insertWidget(row, editor);
        editors_.insert(editors_.begin() + row, editor);
    }
    syncFooter();
    renewKeyboardOrder();
}

void HistoryView::removeEditors(int first, int last)
{
    const int shown = static_cast<int>(editors_.size());
    for (int row = std::min(last, shown - 1); row >= first; --row) {
        discard(editors_[static_cast<std::size_t>(row)]);
        editors_.erase(editors_.begin() + row);
    }
    syncFooter();
}

void HistoryView::updateEditors()
{
    for (int row = 0; row < std::ssize(editors_); ++row) {
        CompletedBlockEditor* editor = editors_[static_cast<std::size_t>(row)];
        const Block* block = blockAt(row);
        if (block != nullptr && block->id == editor->blockId()) {
            editor->setBlock(*block);
        }
    }
}

void HistoryView::rebuild()
{
    for (CompletedBlockEditor* editor : editors_) {
        discard(editor);
    }
    editors_.clear();
    editorLimit_ = std::max(editorLimit_, editorsPerPage);
    const int rows = rows_.rowCount();
    if (rows > 0) {
        insertEditors(0, std::min(rows, editorLimit_) - 1);
    } else {
        syncFooter();
    }
}

void HistoryView::showMore()
{
    const int shown = static_cast<int>(editors_.size());
    editorLimit_ = shown + editorsPerPage;
    const int last = std::min(rows_.rowCount(), editorLimit_) - 1;
    if (last >= shown) {
        insertEditors(shown, last);
        // The keyboard goes on with the first of the blocks just shown.
        focusAndReveal(editors_[static_cast<std::size_t>(shown)]->header());
    }
}

void HistoryView::syncFooter()
{
    const int rows = rows_.rowCount();
    empty_->setVisible(rows == 0);
    list_->setVisible(rows > 0);
    const int hidden = rows - static_cast<int>(editors_.size());
    more_->setVisible(hidden > 0);
    if (hidden > 0) {
        moreText_->setText(tr("%n older block(s) not shown", nullptr, hidden));
    }
}

void HistoryView::renewKeyboardOrder()
{
    orderFocusByLayout(this);
}

} // namespace quillmere
