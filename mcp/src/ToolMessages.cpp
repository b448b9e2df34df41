// SPDX-License-Identifier: GPL-3.0-or-later
#include "ToolMessages_p.h"

#include "quillmere/mcp/FocusSummary.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace quillmere::mcp_tools {

bool isBlank(std::string_view text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
}

const json* member(const json& object, std::string_view key)
{
    if (!object.is_object()) {
        return nullptr;
    }
    const auto found = object.find(key);
    return found == object.end() ? nullptr : &*found;
}

std::size_t characterCount(std::string_view text)
{
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::expected<std::optional<std::string>, ArgumentTypeError> stringArgument(const json& arguments, std::string_view key)
{
    const json* value = member(arguments, key);
    if (value == nullptr || value->is_null()) {
        return std::nullopt;
    }
    if (!value->is_string()) {
        return std::unexpected(ArgumentTypeError{"Argument \"" + std::string(key) + "\" must be a string"});
    }
    return value->get<std::string>();
}

std::expected<std::optional<std::int64_t>, ArgumentTypeError> integerArgument(const json& arguments,
                                                                              std::string_view key)
{
    const json* value = member(arguments, key);
    if (value == nullptr || value->is_null()) {
        return std::nullopt;
    }
    const ArgumentTypeError wrongType{"Argument \"" + std::string(key) + "\" must be an integer"};
    if (value->is_number_unsigned()) {
        const auto unsignedValue = value->get<std::uint64_t>();
        return static_cast<std::int64_t>(
            std::min<std::uint64_t>(unsignedValue, std::numeric_limits<std::int64_t>::max()));
    }
    if (value->is_number_integer()) {
        return value->get<std::int64_t>();
    }
    if (value->is_number_float()) {
        const double number = value->get<double>();
        if (!std::isfinite(number) || std::trunc(number) != number) {
            return std::unexpected(wrongType);
        }
        constexpr double beyondAnyBound = 1e15;
        return static_cast<std::int64_t>(std::clamp(number, -beyondAnyBound, beyondAnyBound));
    }
    return std::unexpected(wrongType);
}

json textContent(std::string text)
{
    return {{"type", "text"}, {"text", std::move(text)}};
}

json toolResult(std::string text, json structured)
{
    return {{"content", json::array({textContent(std::move(text))})}, {"structuredContent", std::move(structured)}};
}

json toolError(std::string text)
{
    return {{"content", json::array({textContent(std::move(text))})}, {"isError", true}};
}

std::string compact(const json& value)
{
    return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

json focusStateResult(const AgentStateReading& reading)
{
    std::string summary = focusSummary(reading);
    json structured{
        {"summary", summary},
        {"source", reading.source == AgentStateSource::application ? "application" : "file"},
        {"state", reading.document},
    };
    if (reading.source == AgentStateSource::file && reading.fileAgeSeconds) {
        structured["fileAgeSeconds"] = *reading.fileAgeSeconds;
    }
    return {
        {"content", json::array({textContent(std::move(summary)), textContent(compact(reading.document))})},
        {"structuredContent", std::move(structured)},
    };
}

json askedResult(const AskedQuestion& asked, std::int64_t waitSeconds)
{
    json structured{{"id", asked.id}, {"answered", asked.answer.has_value()}};
    if (asked.answer) {
        structured["answer"] = *asked.answer;
        return toolResult("The user answered question " + asked.id + ": " + *asked.answer, std::move(structured));
    }
    if (waitSeconds > 0) {
        return toolResult("Asked question " + asked.id + "; no answer within " + std::to_string(waitSeconds) +
                              " s. Go on with other work and call get_answer with this id later.",
                          std::move(structured));
    }
    return toolResult("Asked question " + asked.id +
                          ". The user has not answered yet: call get_answer with this id later.",
                      std::move(structured));
}

json answerResult(const std::string& id, const QuestionStatus& status)
{
    json structured{{"id", id}, {"answered", status.answered}};
    if (!status.answered) {
        return toolResult("Question " + id + " is still open: the user has not answered yet.", std::move(structured));
    }
    structured["answer"] = status.answer;
    return toolResult("The user answered question " + id + ": " + status.answer, std::move(structured));
}

json interruptibleResult(bool interruptible, std::int64_t timeoutSeconds)
{
    json structured{{"interruptible", interruptible}};
    if (interruptible) {
        return toolResult("The user may be interrupted now.", std::move(structured));
    }
    return toolResult("The user is still focusing after " + std::to_string(timeoutSeconds) +
                          " s: do not interrupt. Continue your work and call wait_until_interruptible again later.",
                      std::move(structured));
}

} // namespace quillmere::mcp_tools
