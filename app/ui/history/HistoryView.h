#pragma once

#include "AppModel.h"

#include <QWidget>

#include <vector>

class QVBoxLayout;

namespace quillmere {

class CompletedBlockEditor;

// The "History" tab: one editor per completed block, newest first. Editors
// are kept by block id across refreshes, with their expansion and editing
// state.
class HistoryView : public QWidget {
    Q_OBJECT

public:
    explicit HistoryView(AppModel& model, QWidget* parent = nullptr);

    const std::vector<CompletedBlockEditor*>& editors() const { return editors_; }
    CompletedBlockEditor* editor(const Uuid& blockId) const;

private:
    void refresh();
    void renewKeyboardOrder();

    AppModel& model_;
    QWidget* empty_ = nullptr;
    QWidget* list_ = nullptr;
    QVBoxLayout* listLayout_ = nullptr;
    std::vector<CompletedBlockEditor*> editors_;
};

} // namespace quillmere
