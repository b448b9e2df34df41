// SPDX-License-Identifier: GPL-3.0-or-later
#include "BlockEditing_p.h"

#include <QCoreApplication>

#include <algorithm>

namespace quillmere {

QString sessionsTitle(const Block& block)
{
    return QCoreApplication::translate("quillmere::BlockForms", "Sessions: %L1 of %L2")
        .arg(block.sessions.size())
        .arg(block.cycleCount);
}

void copyPreparation(Block& target, const Block& edited, bool includingBreak)
{
    target.focusDurationSeconds = edited.focusDurationSeconds;
    if (includingBreak) {
        target.breakDurationSeconds = edited.breakDurationSeconds;
    }
    target.cycleCount = edited.cycleCount;
    target.outcomes = edited.outcomes;
    target.whyValue = edited.whyValue;
    target.doneTest = edited.doneTest;
    target.hazards = edited.hazards;
    target.measurableCheck = edited.measurableCheck;
    target.contextNotes = edited.contextNotes;
}

WorkSession* findSession(Block& block, const Uuid& id)
{
    const auto found = std::ranges::find(block.sessions, id, &WorkSession::id);
    return found == block.sessions.end() ? nullptr : &*found;
}

} // namespace quillmere
