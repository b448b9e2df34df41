// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/AgentSnapshot.h"

#include <expected>
#include <filesystem>
#include <string>

namespace quillmere {

// The agents' document as Quillmere last saved it in its state folder: what
// quillmerectl shows when Quillmere is not running. Its `updated_at` says
// how old it is, which the reader is always told, since the timer in it has
// gone on running since.
struct SavedAgentState {
    struct Failure {
        // No file at all: Quillmere has never saved in this folder.
        bool missing = false;
        std::string description;
    };

    // The file's bytes, exactly as they are.
    std::string document;
    AgentSnapshot snapshot;

    Instant asOf() const { return snapshot.updatedAt; }

    // Reads `<folder>/agent-state.json`. A file that cannot be read or is not
    // an agent document is refused with the reason.
    [[nodiscard]] static std::expected<SavedAgentState, Failure> read(const std::filesystem::path& folder);
};

} // namespace quillmere
