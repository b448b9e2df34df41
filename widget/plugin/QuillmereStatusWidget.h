// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "QuillmereTimelineProvider.h"
#include "WidgetHostInterface.h"

#include "quillmere/QuillmereDesign.h"

#include <QtGlobal>

#include <optional>

namespace quillmere {

// The host's entry: a QuillmereEntry with the host's notion of a date.
class QuillmereHostEntry final : public widgethost::Entry {
public:
    explicit QuillmereHostEntry(QuillmereEntry entry) : entry_(std::move(entry)) {}
    widgethost::TimePoint date() const override { return entry_.date; }
    const QuillmereEntry& entry() const { return entry_; }

private:
    QuillmereEntry entry_;
};

// The one widget kind of the bundle: its registration with the host and the
// adapter from the host's requests to the timeline provider and the views.
class QuillmereStatusWidget final : public widgethost::WidgetKind {
public:
    static constexpr std::string_view displayName = "Quillmere";
    // Translated where the host shows it.
    static constexpr std::string_view description = QT_TRANSLATE_NOOP(
        "quillmere::QuillmereStatusWidget",
        "Your current phase, countdown, session and block progress, plan, and open questions.");

    explicit QuillmereStatusWidget(QuillmereTimelineProvider provider = QuillmereTimelineProvider());

    widgethost::Configuration configuration() const override;
    widgethost::EntryPointer placeholder(const widgethost::Context& context) const override;
    void getSnapshot(const widgethost::Context& context,
                     std::function<void(widgethost::EntryPointer)> completion) const override;
    void getTimeline(const widgethost::Context& context,
                     std::function<void(widgethost::Timeline)> completion) const override;
    std::unique_ptr<widgethost::ContentView> makeView(const widgethost::Entry& entry, widgethost::Family family,
                                                      QWidget* parent) const override;

    static widgethost::Family hostFamily(QuillmereWidgetFamily family);
    static QuillmereWidgetFamily widgetFamily(widgethost::Family family);

private:
    QuillmereTimelineProvider provider_;
};

} // namespace quillmere
