// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <expected>
#include <filesystem>
#include <string>

namespace quillmere {

// The exclusive lock that makes this process the one writer of a state
// folder: flock(2) on `<folder>/.lock`, held from start-up until the process
// ends. The kernel drops it when the process dies, however it dies, so a
// crash never leaves a stale lock behind.
class StateFolderLock {
public:
    struct Failure {
        // Another process holds the lock: the folder has a writer already.
        bool heldElsewhere = false;
        std::string description;
    };

    static constexpr const char* lockFileName = ".lock";

    // Creates the folder (mode 0700, missing parents too; an existing one
    // is made private, one of another user's refused) and takes the lock
    // without waiting. Any failure but `heldElsewhere` means the lock cannot
    // be had at all (`.lock` is a folder, a link, not ours to open): the
    // caller must not write the folder then, for it could not tell a second
    // writer from none.
    [[nodiscard]] static std::expected<StateFolderLock, Failure> acquire(const std::filesystem::path& folder);
    // acquire(), trying again for up to `patience` while another process
    // holds the lock: a short holder (a command that adds one question
    // while the application is closed) is waited for, a running writer is
    // not.
    [[nodiscard]] static std::expected<StateFolderLock, Failure> acquire(const std::filesystem::path& folder,
                                                                       std::chrono::milliseconds patience);

    StateFolderLock(StateFolderLock&& other) noexcept;
    StateFolderLock& operator=(StateFolderLock&& other) noexcept;
    StateFolderLock(const StateFolderLock&) = delete;
    StateFolderLock& operator=(const StateFolderLock&) = delete;
    ~StateFolderLock();

private:
    explicit StateFolderLock(int descriptor) : descriptor_(descriptor) {}

    int descriptor_ = -1;
};

} // namespace quillmere
