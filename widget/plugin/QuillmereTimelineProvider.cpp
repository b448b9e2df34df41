// SPDX-License-Identifier: GPL-3.0-or-later
#include "QuillmereTimelineProvider.h"

#include "quillmere/WidgetTimelinePlan.h"

#include <exception>

namespace quillmere {

QuillmereTimelineProvider::QuillmereTimelineProvider(LoadSnapshot loadSnapshot)
    : loadSnapshot_(loadSnapshot ? std::move(loadSnapshot) : LoadSnapshot([] { return readSharedSnapshot(); }))
{
}

WidgetReadState QuillmereTimelineProvider::readSharedSnapshot(const EnvironmentLookup& environment)
{
    // Nothing may escape towards the host: an allocation or file-system
    // exception is one more reason the snapshot could not be read.
    try {
        const auto store = WidgetSnapshotStore::shared(QuillmereAppGroup::identifier, environment);
        if (!store) {
            return WidgetReadState::unavailable(std::string(containerUnreachableMessage));
        }
        auto loaded = store->load();
        if (loaded) {
            loaded->cutTexts();
            return WidgetReadState::ready(std::move(*loaded));
        }
        switch (loaded.error().kind) {
        case WidgetSnapshotLoadError::Kind::notWritten:
            return WidgetReadState::waitingForApp();
        case WidgetSnapshotLoadError::Kind::unsupportedSchemaVersion:
            return WidgetReadState::unavailable(std::string(newerFormatMessage));
        case WidgetSnapshotLoadError::Kind::unreadable:
        case WidgetSnapshotLoadError::Kind::containerUnavailable:
            return WidgetReadState::unavailable(std::string(unreadableMessage));
        }
        return WidgetReadState::unavailable(std::string(unreadableMessage));
    } catch (const std::exception&) {
        return WidgetReadState::unavailable(std::string(unreadableMessage));
    }
}

QuillmereEntry QuillmereTimelineProvider::placeholder(Instant now) const
{
    return {now, WidgetReadState::ready(WidgetSnapshot::placeholder(now))};
}

QuillmereEntry QuillmereTimelineProvider::getSnapshot(const ProviderContext& context) const
{
    if (context.isPreview) {
        return placeholder(context.now);
    }
    return {context.now, loadSnapshot_()};
}

QuillmereTimeline QuillmereTimelineProvider::getTimeline(const ProviderContext& context) const
{
    auto state = loadSnapshot_();
    if (const WidgetSnapshot* snapshot = state.snapshot()) {
        QuillmereTimeline timeline;
        for (auto& entry : WidgetTimelinePlan::entries(*snapshot, context.now)) {
            timeline.entries.push_back({entry.date, WidgetReadState::ready(std::move(entry.snapshot))});
        }
        timeline.reloadAfter = WidgetTimelinePlan::refreshDate(*snapshot, context.now);
        return timeline;
    }
    return {{QuillmereEntry{context.now, std::move(state)}}, context.now + messageRefreshInterval};
}

} // namespace quillmere
