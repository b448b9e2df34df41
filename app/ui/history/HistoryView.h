// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AppModel.h"
#include "HistoryListModel.h"

#include <QWidget>

#include <vector>

class QLabel;
class QPushButton;
class QVBoxLayout;

namespace quillmere {

class CompletedBlockEditor;

// The "History" tab: one editor per completed block, newest first, for the
// rows of the model's history list. Editors are built a page at a time and
// "Show older blocks" adds the next page, so that the tab opens as quickly
// with years of blocks as with a few. The list model says which rows came,
// went or changed, and only their editors are touched; an editor keeps its
// expansion and editing state while the rows around it change.
class HistoryView : public QWidget {
    Q_OBJECT

public:
    // How many editors are shown at first and how many more each "Show
    // older blocks" adds: more than a window holds.
    static constexpr int editorsPerPage = 50;

    explicit HistoryView(AppModel& model, QWidget* parent = nullptr);

    const std::vector<CompletedBlockEditor*>& editors() const { return editors_; }
    CompletedBlockEditor* editor(const Uuid& blockId) const;
    // Hidden while every block has its editor.
    QPushButton* showMoreButton() const { return showMore_; }

private:
    // The block of the history list's `row`.
    const Block* blockAt(int row) const;
    void insertEditors(int first, int last);
    void removeEditors(int first, int last);
    void updateEditors();
    void rebuild();
    void showMore();
    void syncFooter();
    void renewKeyboardOrder();

    AppModel& model_;
    HistoryListModel rows_;
    QWidget* empty_ = nullptr;
    QWidget* list_ = nullptr;
    QVBoxLayout* listLayout_ = nullptr;
    // The editors of the first rows, in row order.
    std::vector<CompletedBlockEditor*> editors_;
    int editorLimit_ = editorsPerPage;
    QWidget* more_ = nullptr;
    QLabel* moreText_ = nullptr;
    QPushButton* showMore_ = nullptr;
};

} // namespace quillmere
