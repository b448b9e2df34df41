// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/FormFocus.h"

#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <vector>

class QPushButton;
class QSpinBox;
class QToolButton;
class QVBoxLayout;

namespace quillmere {

// Edits a Block: durations, cycle count, outcomes and the five prose answers.
class BlockPreparationForm : public QWidget {
    Q_OBJECT

public:
    // With `onBreakDurationChanged`, a break stepper change is handed to it
    // (in seconds) instead of being written into the block.
    BlockPreparationForm(const Block& block, FormPresentation presentation,
                         std::function<void(Seconds)> onBreakDurationChanged = nullptr, QWidget* parent = nullptr);

    const Block& block() const { return block_; }
    void setBlock(const Block& block);
    std::optional<BlockPreparationFocusField> focusedField() const;

signals:
    void edited(const quillmere::Block& block);

private:
    // The widgets of one outcome, kept across edits (by the outcome's id) so
    // that adding or removing another outcome leaves focus and cursor alone.
    struct OutcomeRow {
        Uuid id;
        QWidget* row = nullptr;
        QLabel* label = nullptr;
        BoundedLineEdit* title = nullptr;
        QToolButton* remove = nullptr;
        ValueRow* value = nullptr;
    };

    void syncControls();
    void syncOutcomeRows();
    OutcomeRow makeOutcomeRow(const Uuid& id);
    void addOutcome();
    void removeOutcome(const Uuid& id);
    void setOutcomeTitle(const Uuid& id, const QString& title);
    void storeFocusMinutes(int minutes);
    void storeBreakMinutes(int minutes);
    void storeCycleCount(int count);

    Block block_;
    FormPresentation presentation_;
    std::function<void(Seconds)> onBreakDurationChanged_;
    QSpinBox* focusMinutes_ = nullptr;
    QSpinBox* breakMinutes_ = nullptr;
    QSpinBox* cycleCount_ = nullptr;
    ValueRow* focusRow_ = nullptr;
    ValueRow* breakRow_ = nullptr;
    ValueRow* cycleCountRow_ = nullptr;
    QVBoxLayout* outcomeLayout_ = nullptr;
    std::vector<OutcomeRow> outcomeRows_;
    QPushButton* addOutcome_ = nullptr;
    // In the order of BlockPreparationFocusField.
    std::array<ProseField*, 5> prose_{};
};

} // namespace quillmere
