// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/mcp/FocusSummary.h"

#include <gtest/gtest.h>

namespace quillmere {
namespace {

using nlohmann::json;

json focusingDocument()
{
    return {
        {"workflow_state", "focusing"},
        {"interruptible", false},
        {"remaining_seconds", 17 * 60 + 48},
        {"block", {{"cycle_count", 8}}},
        {"current_session", {{"number", 3}}},
        {"open_questions", json::array({json::object(), json::object()})},
    };
}

json with(json document, const std::string& key, json value)
{
    document[key] = std::move(value);
    return document;
}

TEST(FocusSummary, SaysThePhaseTimeSessionQuestionsAndWhetherToInterrupt)
{
    const AgentStateReading running{focusingDocument(), AgentStateSource::application, std::nullopt};
    struct Case {
        const char* name;
        AgentStateReading reading;
        std::string expected;
    };
    const Case cases[] = {
        {"focusing", running, "Focusing, 17:48 left, session 3 of 8, 2 open questions; do not interrupt"},
        {"on a break in overtime",
         {with(with(with(focusingDocument(), "workflow_state", "breaking"), "interruptible", true),
               "remaining_seconds", -75),
          AgentStateSource::application, std::nullopt},
         "On a break, 1:15 over, session 3 of 8, 2 open questions; may be interrupted"},
        {"more than an hour left",
         {with(focusingDocument(), "remaining_seconds", 3900), AgentStateSource::application, std::nullopt},
         "Focusing, 1:05:00 left, session 3 of 8, 2 open questions; do not interrupt"},
        {"idle with nothing running",
         {json{{"workflow_state", "idle"}, {"interruptible", true}, {"remaining_seconds", nullptr},
               {"block", nullptr}, {"current_session", nullptr}, {"open_questions", json::array()}},
          AgentStateSource::application, std::nullopt},
         "Idle, no open questions; may be interrupted"},
        {"from the file of a stopped application",
         {focusingDocument(), AgentStateSource::file, 3 * 3600},
         "Focusing, 17:48 left, session 3 of 8, 2 open questions; do not interrupt (Quillmere is not running: as "
         "its file said 3 h ago)"},
        {"mistyped members drop their part",
         {with(with(with(focusingDocument(), "remaining_seconds", "soon"), "current_session", 3), "interruptible",
               "no"),
          AgentStateSource::application, std::nullopt},
         "Focusing, 2 open questions"},
        {"an absurd stored timer is left out",
         {with(focusingDocument(), "remaining_seconds", std::int64_t{1} << 62), AgentStateSource::application,
          std::nullopt},
         "Focusing, session 3 of 8, 2 open questions; do not interrupt"},
        {"not an object at all",
         {json::array({1, 2}), AgentStateSource::application, std::nullopt},
         "In an unknown phase"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(focusSummary(c.reading), c.expected);
    }
}

} // namespace
} // namespace quillmere
