#pragma once

#include <expected>
#include <filesystem>
#include <functional>
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
FileResult renameReplacing(const std::filesystem::path& temporary, const std::filesystem::path& destination);

// Creates `directory` and any missing parents with `mode`; an existing folder
// is left as it is.
FileResult createDirectoryIfNeeded(const std::filesystem::path& directory, mode_t mode);

struct AtomicWriteOptions {
    // Permissions of the new file. Defaults to the owner only: every file
    // Quillmere writes holds private reflections.
    mode_t mode = 0600;
    // Flush the file before the rename and the folder after it, so that a power
    // cut leaves the old or the new file, never an empty one. Costly; meant
    // for the one file that cannot be rebuilt.
    bool durable = false;
};

// Writes `bytes` to "." + name + "." + new UUID + ".tmp" beside `destination`
// (never overwriting an existing file), hands it to `replaceItem`, and removes
// the temporary file in every case. Readers see the old or the new file whole.
FileResult writeAtomically(const std::filesystem::path& destination, std::string_view bytes,
                           const ReplaceItem& replaceItem, AtomicWriteOptions options = {});

// Reads a whole file.
std::expected<std::string, FileError> readWholeFile(const std::filesystem::path& path);

} // namespace quillmere
