// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/AtomicFile.h"
#include "quillmere/WidgetSnapshot.h"

#include <cstdint>
#include <expected>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quillmere {

// The names the application and the widget process must agree on.
namespace QuillmereAppGroup {
// Names the shared container folder both processes resolve.
inline constexpr std::string_view identifier = "J4N7R2D9K5.quillmere";
// The widget the application asks the host to reload.
inline constexpr std::string_view widgetKind = "QuillmereStatusWidget";
inline constexpr std::string_view urlScheme = "quillmere";
} // namespace QuillmereAppGroup

// Why the widget could not read a snapshot. `found` and `supported` carry the
// schema versions for `unsupportedSchemaVersion` and are 0 otherwise.
struct WidgetSnapshotLoadError {
    enum class Kind {
        unsupportedSchemaVersion,
        // Never produced by `load` (a missing container means no store); kept
        // for readers that report it and treat it like `unreadable`.
        containerUnavailable,
        notWritten,
        unreadable,
    };

    Kind kind = Kind::unreadable;
    std::int64_t found = 0;
    std::int64_t supported = 0;

    friend bool operator==(const WidgetSnapshotLoadError&, const WidgetSnapshotLoadError&) = default;
};

// Reads an environment variable (null when unset); injected so that tests can
// choose the data home.
using EnvironmentLookup = std::function<const char*(const char*)>;

// The process's own environment.
const char* processEnvironment(const char* name);

// The one file the application and the widget process share: the latest
// widget snapshot, replaced whole so that the reader never sees half of it.
class WidgetSnapshotStore {
public:
    static constexpr std::string_view fileName = "widget-snapshot.json";
    // A larger file is refused unread: texts in a snapshot are cut short, so
    // only a hostile file comes near this.
    static constexpr std::size_t maximumFileBytes = std::size_t{1024} * 1024;

    explicit WidgetSnapshotStore(std::filesystem::path directory, ReplaceItem replaceItem = renameReplacing);

    // The group's shared container, "$XDG_DATA_HOME/group-containers/<group>"
    // (a relative or empty XDG_DATA_HOME falls back to "$HOME/.local/share"),
    // created owner-only with its parents and tightened to that if it was
    // more open. None when there is no absolute data home, the folder cannot
    // be created, it is not a folder, it belongs to another user, or the
    // group identifier could name a path outside "group-containers".
    static std::optional<WidgetSnapshotStore> shared(std::string_view groupIdentifier,
                                                     const EnvironmentLookup& environment = processEnvironment);

    const std::filesystem::path& directory() const { return directory_; }
    const std::filesystem::path& snapshotURL() const { return snapshotURL_; }
    const ReplaceItem& replaceItem() const { return replaceItem_; }

    // Writes the snapshot through a temporary file and one replacement. Not
    // flushed to disk: the file is rewritten every second and can be rebuilt.
    [[nodiscard]] FileResult save(const WidgetSnapshot& snapshot) const;

    // A file from a newer format is refused rather than misread, even when
    // its fields no longer fit this version's reading rules.
    [[nodiscard]] std::expected<WidgetSnapshot, WidgetSnapshotLoadError> load() const;

    // The file's contents: one line of JSON, sorted snake-case keys, "/" not
    // escaped, whole-second UTC instants.
    static std::string encode(const WidgetSnapshot& snapshot);

private:
    std::filesystem::path directory_;
    std::filesystem::path snapshotURL_;
    ReplaceItem replaceItem_;
};

} // namespace quillmere
