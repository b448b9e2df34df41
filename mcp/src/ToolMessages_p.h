// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/mcp/McpBackend.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <string_view>

// How the server reads a tool's arguments and words its results: the JSON
// of the protocol's messages, apart from the dispatch that sends them.
namespace quillmere::mcp_tools {

using nlohmann::json;

bool isBlank(std::string_view text);

const json* member(const json& object, std::string_view key);

// Unicode characters, as the application counts a question's length. The
// parser has already refused text that is not UTF-8.
std::size_t characterCount(std::string_view text);

// Tool arguments of the wrong JSON type are the client's fault and answered
// as invalid parameters; a well-typed value outside its bounds is a refusal
// the agent's model reads and corrects, so it comes back as a tool error.
struct ArgumentTypeError {
    std::string message;
};

[[nodiscard]] std::expected<std::optional<std::string>, ArgumentTypeError> stringArgument(const json& arguments, std::string_view key);

// Integers may come as 30.0 from clients that have only one number type.
// Values beyond any bound saturate, so that they fail the range check.
[[nodiscard]] std::expected<std::optional<std::int64_t>, ArgumentTypeError> integerArgument(const json& arguments,
                                                                              std::string_view key);

// The pieces of a tools/call result: its text content, a result with
// structured content beside the text, and an error the agent reads.
json textContent(std::string text);

json toolResult(std::string text, json structured);

json toolError(std::string text);

// One line of JSON, with anything that is not UTF-8 replaced.
std::string compact(const json& value);

// The results of the tools, worded for the agent's model to act on.
json focusStateResult(const AgentStateReading& reading);

json askedResult(const AskedQuestion& asked, std::int64_t waitSeconds);

json answerResult(const std::string& id, const QuestionStatus& status);

json interruptibleResult(bool interruptible, std::int64_t timeoutSeconds);

} // namespace quillmere::mcp_tools
