// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/StateStore.h"

#include "quillmere/StateCoding.h"
#include "quillmere/StateConsistency.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillmere {
namespace {

constexpr mode_t privateFile = 0600;

std::filesystem::path homeDirectory(const StateStore::Environment& environment)
{
    if (const char* home = environment("HOME"); home != nullptr && home[0] == '/') {
        return home;
    }
    if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr) {
        return entry->pw_dir;
    }
    std::error_code ignored;
    return std::filesystem::temp_directory_path(ignored);
}

} // namespace

std::string StoreError::description() const
{
    if (const auto* error = std::get_if<FileError>(&cause)) {
        return error->description();
    }
    return file.string() + ": " + std::get<CodingError>(cause).description();
}

StateStore::StateStore(std::filesystem::path directory, Clock now, ReplaceItem replaceItem)
    : directory_(std::move(directory)),
      stateURL_(directory_ / stateFileName),
      agentStateURL_(directory_ / agentStateFileName),
      replaceItem_(std::move(replaceItem)),
      now_(std::move(now)),
      encoder_(std::make_shared<StateEncoder>())
{
}

StateStore::StateStore(std::filesystem::path directory, ReplaceItem replaceItem)
    : StateStore(std::move(directory), systemClock(), std::move(replaceItem))
{
}

StateStore::Clock StateStore::systemClock()
{
    return [] { return std::chrono::system_clock::now(); };
}

StateStore::Environment StateStore::defaultEnvironment()
{
    return [](const char* name) -> const char* { return std::getenv(name); };
}

std::filesystem::path StateStore::defaultDirectory(const Environment& environment)
{
    // The XDG rules ignore an empty or relative data home.
    if (const char* dataHome = environment("XDG_DATA_HOME"); dataHome != nullptr && dataHome[0] == '/') {
        return std::filesystem::path(dataHome) / "Quillmere";
    }
    return homeDirectory(environment) / ".local" / "share" / "Quillmere";
}

std::expected<LoadedState, StoreError> StateStore::loadNotingUnknownMembers() const
{
    struct stat info {};
    if (::stat(stateURL_.c_str(), &info) != 0 && errno == ENOENT) {
        return LoadedState{QuillmereState::initial(now_()), {}};
    }
    auto bytes = readWholeFile(stateURL_, {.maxBytes = maximumStateBytes});
    if (!bytes) {
        return std::unexpected(StoreError{bytes.error(), stateURL_});
    }
    auto decoded = decodeStateNotingUnknownMembers(*bytes);
    if (!decoded) {
        return std::unexpected(StoreError{decoded.error(), stateURL_});
    }
    if (auto consistent = checkConsistency(decoded->state); !consistent) {
        return std::unexpected(StoreError{consistent.error(), stateURL_});
    }
    return LoadedState{std::move(decoded->state), std::move(decoded->unknownMembers)};
}

std::expected<QuillmereState, StoreError> StateStore::load() const
{
    auto loaded = loadNotingUnknownMembers();
    if (!loaded) {
        return std::unexpected(std::move(loaded.error()));
    }
    return std::move(loaded->state);
}

bool StateStore::stateFileExists() const
{
    struct stat info {};
    if (::lstat(stateURL_.c_str(), &info) == 0) {
        return true;
    }
    return errno != ENOENT && errno != ENOTDIR;
}

std::expected<std::filesystem::path, StoreError> StateStore::keepStateFileAside(std::string_view label, Instant at,
                                                                               KeepAside how) const
{
    auto kept = keepAside(stateURL_, label, at, how);
    if (!kept) {
        return std::unexpected(StoreError{kept.error(), stateURL_});
    }
    return std::move(*kept);
}

std::expected<std::optional<std::filesystem::path>, StoreError> StateStore::keepUnreadableStateFile(Instant at) const
{
    if (!stateFileExists()) {
        return std::nullopt;
    }
    auto kept = keepStateFileAside("unreadable", at, KeepAside::move);
    if (!kept) {
        return std::unexpected(kept.error());
    }
    return std::optional(std::move(*kept));
}

std::expected<std::filesystem::path, StoreError> StateStore::keepNewerStateFile(Instant at) const
{
    return keepStateFileAside("backup", at, KeepAside::copy);
}

std::expected<int, StoreError> StateStore::removeStaleTemporaries() const
{
    int removed = 0;
    for (const std::filesystem::path& file : {stateURL_, agentStateURL_}) {
        const auto count = quillmere::removeStaleTemporaries(file);
        if (!count) {
            return std::unexpected(StoreError{count.error(), file});
        }
        removed += *count;
    }
    return removed;
}

std::expected<void, StoreError> StateStore::checkFolderOnce() const
{
    if (!folderChecked_) {
        if (auto created = createPrivateDirectory(directory_); !created) {
            return std::unexpected(StoreError{created.error(), directory_});
        }
        folderChecked_ = true;
    }
    return {};
}

std::expected<void, StoreError> StateStore::save(const QuillmereState& state) const
{
    if (auto saved = saveStateFile(state); !saved) {
        return saved;
    }
    return saveAgentSnapshot(state, state.updatedAt);
}

std::expected<void, StoreError> StateStore::saveStateFile(const QuillmereState& state) const
{
    if (auto checked = checkFolderOnce(); !checked) {
        return checked;
    }
    const auto text = encoder_->encode(state);
    if (!text) {
        return std::unexpected(StoreError{text.error(), stateURL_});
    }
    if (auto written = writeAtomically(stateURL_, *text, replaceItem_,
                                       {.mode = privateFile, .durable = true, .createFolder = true});
        !written) {
        return std::unexpected(StoreError{written.error(), stateURL_});
    }
    return {};
}

std::expected<void, StoreError> StateStore::saveAgentSnapshot(const QuillmereState& state, Instant at) const
{
    const auto text = encodeAgentFile(state, at);
    if (!text) {
        return std::unexpected(text.error());
    }
    return writeAgentFile(*text);
}

std::expected<std::string, StoreError> StateStore::encodeAgentFile(const QuillmereState& state, Instant at) const
{
    auto text = encodeAgentSnapshot(agentSnapshot(state, at));
    if (!text) {
        return std::unexpected(StoreError{text.error(), agentStateURL_});
    }
    return std::move(*text);
}

std::expected<void, StoreError> StateStore::writeAgentFile(std::string_view text) const
{
    if (auto checked = checkFolderOnce(); !checked) {
        return checked;
    }
    // Rebuilt every second from the state: atomic for readers, not flushed.
    if (auto written = writeAtomically(agentStateURL_, text, replaceItem_,
                                       {.mode = privateFile, .durable = false, .createFolder = true});
        !written) {
        return std::unexpected(StoreError{written.error(), agentStateURL_});
    }
    return {};
}

AgentSnapshot StateStore::agentSnapshot(const QuillmereState& state, std::optional<Instant> at)
{
    return AgentSnapshot::make(state, at);
}

} // namespace quillmere
