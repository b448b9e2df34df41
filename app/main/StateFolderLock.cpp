#include "StateFolderLock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace quillmere {
namespace {

std::string systemError(const std::string& what, const std::filesystem::path& path, int error)
{
    return what + " " + path.string() + ": " + std::strerror(error);
}

// mkdir -p with mode 0700 for every folder it creates; folders that already
// exist keep their mode.
int createFolders(const std::filesystem::path& folder)
{
    std::filesystem::path partial;
    for (const auto& part : folder) {
        partial /= part;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) {
            return errno;
        }
    }
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) {
        return errno;
    }
    return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
}

} // namespace

std::expected<StateFolderLock, StateFolderLock::Failure> StateFolderLock::acquire(const std::filesystem::path& folder)
{
    if (const int error = createFolders(folder); error != 0) {
        return std::unexpected(Failure{false, systemError("cannot create the folder", folder, error)});
    }
    const std::filesystem::path path = folder / lockFileName;
    const int descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (descriptor < 0) {
        return std::unexpected(Failure{false, systemError("cannot open", path, errno)});
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
