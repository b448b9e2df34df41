// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AppModel.h"

#include <QWidget>

#include <functional>

class QVBoxLayout;

namespace quillmere {

class BlockForms;

// The "Current block" tab: every form of the live current block, editable.
// Each change is written into the state and saved at once; a break length
// goes through the model's own command, which also moves a running break.
class CurrentBlockView : public QWidget {
    Q_OBJECT

public:
    explicit CurrentBlockView(AppModel& model, QWidget* parent = nullptr);

    // Null while there is no current block.
    BlockForms* forms() const { return forms_; }

private:
    void refresh();
    void storePreparation(const Block& edited);
    void storeSession(const Uuid& sessionId, const std::function<void(WorkSession&)>& change);
    void storeReflection(const BlockReview& review);

    AppModel& model_;
    QWidget* empty_ = nullptr;
    QVBoxLayout* layout_ = nullptr;
    BlockForms* forms_ = nullptr;
};

} // namespace quillmere
