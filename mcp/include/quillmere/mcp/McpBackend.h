// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <expected>
#include <functional>
#include <optional>
#include <string>

namespace quillmere {

// Where the agent document came from.
enum class AgentStateSource {
    // The running application answered.
    application,
    // The application is not running: this is the agent-state.json it left,
    // which stopped changing when it quit.
    file,
};

// The agent document, as agent-state.json holds it, and how fresh it is.
struct AgentStateReading {
    // The document's JSON object, passed on to agents as it is.
    nlohmann::json document = nlohmann::json::object();
    AgentStateSource source = AgentStateSource::application;
    // How long ago the file was written; only for `AgentStateSource::file`.
    std::optional<std::int64_t> fileAgeSeconds;

    friend bool operator==(const AgentStateReading&, const AgentStateReading&) = default;
};

// A question put to the user: its id and, when the asker chose to wait, the
// answer if the user gave it in time.
struct AskedQuestion {
    std::string id;
    std::optional<std::string> answer;

    friend bool operator==(const AskedQuestion&, const AskedQuestion&) = default;
};

// What the user made of a question so far.
struct QuestionStatus {
    bool answered = false;
    std::string answer;

    friend bool operator==(const QuestionStatus&, const QuestionStatus&) = default;
};

// What the MCP server needs from the world: implemented by the command-line
// program over D-Bus (and the state file), and by a fake in the tests.
//
// Every call answers through its callback, exactly once, either before it
// returns or later from the program's event loop: a call that waits for the
// user (minutes, at most 600 s for a question, an hour for an interruption)
// must not keep the server from answering other requests meanwhile. An error
// is a sentence for the agent saying what went wrong and, where it helps,
// what to do ("Quillmere is not running: ...").
//
// A callback may outlive the server (the agent may quit while the user
// thinks); the server's callbacks then do nothing, so the backend need not
// track them.
class McpBackend {
public:
    template <class T>
    using Callback = std::function<void(std::expected<T, std::string>)>;

    virtual ~McpBackend() = default;

    // The agent document from the running application, else from the file.
    virtual void agentState(Callback<AgentStateReading> done) = 0;

    // Puts `text` to the user, from `asker` (the client's name, already
    // acceptable as an asker's name; "" when it had none that was). With
    // `waitSeconds` 0 answers as soon as the question has its id; otherwise
    // when the user answers or when `waitSeconds` have passed, whichever
    // comes first.
    virtual void askUser(std::string text, std::string asker, int waitSeconds, Callback<AskedQuestion> done) = 0;

    // Whether question `id` has been answered; an error for an unknown id.
    virtual void answer(std::string id, Callback<QuestionStatus> done) = 0;

    // True once the user may be interrupted (at once when they may be now),
    // false when `timeoutSeconds` passed first.
    virtual void waitUntilInterruptible(int timeoutSeconds, Callback<bool> done) = 0;
};

} // namespace quillmere
