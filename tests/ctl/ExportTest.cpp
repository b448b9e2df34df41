// SPDX-License-Identifier: GPL-3.0-or-later
// quillmerectl export: the saved history to standard output or a file,
// without the running Quillmere, and never a half-written or lost file.

#include "CtlTestSupport.h"
#include "StateFixtures.h"

#include "quillmere/HistoryExport.h"
#include "quillmere/StateStore.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace quillmere::ctltest {
namespace {

using fixtures::contents;
using fixtures::TempFolder;
using fixtures::writeFile;

QString dateText(std::chrono::local_days day)
{
    const std::chrono::year_month_day date{day};
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return QString::fromLatin1(text);
}

class ExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(folder());
        state.blockHistory = fixtures::workedHistory(30, now);
        ASSERT_TRUE(StateStore(folder()).save(state).has_value());
    }

    std::filesystem::path folder() const { return dataHome.path() / "Quillmere"; }
    CtlResult run(const QStringList& arguments) { return runCtl(arguments, dataHome.path()); }

    std::string expected(ExportFormat format, const ExportRange& range = {}) const
    {
        // Completed sessions only: the time of the export does not matter.
        return exportHistory(state, format, range, TimeZone::system(), now).value();
    }

    TempFolder dataHome;
    TempFolder outputs;
    const Instant now = StateStore::systemClock()();
    QuillmereState state = QuillmereState::initial(now);
};

TEST_F(ExportTest, WritesTheSavedHistoryToStandardOutputOrAFile)
{
    const CtlResult json = run({QStringLiteral("export"), QStringLiteral("--format"), QStringLiteral("json")});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    EXPECT_TRUE(json.err.isEmpty());
    const auto blocks = decodeExportedBlocks(json.out.toStdString());
    ASSERT_TRUE(blocks) << blocks.error().description();
    EXPECT_EQ(*blocks, std::vector<Block>(state.blockHistory.rbegin(), state.blockHistory.rend()));

    const auto since = std::chrono::floor<std::chrono::days>(TimeZone::system().localTime(now)) - std::chrono::days{10};
    const std::filesystem::path file = outputs.path() / "recent.csv";
    const CtlResult csv =
        run({QStringLiteral("export"), QStringLiteral("--format=csv"), QStringLiteral("--since"),
             dateText(since), QStringLiteral("--output"),
             QString::fromStdString(file.string())});
    ASSERT_EQ(csv.exitCode, 0) << csv.err.toStdString();
    EXPECT_TRUE(csv.out.isEmpty());
    EXPECT_EQ(contents(file), expected(ExportFormat::csv, {since, std::nullopt}));
}

TEST_F(ExportTest, FailuresLeaveEveryFileAsItWas)
{
    const auto output = [&](const char* name) { return QString::fromStdString((outputs.path() / name).string()); };
    const QStringList csv{QStringLiteral("export"), QStringLiteral("--format"), QStringLiteral("csv"),
                          QStringLiteral("--output")};
    const struct {
        const char* name;
        QStringList arguments;
        int exitCode;
        std::string error;
        bool readOnlyFolder = false;
        bool unreadableState = false;
    } cases[] = {
        {"a missing folder", csv + QStringList{output("absent/out.csv")}, 7,
         "quillmerectl: Could not write " + (outputs.path() / "absent/out.csv").string() +
             ": No such file or directory\n"},
        {"a file for a folder", csv + QStringList{output("old.csv/out.csv")}, 7,
         "quillmerectl: Could not write " + (outputs.path() / "old.csv/out.csv").string() + ": Not a directory\n"},
        {"a read-only folder", csv + QStringList{output("locked/out.csv")}, 7,
         "quillmerectl: Could not write " + (outputs.path() / "locked/out.csv").string() + ": Permission denied\n",
         true},
        {"a folder in the way of --force", csv + QStringList{output("locked"), QStringLiteral("--force")}, 7,
         "quillmerectl: Could not replace " + (outputs.path() / "locked").string() + ": Is a directory\n"},
        {"an existing file", csv + QStringList{output("old.csv")}, 8,
         "quillmerectl: " + (outputs.path() / "old.csv").string() + " already exists; add --force to replace it.\n"},
        {"an unreadable state", csv + QStringList{output("out.csv")}, 1, "", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.readOnlyFolder && ::geteuid() == 0) {
            continue; // root writes into any folder
        }
        std::filesystem::remove_all(outputs.path() / "locked");
        std::filesystem::create_directory(outputs.path() / "locked");
        std::filesystem::permissions(outputs.path() / "locked",
                                     c.readOnlyFolder ? std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec
                                                      : std::filesystem::perms::owner_all);
        writeFile(outputs.path() / "old.csv", "old");
        const std::filesystem::path stateFile = folder() / StateStore::stateFileName;
        const std::string savedState = contents(stateFile);
        if (c.unreadableState) {
            writeFile(stateFile, "{ not json");
        }

        const CtlResult result = run(c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << result.err.toStdString();
        EXPECT_TRUE(result.out.isEmpty());
        if (c.unreadableState) {
            EXPECT_TRUE(result.err.contains(QString::fromStdString(stateFile.string()))) << result.err.toStdString();
        } else {
            EXPECT_EQ(result.err.toStdString(), c.error);
        }
        EXPECT_EQ(contents(outputs.path() / "old.csv"), "old");
        EXPECT_EQ(TempFolder::entries(outputs.path()), (std::vector<std::string>{"locked", "old.csv"}));
        EXPECT_EQ(TempFolder::entries(outputs.path() / "locked"), std::vector<std::string>{});
        writeFile(stateFile, savedState);
    }

    const CtlResult forced = run(csv + QStringList{output("old.csv"), QStringLiteral("--force")});
    EXPECT_EQ(forced.exitCode, 0) << forced.err.toStdString();
    EXPECT_EQ(contents(outputs.path() / "old.csv"), expected(ExportFormat::csv));
    EXPECT_EQ(TempFolder::entries(outputs.path()), (std::vector<std::string>{"locked", "old.csv"}));
}

} // namespace
} // namespace quillmere::ctltest
