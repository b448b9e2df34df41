// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/Instant.h"

#include <cstddef>
#include <expected>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <system_error>

namespace quillmere {

// A failed file operation: what was being done, to which file, and the
// operating system's error code.
struct FileError {
    std::string operation;
    std::filesystem::path path;
    std::error_code code;
    // Said instead of the code's own text where that would mislead, e.g.
    // "it is not a regular file" for a named pipe.
    std::string reason = {};

    // "Could not <operation> <path>: <reason>".
    std::string description() const;

    friend bool operator==(const FileError&, const FileError&) = default;
};

using FileResult = std::expected<void, FileError>;

// Moves a finished temporary file over its destination. Injected so that
// tests can make the last step of a write fail.
using ReplaceItem =
    std::function<FileResult(const std::filesystem::path& temporary, const std::filesystem::path& destination)>;

// One rename(2) of `temporary` onto `destination`: atomic replacement within
// one file system. An errno that is not a known POSIX code is reported as EIO.
[[nodiscard]] FileResult renameReplacing(const std::filesystem::path& temporary, const std::filesystem::path& destination);

// Moves `temporary` to `destination` only if nothing is there: atomic, and
// an existing file (EEXIST) is left as it was, even one that appeared a
// moment before. Where the file system has no such rename, a hard link and
// the removal of the temporary name do the same.
[[nodiscard]] FileResult renameWithoutReplacing(const std::filesystem::path& temporary,
                                                const std::filesystem::path& destination);

// Creates `directory` and any missing parents with mode 0700, and makes the
// directory itself private: an existing one of the user's own is tightened to
// 0700 (its contents are the user's plans and reflections), one that belongs
// to another user is refused, and so is anything that is not a folder.
[[nodiscard]] FileResult createPrivateDirectory(const std::filesystem::path& directory);

// Tightens a file of the user's own to 0600 and its folder to 0700: for files
// that other libraries write with the umask's permissions (settings).
[[nodiscard]] FileResult makePrivate(const std::filesystem::path& file);

struct AtomicWriteOptions {
    // Permissions of the new file. Defaults to the owner only: every file
    // Quillmere writes holds private reflections.
    mode_t mode = 0600;
    // Flush the file before the rename and the folder after it, so that a power
    // cut leaves the old or the new file, never an empty one. Costly; meant
    // for the one file that cannot be rebuilt.
    bool durable = false;
    // When the folder is missing (the first write, or someone removed it or
    // put something else in its place),
    // create it with createPrivateDirectory and write again. Only then: a
    // file written every second must not try to create its folder each time.
    bool createFolder = false;
};

// Writes `bytes` to "." + name + "." + a UUID + ".tmp" beside `destination`
// (never overwriting an existing file) and hands it to `replaceItem`; a
// temporary file that was not renamed is removed. Readers see the old or the
// new file whole.
// A failure names `destination`, the file the user knows.
[[nodiscard]] FileResult writeAtomically(const std::filesystem::path& destination, std::string_view bytes,
                           const ReplaceItem& replaceItem, AtomicWriteOptions options = {});

// Removes what writeAtomically leaves beside `destination` when the process
// is killed mid-write. Only for the one writer of the folder, before it
// writes: another writer's temporary file would be taken from under it.
// Returns how many files were removed.
[[nodiscard]] std::expected<int, FileError> removeStaleTemporaries(const std::filesystem::path& destination);

struct ReadOptions {
    // Larger files are refused (EFBIG) rather than read into memory.
    std::size_t maxBytes = std::numeric_limits<std::size_t>::max();
    // Whether a symbolic link at the path itself is followed or refused.
    bool followLinks = true;
};

// Reads a whole regular file. Never blocks on what is not one: a named pipe,
// a device or a socket at the path is refused with "it is not a regular file".
[[nodiscard]] std::expected<std::string, FileError> readWholeFile(const std::filesystem::path& path, ReadOptions options = {});

enum class KeepAside { move, copy };

// Keeps `file` out of the way of the next write as
// "<stem>.<label>-<yyyyMMddTHHmmssZ of at>[-N]<extension>" beside it, never
// replacing an existing file: moved, or copied (a hard link where the file
// system allows it). Returns the kept file's path.
[[nodiscard]] std::expected<std::filesystem::path, FileError> keepAside(const std::filesystem::path& file, std::string_view label,
                                                          Instant at, KeepAside how);

} // namespace quillmere
