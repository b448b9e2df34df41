// SPDX-License-Identifier: GPL-3.0-or-later
#include "McpCatalog.h"

#include "quillmere/TextLimits.h"
#include "quillmere/mcp/McpServer.h"

#include <string>

namespace quillmere::mcp_catalog {
namespace {

using nlohmann::json;

const std::string questionLimit = std::to_string(TextLimits::questionCharacters);

} // namespace

std::string_view instructions()
{
    return "Quillmere runs the user's focus sessions and breaks. Before you ask the user anything, call "
           "get_focus_state. While the user is focusing, do not interrupt: keep working on what you can, and "
           "hold a question until wait_until_interruptible says the user may be interrupted. During a break, a "
           "review, planning or when idle, ask_user at once. Ask one short, self-contained question at a time.";
}

json tools()
{
    return json::array({
        {
            {"name", getFocusStateTool},
            {"title", "Get the user's focus state"},
            {"description",
             "Tells whether the user may be interrupted now, in one summary line (e.g. \"Focusing, 17:48 left, "
             "session 3 of 8, 2 open questions; do not interrupt\") followed by the full state document: the "
             "phase, the block's outcomes and tasks, the sessions, the seconds left on the running timer and "
             "the open questions. Call it before asking the user anything, and when deciding whether to wait."},
            {"inputSchema", {{"type", "object"}, {"properties", json::object()}}},
            {"annotations", {{"readOnlyHint", true}, {"openWorldHint", false}}},
        },
        {
            {"name", askUserTool},
            {"title", "Ask the user a question"},
            {"description",
             "Puts one question to the user in Quillmere and returns its id. Ask only when the user may be "
             "interrupted (on a break, reviewing, planning or idle, as get_focus_state says); while they are "
             "focusing, first call wait_until_interruptible. Keep the question short and self-contained: the "
             "user reads it without your context, so name the file, branch or choice it is about. Ask one "
             "question at a time and wait for its answer before asking the next. With wait_seconds the call "
             "waits that long for the answer and returns it; otherwise fetch it later with get_answer."},
            {"inputSchema",
             {
                 {"type", "object"},
                 {"properties",
                  {
                      {"text",
                       {{"type", "string"},
                        {"minLength", 1},
                        {"maxLength", TextLimits::questionCharacters},
                        {"description",
                         "The question, at most " + questionLimit + " characters; plain text, newlines allowed."}}},
                      {"wait_seconds",
                       {{"type", "integer"},
                        {"minimum", 0},
                        {"maximum", maxAskWaitSeconds},
                        {"default", 0},
                        {"description",
                         "How long to wait for the answer before returning without one (0: "
                         "return at once with the id)."}}},
                  }},
                 {"required", json::array({"text"})},
             }},
            {"annotations", {{"readOnlyHint", false}, {"destructiveHint", false}, {"openWorldHint", false}}},
        },
        {
            {"name", getAnswerTool},
            {"title", "Get the answer to a question"},
            {"description",
             "Tells whether the user has answered the question with this id (from ask_user), and the answer "
             "when they have. The user answers when they get to it: if the question is still open, go on with "
             "other work and check again later rather than asking again."},
            {"inputSchema",
             {
                 {"type", "object"},
                 {"properties", {{"id", {{"type", "string"}, {"description", "The id ask_user returned."}}}}},
                 {"required", json::array({"id"})},
             }},
            {"annotations", {{"readOnlyHint", true}, {"openWorldHint", false}}},
        },
        {
            {"name", waitUntilInterruptibleTool},
            {"title", "Wait until the user may be interrupted"},
            {"description",
             "Returns as soon as the user may be interrupted (at once if they may be now), or after "
             "timeout_seconds if they are still focusing. Use it to hold a question during a focus session: "
             "when it says the user may be interrupted, ask. If it timed out, continue your work and call it "
             "again later; never interrupt a focus session."},
            {"inputSchema",
             {
                 {"type", "object"},
                 {"properties",
                  {{"timeout_seconds",
                    {{"type", "integer"},
                     {"minimum", minInterruptibleTimeoutSeconds},
                     {"maximum", maxInterruptibleTimeoutSeconds},
                     {"default", defaultInterruptibleTimeoutSeconds},
                     {"description",
                      "How long to wait at most. Keep it below your client's timeout for a "
                      "tool call."}}}}},
             }},
            {"annotations", {{"readOnlyHint", true}, {"openWorldHint", false}}},
        },
    });
}

json agentStateResource()
{
    return {
        {"uri", McpServer::agentStateUri},
        {"name", "agent-state"},
        {"title", "Quillmere focus state"},
        {"description",
         "The user's focus state as a JSON document: the phase (workflow_state), whether they may be "
         "interrupted (interruptible), the block, its tasks and sessions, the seconds left on the running "
         "timer and the open questions. Subscribe to hear when the phase or the questions change."},
        {"mimeType", "application/json"},
    };
}

} // namespace quillmere::mcp_catalog
