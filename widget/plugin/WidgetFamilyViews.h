// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "WidgetParts.h"

#include <vector>

namespace quillmere::widgetparts {

// A snapshot laid out for one family. Passes the display time on to the
// parts that follow it.
class SnapshotView : public QWidget, public DisplayTimeFollower {
public:
    void setDisplayTime(Instant displayTime) override;

protected:
    explicit SnapshotView(QWidget* parent);
    // Registers a part that moves with the display time and returns it.
    template <class Part>
    Part* following(Part* part)
    {
        followers_.push_back(part);
        return part;
    }

private:
    std::vector<DisplayTimeFollower*> followers_;
};

// The square widget: phase, countdown, outcome and block progress.
class SmallWidgetView : public SnapshotView {
public:
    SmallWidgetView(const WidgetSnapshot& snapshot, Instant displayTime, QWidget* parent);
};

// The timer beside the plan.
class MediumWidgetView : public SnapshotView {
public:
    MediumWidgetView(const WidgetSnapshot& snapshot, Instant displayTime, QWidget* parent);
};

// The timer with session progress, the whole plan, the ratings and the open
// questions; the two halves stacked, or side by side on the widest family.
class DetailedWidgetView : public SnapshotView {
public:
    DetailedWidgetView(const WidgetSnapshot& snapshot, bool twoColumns, Instant displayTime, QWidget* parent);
};

} // namespace quillmere::widgetparts
