// SPDX-License-Identifier: GPL-3.0-or-later
#include "StateFixtures.h"
#include "TempFolder.h"
#include "quillmere/HistoryExport.h"
#include "quillmere/StateCoding.h"

#include <gtest/gtest.h>

#include <map>

namespace quillmere {
namespace {

using fixtures::fixedId;
using fixtures::TempFolder;
using nlohmann::json;
using namespace std::chrono;
using namespace std::chrono_literals;

const Instant T = utcInstant(2026, 3, 2, 12, 0, 0);

std::string exported(const QuillmereState& state, ExportFormat format, const ExportRange& range, const TimeZone& zone,
                     Instant now)
{
    auto text = exportHistory(state, format, range, zone, now);
    EXPECT_TRUE(text) << text.error().description();
    return text.value_or("");
}

// A completed block with one reviewed session in the history, and a current
// block whose session is paused.
QuillmereState reviewedAndPaused()
{
    const SessionPlan plan{fixedId(10), fixedId(3), "Draft", "Open parser.cpp", "Mail: closed", "Novel", 4, 2};
    const SessionReview review{fixedId(11), CompletionResult::half, "Half done", "Chat", "Mute chat"};
    Block done = Block::defaultBlock(T);
    done.id = fixedId(1);
    done.outcomes = {Outcome{fixedId(2), "Parser works"}, Outcome{fixedId(3), "Tests, \"green\""}};
    done.sessions = {WorkSession{fixedId(12), 1, plan, T + 60s, 1500, std::nullopt, 59.5, T + 1620s, review}};
    done.completedAt = T + 3000s;

    Block current = Block::defaultBlock(T + 4000s);
    current.id = fixedId(4);
    SessionPlan blank = SessionPlan::blank(fixedId(14));
    blank.blockOutcomeID = fixedId(99); // no such outcome
    // Paused 100 s after its start, with more pauses than that before (a
    // hand-edited file).
    current.sessions = {WorkSession{fixedId(13), 1, blank, T + 4100s, 3000, T + 4200s, 130, std::nullopt, std::nullopt}};

    QuillmereState state = QuillmereState::initial(T);
    state.workflowState = WorkflowState::focusing;
    state.blockHistory = {done};
    state.currentBlock = current;
    return state;
}

TEST(HistoryExport, CsvHasAHeaderAndARowPerSessionInLocalTimeWithMinutes)
{
    const std::string csv = exported(reviewedAndPaused(), ExportFormat::csv, {}, TimeZone::fixed(-210min), T + 4500s);
    EXPECT_EQ(csv,
              "block_id,block_created_at,block_completed_at,block_outcomes,session_id,session_number,started_at,"
              "ended_at,planned_minutes,focus_minutes,paused_minutes,block_outcome,intended_outcome,first_action,"
              "hazards_mitigation,nicu_framing,energy,morale,completion,noteworthy_result,distractions,improvement\r\n"
              // Focus is the run less the pauses: 1560 s - 59.5 s.
              "00000000-0000-4000-8000-000000000001,2026-03-02T08:30:00-03:30,2026-03-02T09:20:00-03:30,"
              "\"Parser works\nTests, \"\"green\"\"\",00000000-0000-4000-8000-000000000012,1,"
              "2026-03-02T08:31:00-03:30,2026-03-02T08:57:00-03:30,25,25.01,0.99,\"Tests, \"\"green\"\"\",Draft,"
              "Open parser.cpp,Mail: closed,Novel,4,2,Half,Half done,Chat,Mute chat\r\n"
              // Focus stops at the pause and never goes below zero; the pause
              // in progress counts up to now.
              "00000000-0000-4000-8000-000000000004,2026-03-02T09:36:40-03:30,,,"
              "00000000-0000-4000-8000-000000000013,1,2026-03-02T09:38:20-03:30,,50,0,7.17,,,,,,3,3,,,,\r\n");
}

TEST(HistoryExport, CsvQuotesOnlyFieldsThatNeedItAndKeepsEveryCharacter)
{
    const struct {
        const char* name;
        std::string text;
        std::string field;
    } cases[] = {
        {"plain", "Draft", "Draft"},
        {"empty", "", ""},
        {"comma", "a, b", "\"a, b\""},
        {"quotes doubled", "say \"hi\"", "\"say \"\"hi\"\"\""},
        {"a lone quote", "\"", "\"\"\"\""},
        {"line feed", "one\ntwo", "\"one\ntwo\""},
        {"carriage return", "one\rtwo", "\"one\rtwo\""},
        {"both line ends", "one\r\ntwo\n", "\"one\r\ntwo\n\""},
        {"Japanese", "表を作る", "表を作る"},
        {"French quotes are letters", "Écrire «la» note", "Écrire «la» note"},
        {"spaces kept", "  padded  ", "  padded  "},
        {"semicolon and tab are no separators", "a;b\tc", "a;b\tc"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QuillmereState state = reviewedAndPaused();
        state.blockHistory.front().sessions.front().plan.intendedOutcome = c.text;
        const std::string csv = exported(state, ExportFormat::csv, {}, TimeZone::fixed(0s), T + 4500s);
        EXPECT_NE(csv.find(",\"Tests, \"\"green\"\"\"," + c.field + ",Open parser.cpp,"), std::string::npos) << csv;
        EXPECT_FALSE(csv.starts_with("\xEF\xBB\xBF"));
    }
}

// The session identifiers of a CSV's rows, for exports whose texts hold no
// separators.
std::vector<Uuid> sessionIds(const std::string& csv)
{
    std::vector<Uuid> ids;
    std::size_t line = csv.find("\r\n") + 2;
    while (line < csv.size()) {
        std::size_t field = line;
        for (int i = 0; i < 4; ++i) {
            field = csv.find(',', field) + 1;
        }
        ids.push_back(*Uuid::parse(std::string_view(csv).substr(field, 36)));
        line = csv.find("\r\n", line) + 2;
    }
    return ids;
}

std::vector<Uuid> blockIds(const std::vector<Block>& blocks)
{
    std::vector<Uuid> ids;
    for (const Block& block : blocks) {
        ids.push_back(block.id);
    }
    return ids;
}

Block blockWithSession(int id, Instant start, std::optional<Instant> end, std::optional<Instant> completed)
{
    Block block = Block::defaultBlock(start - 10min);
    block.id = fixedId(id);
    WorkSession session{fixedId(id + 10), 1, SessionPlan::blank(fixedId(id + 20)), start, 1500, std::nullopt, 0,
                        end, std::nullopt};
    block.sessions = {session};
    block.completedAt = completed;
    return block;
}

TEST(HistoryExport, RangeTakesSessionsByTheLocalDayTheyStartedAndBlocksBySessionOrCompletion)
{
    // Five hours behind UTC: session a starts on 1 March here, on 2 March in
    // UTC, and runs past local midnight.
    const TimeZone zone = TimeZone::fixed(-5h);
    const Block a = blockWithSession(1, utcInstant(2026, 3, 2, 3, 30), utcInstant(2026, 3, 2, 5, 40),
                                     utcInstant(2026, 3, 2, 5, 45));
    const Block b = blockWithSession(2, utcInstant(2026, 3, 3, 15), utcInstant(2026, 3, 3, 15, 25),
                                     utcInstant(2026, 3, 3, 15, 30));
    // Started late on 4 March, completed early on 5 March.
    const Block c = blockWithSession(3, utcInstant(2026, 3, 5, 4, 50), utcInstant(2026, 3, 5, 5, 15),
                                     utcInstant(2026, 3, 5, 5, 30));
    const Block d = blockWithSession(4, utcInstant(2026, 3, 6, 14, 5), std::nullopt, std::nullopt);
    Block e = Block::defaultBlock(utcInstant(2026, 3, 2, 14));
    e.id = fixedId(5);
    QuillmereState state = QuillmereState::initial(T);
    state.workflowState = WorkflowState::focusing;
    state.blockHistory = {c, b, e, a};
    state.currentBlock = d;
    const Instant now = utcInstant(2026, 3, 6, 14, 20);

    const auto day = [](unsigned n) { return local_days{2026y / March / std::chrono::day(n)}; };
    const Uuid A = a.id, B = b.id, C = c.id, D = d.id, E = e.id;
    const Uuid sa = fixedId(11), sb = fixedId(12), sc = fixedId(13), sd = fixedId(14);
    const struct {
        const char* name;
        ExportRange range;
        std::vector<Uuid> sessions;
        std::vector<Uuid> blocks;
    } cases[] = {
        {"everything, oldest first", {}, {sa, sb, sc, sd}, {A, E, B, C, D}},
        {"until the local day a started, not its UTC day", {std::nullopt, day(1)}, {sa}, {A}},
        {"a day with a completion and a block without sessions", {day(2), day(2)}, {}, {A, E}},
        {"open end", {day(2), std::nullopt}, {sb, sc, sd}, {A, E, B, C, D}},
        {"the day c started", {day(4), day(4)}, {sc}, {C}},
        {"the day c was completed", {day(5), day(5)}, {}, {C}},
        {"the current block", {day(6), day(6)}, {sd}, {D}},
        {"nothing yet", {day(7), std::nullopt}, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(sessionIds(exported(state, ExportFormat::csv, c.range, zone, now)), c.sessions);
        const auto blocks = decodeExportedBlocks(exported(state, ExportFormat::json, c.range, zone, now));
        ASSERT_TRUE(blocks) << blocks.error().description();
        EXPECT_EQ(blockIds(*blocks), c.blocks);
    }
}

TEST(HistoryExport, JsonHoldsEachBlockAsTheStateFileDoesAndReadsBackWhole)
{
    const Instant now = utcInstant(2026, 1, 10, 18);
    QuillmereState state = fixtures::everyOptionalPresent();
    state.blockHistory = fixtures::workedHistory(60, now);
    // Texts with quotes, backslashes, control characters and emoji.
    fixtures::StateGenerator generate(2026);
    for (int i = 0; i < 10; ++i) {
        state.blockHistory.push_back(fixtures::truncatedToWholeSeconds(generate.block()));
    }

    const std::string text = exported(state, ExportFormat::json, {}, TimeZone::fixed(1h), now);
    const auto decoded = decodeExportedBlocks(text);
    ASSERT_TRUE(decoded) << decoded.error().description();

    std::map<Uuid, Block> expected{{state.currentBlock->id, *state.currentBlock}};
    for (const Block& block : state.blockHistory) {
        expected.emplace(block.id, block);
    }
    ASSERT_EQ(decoded->size(), expected.size());
    const json stateFile = json::parse(*encodeState(state));
    std::map<std::string, json> stored{
        {stateFile["current_block"]["id"].get<std::string>(), stateFile["current_block"]}};
    for (const json& block : stateFile["block_history"]) {
        stored.emplace(block["id"].get<std::string>(), block);
    }
    const json exportedTree = json::parse(text);
    for (std::size_t i = 0; i < decoded->size(); ++i) {
        const Block& block = (*decoded)[i];
        SCOPED_TRACE(block.id.toString());
        EXPECT_EQ(block, expected.at(block.id));
        EXPECT_EQ(exportedTree[i], stored.at(block.id.toString()));
        if (i > 0 && !block.sessions.empty() && !(*decoded)[i - 1].sessions.empty()) {
            EXPECT_LE((*decoded)[i - 1].sessions.front().startedAt, block.sessions.front().startedAt);
        }
    }
    // Laid out as the state file's writer lays out a whole tree.
    EXPECT_EQ(text, exportedTree.dump(2) + "\n");

    state.currentBlock->sessions.back().plannedDurationSeconds = std::numeric_limits<double>::infinity();
    const auto refused = exportHistory(state, ExportFormat::json, {}, TimeZone::fixed(1h), now);
    ASSERT_FALSE(refused);
    const auto current = std::ranges::find(*decoded, state.currentBlock->id, &Block::id) - decoded->begin();
    EXPECT_EQ(refused.error().path, "[" + std::to_string(current) + "].sessions[1].planned_duration_seconds");
}

TEST(HistoryExport, DecodingRefusesAnythingButAnArrayOfBlocksNamingTheFault)
{
    json valid = json::parse(exported(reviewedAndPaused(), ExportFormat::json, {}, TimeZone::fixed(0s), T));
    json badRating = valid;
    badRating[1]["sessions"][0]["plan"]["energy"] = "high";
    json noId = valid;
    noId[0].erase("id");
    const struct {
        const char* name;
        std::string bytes;
        std::string path;
        std::string reason;
    } cases[] = {
        {"an object", "{}", "", "the document is not a JSON array of blocks"},
        {"a number in the array", "[1]", "[0]", "expected an object, found the number 1"},
        {"not JSON", "[{", "", "not valid JSON"},
        {"a bad rating", badRating.dump(), "[1].sessions[0].plan.energy", "expected"},
        {"a missing identifier", noId.dump(), "[0].id", "is missing"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto decoded = decodeExportedBlocks(c.bytes);
        ASSERT_FALSE(decoded);
        EXPECT_EQ(decoded.error().path, c.path);
        EXPECT_NE(decoded.error().reason.find(c.reason), std::string::npos) << decoded.error().reason;
    }
}

TEST(HistoryExport, WriteNeverReplacesUnlessAskedAndLeavesNothingBehindAFailure)
{
    const struct {
        const char* name;
        const char* destination;
        bool replaceExisting;
        std::optional<std::errc> error;
        std::string contents;
    } cases[] = {
        {"a new file", "new.csv", false, std::nullopt, "export"},
        {"an existing file is kept", "old.csv", false, std::errc::file_exists, "old"},
        {"an existing file replaced when asked", "old.csv", true, std::nullopt, "export"},
        {"a missing folder", "absent/new.csv", true, std::errc::no_such_file_or_directory, "<missing>"},
        {"a file for a folder", "old.csv/new.csv", false, std::errc::not_a_directory, "<missing>"},
        {"a folder in the way, even when replacing", "folder", true, std::errc::is_a_directory, "<missing>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder temp;
        fixtures::writeFile(temp.path() / "old.csv", "old");
        std::filesystem::create_directory(temp.path() / "folder");
        const std::filesystem::path destination = temp.path() / c.destination;

        const FileResult written = writeExport(destination, "export", c.replaceExisting);
        ASSERT_EQ(written.has_value(), !c.error.has_value());
        if (c.error) {
            EXPECT_EQ(written.error().code, std::make_error_code(*c.error));
            EXPECT_EQ(written.error().path, destination);
        } else {
            EXPECT_EQ(fixtures::modeOf(destination), 0600U);
        }
        EXPECT_EQ(fixtures::contents(destination), c.contents);
        const std::vector<std::string> entries = c.destination == std::string_view("new.csv")
                                                     ? std::vector<std::string>{"folder", "new.csv", "old.csv"}
                                                     : std::vector<std::string>{"folder", "old.csv"};
        EXPECT_EQ(TempFolder::entries(temp.path()), entries);
        EXPECT_EQ(fixtures::contents(temp.path() / "old.csv"), c.replaceExisting && !c.error ? "export" : "old");
    }
}

} // namespace
} // namespace quillmere
