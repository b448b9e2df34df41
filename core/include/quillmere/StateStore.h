// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/AgentSnapshot.h"
#include "quillmere/AtomicFile.h"
#include "quillmere/QuillmereState.h"
#include "quillmere/StateCoding.h"

#include <expected>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace quillmere {

// Why loading or saving the state failed: the file system's error, or what
// was wrong inside the file.
struct StoreError {
    std::variant<FileError, CodingError> cause;
    std::filesystem::path file;

    std::string description() const;

    friend bool operator==(const StoreError&, const StoreError&) = default;
};

// What a load found besides the state.
struct LoadedState {
    QuillmereState state;
    // Members of the file that this version does not know, in the file's
    // spelling; the next save would drop them.
    std::vector<std::string> unknownMembers;

    friend bool operator==(const LoadedState&, const LoadedState&) = default;
};

// Keeps the whole state in `state.json` and, after every save, the agents'
// export `agent-state.json` beside it. Every call reads or writes the files;
// the only thing kept between calls is the encoded text of unchanged history
// blocks, which makes a save with years of history cheap. Both files are
// replaced atomically; `state.json` is also flushed to disk before and after
// the rename, since losing it loses the user's whole history. Files are
// private to the user (mode 0600) in a folder of mode 0700, which a save
// tightens to that if it was more open; a folder of another user's is refused.
// Nothing here throws, whatever is found at the files' paths.
//
// Only one process may write a folder: the application holds a lock for that
// (see StateFolderLock) before it builds its store. A store is used by one
// thread at a time; copies share the encoded history, so only one of them
// may save the state file.
class StateStore {
public:
    using Clock = std::function<Instant()>;
    using Environment = std::function<const char*(const char*)>;

    static constexpr const char* stateFileName = "state.json";
    static constexpr const char* agentStateFileName = "agent-state.json";
    // A larger state file is refused rather than read: decoding it would
    // take seconds and gigabytes. The state of twenty years of daily blocks
    // is a sixth of it.
    static constexpr std::size_t maximumStateBytes = std::size_t{64} * 1024 * 1024;

    // `now` only stamps a fresh initial state when there is no file yet.
    explicit StateStore(std::filesystem::path directory, Clock now = systemClock(),
                        ReplaceItem replaceItem = renameReplacing);
    StateStore(std::filesystem::path directory, ReplaceItem replaceItem);

    // `$XDG_DATA_HOME/Quillmere/`, or `~/.local/share/Quillmere/` when the
    // variable is unset, empty or relative. Does not create it.
    static std::filesystem::path defaultDirectory(const Environment& environment = defaultEnvironment());

    const std::filesystem::path& directory() const { return directory_; }
    const std::filesystem::path& stateURL() const { return stateURL_; }
    const std::filesystem::path& agentStateURL() const { return agentStateURL_; }

    // The stored state; the initial state when there is no file (nothing is
    // created then). A file that cannot be read or decoded, or that describes
    // a state the application cannot run (checkConsistency), is refused and
    // left untouched.
    [[nodiscard]] std::expected<QuillmereState, StoreError> load() const;
    // load(), also naming what of the file a save would drop.
    [[nodiscard]] std::expected<LoadedState, StoreError> loadNotingUnknownMembers() const;

    // Whether anything is at the state file's path, even something that
    // cannot be read. True when that cannot be told (a folder without
    // access): the caller then keeps its hands off the path.
    bool stateFileExists() const;

    // Moves or copies the state file aside as "state.<label>-<UTC time>.json"
    // (see keepAside), e.g. before a save would destroy what it holds.
    [[nodiscard]] std::expected<std::filesystem::path, StoreError> keepStateFileAside(std::string_view label,
                                                                                     Instant at, KeepAside how) const;

    // Before the first save over a file that load() refused: moves whatever
    // is at the state file's path aside as "state.unreadable-<UTC time>.json",
    // for it may hold the user's whole history. Nothing there (it went
    // meanwhile) keeps nothing and is no failure. A failure means the save
    // must not happen, since it would destroy the only copy.
    [[nodiscard]] std::expected<std::optional<std::filesystem::path>, StoreError>
    keepUnreadableStateFile(Instant at) const;
    // Before the first save over a file holding members that this version
    // does not know (LoadedState::unknownMembers), which the save would drop:
    // copies it as "state.backup-<UTC time>.json".
    [[nodiscard]] std::expected<std::filesystem::path, StoreError> keepNewerStateFile(Instant at) const;

    // Removes the temporary files that a process killed mid-save left beside
    // both files. For the folder's one writer, before its first save.
    [[nodiscard]] std::expected<int, StoreError> removeStaleTemporaries() const;

    // Writes `state.json`, then the agent file stamped with the state's
    // `updatedAt`. The first failure ends the save.
    [[nodiscard]] std::expected<void, StoreError> save(const QuillmereState& state) const;

    // Writes only `state.json`.
    [[nodiscard]] std::expected<void, StoreError> saveStateFile(const QuillmereState& state) const;

    // Writes only the agent file, as of `at`.
    [[nodiscard]] std::expected<void, StoreError> saveAgentSnapshot(const QuillmereState& state, Instant at) const;

    // saveAgentSnapshot in two steps, for a caller that encodes on one thread
    // and writes on another.
    [[nodiscard]] std::expected<std::string, StoreError> encodeAgentFile(const QuillmereState& state, Instant at) const;
    [[nodiscard]] std::expected<void, StoreError> writeAgentFile(std::string_view text) const;

    static AgentSnapshot agentSnapshot(const QuillmereState& state, std::optional<Instant> at = std::nullopt);

    static Clock systemClock();
    static Environment defaultEnvironment();

private:
    // Makes the folder private, or refuses one of another user's, before the
    // first write of this store; later writes create it only when it has gone.
    [[nodiscard]] std::expected<void, StoreError> checkFolderOnce() const;
    mutable bool folderChecked_ = false;
    std::filesystem::path directory_;
    std::filesystem::path stateURL_;
    std::filesystem::path agentStateURL_;
    ReplaceItem replaceItem_;
    Clock now_;
    // Remembers the encoded history between saves; copies of a store share it.
    std::shared_ptr<StateEncoder> encoder_;
};

} // namespace quillmere
