// SPDX-License-Identifier: GPL-3.0-or-later
#include "StateFixtures.h"
#include "TempFolder.h"
#include "quillmere/StateCoding.h"
#include "quillmere/StateStore.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <functional>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quillmere {
namespace {

using namespace std::chrono_literals;
using fixtures::TempFolder;
using fixtures::contents;
using fixtures::modeOf;
using fixtures::writeFile;

const Instant T = utcInstant(2026, 3, 2, 9, 30, 0);

StateStore storeAt(const std::filesystem::path& folder)
{
    return StateStore(folder, [] { return T; });
}

TEST(StateStore, DefaultDirectoryFollowsTheXdgRules)
{
    const auto withEnvironment = [](const char* dataHome, const char* home) {
        return StateStore::defaultDirectory([=](const char* name) -> const char* {
            return std::string_view(name) == "XDG_DATA_HOME" ? dataHome : std::string_view(name) == "HOME" ? home : nullptr;
        });
    };
    EXPECT_EQ(withEnvironment("/data", "/home/ada"), "/data/Quillmere");
    EXPECT_EQ(withEnvironment("", "/home/ada"), "/home/ada/.local/share/Quillmere");
    EXPECT_EQ(withEnvironment("relative/data", "/home/ada"), "/home/ada/.local/share/Quillmere");
    EXPECT_EQ(withEnvironment(nullptr, "/home/ada"), "/home/ada/.local/share/Quillmere");
}

TEST(StateStore, LoadFromAnEmptyPlaceGivesTheInitialStateAndCreatesNothing)
{
    TempFolder temp;
    const auto folder = temp.path() / "not" / "yet";
    const auto loaded = storeAt(folder).load();
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->updatedAt, T);
    EXPECT_EQ(loaded->workflowState, WorkflowState::idle);
    EXPECT_FALSE(std::filesystem::exists(temp.path() / "not"));
}

TEST(StateStore, SaveCreatesPrivateFolderAndFilesThenLoadsTheSameState)
{
    TempFolder temp;
    const auto folder = temp.path() / "a" / "Quillmere";
    const StateStore store = storeAt(folder);
    QuillmereState state = fixtures::everyOptionalPresent();
    state.updatedAt += 400ms;
    ASSERT_TRUE(store.save(state));

    EXPECT_EQ(modeOf(folder), 0700u);
    EXPECT_EQ(modeOf(store.stateURL()), 0600u);
    EXPECT_EQ(modeOf(store.agentStateURL()), 0600u);
    EXPECT_EQ(TempFolder::entries(folder), (std::vector<std::string>{"agent-state.json", "state.json"}));
    EXPECT_EQ(*store.load(), fixtures::truncatedToWholeSeconds(state));

    const auto agent = decodeAgentSnapshot(contents(store.agentStateURL()));
    ASSERT_TRUE(agent) << agent.error().description();
    EXPECT_EQ(agent->updatedAt, fixtures::wholeSeconds(state.updatedAt));

    ASSERT_TRUE(store.saveAgentSnapshot(state, T + 2h));
    EXPECT_EQ(decodeAgentSnapshot(contents(store.agentStateURL()))->updatedAt, T + 2h);
}

TEST(StateStore, AnOpenFolderIsMadePrivateAndAnotherUsersIsRefused)
{
    TempFolder temp;
    std::filesystem::permissions(temp.path(), std::filesystem::perms(0755));
    ASSERT_TRUE(storeAt(temp.path()).save(QuillmereState::initial(T)));
    EXPECT_EQ(modeOf(temp.path()), 0700u);

    const auto foreign = fixtures::folderOfAnotherUser(temp.path());
    if (!foreign) {
        GTEST_SKIP() << "only root can give a folder to another user";
    }
    const auto saved = storeAt(*foreign).save(QuillmereState::initial(T));
    ASSERT_FALSE(saved);
    EXPECT_NE(saved.error().description().find("it belongs to another user"), std::string::npos);
    EXPECT_TRUE(TempFolder::entries(*foreign).empty());
}

TEST(StateStore, AFolderRemovedOrReplacedAfterTheFirstSaveIsMadeAgainOrNamed)
{
    TempFolder temp;
    const auto folder = temp.path() / "Quillmere";
    const StateStore store = storeAt(folder);
    ASSERT_TRUE(store.save(QuillmereState::initial(T)));

    // Saves after the first create the folder only when it has gone.
    std::filesystem::remove_all(folder);
    ASSERT_TRUE(store.saveAgentSnapshot(QuillmereState::initial(T), T));
    ASSERT_TRUE(store.save(QuillmereState::initial(T)));
    EXPECT_EQ(modeOf(folder), 0700u);
    EXPECT_EQ(TempFolder::entries(folder), (std::vector<std::string>{"agent-state.json", "state.json"}));

    std::filesystem::remove_all(folder);
    std::ofstream(folder) << "a file where the folder was";
    const auto saved = store.save(QuillmereState::initial(T));
    ASSERT_FALSE(saved);
    EXPECT_NE(saved.error().description().find("create the folder"), std::string::npos) << saved.error().description();
}

TEST(StateStore, UnreadableFilesFailToLoadAndStayByteForByte)
{
    std::string fractional = *encodeState(QuillmereState::initial(T));
    fractional.replace(fractional.find("09:30:00Z"), 9, "09:30:00.5Z");
    const std::pair<const char*, std::string> cases[] = {
        {"not JSON", "this is not json"},
        {"not a state", R"({"hello": "world"})"},
        {"fractional instant", fractional},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        TempFolder temp;
        const StateStore store = storeAt(temp.path());
        writeFile(store.stateURL(), bytes);
        const auto loaded = store.load();
        ASSERT_FALSE(loaded);
        EXPECT_NE(loaded.error().description().find(store.stateURL().string()), std::string::npos);
        EXPECT_EQ(contents(store.stateURL()), bytes);
    }
}

TEST(StateStore, ReadErrorsAreReportedNotMistakenForAMissingFile)
{
    TempFolder temp;
    const StateStore store = storeAt(temp.path());
    std::filesystem::create_directory(store.stateURL()); // a folder where the file should be
    const auto loaded = store.load();
    ASSERT_FALSE(loaded);
    EXPECT_TRUE(std::holds_alternative<FileError>(loaded.error().cause));
    EXPECT_TRUE(store.stateFileExists());
}

// Once a crash at start-up (a throwing existence check) and a hang before the
// window appeared (a blocking open of a named pipe).
TEST(StateStore, HostileThingsAtTheStatePathFailTheLoadAndAreStillSeen)
{
    const std::pair<const char*, std::function<void(const std::filesystem::path&)>> cases[] = {
        {"link to itself", [](const std::filesystem::path& p) { std::filesystem::create_symlink(p.filename(), p); }},
        {"named pipe", [](const std::filesystem::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }},
        {"device", [](const std::filesystem::path& p) { std::filesystem::create_symlink("/dev/zero", p); }},
        {"larger than the bound",
         [](const std::filesystem::path& p) {
             writeFile(p, "");
             std::filesystem::resize_file(p, StateStore::maximumStateBytes + 1); // sparse
         }},
    };
    for (const auto& [name, make] : cases) {
        SCOPED_TRACE(name);
        TempFolder temp;
        const StateStore store = storeAt(temp.path());
        make(store.stateURL());
        const auto loaded = store.load();
        ASSERT_FALSE(loaded);
        EXPECT_NE(loaded.error().description().find(store.stateURL().string()), std::string::npos);
        EXPECT_TRUE(store.stateFileExists());
    }
    TempFolder temp;
    EXPECT_FALSE(storeAt(temp.path()).stateFileExists());
    EXPECT_FALSE(storeAt(temp.path() / "absent").stateFileExists());
}

TEST(StateStore, AStateWithNoWayOnIsRefusedLikeAnUnreadableFile)
{
    TempFolder temp;
    const StateStore store = storeAt(temp.path());
    QuillmereState state = fixtures::everyOptionalPresent();
    state.workflowState = WorkflowState::focusing;
    state.currentBlock.reset();
    const std::string bytes = *encodeState(state);
    writeFile(store.stateURL(), bytes);
    const auto loaded = store.load();
    ASSERT_FALSE(loaded);
    EXPECT_EQ(loaded.error().description(),
              store.stateURL().string() + ": key \"workflow_state\": \"focusing\" needs a current block whose last "
                                          "session has not ended");
    EXPECT_EQ(contents(store.stateURL()), bytes);
}

TEST(StateStore, LoadNamesTheMembersASaveWouldDrop)
{
    TempFolder temp;
    const StateStore store = storeAt(temp.path());
    ASSERT_TRUE(store.save(fixtures::everyOptionalPresent()));
    auto loaded = store.loadNotingUnknownMembers();
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(loaded->unknownMembers.empty());

    std::string bytes = contents(store.stateURL());
    bytes.insert(bytes.find('{') + 1, "\n  \"future_feature\": {\"on\": true},");
    writeFile(store.stateURL(), bytes);
    loaded = store.loadNotingUnknownMembers();
    ASSERT_TRUE(loaded) << loaded.error().description();
    EXPECT_EQ(loaded->unknownMembers, std::vector<std::string>{"future_feature"});
    EXPECT_EQ(loaded->state, fixtures::truncatedToWholeSeconds(fixtures::everyOptionalPresent()));
}

// An unreadable file leaves the path the save needs (it may be the user's
// whole history); a readable one from a newer version is only copied, since
// this version goes on reading it; a copy that cannot be made refuses the save.
TEST(StateStore, WhatASaveWouldDestroyIsKeptAsideFirst)
{
    enum class Keep { unreadable, newer };
    struct Case {
        const char* name;
        Keep keep;
        bool fileThere;
        bool kept;
        std::vector<std::string> entriesAfter;
    };
    const Case cases[] = {
        {"unreadable file moved", Keep::unreadable, true, true, {"state.unreadable-20260302T093000Z.json"}},
        {"unreadable file gone meanwhile", Keep::unreadable, false, false, {}},
        {"newer file copied", Keep::newer, true, true, {"state.backup-20260302T093000Z.json", "state.json"}},
        {"newer file gone: the save is refused", Keep::newer, false, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder temp;
        const StateStore store = storeAt(temp.path());
        if (c.fileThere) {
            writeFile(store.stateURL(), "the user's history");
        }
        std::optional<std::filesystem::path> kept;
        if (c.keep == Keep::unreadable) {
            const auto result = store.keepUnreadableStateFile(T);
            ASSERT_TRUE(result) << result.error().description();
            kept = *result;
        } else if (const auto result = store.keepNewerStateFile(T)) {
            kept = *result;
        } else {
            EXPECT_NE(result.error().description().find("state.json"), std::string::npos);
        }
        EXPECT_EQ(TempFolder::entries(temp.path()), c.entriesAfter);
        ASSERT_EQ(kept.has_value(), c.kept);
        if (kept) {
            EXPECT_EQ(kept->parent_path(), temp.path());
            EXPECT_EQ(contents(*kept), "the user's history");
        }
    }
}

TEST(StateStore, StaleTemporariesOfBothFilesAreRemoved)
{
    TempFolder temp;
    const StateStore store = storeAt(temp.path());
    ASSERT_TRUE(store.save(fixtures::everyOptionalAbsent()));
    for (const char* file : {".state.json.", ".agent-state.json."}) {
        writeFile(temp.path() / (file + Uuid::generate().toString() + ".tmp"), "half");
    }
    writeFile(temp.path() / ".widget-snapshot.json.0A1B2C3D-4E5F-4A7B-8C9D-0E1F2A3B4C5D.tmp", "not ours");
    EXPECT_EQ(store.removeStaleTemporaries(), 2);
    EXPECT_EQ(TempFolder::entries(temp.path()),
              (std::vector<std::string>{".widget-snapshot.json.0A1B2C3D-4E5F-4A7B-8C9D-0E1F2A3B4C5D.tmp",
                                        "agent-state.json", "state.json"}));
}

TEST(StateStore, FailingReplaceLeavesOldFilesAndNoTemporaryFile)
{
    TempFolder temp;
    const StateStore good = storeAt(temp.path());
    ASSERT_TRUE(good.save(fixtures::everyOptionalAbsent()));
    const std::string oldState = contents(good.stateURL());
    const std::string oldAgent = contents(good.agentStateURL());

    int calls = 0;
    const StateStore failing(temp.path(), [] { return T; },
                             [&calls](const std::filesystem::path&, const std::filesystem::path& destination) -> FileResult {
                                 ++calls;
                                 return std::unexpected(FileError{"replace", destination, std::make_error_code(std::errc::io_error)});
                             });
    const auto saved = failing.save(fixtures::everyOptionalPresent());
    ASSERT_FALSE(saved);
    EXPECT_EQ(calls, 1); // the agent file is not attempted after the state file failed
    EXPECT_NE(saved.error().description().find("state.json"), std::string::npos);
    EXPECT_EQ(contents(good.stateURL()), oldState);
    EXPECT_EQ(contents(good.agentStateURL()), oldAgent);
    EXPECT_EQ(TempFolder::entries(temp.path()), (std::vector<std::string>{"agent-state.json", "state.json"}));
}

TEST(StateStore, UnwritableFolderFailsTheSaveAndKeepsTheOldFile)
{
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root ignores folder permissions";
    }
    TempFolder temp;
    const StateStore store = storeAt(temp.path());
    ASSERT_TRUE(store.save(QuillmereState::initial(T)));
    const std::string old = contents(store.stateURL());
    std::filesystem::permissions(temp.path(), std::filesystem::perms(0500));
    EXPECT_FALSE(store.save(fixtures::everyOptionalPresent()));
    std::filesystem::permissions(temp.path(), std::filesystem::perms(0700));
    EXPECT_EQ(contents(store.stateURL()), old);
}

TEST(StateStore, FolderThatIsAFileFailsTheSave)
{
    TempFolder temp;
    writeFile(temp.path() / "Quillmere", "x");
    const auto saved = storeAt(temp.path() / "Quillmere").save(QuillmereState::initial(T));
    ASSERT_FALSE(saved);
    EXPECT_EQ(std::get<FileError>(saved.error().cause).code, std::make_error_code(std::errc::not_a_directory));
}

TEST(StateStore, RenameReplacingReportsThePosixError)
{
    TempFolder temp;
    const auto result = renameReplacing(temp.path() / "absent.tmp", temp.path() / "state.json");
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().code, std::make_error_code(std::errc::no_such_file_or_directory));
}

// Golden files: the exact bytes agents and other tools read.
std::string golden(const std::string& name)
{
    return contents(std::filesystem::path(QUILLMERE_GOLDEN_DIR) / name);
}

TEST(StateStore, WritesTheGoldenBytes)
{
    for (const auto& [name, state] : fixtures::goldenStates()) {
        SCOPED_TRACE(name);
        TempFolder temp;
        const StateStore store = storeAt(temp.path());
        ASSERT_TRUE(store.save(state));
        EXPECT_EQ(contents(store.stateURL()), golden(std::string("state-") + name + ".json"));
        ASSERT_TRUE(store.saveAgentSnapshot(state, utcInstant(2026, 3, 2, 10, 0, 0)));
        EXPECT_EQ(contents(store.agentStateURL()), golden(std::string("agent-state-") + name + ".json"));
    }
}

// A state of about 10 MB, the history of years of daily blocks: the size at
// which a save takes long enough for kills to land in every part of it.
QuillmereState largeState(const std::string& marker)
{
    QuillmereState state = fixtures::everyOptionalPresent();
    Block block = state.blockHistory.front();
    block.contextNotes = std::string(6000, 'n');
    state.blockHistory.clear();
    for (int i = 0; i < 1250; ++i) {
        block.id = fixtures::fixedId(1000 + i);
        state.blockHistory.push_back(block);
    }
    state.agentQuestions.front().question = marker;
    return state;
}

// How many times the crash test kills a saving process: CI runs the default,
// a nightly run sets QUILLMERE_CRASH_KILLS=1000.
int crashKills()
{
    const char* configured = std::getenv("QUILLMERE_CRASH_KILLS");
    const int kills = configured != nullptr ? std::atoi(configured) : 0;
    return kills > 0 ? kills : 100;
}

TEST(StateStore, SurvivesBeingKilledMidSave)
{
    TempFolder temp;
    const StateStore store = storeAt(temp.path());
    const QuillmereState first = largeState("first");
    const QuillmereState second = largeState("second");
    const std::string firstBytes = *encodeState(first);
    const std::string secondBytes = *encodeState(second);
    ASSERT_GT(firstBytes.size(), 10'000'000u);
    // Kill anywhere within a few whole save cycles, however fast this build is.
    ASSERT_TRUE(store.save(first));
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(store.save(second));
    const auto saveMicroseconds = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - started).count();

    std::mt19937_64 random(7);
    const int kills = crashKills();
    int sawFirst = 0;
    int sawSecond = 0;
    int leftTemporaries = 0;
    for (int round = 0; round < kills; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (;;) {
                (void)store.save(second);
                (void)store.save(first);
            }
        }
        ::usleep(static_cast<useconds_t>(
            std::uniform_int_distribution<std::int64_t>(0, 3 * saveMicroseconds)(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);

        // The bytes of one of the two encodings; decoding them is proven
        // below and elsewhere, and would take most of the test's time.
        const std::string bytes = contents(store.stateURL());
        ASSERT_TRUE(bytes == firstBytes || bytes == secondBytes) << "round " << round;
        (bytes == firstBytes ? sawFirst : sawSecond)++;

        // What the next start does under its lock: nothing half-written stays.
        leftTemporaries += TempFolder::entries(temp.path()).size() > 2 ? 1 : 0;
        ASSERT_TRUE(store.removeStaleTemporaries());
        ASSERT_EQ(TempFolder::entries(temp.path()), (std::vector<std::string>{"agent-state.json", "state.json"}))
            << "round " << round;
    }
    const auto loaded = store.load();
    ASSERT_TRUE(loaded) << loaded.error().description();
    EXPECT_TRUE(*loaded == fixtures::truncatedToWholeSeconds(first) ||
                *loaded == fixtures::truncatedToWholeSeconds(second));
    // The kills landed at different points of the loop, some mid-write.
    EXPECT_GT(sawFirst, 0);
    EXPECT_GT(sawSecond, 0);
    EXPECT_GT(leftTemporaries, 0);
}

} // namespace
} // namespace quillmere
