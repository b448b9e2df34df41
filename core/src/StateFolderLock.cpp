// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/StateFolderLock.h"

#include "quillmere/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <thread>
#include <utility>

namespace quillmere {
namespace {

std::string systemError(const std::string& what, const std::filesystem::path& path, int error)
{
    return what + " " + path.string() + ": " + std::strerror(error);
}

} // namespace

std::expected<StateFolderLock, StateFolderLock::Failure> StateFolderLock::acquire(const std::filesystem::path& folder)
{
    // Also refuses a folder of another user's: its owner could read or
    // replace everything written there.
    if (auto created = createPrivateDirectory(folder); !created) {
        return std::unexpected(Failure{false, created.error().description()});
    }
    const std::filesystem::path path = folder / lockFileName;
    const int descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (descriptor < 0) {
        const int error = errno;
        struct stat info {};
        if (::lstat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
            return std::unexpected(Failure{false, path.string() + " is not a regular file"});
        }
        return std::unexpected(Failure{false, systemError("cannot open", path, error)});
    }
    while (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        if (error == EINTR) {
            continue;
        }
        ::close(descriptor);
        if (error == EWOULDBLOCK) {
            return std::unexpected(Failure{true, path.string() + " is locked by another process"});
        }
        return std::unexpected(Failure{false, systemError("cannot lock", path, error)});
    }
    return StateFolderLock(descriptor);
}

std::expected<StateFolderLock, StateFolderLock::Failure> StateFolderLock::acquire(const std::filesystem::path& folder,
                                                                                std::chrono::milliseconds patience)
{
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        auto lock = acquire(folder);
        if (lock || !lock.error().heldElsewhere || std::chrono::steady_clock::now() >= deadline) {
            return lock;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

StateFolderLock::StateFolderLock(StateFolderLock&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1))
{
}

StateFolderLock& StateFolderLock::operator=(StateFolderLock&& other) noexcept
{
    if (this != &other) {
        if (descriptor_ >= 0) {
            ::close(descriptor_);
        }
        descriptor_ = std::exchange(other.descriptor_, -1);
    }
    return *this;
}

StateFolderLock::~StateFolderLock()
{
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

} // namespace quillmere
