// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace quillmere {

// The commands of the status panel that scripts and agents may give too, by
// the running application's D-Bus interface. None takes an argument; each
// is allowed or refused under the panel's rules. Pausing and resuming are
// apart: a caller says which it means.
enum class ControlCommand {
    pauseFocus,
    resumeFocus,
    endFocus,
    extendBreak,
    endBreak,
    skipBreak,
    // Focus on the plan saved for the next session.
    startPlannedSession,
    startScheduledBlockNow,
    cancelScheduledBlock,
    showMainWindow,
};

// The D-Bus method that carries `command`, e.g. "PauseFocus".
std::string_view methodName(ControlCommand command);

} // namespace quillmere
