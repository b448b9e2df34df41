// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/StateFolderLock.h"

#include "TempFolder.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <thread>
#include <unistd.h>

namespace quillmere {
namespace {

mode_t modeOf(const std::filesystem::path& path)
{
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

TEST(StateFolderLock, CreatesTheFolderPrivateWithItsParents)
{
    fixtures::TempFolder temp;
    const auto folder = temp.path() / "data" / "Quillmere";

    const auto lock = StateFolderLock::acquire(folder);

    ASSERT_TRUE(lock.has_value()) << lock.error().description;
    EXPECT_EQ(modeOf(temp.path() / "data"), 0700u);
    EXPECT_EQ(modeOf(folder), 0700u);
    EXPECT_EQ(fixtures::TempFolder::entries(folder), std::vector<std::string>{".lock"});
}

TEST(StateFolderLock, SecondWriterIsKeptOutUntilTheFirstIsGone)
{
    fixtures::TempFolder temp;
    std::optional<StateFolderLock> first;
    first.emplace(StateFolderLock::acquire(temp.path()).value());

    const auto second = StateFolderLock::acquire(temp.path());
    ASSERT_FALSE(second.has_value());
    EXPECT_TRUE(second.error().heldElsewhere);

    first.reset();
    EXPECT_TRUE(StateFolderLock::acquire(temp.path()).has_value());
}

TEST(StateFolderLock, APatientStartWaitsOutAShortHolderButNotAWriterThatStays)
{
    fixtures::TempFolder temp;
    std::optional<StateFolderLock> holder;
    holder.emplace(StateFolderLock::acquire(temp.path()).value());

    const auto refused = StateFolderLock::acquire(temp.path(), std::chrono::milliseconds(120));
    ASSERT_FALSE(refused.has_value());
    EXPECT_TRUE(refused.error().heldElsewhere);

    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        holder.reset();
    });
    const auto waited = StateFolderLock::acquire(temp.path(), std::chrono::seconds(10));
    release.join();
    EXPECT_TRUE(waited.has_value());
}

TEST(StateFolderLock, FileInPlaceOfTheFolderIsAnOrdinaryFailure)
{
    fixtures::TempFolder temp;
    std::ofstream(temp.path() / "Quillmere") << "not a folder";

    const auto lock = StateFolderLock::acquire(temp.path() / "Quillmere");

    ASSERT_FALSE(lock.has_value());
    EXPECT_FALSE(lock.error().heldElsewhere);
}

// Once a reason to run "without the lock": then a second instance did the
// same, and both wrote the folder.
TEST(StateFolderLock, ALockThatCannotBeTakenIsAFailureThatNamesIt)
{
    const std::pair<const char*, std::function<void(const std::filesystem::path&)>> cases[] = {
        {"folder", [](const std::filesystem::path& lock) { std::filesystem::create_directory(lock); }},
        {"link", [](const std::filesystem::path& lock) { std::filesystem::create_symlink("elsewhere", lock); }},
        {"link loop", [](const std::filesystem::path& lock) { std::filesystem::create_symlink(".lock", lock); }},
    };
    for (const auto& [name, make] : cases) {
        SCOPED_TRACE(name);
        fixtures::TempFolder temp;
        make(temp.path() / ".lock");
        const auto lock = StateFolderLock::acquire(temp.path());
        ASSERT_FALSE(lock.has_value());
        EXPECT_FALSE(lock.error().heldElsewhere);
        EXPECT_NE(lock.error().description.find(".lock"), std::string::npos) << lock.error().description;
        EXPECT_FALSE(std::filesystem::exists(temp.path() / "elsewhere"));
    }
}

TEST(StateFolderLock, AnOpenFolderIsMadePrivateAndAnotherUsersIsRefused)
{
    fixtures::TempFolder temp;
    ::chmod(temp.path().c_str(), 0755);
    ASSERT_TRUE(StateFolderLock::acquire(temp.path()).has_value());
    EXPECT_EQ(modeOf(temp.path()), 0700u);

    const auto foreign = fixtures::folderOfAnotherUser(temp.path());
    if (!foreign) {
        GTEST_SKIP() << "only root can give a folder to another user";
    }
    const auto lock = StateFolderLock::acquire(*foreign);
    ASSERT_FALSE(lock.has_value());
    EXPECT_FALSE(lock.error().heldElsewhere);
    EXPECT_NE(lock.error().description.find("belongs to another user"), std::string::npos);
    EXPECT_TRUE(fixtures::TempFolder::entries(*foreign).empty());
}

} // namespace
} // namespace quillmere
