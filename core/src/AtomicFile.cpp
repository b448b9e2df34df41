// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/AtomicFile.h"

#include "quillmere/Uuid.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace quillmere {
namespace {

constexpr mode_t privateFolderMode = 0700;
constexpr std::string_view temporarySuffix = ".tmp";

FileError errnoError(std::string operation, const std::filesystem::path& path, int error, std::string reason = {})
{
    return FileError{std::move(operation), path, std::error_code(error, std::generic_category()), std::move(reason)};
}

struct ClosedAtExit {
    explicit ClosedAtExit(int descriptor) : fd(descriptor) {}
    ClosedAtExit(const ClosedAtExit&) = delete;
    ClosedAtExit& operator=(const ClosedAtExit&) = delete;
    ~ClosedAtExit() { ::close(fd); }
    int fd;
};

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

// Takes group and other permissions away from something the user owns;
// leaves alone what belongs to someone else.
int tighten(const std::filesystem::path& path, const struct stat& info)
{
    if (info.st_uid != ::geteuid() || (info.st_mode & 077) == 0) {
        return 0;
    }
    return ::chmod(path.c_str(), info.st_mode & 0700) == 0 ? 0 : errno;
}

std::string sizeText(std::size_t bytes)
{
    constexpr std::size_t mebibyte = 1024 * 1024;
    if (bytes >= mebibyte && bytes % mebibyte == 0) {
        return std::to_string(bytes / mebibyte) + " MiB";
    }
    return std::to_string(bytes) + " bytes";
}

FileError tooLarge(const std::filesystem::path& path, std::size_t maxBytes)
{
    return errnoError("read", path, EFBIG, "it is larger than " + sizeText(maxBytes));
}

// yyyyMMddTHHmmssZ, from the files' "yyyy-MM-ddTHH:mm:ssZ".
std::string compactUtc(Instant instant)
{
    std::string iso = formatInstant(instant);
    std::erase(iso, '-');
    std::erase(iso, ':');
    return iso;
}

// rename(2) that never replaces an existing file; 0 or the errno.
int renameUnlessExisting(const std::filesystem::path& from, const std::filesystem::path& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return errno;
    }
    // File systems without the flag: a hard link fails on an existing name too.
    if (::link(from.c_str(), to.c_str()) != 0) {
        return errno;
    }
    ::unlink(from.c_str());
    return 0;
}

// A copy that never replaces an existing file: a second name for the same
// file where the file system allows it, else the bytes, flushed.
int copyWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to)
{
    if (::link(from.c_str(), to.c_str()) == 0) {
        return 0;
    }
    if (errno == EEXIST || errno == ENOENT) {
        return errno;
    }
    const auto bytes = readWholeFile(from);
    if (!bytes) {
        return bytes.error().code.value();
    }
    const int fd = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        return errno;
    }
    int error = writeAll(fd, *bytes);
    if (error == 0 && ::fsync(fd) != 0) {
        error = errno;
    }
    ::close(fd);
    if (error != 0) {
        ::unlink(to.c_str());
    }
    return error;
}

bool isTemporaryOf(std::string_view name, std::string_view prefix)
{
    constexpr std::size_t uuidLength = 36;
    if (name.size() != prefix.size() + uuidLength + temporarySuffix.size() || !name.starts_with(prefix) ||
        !name.ends_with(temporarySuffix)) {
        return false;
    }
    return Uuid::parse(name.substr(prefix.size(), uuidLength)).has_value();
}

std::string temporaryPrefix(const std::filesystem::path& destination)
{
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) about
    // "literal" + std::string temporaries in optimised builds.
    std::string prefix = ".";
    prefix += destination.filename().string();
    prefix += '.';
    return prefix;
}

} // namespace

std::string FileError::description() const
{
    return "Could not " + operation + " " + path.string() + ": " + (reason.empty() ? code.message() : reason);
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

FileResult renameWithoutReplacing(const std::filesystem::path& temporary, const std::filesystem::path& destination)
{
    if (const int error = renameUnlessExisting(temporary, destination); error != 0) {
        return std::unexpected(errnoError("create", destination, error));
    }
    return {};
}

FileResult createPrivateDirectory(const std::filesystem::path& directory)
{
    std::filesystem::path partial;
    for (const auto& part : directory) {
        partial /= part;
        if (partial == partial.root_path() || part.empty()) {
            continue;
        }
        if (::mkdir(partial.c_str(), privateFolderMode) != 0 && errno != EEXIST) {
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
    if (info.st_uid != ::geteuid()) {
        return std::unexpected(errnoError("use the folder", directory, EPERM, "it belongs to another user"));
    }
    if (const int error = tighten(directory, info); error != 0) {
        return std::unexpected(errnoError("restrict access to", directory, error));
    }
    return {};
}

FileResult makePrivate(const std::filesystem::path& file)
{
    for (const std::filesystem::path& path : {file, file.parent_path()}) {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0) {
            return std::unexpected(errnoError("restrict access to", path, errno));
        }
        if (const int error = tighten(path, info); error != 0) {
            return std::unexpected(errnoError("restrict access to", path, error));
        }
    }
    return {};
}

// A temporary name no other writer picks, in the form stale temporaries are
// recognised by: this process's random identifier with a count of its writes
// in the last twelve digits. Files are written every second; asking the
// kernel for randomness each time would be a system call for nothing.
std::string temporaryIdentifier()
{
    static const std::string base = Uuid::generate().toString();
    static std::atomic<std::uint64_t> writes{0};
    std::string identifier = base;
    char count[13];
    std::snprintf(count, sizeof count, "%012llX",
                  static_cast<unsigned long long>(writes.fetch_add(1) & 0xFFFF'FFFF'FFFFull));
    identifier.replace(identifier.size() - 12, 12, count);
    return identifier;
}

FileResult writeAtomically(const std::filesystem::path& destination, std::string_view bytes,
                           const ReplaceItem& replaceItem, AtomicWriteOptions options)
{
    if (options.createFolder) {
        options.createFolder = false;
        FileResult written = writeAtomically(destination, bytes, replaceItem, options);
        const std::error_code failure = written ? std::error_code() : written.error().code;
        if (failure != std::errc::no_such_file_or_directory && failure != std::errc::not_a_directory) {
            return written;
        }
        if (FileResult created = createPrivateDirectory(destination.parent_path()); !created) {
            return created;
        }
        return writeAtomically(destination, bytes, replaceItem, options);
    }
    std::string name = temporaryPrefix(destination);
    name += temporaryIdentifier();
    name += temporarySuffix;
    const std::filesystem::path temporary = destination.parent_path() / name;

    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, options.mode);
    if (fd < 0) {
        return std::unexpected(errnoError("write", destination, errno));
    }
    int error = writeAll(fd, bytes);
    if (error == 0 && options.durable && ::fsync(fd) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }

    if (error != 0) {
        ::unlink(temporary.c_str());
        return std::unexpected(errnoError("write", destination, error));
    }
    if (FileResult replaced = replaceItem(temporary, destination); !replaced) {
        ::unlink(temporary.c_str());
        return replaced;
    }
    // The rename is only durable once the folder entry is on disk.
    if (options.durable) {
        if (const int syncError = syncDirectory(destination.parent_path()); syncError != 0) {
            return std::unexpected(errnoError("flush the folder of", destination, syncError));
        }
    }
    return {};
}

std::expected<int, FileError> removeStaleTemporaries(const std::filesystem::path& destination)
{
    const std::filesystem::path folder = destination.parent_path();
    const std::unique_ptr<DIR, int (*)(DIR*)> directory(::opendir(folder.c_str()), ::closedir);
    if (!directory) {
        if (errno == ENOENT) {
            return 0;
        }
        return std::unexpected(errnoError("list the folder", folder, errno));
    }
    const std::string prefix = temporaryPrefix(destination);
    int removed = 0;
    while (const dirent* entry = ::readdir(directory.get())) {
        if (!isTemporaryOf(entry->d_name, prefix)) {
            continue;
        }
        const std::filesystem::path path = folder / entry->d_name;
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
            continue;
        }
        if (::unlink(path.c_str()) != 0) {
            if (errno == ENOENT) {
                continue;
            }
            return std::unexpected(errnoError("remove", path, errno));
        }
        ++removed;
    }
    return removed;
}

std::expected<std::string, FileError> readWholeFile(const std::filesystem::path& path, ReadOptions options)
{
    // Non-blocking: opening a named pipe for reading would otherwise wait for
    // a writer, forever. Regular files ignore the flag.
    const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | (options.followLinks ? 0 : O_NOFOLLOW);
    const int fd = ::open(path.c_str(), flags);
    if (fd < 0) {
        const int error = errno;
        struct stat info {};
        if (error == ELOOP && !options.followLinks && ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
            return std::unexpected(errnoError("read", path, error, "it is a symbolic link"));
        }
        return std::unexpected(errnoError("read", path, error));
    }
    const ClosedAtExit closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return std::unexpected(errnoError("read", path, errno));
    }
    if (!S_ISREG(info.st_mode)) {
        return std::unexpected(
            errnoError("read", path, S_ISDIR(info.st_mode) ? EISDIR : EINVAL, "it is not a regular file"));
    }
    if (static_cast<std::uintmax_t>(info.st_size) > options.maxBytes) {
        return std::unexpected(tooLarge(path, options.maxBytes));
    }
    std::string contents;
    contents.reserve(static_cast<std::size_t>(info.st_size));
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
            return std::unexpected(errnoError("read", path, errno));
        }
        // The file may grow while it is read.
        if (contents.size() + static_cast<std::size_t>(got) > options.maxBytes) {
            return std::unexpected(tooLarge(path, options.maxBytes));
        }
        contents.append(buffer, static_cast<std::size_t>(got));
    }
    return contents;
}

std::expected<std::filesystem::path, FileError> keepAside(const std::filesystem::path& file, std::string_view label,
                                                          Instant at, KeepAside how)
{
    std::string stem = file.stem().string();
    stem += '.';
    stem += label;
    stem += '-';
    stem += compactUtc(at);
    const std::string extension = file.extension().string();
    for (int attempt = 1; attempt <= 100; ++attempt) {
        std::string name = stem;
        if (attempt > 1) {
            name += '-';
            name += std::to_string(attempt);
        }
        name += extension;
        const std::filesystem::path kept = file.parent_path() / name;
        const int error = how == KeepAside::move ? renameUnlessExisting(file, kept) : copyWithoutReplacing(file, kept);
        if (error == EEXIST) {
            continue;
        }
        if (error != 0) {
            return std::unexpected(errnoError("keep a copy of", file, error));
        }
        return kept;
    }
    return std::unexpected(errnoError("keep a copy of", file, EEXIST, "no free name was left for the copy"));
}

} // namespace quillmere
