// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/mcp/McpBackend.h"

#include <string>

namespace quillmere {

// One line that tells an agent at a glance where the user is, e.g.
// "Focusing, 17:48 left, session 3 of 8, 2 open questions; do not
// interrupt". Agents read the full document for details; this line is what
// they quote and decide on. It is made from the document alone and never
// fails: the document may come from a hand-edited file, so a missing or
// mistyped member only drops its part of the line.
std::string focusSummary(const AgentStateReading& reading);

} // namespace quillmere
