// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <nlohmann/json.hpp>

#include <string_view>

namespace quillmere::mcp_catalog {

// What an agent is told about Quillmere: the server's instructions, its
// tools with their input schemas, and its one resource. Kept apart from the
// protocol handling because these texts are written for the agents' models
// and change for different reasons.

inline constexpr std::string_view getFocusStateTool = "get_focus_state";
inline constexpr std::string_view askUserTool = "ask_user";
inline constexpr std::string_view getAnswerTool = "get_answer";
inline constexpr std::string_view waitUntilInterruptibleTool = "wait_until_interruptible";

// Bounds of the tools' integer arguments, in seconds.
inline constexpr int maxAskWaitSeconds = 600;
inline constexpr int minInterruptibleTimeoutSeconds = 1;
inline constexpr int maxInterruptibleTimeoutSeconds = 3600;
// Long enough to outlast most of a focus session's remainder in a few calls,
// short enough for clients that give up on a tool call after some minutes.
inline constexpr int defaultInterruptibleTimeoutSeconds = 300;

std::string_view instructions();
nlohmann::json tools();
nlohmann::json agentStateResource();

} // namespace quillmere::mcp_catalog
