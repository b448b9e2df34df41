// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/Instant.h"
#include "quillmere/Uuid.h"

#include <expected>
#include <filesystem>
#include <string>

namespace quillmere {

// Adds a question to the state folder itself, for when Quillmere is not
// running: under the folder's lock, through the same rules the application
// applies, so the question is there when Quillmere next starts. This needs no
// display and opens no window, which matters to agents on a remote shell or
// in a container.
struct OfflineQuestion {
    struct Failure {
        enum class Kind {
            // Another process holds the folder's lock: most likely Quillmere,
            // starting or unreachable on this bus. Nothing was written.
            folderBusy,
            // The question broke a rule for questions. Nothing was written.
            refused,
            // The folder or its state file could not be read, locked or
            // written; `description` says why.
            failed,
        };
        Kind kind = Kind::failed;
        std::string description;
    };

    // Locks `folder`, loads its state, adds the question as asked at `now`
    // and saves; the lock is given up on return. A state file this version
    // cannot read in full is left as it is rather than rewritten.
    [[nodiscard]] static std::expected<Uuid, Failure> ask(const std::filesystem::path& folder, const std::string& text,
                                                         const std::string& asker, Instant now);
};

} // namespace quillmere
