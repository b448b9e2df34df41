// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/mcp/McpServer.h"

#include "McpCatalog.h"
#include "ToolMessages_p.h"
#include "quillmere/AgentQuestions.h"
#include "quillmere/TextLimits.h"
#include "quillmere/mcp/FocusSummary.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#ifndef QUILLMERE_MCP_VERSION
#define QUILLMERE_MCP_VERSION "0"
#endif

namespace quillmere {
namespace {

using nlohmann::json;
namespace catalog = mcp_catalog;

constexpr std::string_view jsonRpcVersion = "2.0";

using namespace mcp_tools;

const std::string_view knownMethods[] = {
    "ping",
    "initialize",
    "tools/list",
    "tools/call",
    "resources/list",
    "resources/read",
    "resources/templates/list",
    "resources/subscribe",
    "resources/unsubscribe",
};

} // namespace

McpServer::McpServer(McpBackend& backend, Send send) :
    backend_(backend), send_(std::move(send)), self_(std::make_shared<McpServer*>(this))
{
}

McpServer::~McpServer() = default;

void McpServer::receive(const LineReader::Line& line)
{
    if (line.oversize) {
        sendError(nullptr, JsonRpcError::invalidRequest,
                  "Invalid request: the line is longer than " + std::to_string(LineReader::maxLineBytes) +
                      " bytes and was discarded");
        return;
    }
    receiveLine(line.text);
}

void McpServer::receiveLine(std::string_view text)
{
    if (isBlank(text)) {
        return;
    }
    const json message = json::parse(text, nullptr, false);
    if (message.is_discarded()) {
        sendError(nullptr, JsonRpcError::parseError, "Parse error: the line is not a JSON text");
        return;
    }
    handleMessage(message);
}

void McpServer::handleMessage(const json& message)
{
    if (message.is_array()) {
        sendError(nullptr, JsonRpcError::invalidRequest,
                  "Invalid request: batches are not supported; send one message per line");
        return;
    }
    if (!message.is_object()) {
        sendError(nullptr, JsonRpcError::invalidRequest, "Invalid request: a message must be a JSON object");
        return;
    }
    const json* method = member(message, "method");
    if (method == nullptr && (message.contains("result") || message.contains("error"))) {
        // A response: this server sends no requests, so there is nothing it
        // could answer, and responses are never answered.
        return;
    }
    const json* id = member(message, "id");
    const bool usableId = id != nullptr && (id->is_string() || id->is_number());
    const json replyId = usableId ? *id : json(nullptr);
    const json* version = member(message, "jsonrpc");
    if (version == nullptr || !version->is_string() || version->get_ref<const std::string&>() != jsonRpcVersion) {
        sendError(replyId, JsonRpcError::invalidRequest, "Invalid request: \"jsonrpc\" must be \"2.0\"");
        return;
    }
    if (method == nullptr || !method->is_string()) {
        sendError(replyId, JsonRpcError::invalidRequest, "Invalid request: \"method\" must be a string");
        return;
    }
    if (id != nullptr && !usableId) {
        sendError(nullptr, JsonRpcError::invalidRequest, "Invalid request: \"id\" must be a string or a number");
        return;
    }
    const json* params = member(message, "params");
    const json noParams = json::object();
    if (id == nullptr) {
        handleNotification(method->get_ref<const std::string&>(), params != nullptr ? *params : noParams);
        return;
    }
    handleRequest(*id, method->get_ref<const std::string&>(), params != nullptr ? *params : noParams);
}

void McpServer::handleNotification(const std::string& method, const json& params)
{
    // Notifications are never answered, so one that makes no sense is
    // dropped without a word.
    if (method == "notifications/cancelled") {
        const json* requestId = member(params, "requestId");
        if (requestId == nullptr) {
            return;
        }
        // The backend may still call back; its callback then finds nothing.
        std::erase_if(pending_, [&](const auto& entry) { return entry.second.id == *requestId; });
    }
    // "notifications/initialized" needs nothing: requests are served as soon
    // as `initialize` has been answered.
}

void McpServer::handleRequest(const json& id, const std::string& method, const json& params)
{
    if (std::any_of(pending_.begin(), pending_.end(), [&](const auto& entry) { return entry.second.id == id; })) {
        sendError(id, JsonRpcError::invalidRequest,
                  "Invalid request: id " + compact(id) + " belongs to a call that has not been answered yet");
        return;
    }
    const bool known = std::find(std::begin(knownMethods), std::end(knownMethods), method) != std::end(knownMethods);
    if (!initialized() && method != "ping" && method != "initialize") {
        sendError(id, JsonRpcError::invalidRequest, "Not initialized: the first request must be initialize");
        return;
    }
    if (!known) {
        sendError(id, JsonRpcError::methodNotFound, "Method not found: " + method);
        return;
    }
    if (!params.is_object()) {
        sendError(id, JsonRpcError::invalidParams, "Invalid params: \"params\" must be an object");
        return;
    }
    if (method == "ping") {
        sendResult(id, json::object());
    } else if (method == "initialize") {
        initialize(id, params);
    } else if (method == "tools/list") {
        sendResult(id, {{"tools", catalog::tools()}});
    } else if (method == "tools/call") {
        callTool(id, params);
    } else if (method == "resources/list") {
        sendResult(id, {{"resources", json::array({catalog::agentStateResource()})}});
    } else if (method == "resources/templates/list") {
        sendResult(id, {{"resourceTemplates", json::array()}});
    } else if (method == "resources/read") {
        readResource(id, params);
    } else if (method == "resources/subscribe") {
        subscribe(id, params, true);
    } else if (method == "resources/unsubscribe") {
        subscribe(id, params, false);
    }
}

void McpServer::initialize(const json& id, const json& params)
{
    if (initialized()) {
        sendError(id, JsonRpcError::invalidRequest, "Invalid request: the session is already initialized");
        return;
    }
    const json* requested = member(params, "protocolVersion");
    if (requested == nullptr || !requested->is_string()) {
        sendError(id, JsonRpcError::invalidParams, "Invalid params: \"protocolVersion\" must be a string");
        return;
    }
    const auto& requestedText = requested->get_ref<const std::string&>();
    const auto supported = std::find(supportedProtocolVersions.begin(), supportedProtocolVersions.end(), requestedText);
    protocolVersion_ =
        std::string(supported != supportedProtocolVersions.end() ? *supported : supportedProtocolVersions.front());
    // The user sees on each question which agent asked it. A client whose
    // names the application would refuse still gets its questions asked,
    // only without a name, rather than having every question refused.
    if (const json* client = member(params, "clientInfo")) {
        for (const char* key : {"title", "name"}) {
            const json* name = member(*client, key);
            if (name != nullptr && name->is_string() &&
                AgentQuestions::isAcceptableAsker(name->get_ref<const std::string&>())) {
                asker_ = name->get<std::string>();
                break;
            }
        }
    }
    sendResult(id,
               {
                   {"protocolVersion", *protocolVersion_},
                   {"capabilities",
                    {
                        {"tools", json::object()},
                        {"resources", {{"subscribe", true}, {"listChanged", false}}},
                    }},
                   {"serverInfo", {{"name", "quillmere"}, {"title", "Quillmere"}, {"version", QUILLMERE_MCP_VERSION}}},
                   {"instructions", catalog::instructions()},
               });
}

template <class T, class Finish>
McpBackend::Callback<T> McpServer::startCall(const json& id, const json& params, Finish finish)
{
    const std::uint64_t key = nextCallKey_++;
    json progressToken = nullptr;
    if (const json* meta = member(params, "_meta")) {
        if (const json* token = member(*meta, "progressToken");
            token != nullptr && (token->is_string() || token->is_number())) {
            progressToken = *token;
        }
    }
    pending_.emplace(key, PendingCall{id, std::move(progressToken), 0});
    return [alive = std::weak_ptr<McpServer*>(self_), key,
            finish = std::move(finish)](std::expected<T, std::string> result) {
        const auto self = alive.lock();
        if (!self) {
            return;
        }
        McpServer& server = **self;
        if (const auto id = server.takeCall(key)) {
            finish(server, *id, std::move(result));
        }
    };
}

std::optional<json> McpServer::takeCall(std::uint64_t key)
{
    const auto found = pending_.find(key);
    if (found == pending_.end()) {
        return std::nullopt;
    }
    json id = std::move(found->second.id);
    pending_.erase(found);
    return id;
}

bool McpServer::refusedAsBusy(const json& id)
{
    if (pending_.size() < maxPendingCalls) {
        return false;
    }
    sendResult(id, toolError("Too many calls are waiting for the user already; wait for their answers first."));
    return true;
}

void McpServer::callTool(const json& id, const json& params)
{
    const json* name = member(params, "name");
    if (name == nullptr || !name->is_string()) {
        sendError(id, JsonRpcError::invalidParams, "Invalid params: \"name\" must be the tool's name");
        return;
    }
    const json* arguments = member(params, "arguments");
    const json noArguments = json::object();
    if (arguments == nullptr || arguments->is_null()) {
        arguments = &noArguments;
    } else if (!arguments->is_object()) {
        sendError(id, JsonRpcError::invalidParams, "Invalid params: \"arguments\" must be an object");
        return;
    }
    const std::string& tool = name->get_ref<const std::string&>();
    const bool knownTool = tool == catalog::getFocusStateTool || tool == catalog::askUserTool ||
        tool == catalog::getAnswerTool || tool == catalog::waitUntilInterruptibleTool;
    if (!knownTool) {
        sendError(id, JsonRpcError::invalidParams, "Unknown tool: " + tool, {{"name", tool}});
        return;
    }
    const auto typeError = [&](const ArgumentTypeError& error) {
        sendError(id, JsonRpcError::invalidParams, "Invalid params: " + error.message);
    };
    // The text argument `key` the tool cannot do without; none once the
    // error has been sent.
    const auto requiredText = [&](std::string_view key) -> std::optional<std::string> {
        auto value = stringArgument(*arguments, key);
        if (!value) {
            typeError(value.error());
            return std::nullopt;
        }
        if (!*value) {
            sendError(id, JsonRpcError::invalidParams,
                      "Invalid params: argument \"" + std::string(key) + "\" is required");
            return std::nullopt;
        }
        return std::move(**value);
    };

    if (tool == catalog::askUserTool) {
        const auto wait = integerArgument(*arguments, "wait_seconds");
        if (!wait) {
            typeError(wait.error());
            return;
        }
        const auto text = requiredText("text");
        if (!text) {
            return;
        }
        const std::int64_t waitSeconds = wait->value_or(0);
        std::string refusal;
        if (isBlank(*text)) {
            refusal = "The question is empty: write the question in \"text\".";
        } else if (const std::size_t length = characterCount(*text); length > TextLimits::questionCharacters) {
            refusal = "The question has " + std::to_string(length) + " characters; at most " +
                std::to_string(TextLimits::questionCharacters) +
                " are allowed. Ask a shorter, self-contained question.";
        } else if (waitSeconds < 0 || waitSeconds > catalog::maxAskWaitSeconds) {
            refusal = "wait_seconds must be between 0 and " + std::to_string(catalog::maxAskWaitSeconds) + ".";
        }
        if (!refusal.empty()) {
            sendResult(id, toolError(std::move(refusal)));
            return;
        }
        if (refusedAsBusy(id)) {
            return;
        }
        backend_.askUser(
            *text, asker_, static_cast<int>(waitSeconds),
            startCall<AskedQuestion>(id, params, [waitSeconds](McpServer& server, const json& replyId, auto result) {
                server.sendResult(replyId, result ? askedResult(*result, waitSeconds) : toolError(result.error()));
            }));
        return;
    }

    if (tool == catalog::getAnswerTool) {
        const auto question = requiredText("id");
        if (!question) {
            return;
        }
        if (refusedAsBusy(id)) {
            return;
        }
        backend_.answer(*question,
                        startCall<QuestionStatus>(
                            id, params, [question = *question](McpServer& server, const json& replyId, auto result) {
                                server.sendResult(replyId,
                                                  result ? answerResult(question, *result) : toolError(result.error()));
                            }));
        return;
    }

    if (tool == catalog::waitUntilInterruptibleTool) {
        const auto timeout = integerArgument(*arguments, "timeout_seconds");
        if (!timeout) {
            typeError(timeout.error());
            return;
        }
        const std::int64_t timeoutSeconds = timeout->value_or(catalog::defaultInterruptibleTimeoutSeconds);
        if (timeoutSeconds < catalog::minInterruptibleTimeoutSeconds ||
            timeoutSeconds > catalog::maxInterruptibleTimeoutSeconds) {
            sendResult(id,
                       toolError("timeout_seconds must be between " +
                                 std::to_string(catalog::minInterruptibleTimeoutSeconds) + " and " +
                                 std::to_string(catalog::maxInterruptibleTimeoutSeconds) + "."));
            return;
        }
        if (refusedAsBusy(id)) {
            return;
        }
        backend_.waitUntilInterruptible(
            static_cast<int>(timeoutSeconds),
            startCall<bool>(id, params, [timeoutSeconds](McpServer& server, const json& replyId, auto result) {
                server.sendResult(replyId,
                                  result ? interruptibleResult(*result, timeoutSeconds) : toolError(result.error()));
            }));
        return;
    }

    if (refusedAsBusy(id)) {
        return;
    }
    backend_.agentState(
        startCall<AgentStateReading>(id, params, [](McpServer& server, const json& replyId, auto result) {
            server.sendResult(replyId, result ? focusStateResult(*result) : toolError(result.error()));
        }));
}

bool McpServer::isAgentStateUri(const json& id, const json& params)
{
    const json* uri = member(params, "uri");
    if (uri == nullptr || !uri->is_string()) {
        sendError(id, JsonRpcError::invalidParams, "Invalid params: \"uri\" must be a string");
        return false;
    }
    if (uri->get_ref<const std::string&>() != agentStateUri) {
        sendError(id, JsonRpcError::invalidParams, "Resource not found", {{"uri", *uri}});
        return false;
    }
    return true;
}

void McpServer::readResource(const json& id, const json& params)
{
    if (!isAgentStateUri(id, params)) {
        return;
    }
    if (pending_.size() >= maxPendingCalls) {
        sendError(id, JsonRpcError::internalError, "Too many calls are waiting already; try again later");
        return;
    }
    backend_.agentState(
        startCall<AgentStateReading>(id, params, [](McpServer& server, const json& replyId, auto result) {
            if (!result) {
                server.sendError(replyId, JsonRpcError::internalError, result.error(), {{"uri", agentStateUri}});
                return;
            }
            server.sendResult(replyId,
                              {{"contents",
                                json::array({{
                                    {"uri", agentStateUri},
                                    {"mimeType", "application/json"},
                                    {"text", compact(result->document)},
                                }})}});
        }));
}

void McpServer::subscribe(const json& id, const json& params, bool on)
{
    if (!isAgentStateUri(id, params)) {
        return;
    }
    subscribedToAgentState_ = on;
    sendResult(id, json::object());
}

void McpServer::agentStateChanged()
{
    if (!subscribedToAgentState_) {
        return;
    }
    sendMessage({
        {"jsonrpc", jsonRpcVersion},
        {"method", "notifications/resources/updated"},
        {"params", {{"uri", agentStateUri}}},
    });
}

void McpServer::reportProgress()
{
    // Collected first: a send may lead the shell to anything, and the map
    // must not change under the loop.
    std::vector<json> notifications;
    for (auto& [key, call] : pending_) {
        if (call.progressToken.is_null()) {
            continue;
        }
        ++call.progress;
        notifications.push_back({
            {"jsonrpc", jsonRpcVersion},
            {"method", "notifications/progress"},
            {"params",
             {{"progressToken", call.progressToken}, {"progress", call.progress}, {"message", "Waiting for the user"}}},
        });
    }
    for (const json& notification : notifications) {
        sendMessage(notification);
    }
}

void McpServer::sendResult(const json& id, json result)
{
    sendMessage({{"jsonrpc", jsonRpcVersion}, {"id", id}, {"result", std::move(result)}});
}

void McpServer::sendError(const json& id, int code, std::string message, json data)
{
    json error{{"code", code}, {"message", std::move(message)}};
    if (!data.is_null()) {
        error["data"] = std::move(data);
    }
    sendMessage({{"jsonrpc", jsonRpcVersion}, {"id", id}, {"error", std::move(error)}});
}

void McpServer::sendMessage(const json& message)
{
    // Texts from the backend or a hand-edited file may hold bytes that are
    // not UTF-8; they are replaced rather than failing the whole message.
    send_(compact(message) + "\n");
}

} // namespace quillmere
