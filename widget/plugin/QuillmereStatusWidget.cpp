// SPDX-License-Identifier: GPL-3.0-or-later
#include "QuillmereStatusWidget.h"

#include "QuillmereWidgetView.h"

#include "quillmere/WidgetSnapshotStore.h"

#include <QCoreApplication>

namespace quillmere {

namespace {

ProviderContext providerContext(const widgethost::Context& context)
{
    return {context.now, context.isPreview};
}

widgethost::EntryPointer hostEntry(QuillmereEntry entry)
{
    return std::make_shared<const QuillmereHostEntry>(std::move(entry));
}

} // namespace

QuillmereStatusWidget::QuillmereStatusWidget(QuillmereTimelineProvider provider) : provider_(std::move(provider)) {}

widgethost::Configuration QuillmereStatusWidget::configuration() const
{
    widgethost::Configuration configuration;
    configuration.kind = QString::fromUtf8(QuillmereAppGroup::widgetKind.data(),
                                           static_cast<qsizetype>(QuillmereAppGroup::widgetKind.size()));
    configuration.displayName = QString::fromUtf8(displayName.data(), static_cast<qsizetype>(displayName.size()));
    configuration.description = QCoreApplication::translate("quillmere::QuillmereStatusWidget", description.data());
    for (const QuillmereWidgetFamily family : supportedWidgetFamilies) {
        configuration.supportedFamilies.push_back(hostFamily(family));
    }
    configuration.containerBackground = QPalette::Window;
    return configuration;
}

widgethost::EntryPointer QuillmereStatusWidget::placeholder(const widgethost::Context& context) const
{
    return hostEntry(provider_.placeholder(context.now));
}

void QuillmereStatusWidget::getSnapshot(const widgethost::Context& context,
                                        std::function<void(widgethost::EntryPointer)> completion) const
{
    completion(hostEntry(provider_.getSnapshot(providerContext(context))));
}

void QuillmereStatusWidget::getTimeline(const widgethost::Context& context,
                                        std::function<void(widgethost::Timeline)> completion) const
{
    QuillmereTimeline timeline = provider_.getTimeline(providerContext(context));
    widgethost::Timeline result;
    result.reloadAfter = timeline.reloadAfter;
    for (auto& entry : timeline.entries) {
        result.entries.push_back(hostEntry(std::move(entry)));
    }
    completion(std::move(result));
}

std::unique_ptr<widgethost::ContentView> QuillmereStatusWidget::makeView(const widgethost::Entry& entry,
                                                                         widgethost::Family family,
                                                                         QWidget* parent) const
{
    // The host hands back only entries this kind made.
    const auto& ours = static_cast<const QuillmereHostEntry&>(entry);
    return std::make_unique<QuillmereWidgetView>(ours.entry(), widgetFamily(family), parent);
}

widgethost::Family QuillmereStatusWidget::hostFamily(QuillmereWidgetFamily family)
{
    switch (family) {
    case QuillmereWidgetFamily::small:
        return widgethost::Family::small;
    case QuillmereWidgetFamily::medium:
        return widgethost::Family::medium;
    case QuillmereWidgetFamily::large:
        return widgethost::Family::large;
    case QuillmereWidgetFamily::extraLarge:
        return widgethost::Family::extraLarge;
    }
    return widgethost::Family::medium;
}

QuillmereWidgetFamily QuillmereStatusWidget::widgetFamily(widgethost::Family family)
{
    switch (family) {
    case widgethost::Family::small:
        return QuillmereWidgetFamily::small;
    case widgethost::Family::medium:
        return QuillmereWidgetFamily::medium;
    case widgethost::Family::large:
        return QuillmereWidgetFamily::large;
    case widgethost::Family::extraLarge:
        return QuillmereWidgetFamily::extraLarge;
    }
    return QuillmereWidgetFamily::medium;
}

} // namespace quillmere
