// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "QuillmereEntry.h"

#include "quillmere/SourceText.h"
#include "quillmere/WidgetSnapshotStore.h"

#include <chrono>
#include <functional>

namespace quillmere {

// What the host says about a request.
struct ProviderContext {
    Instant now;
    // The host draws a sample (its gallery, a preview render).
    bool isPreview = false;
};

// Answers the widget host's requests from the snapshot file the application
// publishes. Keeps nothing between requests: every request reads afresh, and
// no read problem is ever passed to the host as a failure; it becomes a
// message the widget shows.
class QuillmereTimelineProvider {
public:
    using LoadSnapshot = std::function<WidgetReadState()>;

    // How long a widget showing a message waits before reading again (unless
    // the application asks the host to reload sooner).
    static constexpr std::chrono::seconds messageRefreshInterval{1800};

    // The messages of an unavailable entry, in English; the view translates
    // them in this context.
    static constexpr const char* messageContext = "quillmere::QuillmereTimelineProvider";
    static constexpr std::string_view containerUnreachableMessage =
        QUILLMERE_TEXT("quillmere::QuillmereTimelineProvider", "Shared container is not reachable").english;
    static constexpr std::string_view newerFormatMessage =
        QUILLMERE_TEXT("quillmere::QuillmereTimelineProvider", "Update the widget").english;
    static constexpr std::string_view unreadableMessage =
        QUILLMERE_TEXT("quillmere::QuillmereTimelineProvider", "Snapshot could not be read").english;

    explicit QuillmereTimelineProvider(LoadSnapshot loadSnapshot = {});

    // Reads the snapshot in the shared container of QuillmereAppGroup.
    static WidgetReadState readSharedSnapshot(const EnvironmentLookup& environment = processEnvironment);

    // The sample, without reading anything.
    QuillmereEntry placeholder(Instant now) const;
    // One entry at now: the sample in a preview, the file's state otherwise.
    QuillmereEntry getSnapshot(const ProviderContext& context) const;
    // The timeline plan of a readable snapshot; otherwise one message entry,
    // asked again after messageRefreshInterval. Previews read the file too.
    QuillmereTimeline getTimeline(const ProviderContext& context) const;

private:
    LoadSnapshot loadSnapshot_;
};

} // namespace quillmere
