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
#include <variant>

namespace quillmere {

// Why loading or saving the state failed: the file system's error, or what
// was wrong inside the file.
struct StoreError {
    std::variant<FileError, CodingError> cause;
    std::filesystem::path file;

    std::string description() const;

    friend bool operator==(const StoreError&, const StoreError&) = default;
};

// Keeps the whole state in `state.json` and, after every save, the agents'
// export `agent-state.json` beside it. Every call reads or writes the files;
// the only thing kept between calls is the encoded text of unchanged history
// blocks, which makes a save with years of history cheap. Both files are replaced atomically; `state.json`
// is also flushed to disk before and after the rename, since losing it loses
// the user's whole history. Files are private to the user (mode 0600) in a
// folder created with mode 0700.
class StateStore {
public:
    using Clock = std::function<Instant()>;
    using Environment = std::function<const char*(const char*)>;

    static constexpr const char* stateFileName = "state.json";
    static constexpr const char* agentStateFileName = "agent-state.json";

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
    // created then). A file that cannot be read or decoded is left untouched.
    std::expected<QuillmereState, StoreError> load() const;

    // Writes `state.json`, then the agent file stamped with the state's
    // `updatedAt`. The first failure ends the save.
    std::expected<void, StoreError> save(const QuillmereState& state) const;

    // Writes only the agent file, as of `at`.
    std::expected<void, StoreError> saveAgentSnapshot(const QuillmereState& state, Instant at) const;

    static AgentSnapshot agentSnapshot(const QuillmereState& state, std::optional<Instant> at = std::nullopt);

    static Clock systemClock();
    static Environment defaultEnvironment();

private:
    std::expected<void, StoreError> createDirectoryIfNeeded() const;

    std::filesystem::path directory_;
    std::filesystem::path stateURL_;
    std::filesystem::path agentStateURL_;
    ReplaceItem replaceItem_;
    Clock now_;
    // Remembers the encoded history between saves; copies of a store share it.
    std::shared_ptr<StateEncoder> encoder_;
};

} // namespace quillmere
