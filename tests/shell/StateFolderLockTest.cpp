#include "StateFolderLock.h"

#include "TempFolder.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <fstream>

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

TEST(StateFolderLock, FileInPlaceOfTheFolderIsAnOrdinaryFailure)
{
    fixtures::TempFolder temp;
    std::ofstream(temp.path() / "Quillmere") << "not a folder";

    const auto lock = StateFolderLock::acquire(temp.path() / "Quillmere");

    ASSERT_FALSE(lock.has_value());
    EXPECT_FALSE(lock.error().heldElsewhere);
}

} // namespace
} // namespace quillmere
