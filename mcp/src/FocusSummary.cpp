// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/mcp/FocusSummary.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace quillmere {
namespace {

using nlohmann::json;

const json* member(const json& object, std::string_view key)
{
    if (!object.is_object()) {
        return nullptr;
    }
    const auto found = object.find(key);
    return found == object.end() ? nullptr : &*found;
}

std::optional<std::int64_t> integerMember(const json& object, std::string_view key)
{
    const json* value = member(object, key);
    if (value == nullptr || !value->is_number_integer()) {
        return std::nullopt;
    }
    return value->get<std::int64_t>();
}

std::string_view phaseText(std::string_view workflowState)
{
    if (workflowState == "idle") return "Idle";
    if (workflowState == "blockPlanning") return "Planning a block";
    if (workflowState == "sessionPlanning") return "Planning the next session";
    if (workflowState == "focusing") return "Focusing";
    if (workflowState == "sessionReview") return "Reviewing a session";
    if (workflowState == "breaking") return "On a break";
    if (workflowState == "blockReview") return "Reviewing the block";
    if (workflowState == "complete") return "Block complete";
    return "In an unknown phase";
}

std::string twoDigits(std::int64_t value)
{
    return (value < 10 ? "0" : "") + std::to_string(value);
}

// 17:48, or 1:05:00 past an hour.
std::string clockText(std::int64_t seconds)
{
    const std::int64_t hours = seconds / 3600;
    const std::int64_t minutes = seconds / 60 % 60;
    const std::string rest = ":" + twoDigits(seconds % 60);
    if (hours > 0) {
        return std::to_string(hours) + ":" + twoDigits(minutes) + rest;
    }
    return std::to_string(minutes) + rest;
}

std::string ageText(std::int64_t seconds)
{
    if (seconds < 120) return std::to_string(seconds) + " s";
    if (seconds < 2 * 3600) return std::to_string(seconds / 60) + " min";
    if (seconds < 2 * 86400) return std::to_string(seconds / 3600) + " h";
    return std::to_string(seconds / 86400) + " days";
}

} // namespace

std::string focusSummary(const AgentStateReading& reading)
{
    const json& document = reading.document;
    const json* state = member(document, "workflow_state");
    std::string line{phaseText(state != nullptr && state->is_string() ? state->get_ref<const std::string&>() : "")};

    // A stored value far outside any timer would only garble the line.
    constexpr std::int64_t longestShown = 100LL * 24 * 3600;
    if (const auto remaining = integerMember(document, "remaining_seconds");
        remaining && *remaining > -longestShown && *remaining < longestShown) {
        line += *remaining >= 0 ? ", " + clockText(*remaining) + " left" : ", " + clockText(-*remaining) + " over";
    }

    const json* session = member(document, "current_session");
    const json* block = member(document, "block");
    const auto number = session != nullptr ? integerMember(*session, "number") : std::nullopt;
    const auto cycles = block != nullptr ? integerMember(*block, "cycle_count") : std::nullopt;
    if (number) {
        line += ", session " + std::to_string(*number);
        if (cycles) {
            line += " of " + std::to_string(*cycles);
        }
    }

    if (const json* questions = member(document, "open_questions"); questions != nullptr && questions->is_array()) {
        const std::size_t count = questions->size();
        line += count == 0   ? std::string(", no open questions")
                : count == 1 ? std::string(", 1 open question")
                             : ", " + std::to_string(count) + " open questions";
    }

    const json* interruptible = member(document, "interruptible");
    if (interruptible != nullptr && interruptible->is_boolean()) {
        line += interruptible->get<bool>() ? "; may be interrupted" : "; do not interrupt";
    }

    if (reading.source == AgentStateSource::file) {
        line += reading.fileAgeSeconds && *reading.fileAgeSeconds >= 0
                    ? " (Quillmere is not running: as its file said " + ageText(*reading.fileAgeSeconds) + " ago)"
                    : std::string(" (Quillmere is not running: as its file last said)");
    }
    return line;
}

} // namespace quillmere
