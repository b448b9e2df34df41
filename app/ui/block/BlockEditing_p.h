// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/Block.h"

#include <QString>

// What the editors of a block (the current one and those in the history)
// share about changing a block in the state.
namespace quillmere {

// "Sessions: 3 of 8", the title of a block's sessions group.
QString sessionsTitle(const Block& block);

// What the preparation form edits; the rest of the block (sessions,
// reflection, times) is taken from the state, never from the form's copy.
void copyPreparation(Block& target, const Block& edited, bool includingBreak);

// The session `id` of `block`, or null.
WorkSession* findSession(Block& block, const Uuid& id);

} // namespace quillmere
