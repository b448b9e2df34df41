// SPDX-License-Identifier: GPL-3.0-or-later
#include "StateFixtures.h"
#include "TempFolder.h"
#include "quillmere/WidgetSnapshotStore.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace quillmere {
namespace {

using namespace std::chrono_literals;
using fixtures::TempFolder;
using fixtures::contents;
using fixtures::modeOf;
using fixtures::writeFile;
using nlohmann::json;
using Kind = WidgetSnapshotLoadError::Kind;

const Instant T = utcInstant(2026, 3, 2, 10, 10, 0);

WidgetSnapshotLoadError failure(Kind kind)
{
    return WidgetSnapshotLoadError{.kind = kind};
}

// The placeholder's file form with one key replaced or removed (null).
std::string editedFile(const char* key, const json& value)
{
    json tree = json::parse(WidgetSnapshotStore::encode(WidgetSnapshot::placeholder(T)));
    if (value.is_null()) {
        tree.erase(key);
    } else {
        tree[key] = value;
    }
    return tree.dump();
}

TEST(WidgetSnapshotStore, Load_ReportsNotWrittenWithoutAFile)
{
    TempFolder temp;
    EXPECT_EQ(WidgetSnapshotStore(temp.path()).load(), std::unexpected(failure(Kind::notWritten)));
    EXPECT_EQ(WidgetSnapshotStore(temp.path() / "absent").load(), std::unexpected(failure(Kind::notWritten)));
}

TEST(WidgetSnapshotStore, Load_ReportsUnreadableForWhatIsNotASnapshot)
{
    const std::pair<const char*, std::string> cases[] = {
        {"empty object", "{}"},
        {"not JSON", "widget"},
        {"empty file", ""},
        {"cut short", WidgetSnapshotStore::encode(WidgetSnapshot::placeholder(T)).substr(0, 40)},
        {"array", "[1]"},
        {"version as text", editedFile("schema_version", "2")},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        TempFolder temp;
        writeFile(temp.path() / "widget-snapshot.json", bytes);
        EXPECT_EQ(WidgetSnapshotStore(temp.path()).load(), std::unexpected(failure(Kind::unreadable)));
    }
    TempFolder temp;
    std::filesystem::create_directory(temp.path() / "widget-snapshot.json");
    EXPECT_EQ(WidgetSnapshotStore(temp.path()).load(), std::unexpected(failure(Kind::unreadable)));
}

// A named pipe once hung the widget host for good, and a 10 MB text took it
// 20 s and 830 MiB to draw.
TEST(WidgetSnapshotStore, Load_RefusesPipesLinksAndOversizedFilesWithoutBlocking)
{
    const std::string good = WidgetSnapshotStore::encode(WidgetSnapshot::placeholder(T));
    const std::pair<const char*, std::function<void(const std::filesystem::path&)>> cases[] = {
        {"named pipe", [](const std::filesystem::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }},
        {"link to a good snapshot",
         [&](const std::filesystem::path& p) {
             writeFile(p.parent_path() / "elsewhere.json", good);
             std::filesystem::create_symlink("elsewhere.json", p);
         }},
        {"oversized",
         [&](const std::filesystem::path& p) {
             json tree = json::parse(good);
             tree["intended_outcome"] = std::string(WidgetSnapshotStore::maximumFileBytes, 'x');
             writeFile(p, tree.dump());
         }},
    };
    for (const auto& [name, make] : cases) {
        SCOPED_TRACE(name);
        TempFolder temp;
        const WidgetSnapshotStore store(temp.path());
        make(store.snapshotURL());
        EXPECT_EQ(store.load(), std::unexpected(failure(Kind::unreadable)));
        // Replaced by a regular file, it is read again.
        std::filesystem::remove(store.snapshotURL());
        writeFile(store.snapshotURL(), good);
        EXPECT_TRUE(store.load());
    }
}

TEST(WidgetSnapshotStore, Load_RefusesNewerSchemaVersionAndAcceptsOlder)
{
    const std::pair<std::string, std::expected<std::int64_t, WidgetSnapshotLoadError>> cases[] = {
        {editedFile("schema_version", 0), 0},
        {editedFile("schema_version", 1), 1},
        {editedFile("schema_version", -5), -5},
        {editedFile("schema_version", 2), std::unexpected(WidgetSnapshotLoadError{Kind::unsupportedSchemaVersion, 2, 1})},
        // A newer format may have changed its fields too; it is still newer, not damaged.
        {json{{"schema_version", 7}, {"phase", "paused"}}.dump(),
         std::unexpected(WidgetSnapshotLoadError{Kind::unsupportedSchemaVersion, 7, 1})},
    };
    for (const auto& [bytes, expected] : cases) {
        SCOPED_TRACE(bytes);
        TempFolder temp;
        writeFile(temp.path() / "widget-snapshot.json", bytes);
        const auto loaded = WidgetSnapshotStore(temp.path()).load();
        ASSERT_EQ(loaded.has_value(), expected.has_value());
        if (loaded) {
            EXPECT_EQ(loaded->schemaVersion, *expected);
        } else {
            EXPECT_EQ(loaded.error(), expected.error());
        }
    }
}

TEST(WidgetSnapshotStore, SaveThenLoad_ReturnsTheSnapshotWithInstantsTruncated)
{
    TempFolder temp;
    const WidgetSnapshotStore store(temp.path() / "group-containers" / "new");
    WidgetSnapshot snapshot = WidgetSnapshot::placeholder(T + 999ms);
    snapshot.intendedOutcome = "Draft a/b \"notes\"\n";
    ASSERT_TRUE(store.save(snapshot));

    WidgetSnapshot expected = snapshot;
    expected.updatedAt = T;
    expected.countdown->endsAt = T + 1020s;
    expected.countdown->startedAt = T - 480s;
    EXPECT_EQ(store.load(), expected);
}

TEST(WidgetSnapshotStore, Save_WritesOneSortedOwnerOnlyLineAndNoTemporaryFile)
{
    TempFolder temp;
    const WidgetSnapshotStore store(temp.path());
    WidgetSnapshot snapshot = WidgetSnapshot::placeholder(T);
    snapshot.firstAction = "Open docs/widget.md";
    ASSERT_TRUE(store.save(snapshot));
    ASSERT_TRUE(store.save(snapshot)); // replacing an existing file

    EXPECT_EQ(fixtures::TempFolder::entries(temp.path()), std::vector<std::string>{"widget-snapshot.json"});
    EXPECT_EQ(store.snapshotURL(), temp.path() / "widget-snapshot.json");
    EXPECT_EQ(modeOf(store.snapshotURL()), 0600u);
    const std::string text = contents(store.snapshotURL());
    // The compact dump of the parsed tree sorts keys and leaves "/" alone.
    EXPECT_EQ(text, json::parse(text).dump());
    EXPECT_NE(text.find("\"first_action\":\"Open docs/widget.md\""), std::string::npos);
    EXPECT_NE(text.find("\"countdown\":{\"ends_at\":\"2026-03-02T10:27:00Z\",\"frozen_remaining_seconds\":1020,"),
              std::string::npos);
}

TEST(WidgetSnapshotStore, Save_WithFailingReplaceKeepsTheOldFileAndNoTemporary)
{
    TempFolder temp;
    ASSERT_TRUE(WidgetSnapshotStore(temp.path()).save(WidgetSnapshot::empty(T)));
    const std::string before = contents(temp.path() / "widget-snapshot.json");

    const FileError refusal{"replace", temp.path(), std::make_error_code(std::errc::permission_denied)};
    std::filesystem::path offered;
    const WidgetSnapshotStore failing(temp.path(), [&](const std::filesystem::path& temporary,
                                                       const std::filesystem::path&) -> FileResult {
        offered = temporary;
        return std::unexpected(refusal);
    });
    EXPECT_EQ(failing.save(WidgetSnapshot::placeholder(T)), std::unexpected(refusal));

    EXPECT_TRUE(offered.filename().string().starts_with(".widget-snapshot.json."));
    EXPECT_EQ(contents(temp.path() / "widget-snapshot.json"), before);
    EXPECT_EQ(fixtures::TempFolder::entries(temp.path()), std::vector<std::string>{"widget-snapshot.json"});
}

TEST(WidgetSnapshotStore, Save_ReportsAFolderThatCannotBeMade)
{
    TempFolder temp;
    writeFile(temp.path() / "file", "x");
    const auto saved = WidgetSnapshotStore(temp.path() / "file" / "sub").save(WidgetSnapshot::empty(T));
    ASSERT_FALSE(saved);
    EXPECT_EQ(saved.error().code, std::make_error_code(std::errc::not_a_directory));
}

TEST(WidgetSnapshotStore, Shared_FindsTheContainerByTheXdgRules)
{
    TempFolder temp;
    const std::filesystem::path data = temp.path() / "data";
    const std::filesystem::path home = temp.path() / "home";
    struct Case {
        const char* name;
        const char* dataHome;
        const char* home;
        std::optional<std::filesystem::path> expected;
    };
    const std::filesystem::path group = "group-containers/J4N7R2D9K5.quillmere";
    const Case cases[] = {
        {"data home set", data.c_str(), home.c_str(), data / group},
        {"data home empty", "", home.c_str(), home / ".local/share" / group},
        {"data home relative", "relative/data", home.c_str(), home / ".local/share" / group},
        {"data home unset", nullptr, home.c_str(), home / ".local/share" / group},
        {"no home at all", nullptr, nullptr, std::nullopt},
        {"relative home", "", "home", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::map<std::string_view, const char*> environment{{"XDG_DATA_HOME", c.dataHome}, {"HOME", c.home}};
        const auto store = WidgetSnapshotStore::shared(QuillmereAppGroup::identifier, [&](const char* name) {
            const auto found = environment.find(name);
            return found == environment.end() ? nullptr : found->second;
        });
        ASSERT_EQ(store.has_value(), c.expected.has_value());
        if (store) {
            EXPECT_EQ(store->directory(), *c.expected);
            EXPECT_TRUE(std::filesystem::is_directory(*c.expected));
            EXPECT_EQ(modeOf(*c.expected) & 0077, 0u);
            EXPECT_TRUE(store->replaceItem());
            // A second lookup finds the folder the first one made.
            EXPECT_TRUE(WidgetSnapshotStore::shared(QuillmereAppGroup::identifier, [&](const char* name) {
                return environment.at(name);
            }));
        }
    }
}

TEST(WidgetSnapshotStore, Shared_GivesNoStoreWhereNoContainerFolderCanBe)
{
    TempFolder temp;
    writeFile(temp.path() / "blocked", "x");
    std::filesystem::create_directories(temp.path() / "taken" / "group-containers");
    writeFile(temp.path() / "taken" / "group-containers" / "J4N7R2D9K5.quillmere", "x");
    const std::pair<std::filesystem::path, std::string_view> cases[] = {
        {temp.path() / "blocked", QuillmereAppGroup::identifier},
        {temp.path() / "taken", QuillmereAppGroup::identifier},
        {temp.path() / "fine", "../escape"},
        {temp.path() / "fine", ".."},
        {temp.path() / "fine", ""},
    };
    for (const auto& [dataHome, group] : cases) {
        SCOPED_TRACE(dataHome.string() + " " + std::string(group));
        const std::string value = dataHome.string();
        EXPECT_FALSE(WidgetSnapshotStore::shared(group, [&](const char*) { return value.c_str(); }));
    }
    EXPECT_FALSE(std::filesystem::exists(temp.path() / "fine" / "escape"));
}

TEST(WidgetSnapshotStore, Shared_MakesAnOpenContainerPrivateAndRefusesAnotherUsers)
{
    TempFolder temp;
    const std::string dataHome = temp.path().string();
    const auto container = temp.path() / "group-containers" / std::string(QuillmereAppGroup::identifier);
    std::filesystem::create_directories(container);
    std::filesystem::permissions(container, std::filesystem::perms(0755));
    ASSERT_TRUE(WidgetSnapshotStore::shared(QuillmereAppGroup::identifier, [&](const char*) { return dataHome.c_str(); }));
    EXPECT_EQ(modeOf(container), 0700u);

    if (::geteuid() != 0 || ::chown(container.c_str(), 65534, 65534) != 0) {
        GTEST_SKIP() << "only root can give a folder to another user";
    }
    EXPECT_FALSE(WidgetSnapshotStore::shared(QuillmereAppGroup::identifier, [&](const char*) { return dataHome.c_str(); }));
}

// Golden files: the exact bytes the widget process reads.
TEST(WidgetSnapshotStore, WritesTheGoldenBytes)
{
    for (const auto& [name, state] : fixtures::goldenStates()) {
        SCOPED_TRACE(name);
        TempFolder temp;
        const WidgetSnapshotStore store(temp.path());
        const WidgetSnapshot snapshot = WidgetSnapshot::make(state, T);
        ASSERT_TRUE(store.save(snapshot));
        EXPECT_EQ(store.load(), snapshot);
        const auto golden = std::filesystem::path(QUILLMERE_GOLDEN_DIR) / (std::string("widget-snapshot-") + name + ".json");
        EXPECT_EQ(contents(store.snapshotURL()), contents(golden));
    }
}

} // namespace
} // namespace quillmere
