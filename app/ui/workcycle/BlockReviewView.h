// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "workcycle/PhaseScreen.h"

namespace quillmere {

// The five-answer reflection that closes a block.
class BlockReviewView : public PhaseScreen {
    Q_OBJECT

public:
    explicit BlockReviewView(AppModel& model, QWidget* parent = nullptr);

private:
    BlockReview review_;
};

} // namespace quillmere
