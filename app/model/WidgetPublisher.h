// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "WidgetPublishing.h"

#include "quillmere/BackgroundWriter.h"
#include "quillmere/WidgetSnapshot.h"
#include "quillmere/WidgetSnapshotStore.h"

#include <functional>
#include <memory>
#include <optional>
#include <string_view>

namespace quillmere {

// Feeds the desktop widget: writes the shared snapshot file only when the
// snapshot says something new, and wakes the widget host only when the
// widget would look different. A running countdown therefore rewrites the
// file each second but reloads nothing, since the widget counts down by
// itself from the snapshot's instants. Called on the main thread only.
class WidgetPublisher final : public WidgetPublishing {
public:
    using Reload = std::function<void(std::string_view kind)>;
    using Log = std::function<void(std::string_view line)>;

    // No `store` means the shared folder could not be reached. A null
    // `reload` asks the widget host over the session bus; a null `log` writes
    // to the system log.
    // Writes through `writer` when there is one (the widget host is then
    // woken, and failures logged, where the writer delivers), else at once.
    explicit WidgetPublisher(std::optional<WidgetSnapshotStore> store, Reload reload = nullptr, Log log = nullptr,
                             std::shared_ptr<BackgroundWriter> writer = nullptr);
    // Finishes the writes it posted, which use it, before it goes.
    ~WidgetPublisher() override;

    void publish(const WidgetSnapshot& snapshot) override;

    // Whether the widget would show `snapshot` differently from `old`; always
    // true without an `old`. The time stamp never counts, nor do the falling
    // seconds of a countdown that is still running towards the same end.
    static bool rendersDifferently(const WidgetSnapshot& snapshot, const std::optional<WidgetSnapshot>& old);

    // Asks a running widget host to rebuild the widgets of `kind`, without
    // waiting for an answer or starting a host.
    static void reloadThroughWidgetHost(std::string_view kind);

private:
    std::optional<WidgetSnapshotStore> store_;
    Reload reload_;
    Log log_;
    // The content of the file this process last wrote or is writing; none
    // before the first offer, and the one before again after a failed write.
    std::optional<WidgetSnapshot> lastPublished_;
    // The content of the file as last written, which decides whether the
    // next write wakes the host; the writer's alone.
    std::optional<WidgetSnapshot> lastWritten_;
    std::shared_ptr<BackgroundWriter> writer_;
    bool reportedFailure_ = false;
};

} // namespace quillmere
