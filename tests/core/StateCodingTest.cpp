// SPDX-License-Identifier: GPL-3.0-or-later
#include "DecodingAgreement.h"
#include "StateFixtures.h"
#include "quillmere/StateCoding.h"

#include <gtest/gtest.h>

namespace quillmere {
namespace {

using nlohmann::json;
using namespace std::chrono_literals;

std::string encoded(const QuillmereState& state)
{
    auto text = encodeState(state);
    EXPECT_TRUE(text) << text.error().description();
    return text.value_or("");
}

json fileTree(const QuillmereState& state)
{
    return json::parse(encoded(state));
}

// Decodes a document made by editing the file form of `state`.
std::expected<QuillmereState, CodingError> decodeEdited(const QuillmereState& state,
                                                        const std::function<void(json&)>& edit)
{
    json tree = fileTree(state);
    edit(tree);
    return decodeState(tree.dump());
}

TEST(StateCoding, GeneratedStatesRoundTripWithInstantsTruncated)
{
    fixtures::StateGenerator generate(20261208);
    for (int i = 0; i < 500; ++i) {
        const QuillmereState state = generate.state();
        const std::string text = encoded(state);
        const auto decoded = decodeState(text);
        ASSERT_TRUE(decoded) << decoded.error().description();
        ASSERT_EQ(*decoded, fixtures::truncatedToWholeSeconds(state)) << text;
        ASSERT_EQ(encoded(*decoded), text);
    }
}

TEST(StateEncoder, ReusedHistoryTextIsByteForByteThePlainEncoding)
{
    fixtures::StateGenerator generate(77);
    StateEncoder encoder;
    QuillmereState state = generate.state();
    const auto check = [&](const char* step) {
        SCOPED_TRACE(step);
        EXPECT_EQ(encoder.encode(state), encodeState(state));
    };
    for (int round = 0; round < 40; ++round) {
        check("as generated");
        check("unchanged");
        state.blockHistory.insert(state.blockHistory.begin(), generate.block()); // a block completed
        check("block added in front");
        if (!state.blockHistory.empty()) {
            state.blockHistory.back().contextNotes += " edited";
            check("history entry edited");
        }
        if (state.blockHistory.size() > 2) {
            state.blockHistory.erase(state.blockHistory.begin() + 1);
            check("block removed");
        }
        if (round % 5 == 0) {
            state.blockHistory.push_back(state.blockHistory.front()); // a damaged file repeats an id
            check("identifier repeated");
            state.blockHistory.clear();
            check("history emptied");
        }
        state.workflowState = static_cast<WorkflowState>(generate.pick(0, 7));
        state.updatedAt = generate.instant();
        check("root changed");
    }
}

TEST(StateEncoder, NonFiniteNumberInHistoryFailsLikeThePlainEncoding)
{
    QuillmereState state = fixtures::everyOptionalPresent();
    state.blockHistory.push_back(state.blockHistory.front());
    state.blockHistory[1].id = Uuid::generate();
    state.blockHistory[1].focusDurationSeconds = std::numeric_limits<double>::infinity();
    StateEncoder encoder;
    const auto cached = encoder.encode(state);
    ASSERT_FALSE(cached);
    EXPECT_EQ(cached.error(), encodeState(state).error());
    EXPECT_EQ(cached.error().path, "block_history[1].focus_duration_seconds");
}

TEST(StateCoding, WritesSnakeCaseKeysWholeSecondZuluInstantsAndOmitsAbsentOptionals)
{
    QuillmereState full = fixtures::everyOptionalPresent();
    full.updatedAt += 750ms;
    const std::string text = encoded(full);
    EXPECT_NE(text.find("\"planned_next_session\": {"), std::string::npos);
    EXPECT_NE(text.find("\"block_outcome_id\": \"00000000-0000-4000-8000-000000000002\""), std::string::npos);
    EXPECT_NE(text.find("\"updated_at\": \"2026-03-02T10:30:00Z\""), std::string::npos);
    EXPECT_NE(text.find("\"accumulated_paused_seconds\": 59.5"), std::string::npos);
    EXPECT_NE(text.find("\"planned_duration_seconds\": 1500,"), std::string::npos);
    EXPECT_NE(text.find("Novel: a/b path"), std::string::npos);
    EXPECT_EQ(text.find("Id\""), std::string::npos);

    const json absent = fileTree(fixtures::everyOptionalAbsent());
    for (const char* key : {"current_block", "planned_next_session", "break_started_at", "break_end_notified_at"}) {
        EXPECT_FALSE(absent.contains(key)) << key;
    }
    const json& block = absent["block_history"][0];
    for (const char* key : {"planned_start", "reflection", "completed_at", "scheduled_start_triggered_at"}) {
        EXPECT_FALSE(block.contains(key)) << key;
    }
    const json& session = block["sessions"][0];
    for (const char* key : {"paused_at", "ended_at", "review"}) {
        EXPECT_FALSE(session.contains(key)) << key;
    }
    EXPECT_FALSE(session["plan"].contains("block_outcome_id"));
    EXPECT_FALSE(absent["agent_questions"][0].contains("answer"));
}

TEST(StateCoding, NullAndMissingOptionalsBothReadAsAbsent)
{
    const QuillmereState full = fixtures::everyOptionalPresent();
    const auto decoded = decodeEdited(full, [](json& tree) {
        tree["current_block"] = nullptr;
        tree.erase("planned_next_session");
        tree["break_started_at"] = nullptr;
        tree["block_history"][0]["reflection"] = nullptr;
        tree["agent_questions"][0]["answer"] = nullptr;
    });
    ASSERT_TRUE(decoded) << decoded.error().description();
    EXPECT_FALSE(decoded->currentBlock);
    EXPECT_FALSE(decoded->plannedNextSession);
    EXPECT_FALSE(decoded->breakStartedAt);
    EXPECT_FALSE(decoded->blockHistory[0].reflection);
    EXPECT_FALSE(decoded->agentQuestions[0].answer);
    const json again = fileTree(*decoded);
    EXPECT_FALSE(again.contains("current_block") || again.contains("planned_next_session") ||
                 again.contains("break_started_at"));
}

TEST(StateCoding, OnlyStateAndReviewIdentifiersAreFilledIn)
{
    const QuillmereState full = fixtures::everyOptionalPresent();
    for (const bool null : {false, true}) {
        const auto decoded = decodeEdited(full, [null](json& tree) {
            json& reviewed = tree["current_block"]["sessions"][0]["review"];
            if (null) {
                tree["id"] = nullptr;
                reviewed["id"] = nullptr;
            } else {
                tree.erase("id");
                reviewed.erase("id");
            }
        });
        ASSERT_TRUE(decoded) << decoded.error().description();
        EXPECT_NE(decoded->id, full.id);
        EXPECT_NE(decoded->id, Uuid());
        EXPECT_NE(decoded->currentBlock->sessions[0].review->id, Uuid());
        EXPECT_NE(encoded(*decoded).find(decoded->id.toString()), std::string::npos);
    }

    const std::pair<std::function<json&(json&)>, const char*> required[] = {
        {[](json& t) -> json& { return t["current_block"]; }, "current_block.id"},
        {[](json& t) -> json& { return t["current_block"]["outcomes"][0]; }, "current_block.outcomes[0].id"},
        {[](json& t) -> json& { return t["current_block"]["sessions"][1]; }, "current_block.sessions[1].id"},
        {[](json& t) -> json& { return t["current_block"]["sessions"][1]["plan"]; },
         "current_block.sessions[1].plan.id"},
        {[](json& t) -> json& { return t["planned_next_session"]; }, "planned_next_session.id"},
        {[](json& t) -> json& { return t["block_history"][0]; }, "block_history[0].id"},
        {[](json& t) -> json& { return t["agent_questions"][0]; }, "agent_questions[0].id"},
    };
    for (const auto& [locate, path] : required) {
        SCOPED_TRACE(path);
        const auto decoded = decodeEdited(full, [&locate](json& tree) { locate(tree).erase("id"); });
        ASSERT_FALSE(decoded);
        EXPECT_EQ(decoded.error().description(), std::string("key \"") + path + "\": is missing");
    }
}

TEST(StateCoding, ReadsIdentifiersInEitherCase)
{
    const QuillmereState full = fixtures::everyOptionalPresent();
    const auto decoded = decodeEdited(full, [](json& tree) { tree["id"] = "0a1b2c3d-4e5f-4a7b-8c9d-0e1f2a3b4c5d"; });
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->id.toString(), "0A1B2C3D-4E5F-4A7B-8C9D-0E1F2A3B4C5D");
}

TEST(StateCoding, IgnoresUnknownKeysAndMakesNoRangeChecks)
{
    QuillmereState state = fixtures::everyOptionalPresent();
    state.plannedNextSession->energy = 0;
    state.plannedNextSession->morale = 99;
    state.currentBlock->cycleCount = -3;
    state.currentBlock->focusDurationSeconds = -1;
    state.currentBlock->sessions[0].number = 42;
    const auto decoded = decodeEdited(state, [](json& tree) {
        tree["future_field"] = json{{"anything", json::array({1, 2})}};
        tree["current_block"]["colour"] = "teal";
    });
    ASSERT_TRUE(decoded) << decoded.error().description();
    EXPECT_EQ(*decoded, state);
}

TEST(StateCoding, UnknownMembersAreNamedAtEveryLevelAndNullsAreNoData)
{
    const QuillmereState state = fixtures::everyOptionalPresent();
    json tree = fileTree(state);
    tree["future_feature"] = json{{"anything", json::array({1, 2})}};
    tree["current_block"]["colour"] = "teal";
    tree["current_block"]["sessions"][1]["plan"]["mood"] = 4;
    tree["agent_questions"][0]["priority"] = "high";
    tree["block_history"][0]["reflection"]["unused"] = nullptr;
    tree["planned_next_session"]["block_outcome_id"] = nullptr;

    const auto decoded = decodeStateNotingUnknownMembers(tree.dump());
    ASSERT_TRUE(decoded) << decoded.error().description();
    EXPECT_EQ(decoded->unknownMembers,
              (std::vector<std::string>{"agent_questions[0].priority", "current_block.colour",
                                        "current_block.sessions[1].plan.mood", "future_feature"}));

    const auto plain = decodeStateNotingUnknownMembers(encoded(state));
    ASSERT_TRUE(plain);
    EXPECT_TRUE(plain->unknownMembers.empty());
    EXPECT_FALSE(decodeStateNotingUnknownMembers("{}"));
}

// The quick decoder must read whatever it takes exactly as the tree does, and
// leave to the tree what only the tree settles. Whether it takes a document
// matters too: a quick way that gave up on ordinary files would be no faster.
TEST(StateCoding, QuickDecodingReadsExactlyWhatTheTreeReads)
{
    const QuillmereState full = fixtures::everyOptionalPresent();
    const auto edited = [&full](const std::function<void(json&)>& edit) {
        json tree = fileTree(full);
        edit(tree);
        return tree.dump();
    };
    // Members written straight into the root object's text, where a tree
    // could not hold them (the same key twice).
    const auto withRootMembers = [&full](const std::string& members) {
        std::string text = encoded(full);
        return text.insert(1, members + ",");
    };
    // Numbers written as given, where the tree would write its own form of them.
    const auto withNumbers = [&full](const std::vector<std::pair<std::string, std::string>>& numbers) {
        json tree = fileTree(full);
        for (const auto& [path, number] : numbers) {
            json::json_pointer pointer;
            std::string key;
            for (const char c : path + ".") {
                if (c == '.' || c == '[' || c == ']') {
                    if (!key.empty()) {
                        pointer /= key;
                    }
                    key.clear();
                } else {
                    key += c;
                }
            }
            tree[pointer] = "number:" + path;
        }
        std::string text = tree.dump();
        for (const auto& [path, number] : numbers) {
            const std::string placeholder = "\"number:" + path + "\"";
            text.replace(text.find(placeholder), placeholder.size(), number);
        }
        return text;
    };
    const auto nested = [](std::size_t depth) { return std::string(depth, '[') + std::string(depth, ']'); };
    std::string escapedTexts = encoded(full);
    const std::string textKey = "\"why_value\": \"";
    escapedTexts.insert(escapedTexts.find(textKey) + textKey.size(), R"(\u00e9\ud83d\ude42\u0000\/\"\\\t)");
    json manyMembers = json::object();
    for (int i = 0; i < 70; ++i) {
        manyMembers["future_" + std::to_string(i)] = i;
    }

    struct Case {
        const char* name;
        std::string bytes;
        bool quick;
    };
    const Case cases[] = {
        {"every optional present", encoded(full), true},
        {"every optional absent", encoded(fixtures::everyOptionalAbsent()), true},
        {"nulls and made-up identifiers",
         edited([](json& t) {
             t.erase("id");
             t["current_block"]["sessions"][0]["review"]["id"] = nullptr;
             t["block_history"][0]["sessions"][0]["review"].erase("id");
             t["planned_next_session"]["block_outcome_id"] = nullptr;
             t["break_started_at"] = nullptr;
         }),
         true},
        {"unknown members at every level, null ones too",
         edited([](json& t) {
             t["future_feature"] = json{{"anything", json::array({1, 2})}};
             t["current_block"]["sessions"][1]["plan"]["mood"] = 4;
             t["block_history"][0]["outcomes"][0]["weight"] = 0.5;
             t["block_history"][0]["reflection"]["unused"] = nullptr;
             t["agent_questions"][0]["priority"] = "high";
         }),
         true},
        {"other spellings of known and unknown keys",
         edited([](json& t) {
             t["workflowState"] = t["workflow_state"];
             t.erase("workflow_state");
             t["block__history"] = t["block_history"];
             t.erase("block_history");
             t["current_block"]["whyValue_"] = "kept aside";
             t["_private"] = 1;
             t["Future_Thing"] = 2;
             t[""] = 3;
             t["__"] = 4;
         }),
         true},
        {"numbers as simdjson and the tree each hold them",
         withNumbers({{"current_block.cycle_count", "3.0"},
                      {"planned_next_session.energy", "-0"},
                      {"planned_next_session.morale", "-9007199254740992.0"},
                      {"current_block.focus_duration_seconds", "1e-400"},
                      {"current_block.break_duration_seconds", "0.1e1"},
                      {"break_extension_seconds", "9223372036854775808"},
                      {"current_block.sessions[0].number", "-9223372036854775808"},
                      {"current_block.sessions[1].planned_duration_seconds", "1500.000000000000000000001"},
                      {"current_block.sessions[1].accumulated_paused_seconds", "4.9e-324"}}),
         true},
        {"escaped texts", escapedTexts, true},
        {"an unknown member as deep as the tree allows", withRootMembers("\"future\": " + nested(255)), true},
        {"an unknown member deeper", withRootMembers("\"future\": " + nested(256)), false},
        {"a key written twice", withRootMembers(R"("workflow_state": "focusing")"), false},
        {"two spellings of one member", withRootMembers(R"("workflowState": "focusing")"), false},
        {"two spellings of one unknown member", withRootMembers(R"("future_x": 1, "futureX": 2)"), false},
        {"a null beside another spelling", withRootMembers(R"("future_y": null, "futureY": 5)"), false},
        {"more members than the quick way marks", edited([&manyMembers](json& t) { t.update(manyMembers); }),
         false},
        {"a byte order mark", "\xEF\xBB\xBF" + encoded(full), false},
        {"an integer past 64 bits as seconds", withNumbers({{"break_extension_seconds", "18446744073709551616"}}),
         false},
        {"a fraction for an integer", edited([](json& t) { t["current_block"]["cycle_count"] = 2.5; }), false},
        {"a text for a number", edited([](json& t) { t["break_extension_seconds"] = "60"; }), false},
        {"a missing member", edited([](json& t) { t.erase("updated_at"); }), false},
        {"an array for the state", "[]", false},
        {"not JSON", encoded(full).substr(0, 100), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto compared = fixtures::compareDecodings(c.bytes);
        EXPECT_TRUE(compared.agree) << compared.difference;
        EXPECT_EQ(compared.quick, c.quick);
    }

    fixtures::StateGenerator generate(20261209);
    for (int i = 0; i < 200; ++i) {
        const std::string text = encoded(generate.state());
        SCOPED_TRACE(text);
        const auto compared = fixtures::compareDecodings(text);
        ASSERT_TRUE(compared.quick);
        ASSERT_TRUE(compared.agree) << compared.difference;
    }
}

TEST(StateCoding, EnumerationTextsAreExactAndCaseSensitive)
{
    const QuillmereState full = fixtures::everyOptionalPresent();
    const auto half = decodeEdited(full, [](json& t) { t["current_block"]["sessions"][0]["review"]["completion"] = "Half"; });
    ASSERT_TRUE(half);
    EXPECT_EQ(half->currentBlock->sessions[0].review->completion, CompletionResult::half);

    const auto phase = decodeEdited(full, [](json& t) { t["workflow_state"] = "Breaking"; });
    ASSERT_FALSE(phase);
    EXPECT_EQ(phase.error().description(), "key \"workflow_state\": unknown value \"Breaking\"");

    const auto completion =
        decodeEdited(full, [](json& t) { t["current_block"]["sessions"][0]["review"]["completion"] = "yes"; });
    ASSERT_FALSE(completion);
    EXPECT_EQ(completion.error().description(),
              "key \"current_block.sessions[0].review.completion\": unknown value \"yes\"");
}

TEST(StateCoding, BadValuesFailTheWholeReadAndNameTheKey)
{
    struct Case {
        const char* name;
        std::function<void(json&)> edit;
        std::string expected;
    };
    const Case cases[] = {
        {"text as number", [](json& t) { t["current_block"]["why_value"] = 7; },
         "key \"current_block.why_value\": expected text, found the number 7"},
        {"list as object", [](json& t) { t["block_history"] = json::object(); },
         "key \"block_history\": expected an array, found an object"},
        {"record as text", [](json& t) { t["planned_next_session"] = "plan"; },
         "key \"planned_next_session\": expected an object, found text \"plan\""},
        {"fractional rating", [](json& t) { t["planned_next_session"]["energy"] = 2.5; },
         "key \"planned_next_session.energy\": expected a whole number, found 2.5"},
        {"huge count", [](json& t) { t["current_block"]["cycle_count"] = json::parse("99999999999999999999"); },
         "key \"current_block.cycle_count\": the number 1e+20 is too large for a 64-bit integer"},
        {"seconds as text", [](json& t) { t["break_extension_seconds"] = "60"; },
         "key \"break_extension_seconds\": expected a number of seconds, found text \"60\""},
        {"fractional instant", [](json& t) { t["updated_at"] = "2026-03-02T09:30:00.250Z"; },
         "key \"updated_at\": \"2026-03-02T09:30:00.250Z\" is not a date-time of the form 2026-03-02T09:30:00Z"},
        {"instant without zone", [](json& t) { t["current_block"]["sessions"][1]["started_at"] = "2026-03-02T09:30:00"; },
         "key \"current_block.sessions[1].started_at\": \"2026-03-02T09:30:00\" is not a date-time of the form "
         "2026-03-02T09:30:00Z"},
        {"instant as number", [](json& t) { t["break_started_at"] = 1700000000; },
         "key \"break_started_at\": expected text, found the number 1700000000"},
        {"bad identifier", [](json& t) { t["agent_questions"][0]["id"] = "not-a-uuid"; },
         "key \"agent_questions[0].id\": \"not-a-uuid\" is not an identifier"},
        {"required null", [](json& t) { t["block_history"][0]["sessions"][0]["plan"]["first_action"] = nullptr; },
         "key \"block_history[0].sessions[0].plan.first_action\": must have a value, found null"},
        {"boolean phase", [](json& t) { t["workflow_state"] = false; },
         "key \"workflow_state\": expected text, found false"},
    };
    const QuillmereState full = fixtures::everyOptionalPresent();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto decoded = decodeEdited(full, c.edit);
        ASSERT_FALSE(decoded);
        EXPECT_EQ(decoded.error().description(), c.expected);
    }
}

TEST(StateCoding, EveryTruncationOfAFileIsRefused)
{
    const std::string text = encoded(fixtures::everyOptionalPresent());
    // Every cut near both ends, a spread of cuts in between.
    for (std::size_t length = 0; length < text.size(); length += (length < 300 || length + 300 > text.size()) ? 1 : 7) {
        const auto decoded = decodeState(std::string_view(text).substr(0, length));
        ASSERT_FALSE(decoded) << length;
        EXPECT_FALSE(decoded.error().description().empty());
    }
}

TEST(StateCoding, HostileBytesAreReportedNotCrashed)
{
    const std::string cases[] = {
        std::string(100000, '{'),
        std::string(100000, '['),
        "{\"workflow_state\": \"idle\xFF\"}",
        "{\"workflow_state\": \"idle\", \"block_history\": [], \"break_extension_seconds\": 1e400}",
        std::string("\0\0\0", 3),
        "\xEF\xBB\xBF{}",
        "null",
        "{} {}",
    };
    for (const std::string& bytes : cases) {
        SCOPED_TRACE(bytes.substr(0, 30));
        const auto decoded = decodeState(bytes);
        ASSERT_FALSE(decoded);
        EXPECT_FALSE(decoded.error().description().empty());
    }
}

} // namespace
} // namespace quillmere
