// SPDX-License-Identifier: GPL-3.0-or-later
#include "TempFolder.h"
#include "quillmere/AtomicFile.h"
#include "quillmere/Uuid.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillmere {
namespace {

using fixtures::TempFolder;
using fixtures::contents;
using fixtures::modeOf;
using fixtures::writeFile;

const Instant T = utcInstant(2026, 3, 2, 9, 30, 0) + std::chrono::milliseconds(250);

std::string temporaryName(const std::string& file)
{
    return "." + file + "." + Uuid::generate().toString() + ".tmp";
}

// Each of these once blocked the reader forever or fed it something endless.
TEST(AtomicFile, ReadRefusesWhatIsNotARegularFileWithoutBlocking)
{
    TempFolder temp;
    const auto fifo = temp.path() / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::filesystem::create_directory(temp.path() / "folder");
    std::filesystem::create_symlink("/dev/zero", temp.path() / "device");
    std::filesystem::create_symlink("loop", temp.path() / "loop");
    const std::pair<const char*, std::string> notRegular[] = {
        {"named pipe", "fifo"}, {"folder", "folder"}, {"link to a device", "device"}};
    for (const auto& [name, file] : notRegular) {
        SCOPED_TRACE(name);
        const auto read = readWholeFile(temp.path() / file);
        ASSERT_FALSE(read);
        EXPECT_EQ(read.error().description(),
                  "Could not read " + (temp.path() / file).string() + ": it is not a regular file");
    }
    const auto loop = readWholeFile(temp.path() / "loop");
    ASSERT_FALSE(loop);
    EXPECT_EQ(loop.error().code, std::make_error_code(std::errc::too_many_symbolic_link_levels));
}

TEST(AtomicFile, ReadFollowsLinksOnlyWhenAsked)
{
    TempFolder temp;
    writeFile(temp.path() / "target", "bytes");
    std::filesystem::create_symlink("target", temp.path() / "link");
    EXPECT_EQ(readWholeFile(temp.path() / "link"), "bytes");
    const auto refused = readWholeFile(temp.path() / "link", {.followLinks = false});
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.error().description().find("it is a symbolic link"), std::string::npos);
}

TEST(AtomicFile, ReadRefusesAFileOverTheBoundUnread)
{
    TempFolder temp;
    const auto path = temp.path() / "big";
    writeFile(path, "");
    // Sparse: takes no room on disk.
    std::filesystem::resize_file(path, 3 * 1024 * 1024);
    const auto refused = readWholeFile(path, {.maxBytes = 2 * 1024 * 1024});
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().code, std::make_error_code(std::errc::file_too_large));
    EXPECT_NE(refused.error().description().find("it is larger than 2 MiB"), std::string::npos);
    EXPECT_TRUE(readWholeFile(path, {.maxBytes = 3 * 1024 * 1024}));
}

TEST(AtomicFile, FailedWriteNamesTheDestinationNotItsTemporaryFile)
{
    TempFolder temp;
    const auto destination = temp.path() / "absent" / "agent-state.json";
    const auto written = writeAtomically(destination, "x", renameReplacing);
    ASSERT_FALSE(written);
    EXPECT_EQ(written.error().path, destination);
    EXPECT_EQ(written.error().description().find(".tmp"), std::string::npos);
}

TEST(AtomicFile, StaleTemporariesOfTheFileAreRemovedAndNothingElse)
{
    TempFolder temp;
    const auto destination = temp.path() / "state.json";
    const std::string stale[] = {temporaryName("state.json"), temporaryName("state.json")};
    const std::string kept[] = {"state.json",
                                temporaryName("agent-state.json"),
                                ".state.json.not-a-uuid.tmp",
                                ".state.json." + Uuid::generate().toString() + ".tmp.bak",
                                "state.unreadable-20260302T093000Z.json"};
    for (const std::string& name : stale) {
        writeFile(temp.path() / name, "half a save");
    }
    for (const std::string& name : kept) {
        writeFile(temp.path() / name, "keep");
    }
    // A folder with a temporary file's name is not ours to remove.
    const std::string folder = temporaryName("state.json");
    std::filesystem::create_directory(temp.path() / folder);

    EXPECT_EQ(removeStaleTemporaries(destination), 2);
    std::vector<std::string> expected(std::begin(kept), std::end(kept));
    expected.push_back(folder);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(TempFolder::entries(temp.path()), expected);
    EXPECT_EQ(removeStaleTemporaries(temp.path() / "absent" / "state.json"), 0);
}

TEST(AtomicFile, KeepAsideMovesOrCopiesAndNeverReplaces)
{
    TempFolder temp;
    const auto file = temp.path() / "state.json";
    writeFile(file, "first");
    const auto moved = keepAside(file, "unreadable", T, KeepAside::move);
    ASSERT_TRUE(moved) << moved.error().description();
    EXPECT_EQ(moved->filename(), "state.unreadable-20260302T093000Z.json");
    EXPECT_EQ(contents(*moved), "first");
    EXPECT_FALSE(std::filesystem::exists(file));

    writeFile(file, "second");
    const auto again = keepAside(file, "unreadable", T, KeepAside::move);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->filename(), "state.unreadable-20260302T093000Z-2.json");
    EXPECT_EQ(contents(*moved), "first");

    writeFile(file, "third");
    const auto copied = keepAside(file, "backup", T, KeepAside::copy);
    ASSERT_TRUE(copied);
    EXPECT_EQ(copied->filename(), "state.backup-20260302T093000Z.json");
    // The copy outlives the next atomic replacement of the file.
    ASSERT_TRUE(writeAtomically(file, "fourth", renameReplacing));
    EXPECT_EQ(contents(*copied), "third");
    EXPECT_EQ(contents(file), "fourth");

    EXPECT_FALSE(keepAside(temp.path() / "absent.json", "backup", T, KeepAside::copy));
}

TEST(AtomicFile, PrivateFoldersAreMadeTightenedOrRefused)
{
    TempFolder temp;
    const auto fresh = temp.path() / "a" / "b";
    ASSERT_TRUE(createPrivateDirectory(fresh));
    EXPECT_EQ(modeOf(temp.path() / "a"), 0700u);
    EXPECT_EQ(modeOf(fresh), 0700u);

    for (const mode_t open : {0755u, 0777u, 0750u, 0711u}) {
        SCOPED_TRACE(open);
        ::chmod(fresh.c_str(), open);
        ASSERT_TRUE(createPrivateDirectory(fresh));
        EXPECT_EQ(modeOf(fresh), 0700u);
    }

    writeFile(temp.path() / "file", "x");
    EXPECT_EQ(createPrivateDirectory(temp.path() / "file").error().code,
              std::make_error_code(std::errc::not_a_directory));

    const auto foreign = fixtures::folderOfAnotherUser(temp.path());
    if (!foreign) {
        GTEST_SKIP() << "only root can give a folder to another user";
    }
    ::chmod(foreign->c_str(), 0777);
    const auto refused = createPrivateDirectory(*foreign);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().description(), "Could not use the folder " + foreign->string() +
                                                 ": it belongs to another user");
    EXPECT_EQ(modeOf(*foreign), 0777u);
}

TEST(AtomicFile, MakePrivateTightensAFileAndItsFolder)
{
    TempFolder temp;
    const auto folder = temp.path() / "Quillmere";
    std::filesystem::create_directory(folder);
    ::chmod(folder.c_str(), 0755);
    const auto file = folder / "Quillmere.conf";
    writeFile(file, "[General]\n");
    ::chmod(file.c_str(), 0644);
    ASSERT_TRUE(makePrivate(file));
    EXPECT_EQ(modeOf(file), 0600u);
    EXPECT_EQ(modeOf(folder), 0700u);
    EXPECT_FALSE(makePrivate(folder / "absent.conf"));
}

} // namespace
} // namespace quillmere
