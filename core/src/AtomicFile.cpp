#include "quillmere/AtomicFile.h"

#include "quillmere/Uuid.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillmere {
namespace {

FileError errnoError(std::string operation, const std::filesystem::path& path, int error)
{
    return FileError{std::move(operation), path, std::error_code(error, std::generic_category())};
}

// Writes all of `bytes`, retrying short writes and interruptions.
int writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

int syncDirectory(const std::filesystem::path& directory)
{
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    const int result = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return result;
}

} // namespace

std::string FileError::description() const
{
    return "Could not " + operation + " " + path.string() + ": " + code.message();
}

FileResult renameReplacing(const std::filesystem::path& temporary, const std::filesystem::path& destination)
{
    if (::rename(temporary.c_str(), destination.c_str()) == 0) {
        return {};
    }
    const int error = errno;
    // strerror names every code the C library knows; anything else is not a
    // POSIX error we can report faithfully.
    const bool known = error > 0 && std::strncmp(std::strerror(error), "Unknown error", 13) != 0;
    return std::unexpected(errnoError("replace", destination, known ? error : EIO));
}

FileResult createDirectoryIfNeeded(const std::filesystem::path& directory, mode_t mode)
{
    std::filesystem::path partial;
    for (const auto& part : directory) {
        partial /= part;
        if (partial == partial.root_path() || part.empty()) {
            continue;
        }
        if (::mkdir(partial.c_str(), mode) != 0 && errno != EEXIST) {
            return std::unexpected(errnoError("create the folder", partial, errno));
        }
    }
    struct stat info {};
    if (::stat(directory.c_str(), &info) != 0) {
        return std::unexpected(errnoError("create the folder", directory, errno));
    }
    if (!S_ISDIR(info.st_mode)) {
        return std::unexpected(errnoError("create the folder", directory, ENOTDIR));
    }
    return {};
}

FileResult writeAtomically(const std::filesystem::path& destination, std::string_view bytes,
                           const ReplaceItem& replaceItem, AtomicWriteOptions options)
{
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) about
    // "literal" + std::string temporaries in optimised builds.
    std::string name = ".";
    name += destination.filename().string();
    name += '.';
    name += Uuid::generate().toString();
    name += ".tmp";
    const std::filesystem::path temporary = destination.parent_path() / name;

    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, options.mode);
    if (fd < 0) {
        return std::unexpected(errnoError("write", temporary, errno));
    }
    int error = writeAll(fd, bytes);
    if (error == 0 && options.durable && ::fsync(fd) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }

    FileResult result;
    if (error != 0) {
        result = std::unexpected(errnoError("write", temporary, error));
    } else {
        result = replaceItem(temporary, destination);
        if (result && options.durable) {
            // The rename is only durable once the folder entry is on disk.
            if (const int syncError = syncDirectory(destination.parent_path()); syncError != 0) {
                result = std::unexpected(errnoError("flush the folder of", destination, syncError));
            }
        }
    }
    ::unlink(temporary.c_str()); // normally already consumed by the rename
    return result;
}

std::expected<std::string, FileError> readWholeFile(const std::filesystem::path& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::unexpected(errnoError("read", path, errno));
    }
    std::string contents;
    char buffer[65536];
    while (true) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got == 0) {
            break;
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int error = errno;
            ::close(fd);
            return std::unexpected(errnoError("read", path, error));
        }
        contents.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return contents;
}

} // namespace quillmere
