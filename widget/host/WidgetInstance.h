// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "WidgetHostInterface.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

namespace quillmere::widgethost {

// One placed widget of one kind and family: asks for timelines, shows each
// entry from its date on, and asks again at the timeline's reload instant or
// whenever it is told to reload.
class WidgetInstance : public QObject {
    Q_OBJECT

public:
    using Clock = std::function<TimePoint()>;

    // Why a timeline was requested, for the host's verbose report.
    enum class ReloadReason { start, policy, request };

    // A wait is re-checked against the clock at least this often, so that a
    // suspended machine or a changed clock delays nothing by more.
    static constexpr std::chrono::minutes longestWait{10};
    // When a timeline asks to be reloaded at an instant already past.
    static constexpr std::chrono::seconds pastReloadDelay{60};

    WidgetInstance(std::shared_ptr<const WidgetKind> kind, Family family, Clock clock, QObject* parent = nullptr);

    const WidgetKind& kind() const { return *kind_; }
    Family family() const { return family_; }
    Context context() const;

    // The entry on show; the placeholder until the first timeline arrives.
    const EntryPointer& currentEntry() const { return current_; }
    const Timeline& timeline() const { return timeline_; }

    // Asks for a fresh timeline now.
    void reload(ReloadReason reason = ReloadReason::request);

    // Shows `entry` until the timeline's next event (a one-off rendering).
    void present(const EntryPointer& entry);

    // The entry a timeline shows at `now`: the last one dated at or before
    // it, or the first when all lie ahead. Null for an empty timeline.
    static EntryPointer entryAt(const Timeline& timeline, TimePoint now);

    // When the next thing happens after `now`: the next entry's date or the
    // reload instant, whichever comes first.
    static TimePoint nextEventAfter(const Timeline& timeline, TimePoint now);

signals:
    void entryChanged(const quillmere::widgethost::EntryPointer& entry);
    void timelineRequested(quillmere::widgethost::WidgetInstance::ReloadReason reason);

private:
    void accept(Timeline timeline);
    void advance();
    void armTimer();

    std::shared_ptr<const WidgetKind> kind_;
    Family family_;
    Clock clock_;
    Timeline timeline_;
    EntryPointer current_;
    QTimer timer_;
    // Timelines answered late must not replace a newer one.
    quint64 requestNumber_ = 0;
};

} // namespace quillmere::widgethost
