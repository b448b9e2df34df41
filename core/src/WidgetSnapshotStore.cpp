// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/WidgetSnapshotStore.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>

namespace quillmere {
namespace {

std::optional<std::filesystem::path> absolutePath(const char* value)
{
    if (value == nullptr || *value == '\0') {
        return std::nullopt;
    }
    std::filesystem::path path(value);
    // Relative values are to be ignored: they would resolve against whatever
    // folder each process happened to start in, and the two would disagree.
    if (!path.is_absolute()) {
        return std::nullopt;
    }
    return path;
}

std::optional<std::filesystem::path> dataHome(const EnvironmentLookup& environment)
{
    if (auto home = absolutePath(environment("XDG_DATA_HOME"))) {
        return home;
    }
    if (auto home = absolutePath(environment("HOME"))) {
        return *home / ".local" / "share";
    }
    return std::nullopt;
}

// One plain folder name: anything else could lead out of "group-containers".
bool isFolderName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

// The schema version of a document that a reader of this version cannot
// decode, if it is newer than this version: such a file is refused as newer
// rather than reported as damaged.
std::optional<std::int64_t> newerSchemaVersion(std::string_view bytes)
{
    const auto tree = coding::parseDocument(bytes);
    if (!tree || !tree->is_object()) {
        return std::nullopt;
    }
    try {
        const std::int64_t version = coding::ObjectReader(*tree, "").integer("schemaVersion");
        if (version > WidgetSnapshot::currentSchemaVersion) {
            return version;
        }
    } catch (const coding::DecodingFailure&) {
    }
    return std::nullopt;
}

WidgetSnapshotLoadError failure(WidgetSnapshotLoadError::Kind kind)
{
    return WidgetSnapshotLoadError{.kind = kind};
}

WidgetSnapshotLoadError unsupported(std::int64_t found)
{
    return WidgetSnapshotLoadError{.kind = WidgetSnapshotLoadError::Kind::unsupportedSchemaVersion,
                                   .found = found,
                                   .supported = WidgetSnapshot::currentSchemaVersion};
}

} // namespace

const char* processEnvironment(const char* name)
{
    return std::getenv(name);
}

WidgetSnapshotStore::WidgetSnapshotStore(std::filesystem::path directory, ReplaceItem replaceItem)
    : directory_(std::move(directory)), snapshotURL_(directory_ / fileName), replaceItem_(std::move(replaceItem))
{
}

std::optional<WidgetSnapshotStore> WidgetSnapshotStore::shared(std::string_view groupIdentifier,
                                                               const EnvironmentLookup& environment)
{
    if (!isFolderName(groupIdentifier)) {
        return std::nullopt;
    }
    const auto home = dataHome(environment);
    if (!home) {
        return std::nullopt;
    }
    std::filesystem::path container = *home / "group-containers" / std::string(groupIdentifier);
    // Also refuses a path that exists but is not a folder.
    if (!createPrivateDirectory(container)) {
        return std::nullopt;
    }
    return WidgetSnapshotStore(std::move(container));
}

FileResult WidgetSnapshotStore::save(const WidgetSnapshot& snapshot) const
{
    // Owner-only: the file holds the user's plans and questions.
    return writeAtomically(snapshotURL_, encode(snapshot), replaceItem_,
                           {.mode = 0600, .durable = false, .createFolder = true});
}

std::expected<WidgetSnapshot, WidgetSnapshotLoadError> WidgetSnapshotStore::load() const
{
    using Kind = WidgetSnapshotLoadError::Kind;
    struct stat info {};
    if (::stat(snapshotURL_.c_str(), &info) != 0) {
        const bool missing = errno == ENOENT || errno == ENOTDIR;
        return std::unexpected(failure(missing ? Kind::notWritten : Kind::unreadable));
    }
    // Only the application writes here, never a link or a pipe; and no
    // snapshot it writes comes near the bound.
    const auto bytes = readWholeFile(snapshotURL_, {.maxBytes = maximumFileBytes, .followLinks = false});
    if (!bytes) {
        return std::unexpected(failure(Kind::unreadable));
    }
    auto snapshot = decodeWidgetSnapshot(*bytes);
    if (!snapshot) {
        if (const auto version = newerSchemaVersion(*bytes)) {
            return std::unexpected(unsupported(*version));
        }
        return std::unexpected(failure(Kind::unreadable));
    }
    if (snapshot->schemaVersion > WidgetSnapshot::currentSchemaVersion) {
        return std::unexpected(unsupported(snapshot->schemaVersion));
    }
    return std::move(*snapshot);
}

std::string WidgetSnapshotStore::encode(const WidgetSnapshot& snapshot)
{
    // A snapshot holds integers, texts, booleans and instants only, none of
    // which the encoder refuses (it fails only for non-finite numbers).
    return encodeDocument(toJson(snapshot), JsonLayout::compact).value();
}

} // namespace quillmere
