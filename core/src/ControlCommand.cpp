// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/ControlCommand.h"

namespace quillmere {

std::string_view methodName(ControlCommand command)
{
    switch (command) {
    case ControlCommand::pauseFocus: return "PauseFocus";
    case ControlCommand::resumeFocus: return "ResumeFocus";
    case ControlCommand::endFocus: return "EndFocus";
    case ControlCommand::extendBreak: return "ExtendBreak";
    case ControlCommand::endBreak: return "EndBreak";
    case ControlCommand::skipBreak: return "SkipBreak";
    case ControlCommand::startPlannedSession: return "StartPlannedSession";
    case ControlCommand::startScheduledBlockNow: return "StartScheduledBlockNow";
    case ControlCommand::cancelScheduledBlock: return "CancelScheduledBlock";
    case ControlCommand::showMainWindow: return "ShowMainWindow";
    }
    return {};
}

} // namespace quillmere
