// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/mcp/McpServer.h"

#include <gtest/gtest.h>

#include <set>

namespace quillmere {
namespace {

using nlohmann::json;

// Answers at once when a reply is set, else keeps the callback for the test
// to call later, as the program does while the user thinks.
class FakeBackend : public McpBackend {
public:
    template <class T>
    struct Slot {
        std::optional<std::expected<T, std::string>> immediate;
        std::vector<Callback<T>> waiting;
        int calls = 0;

        void take(Callback<T> done)
        {
            ++calls;
            if (immediate) {
                done(*immediate);
            } else {
                waiting.push_back(std::move(done));
            }
        }
    };

    Slot<AgentStateReading> state;
    Slot<AskedQuestion> ask;
    Slot<QuestionStatus> status;
    Slot<bool> interruptible;
    struct Question {
        std::string text;
        std::string asker;
        int waitSeconds = 0;

        friend bool operator==(const Question&, const Question&) = default;
    };
    std::vector<Question> asked;
    std::vector<std::string> answerIds;
    std::vector<int> timeouts;

    void agentState(Callback<AgentStateReading> done) override { state.take(std::move(done)); }
    void askUser(std::string text, std::string asker, int waitSeconds, Callback<AskedQuestion> done) override
    {
        asked.push_back({std::move(text), std::move(asker), waitSeconds});
        ask.take(std::move(done));
    }
    void answer(std::string id, Callback<QuestionStatus> done) override
    {
        answerIds.push_back(std::move(id));
        status.take(std::move(done));
    }
    void waitUntilInterruptible(int timeoutSeconds, Callback<bool> done) override
    {
        timeouts.push_back(timeoutSeconds);
        interruptible.take(std::move(done));
    }
};

const json agentDocument{
    {"schema_version", 1},      {"workflow_state", "focusing"},    {"interruptible", false},
    {"remaining_seconds", 600}, {"open_questions", json::array()},
};

class McpServerTest : public testing::Test {
protected:
    McpServerTest()
    {
        backend.state.immediate = AgentStateReading{agentDocument, AgentStateSource::application, std::nullopt};
    }

    void line(const std::string& text) { server->receiveLine(text); }

    void message(const json& value) { line(value.dump()); }

    json request(const json& id, const std::string& method, json params = json::object())
    {
        return {{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", std::move(params)}};
    }

    // The one message the last input produced.
    json reply()
    {
        EXPECT_EQ(sent.size(), 1u);
        json last = sent.empty() ? json() : sent.back();
        sent.clear();
        return last;
    }

    json call(const json& id, const std::string& method, json params = json::object())
    {
        message(request(id, method, std::move(params)));
        return reply();
    }

    json callTool(const std::string& name, json arguments = json::object(), json id = 7)
    {
        return call(id, "tools/call", {{"name", name}, {"arguments", std::move(arguments)}});
    }

    void initialize()
    {
        const json answer = call(0, "initialize",
                                 {{"protocolVersion", "2025-11-25"},
                                  {"capabilities", json::object()},
                                  {"clientInfo", {{"name", "test"}, {"version", "1"}}}});
        ASSERT_TRUE(answer.contains("result")) << answer;
        message({{"jsonrpc", "2.0"}, {"method", "notifications/initialized"}});
    }

    void expectPingAnswered()
    {
        EXPECT_EQ(call("after", "ping"), (json{{"jsonrpc", "2.0"}, {"id", "after"}, {"result", json::object()}}));
    }

    static std::string text(const json& result, std::size_t item = 0)
    {
        return result.at("content").at(item).at("text").get<std::string>();
    }

    FakeBackend backend;
    std::vector<json> sent;
    std::unique_ptr<McpServer> server = std::make_unique<McpServer>(backend, [this](std::string out) {
        // Every message must be one line the client can cut at its newline.
        EXPECT_TRUE(!out.empty() && out.back() == '\n');
        EXPECT_EQ(out.find('\n'), out.size() - 1);
        json parsed = json::parse(out, nullptr, false);
        EXPECT_FALSE(parsed.is_discarded()) << out;
        sent.push_back(std::move(parsed));
    });
};

TEST_F(McpServerTest, BadInputIsAnsweredWithItsErrorAndTheSessionGoesOn)
{
    initialize();
    struct Case {
        const char* name;
        std::string line;
        int code;
        json id;
    };
    const std::string tool = R"({"jsonrpc":"2.0","id":5,"method":"tools/call","params":)";
    const Case cases[] = {
        {"not json", "hello", JsonRpcError::parseError, nullptr},
        {"a cut message", R"({"jsonrpc":"2.0","id":1,"method":"ping")", JsonRpcError::parseError, nullptr},
        {"a string that is not utf-8", "{\"jsonrpc\":\"2.0\",\"id\":1,\"method\":\"p\xff\"}", JsonRpcError::parseError,
         nullptr},
        {"a batch", R"([{"jsonrpc":"2.0","id":1,"method":"ping"}])", JsonRpcError::invalidRequest, nullptr},
        {"an empty batch", "[]", JsonRpcError::invalidRequest, nullptr},
        {"deeply nested arrays", std::string(100000, '[') + std::string(100000, ']'), JsonRpcError::invalidRequest,
         nullptr},
        {"a number", "42", JsonRpcError::invalidRequest, nullptr},
        {"null", "null", JsonRpcError::invalidRequest, nullptr},
        {"no jsonrpc member", R"({"id":1,"method":"ping"})", JsonRpcError::invalidRequest, 1},
        {"another jsonrpc version", R"({"jsonrpc":"1.0","id":1,"method":"ping"})", JsonRpcError::invalidRequest, 1},
        {"jsonrpc as a number", R"({"jsonrpc":2.0,"id":"a","method":"ping"})", JsonRpcError::invalidRequest, "a"},
        {"a method that is not a string", R"({"jsonrpc":"2.0","id":1,"method":5})", JsonRpcError::invalidRequest, 1},
        {"no method", R"({"jsonrpc":"2.0","id":1})", JsonRpcError::invalidRequest, 1},
        {"no method, no id", R"({"foo":"boo"})", JsonRpcError::invalidRequest, nullptr},
        {"a null id", R"({"jsonrpc":"2.0","id":null,"method":"ping"})", JsonRpcError::invalidRequest, nullptr},
        {"a boolean id", R"({"jsonrpc":"2.0","id":true,"method":"ping"})", JsonRpcError::invalidRequest, nullptr},
        {"an object id", R"({"jsonrpc":"2.0","id":{},"method":"ping"})", JsonRpcError::invalidRequest, nullptr},
        {"a second initialize",
         R"({"jsonrpc":"2.0","id":2,"method":"initialize","params":{"protocolVersion":"2025-11-25"}})",
         JsonRpcError::invalidRequest, 2},
        {"an unknown method", R"({"jsonrpc":"2.0","id":3,"method":"prompts/list"})", JsonRpcError::methodNotFound, 3},
        {"params as an array", R"({"jsonrpc":"2.0","id":4,"method":"tools/list","params":[]})",
         JsonRpcError::invalidParams, 4},
        {"a tool call without a name", tool + "{}}", JsonRpcError::invalidParams, 5},
        {"a tool name that is a number", tool + R"({"name":3}})", JsonRpcError::invalidParams, 5},
        {"an unknown tool", tool + R"({"name":"delete_everything"}})", JsonRpcError::invalidParams, 5},
        {"arguments as an array", tool + R"({"name":"get_focus_state","arguments":[]}})", JsonRpcError::invalidParams,
         5},
        {"a question without text", tool + R"({"name":"ask_user","arguments":{}}})", JsonRpcError::invalidParams, 5},
        {"a question that is a number", tool + R"({"name":"ask_user","arguments":{"text":42}}})",
         JsonRpcError::invalidParams, 5},
        {"a wait as a string", tool + R"({"name":"ask_user","arguments":{"text":"Q?","wait_seconds":"10"}}})",
         JsonRpcError::invalidParams, 5},
        {"a fractional wait", tool + R"({"name":"ask_user","arguments":{"text":"Q?","wait_seconds":1.5}}})",
         JsonRpcError::invalidParams, 5},
        {"an answer id that is a number", tool + R"({"name":"get_answer","arguments":{"id":12}}})",
         JsonRpcError::invalidParams, 5},
        {"no answer id", tool + R"({"name":"get_answer"}})", JsonRpcError::invalidParams, 5},
        {"a timeout as a boolean",
         tool + R"({"name":"wait_until_interruptible","arguments":{"timeout_seconds":true}}})",
         JsonRpcError::invalidParams, 5},
        {"reading without a uri", R"({"jsonrpc":"2.0","id":6,"method":"resources/read","params":{}})",
         JsonRpcError::invalidParams, 6},
        {"reading an unknown uri",
         R"({"jsonrpc":"2.0","id":6,"method":"resources/read","params":{"uri":"file:///etc/passwd"}})",
         JsonRpcError::invalidParams, 6},
        {"subscribing to an unknown uri",
         R"({"jsonrpc":"2.0","id":6,"method":"resources/subscribe","params":{"uri":"x"}})", JsonRpcError::invalidParams,
         6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        line(c.line);
        const json answer = reply();
        EXPECT_EQ(answer.value("jsonrpc", ""), "2.0");
        EXPECT_EQ(answer.value("id", json("missing")), c.id);
        EXPECT_EQ(answer["error"].value("code", 0), c.code) << answer;
        EXPECT_FALSE(answer["error"].value("message", "").empty());
        expectPingAnswered();
    }
    EXPECT_EQ(backend.asked.size(), 0u) << "no refused call reaches the backend";
    EXPECT_EQ(server->pendingCallCount(), 0u);
}

TEST_F(McpServerTest, NotificationsAndResponsesAreNeverAnswered)
{
    const std::string lines[] = {
        R"({"jsonrpc":"2.0","method":"notifications/initialized"})", // before initialize
        R"({"jsonrpc":"2.0","method":"tools/list"})", // a request's method without an id
        R"({"jsonrpc":"2.0","method":"no/such/thing","params":[1]})",
        R"({"jsonrpc":"2.0","method":"notifications/cancelled","params":7})",
        R"({"jsonrpc":"2.0","method":"notifications/cancelled","params":{"requestId":{"x":1}}})",
        R"({"jsonrpc":"2.0","method":"notifications/initialized","params":"x"})",
        R"({"jsonrpc":"2.0","id":9,"result":{}})",
        R"({"jsonrpc":"2.0","id":9,"error":{"code":1,"message":"no"}})",
        "",
        " \t\r",
    };
    for (const std::string& input : lines) {
        SCOPED_TRACE(input);
        line(input);
        EXPECT_TRUE(sent.empty()) << sent.front();
        sent.clear();
    }
}

TEST_F(McpServerTest, AnOversizeLineIsAnInvalidRequestAndTheNextLineIsRead)
{
    initialize();
    server->receive(LineReader::Line{{}, true});
    const json answer = reply();
    EXPECT_EQ(answer["id"], nullptr);
    EXPECT_EQ(answer["error"]["code"], JsonRpcError::invalidRequest);
    server->receive(LineReader::Line{request(1, "ping").dump(), false});
    EXPECT_EQ(reply()["result"], json::object());
}

TEST_F(McpServerTest, OnlyPingIsServedBeforeInitialize)
{
    expectPingAnswered();
    const json refused = call(1, "tools/list");
    EXPECT_EQ(refused["id"], 1);
    EXPECT_EQ(refused["error"]["code"], JsonRpcError::invalidRequest);
    const json missingVersion = call(2, "initialize", {{"capabilities", json::object()}});
    EXPECT_EQ(missingVersion["error"]["code"], JsonRpcError::invalidParams);
    EXPECT_FALSE(server->initialized()) << "a refused initialize leaves the session uninitialized";
    initialize();
    EXPECT_TRUE(call(3, "tools/list").contains("result"));
}

TEST_F(McpServerTest, InitializeAnswersWithTheClientsRevisionWhenSupportedElseTheNewest)
{
    struct Case {
        const char* requested;
        const char* answered;
    };
    const Case cases[] = {
        {"2025-11-25", "2025-11-25"}, {"2025-06-18", "2025-06-18"}, {"2025-03-26", "2025-03-26"},
        {"2024-11-05", "2024-11-05"}, {"2099-01-01", "2025-11-25"}, {"2024-10-07", "2025-11-25"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.requested);
        McpServer fresh(backend, [this](std::string out) { sent.push_back(json::parse(out)); });
        fresh.receiveLine(request(1, "initialize", {{"protocolVersion", c.requested}}).dump());
        const json result = reply()["result"];
        EXPECT_EQ(result["protocolVersion"], c.answered);
        EXPECT_EQ(result["capabilities"],
                  (json{{"tools", json::object()}, {"resources", {{"subscribe", true}, {"listChanged", false}}}}));
        EXPECT_EQ(result["serverInfo"]["name"], "quillmere");
        EXPECT_TRUE(result["serverInfo"]["version"].is_string());
        EXPECT_TRUE(result["instructions"].is_string());
    }
}

TEST_F(McpServerTest, QuestionsCarryTheClientsNameWhenTheApplicationWouldAcceptIt)
{
    struct Case {
        const char* name;
        json clientInfo;
        std::string asker;
    };
    const Case cases[] = {
        {"the title before the name", {{"name", "release-bot"}, {"title", "Release Bot"}}, "Release Bot"},
        {"the name without a title", {{"name", "release-bot"}}, "release-bot"},
        {"a title with a control character", {{"name", "release-bot"}, {"title", "Release\nBot"}}, "release-bot"},
        {"names over 64 characters", {{"name", std::string(65, 'n')}, {"title", std::string(65, 't')}}, ""},
        {"an empty name", {{"name", ""}}, ""},
        {"no client info", nullptr, ""},
    };
    backend.ask.immediate = AskedQuestion{"q-1", std::nullopt};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        McpServer fresh(backend, [this](std::string out) { sent.push_back(json::parse(out)); });
        json initialize = request(1, "initialize", {{"protocolVersion", "2025-11-25"}});
        initialize["params"]["clientInfo"] = c.clientInfo;
        fresh.receiveLine(initialize.dump());
        fresh.receiveLine(
            request(2, "tools/call", {{"name", "ask_user"}, {"arguments", {{"text", "Tag now?"}}}}).dump());
        sent.clear();
        ASSERT_FALSE(backend.asked.empty());
        EXPECT_EQ(backend.asked.back().asker, c.asker);
        EXPECT_EQ(fresh.asker(), c.asker);
    }
}

TEST_F(McpServerTest, ToolsListDescribesEachToolWithAnObjectSchema)
{
    initialize();
    const json tools = call(1, "tools/list")["result"]["tools"];
    std::set<std::string> names;
    for (const json& tool : tools) {
        SCOPED_TRACE(tool.dump());
        names.insert(tool.at("name").get<std::string>());
        EXPECT_GT(tool.at("description").get<std::string>().size(), 80u) << "written for an agent to decide on";
        const json& schema = tool.at("inputSchema");
        EXPECT_EQ(schema.at("type"), "object");
        for (const json& required : schema.value("required", json::array())) {
            EXPECT_TRUE(schema.at("properties").contains(required)) << required;
        }
    }
    EXPECT_EQ(names, (std::set<std::string>{"get_focus_state", "ask_user", "get_answer", "wait_until_interruptible"}));
    EXPECT_EQ(tools[1]["inputSchema"]["properties"]["text"]["maxLength"], 2000);
}

TEST_F(McpServerTest, ToolsAnswerWithTextAndStructuredContent)
{
    initialize();
    backend.ask.immediate = AskedQuestion{"q-1", std::nullopt};
    backend.status.immediate = QuestionStatus{true, "Use main"};
    backend.interruptible.immediate = true;

    const json state = callTool("get_focus_state")["result"];
    EXPECT_EQ(text(state), "Focusing, 10:00 left, no open questions; do not interrupt");
    EXPECT_EQ(json::parse(text(state, 1)), agentDocument);
    EXPECT_EQ(state["structuredContent"]["state"], agentDocument);
    EXPECT_EQ(state["structuredContent"]["source"], "application");
    EXPECT_FALSE(state.value("isError", false));

    const json asked = callTool("ask_user", {{"text", "Which branch should the release use?"}})["result"];
    EXPECT_EQ(asked["structuredContent"], (json{{"id", "q-1"}, {"answered", false}}));
    EXPECT_NE(text(asked).find("q-1"), std::string::npos);
    EXPECT_EQ(backend.asked.back(), (FakeBackend::Question{"Which branch should the release use?", "test", 0}));

    const json answered = callTool("get_answer", {{"id", "q-1"}})["result"];
    EXPECT_EQ(answered["structuredContent"], (json{{"id", "q-1"}, {"answered", true}, {"answer", "Use main"}}));
    EXPECT_NE(text(answered).find("Use main"), std::string::npos);

    EXPECT_EQ(callTool("wait_until_interruptible", {{"timeout_seconds", 2}})["result"]["structuredContent"],
              (json{{"interruptible", true}}));
    EXPECT_EQ(callTool("wait_until_interruptible", {{"timeout_seconds", 30.0}})["result"]["structuredContent"],
              (json{{"interruptible", true}}));
    EXPECT_EQ(callTool("wait_until_interruptible")["result"]["structuredContent"], (json{{"interruptible", true}}));
    EXPECT_EQ(backend.timeouts, (std::vector<int>{2, 30, 300}));

    backend.state.immediate = AgentStateReading{agentDocument, AgentStateSource::file, 42};
    const json stale = callTool("get_focus_state")["result"]["structuredContent"];
    EXPECT_EQ(stale["source"], "file");
    EXPECT_EQ(stale["fileAgeSeconds"], 42);
}

TEST_F(McpServerTest, FailuresAndRefusalsAreToolErrorsTheAgentCanRead)
{
    initialize();
    const std::string unreachable = "Quillmere is not running: start it to ask the user";
    backend.state.immediate = std::unexpected(unreachable);
    backend.ask.immediate = std::unexpected(unreachable);
    backend.status.immediate = std::unexpected("No question has the id q-9");
    backend.interruptible.immediate = std::unexpected(unreachable);
    std::string twoByteText;
    for (int i = 0; i < 2001; ++i) {
        twoByteText += "\u00e4";
    }
    struct Case {
        const char* name;
        std::string tool;
        json arguments;
        std::string says;
    };
    const Case cases[] = {
        {"state unavailable", "get_focus_state", json::object(), unreachable},
        {"asking fails", "ask_user", {{"text", "Ship it?"}}, unreachable},
        {"unknown question", "get_answer", {{"id", "q-9"}}, "q-9"},
        {"waiting fails", "wait_until_interruptible", json::object(), unreachable},
        {"an empty question", "ask_user", {{"text", " \n "}}, "empty"},
        {"2001 characters", "ask_user", {{"text", std::string(2001, 'a')}}, "2001 characters"},
        {"2001 two-byte characters", "ask_user", {{"text", twoByteText}}, "2001 characters"},
        {"a huge wait", "ask_user", {{"text", "Q?"}, {"wait_seconds", 18446744073709551615ULL}}, "wait_seconds"},
        {"a timeout over an hour", "wait_until_interruptible", {{"timeout_seconds", 3601}}, "timeout_seconds"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const json answer = callTool(c.tool, c.arguments);
        ASSERT_TRUE(answer.contains("result")) << answer;
        EXPECT_EQ(answer["result"]["isError"], true);
        EXPECT_NE(text(answer["result"]).find(c.says), std::string::npos) << text(answer["result"]);
    }
    EXPECT_EQ(backend.asked.size(), 1u) << "refused questions never reach the user";
    EXPECT_EQ(backend.timeouts.size(), 1u);
}

TEST_F(McpServerTest, AWaitingCallIsAnsweredLaterWhileOtherRequestsAreServed)
{
    initialize();
    message(request(10, "tools/call",
                    {{"name", "ask_user"}, {"arguments", {{"text", "Deploy now?"}, {"wait_seconds", 600}}}}));
    message(
        request(11, "tools/call", {{"name", "wait_until_interruptible"}, {"arguments", {{"timeout_seconds", 60}}}}));
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(backend.asked.back().waitSeconds, 600);

    expectPingAnswered();
    EXPECT_FALSE(callTool("get_focus_state", json::object(), 12)["result"].value("isError", false));
    EXPECT_EQ(server->pendingCallCount(), 2u);

    // The user becomes interruptible before answering: replies leave in the
    // order the backend finishes, each with its own id.
    backend.interruptible.waiting.at(0)(false);
    json answer = reply();
    EXPECT_EQ(answer["id"], 11);
    EXPECT_EQ(answer["result"]["structuredContent"]["interruptible"], false);
    EXPECT_NE(text(answer["result"]).find("60 s"), std::string::npos);

    backend.ask.waiting.at(0)(AskedQuestion{"q-2", "Yes, after lunch"});
    answer = reply();
    EXPECT_EQ(answer["id"], 10);
    EXPECT_EQ(answer["result"]["structuredContent"]["answer"], "Yes, after lunch");

    backend.ask.waiting.at(0)(AskedQuestion{"q-2", "again"});
    EXPECT_TRUE(sent.empty()) << "a second callback for the same call is ignored";
    EXPECT_EQ(server->pendingCallCount(), 0u);
}

TEST_F(McpServerTest, ACancelledCallIsNeverAnsweredAndItsIdCanBeUsedAgain)
{
    initialize();
    message(request("w", "tools/call", {{"name", "wait_until_interruptible"}}));
    const json again = call("w", "tools/call", {{"name", "wait_until_interruptible"}});
    EXPECT_EQ(again["error"]["code"], JsonRpcError::invalidRequest) << "the id is still in use";

    message({{"jsonrpc", "2.0"},
             {"method", "notifications/cancelled"},
             {"params", {{"requestId", "w"}, {"reason", "bored"}}}});
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(server->pendingCallCount(), 0u);
    backend.interruptible.waiting.at(0)(true);
    EXPECT_TRUE(sent.empty());

    message(request("w", "tools/call", {{"name", "wait_until_interruptible"}}));
    backend.interruptible.waiting.at(1)(true);
    EXPECT_EQ(reply()["id"], "w");
}

TEST_F(McpServerTest, ACallbackAfterTheServerIsGoneDoesNothing)
{
    initialize();
    message(request(1, "tools/call", {{"name", "wait_until_interruptible"}}));
    server.reset();
    backend.interruptible.waiting.at(0)(true);
    EXPECT_TRUE(sent.empty());
}

TEST_F(McpServerTest, TooManyWaitingCallsAreRefusedWithoutStoppingTheServer)
{
    initialize();
    for (std::size_t i = 0; i < McpServer::maxPendingCalls; ++i) {
        message(request(static_cast<int>(i), "tools/call", {{"name", "wait_until_interruptible"}}));
    }
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(callTool("wait_until_interruptible", json::object(), "one more")["result"]["isError"], true);
    expectPingAnswered();
    backend.interruptible.waiting.at(0)(true);
    EXPECT_EQ(reply()["id"], 0);
    message(request("now", "tools/call", {{"name", "wait_until_interruptible"}}));
    EXPECT_TRUE(sent.empty()) << "a place came free";
    EXPECT_EQ(server->pendingCallCount(), McpServer::maxPendingCalls);
}

TEST_F(McpServerTest, ProgressIsReportedForWaitingCallsThatAskedForIt)
{
    initialize();
    message(request(1, "tools/call", {{"name", "wait_until_interruptible"}, {"_meta", {{"progressToken", "p"}}}}));
    message(request(2, "tools/call", {{"name", "wait_until_interruptible"}}));
    server->reportProgress();
    server->reportProgress();
    ASSERT_EQ(sent.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(sent[i]["method"], "notifications/progress");
        EXPECT_EQ(sent[i]["params"]["progressToken"], "p");
        EXPECT_EQ(sent[i]["params"]["progress"], i + 1) << "progress must grow";
    }
    sent.clear();
    backend.interruptible.waiting.at(0)(true);
    (void)reply();
    server->reportProgress();
    EXPECT_TRUE(sent.empty()) << "an answered call reports nothing";
}

TEST_F(McpServerTest, TheAgentStateResourceIsListedAndRead)
{
    initialize();
    const json resources = call(1, "resources/list")["result"]["resources"];
    ASSERT_EQ(resources.size(), 1u);
    EXPECT_EQ(resources[0]["uri"], "quillmere://agent-state");
    EXPECT_EQ(resources[0]["mimeType"], "application/json");
    EXPECT_TRUE(resources[0]["name"].is_string());

    const json contents = call(2, "resources/read", {{"uri", "quillmere://agent-state"}})["result"]["contents"];
    ASSERT_EQ(contents.size(), 1u);
    EXPECT_EQ(contents[0]["uri"], "quillmere://agent-state");
    EXPECT_EQ(contents[0]["mimeType"], "application/json");
    EXPECT_EQ(json::parse(contents[0]["text"].get<std::string>()), agentDocument);

    backend.state.immediate = std::unexpected("No agent state: Quillmere has never run");
    const json failed = call(3, "resources/read", {{"uri", "quillmere://agent-state"}});
    EXPECT_EQ(failed["error"]["code"], JsonRpcError::internalError);
    EXPECT_EQ(failed["error"]["message"], "No agent state: Quillmere has never run");
}

TEST_F(McpServerTest, AStateChangeNotifiesOnlyASubscribedClientOncePerChange)
{
    initialize();
    server->agentStateChanged();
    EXPECT_TRUE(sent.empty()) << "no notification without a subscription";

    EXPECT_EQ(call(1, "resources/subscribe", {{"uri", "quillmere://agent-state"}})["result"], json::object());
    server->agentStateChanged();
    EXPECT_EQ(reply(),
              (json{{"jsonrpc", "2.0"},
                    {"method", "notifications/resources/updated"},
                    {"params", {{"uri", "quillmere://agent-state"}}}}));
    server->agentStateChanged();
    EXPECT_EQ(sent.size(), 1u);
    sent.clear();

    EXPECT_EQ(call(2, "resources/unsubscribe", {{"uri", "quillmere://agent-state"}})["result"], json::object());
    server->agentStateChanged();
    EXPECT_TRUE(sent.empty());
}

TEST_F(McpServerTest, TextsThatAreNotUtf8StillLeaveAsOneValidLine)
{
    initialize();
    backend.status.immediate = QuestionStatus{true, "line one\nline two \xff\xfe"};
    const json answered = callTool("get_answer", {{"id", "q-1"}})["result"];
    EXPECT_EQ(answered["structuredContent"]["answer"], "line one\nline two \ufffd\ufffd");
}

} // namespace
} // namespace quillmere
