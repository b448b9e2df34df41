// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/mcp/LineReader.h"
#include "quillmere/mcp/McpBackend.h"

#include <nlohmann/json.hpp>

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quillmere {

// The error codes this server answers with. JSON-RPC's own, and no
// server-defined ones: a client handles these without knowing Quillmere.
namespace JsonRpcError {
// The line is not JSON.
inline constexpr int parseError = -32700;
// Not a request object: an array (batches are not part of this protocol
// revision), a number, a wrong "jsonrpc" or "method", an id that is neither
// a string nor a number, a line over LineReader::maxLineBytes. Also any
// request but `ping` before `initialize`, a second `initialize`, and an id
// still in use by a call that has not been answered: MCP names no code for
// these, and a code of our own from the server range could collide with one
// a later revision defines there.
inline constexpr int invalidRequest = -32600;
inline constexpr int methodNotFound = -32601;
// Missing or mistyped parameters or tool arguments, an unknown tool, an
// unknown resource uri.
inline constexpr int invalidParams = -32602;
// Reading the resource failed (the backend's sentence is the message).
inline constexpr int internalError = -32603;
} // namespace JsonRpcError

// The Model Context Protocol server of `quillmerectl mcp`: takes the client's
// lines, answers through `send`, and asks the backend for everything it
// needs to know or do. Single-threaded and never blocking: a tool that
// waits for the user holds its reply until the backend's callback comes,
// and requests that arrive meanwhile are answered at once.
//
// Bad input never ends the session: every line gets its JSON-RPC answer (or
// none, for a notification) and the next line is read as if nothing
// happened. At the end of input the program simply stops; calls still
// waiting have no one left to answer.
class McpServer {
public:
    // Called with one complete JSON-RPC message at a time, ending in exactly
    // one "\n" and holding no other: write it to standard output as it is
    // and flush.
    using Send = std::function<void(std::string message)>;

    // The protocol revisions this server speaks, newest first. The client's
    // requested one is answered with when it is here, else the newest.
    static constexpr std::array<std::string_view, 4> supportedProtocolVersions{
        "2025-11-25",
        "2025-06-18",
        "2025-03-26",
        "2024-11-05",
    };
    static constexpr std::string_view agentStateUri = "quillmere://agent-state";
    // Calls waiting for the backend at once. A client that starts more gets
    // a refusal rather than making the program hold ever more callbacks.
    static constexpr std::size_t maxPendingCalls = 32;

    McpServer(McpBackend& backend, Send send);
    ~McpServer();
    McpServer(const McpServer&) = delete;
    McpServer& operator=(const McpServer&) = delete;

    // One line from the client, as LineReader cut it.
    void receive(const LineReader::Line& line);
    // One line's text, without its newline. Blank lines are skipped.
    void receiveLine(std::string_view text);

    // The shell calls this when the phase or the open questions changed (not
    // for the timer's seconds): a client that subscribed to the agent state
    // is told to read it again.
    void agentStateChanged();

    // Sends a progress notification for every waiting call whose request
    // asked for progress. Clients that reset their request timeout on
    // progress then wait as long as the user takes; the shell calls this
    // every few seconds while `pendingCallCount()` is not zero.
    void reportProgress();

    // Whether `initialize` has been answered.
    [[nodiscard]] bool initialized() const { return protocolVersion_.has_value(); }
    // The revision agreed in `initialize`.
    [[nodiscard]] const std::optional<std::string>& protocolVersion() const { return protocolVersion_; }
    // Who the questions are from: the client's title or name from
    // `initialize`, the first that the application accepts as an asker's
    // name; "" when neither is.
    [[nodiscard]] const std::string& asker() const { return asker_; }
    [[nodiscard]] std::size_t pendingCallCount() const { return pending_.size(); }

private:
    struct PendingCall {
        nlohmann::json id;
        nlohmann::json progressToken; // null when none was asked for
        std::int64_t progress = 0;
    };
    void handleMessage(const nlohmann::json& message);
    void handleNotification(const std::string& method, const nlohmann::json& params);
    void handleRequest(const nlohmann::json& id, const std::string& method, const nlohmann::json& params);
    void initialize(const nlohmann::json& id, const nlohmann::json& params);
    void callTool(const nlohmann::json& id, const nlohmann::json& params);
    // Answers a tool call with a refusal when too many calls wait already.
    bool refusedAsBusy(const nlohmann::json& id);
    // Whether `params` name the one resource; otherwise the error is sent.
    bool isAgentStateUri(const nlohmann::json& id, const nlohmann::json& params);
    void readResource(const nlohmann::json& id, const nlohmann::json& params);
    void subscribe(const nlohmann::json& id, const nlohmann::json& params, bool on);

    // Registers a call that the backend answers later. The callback it
    // returns hands `finish` the server and the request's id, unless the
    // server is gone or the call was cancelled or already answered.
    template <class T, class Finish>
    McpBackend::Callback<T> startCall(const nlohmann::json& id, const nlohmann::json& params, Finish finish);
    std::optional<nlohmann::json> takeCall(std::uint64_t key);

    void sendResult(const nlohmann::json& id, nlohmann::json result);
    void sendError(const nlohmann::json& id, int code, std::string message, nlohmann::json data = nullptr);
    void sendMessage(const nlohmann::json& message);

    McpBackend& backend_;
    Send send_;
    std::optional<std::string> protocolVersion_;
    std::string asker_;
    bool subscribedToAgentState_ = false;
    std::map<std::uint64_t, PendingCall> pending_;
    std::uint64_t nextCallKey_ = 1;
    // Expires with the server, so that the backend's late callbacks know
    // there is no one left to answer.
    std::shared_ptr<McpServer*> self_;
};

} // namespace quillmere
