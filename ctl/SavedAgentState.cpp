// SPDX-License-Identifier: GPL-3.0-or-later
#include "SavedAgentState.h"

#include "quillmere/AtomicFile.h"
#include "quillmere/StateStore.h"

namespace quillmere {

std::expected<SavedAgentState, SavedAgentState::Failure> SavedAgentState::read(const std::filesystem::path& folder)
{
    const std::filesystem::path file = folder / StateStore::agentStateFileName;
    // The document holds one block and the open questions, far less than a
    // state file; the state's limit keeps a stray huge file out of memory.
    auto bytes = readWholeFile(file, ReadOptions{.maxBytes = StateStore::maximumStateBytes});
    if (!bytes) {
        return std::unexpected(Failure{.missing = bytes.error().code == std::errc::no_such_file_or_directory,
                                       .description = bytes.error().description()});
    }
    auto snapshot = decodeAgentSnapshot(*bytes);
    if (!snapshot) {
        return std::unexpected(
            Failure{.missing = false, .description = file.string() + ": " + snapshot.error().description()});
    }
    return SavedAgentState{.document = std::move(*bytes), .snapshot = std::move(*snapshot)};
}

} // namespace quillmere
