// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/HistoryExport.h"
#include "quillmere/HistoryStatistics.h"

#include <QObject>

namespace quillmere {

class AppModel;

// What the Insights tab draws: the statistics of the chosen period, worked
// out from the model's state only while someone looks at them. While
// active, they follow every change of the history and of the work in hand,
// a change of period, the turn of the day, and, once a minute, a running
// focus session; while inactive, a change only marks them stale, and they
// are worked out when the tab is looked at again. The period stays chosen
// while the application runs.
class InsightsModel : public QObject {
    Q_OBJECT

public:
    explicit InsightsModel(AppModel& model, QObject* parent = nullptr);

    InsightPeriod period() const { return period_; }
    void setPeriod(InsightPeriod period);
    // Becoming active brings stale figures up to date at once.
    void setActive(bool active);

    const HistoryStatistics& statistics() const { return statistics_; }
    // Whether any focus session was ever started: before the first one
    // there is nothing to draw.
    bool hasSessions() const { return hasSessions_; }
    // The chosen period's days as an export takes them; everything for "All".
    ExportRange exportRange() const;

signals:
    void periodChanged();
    void statisticsChanged();

private:
    // A change of the state: several may come from one command, and are
    // followed once, when the event loop is back.
    void markStale();
    // Whether the figures shown are out of date: the state changed, the day
    // turned, or a running focus session has added a minute.
    bool due() const;
    void refresh();
    void followTick();

    AppModel& model_;
    InsightPeriod period_ = InsightPeriod::lastFourWeeks;
    bool active_ = false;
    bool stale_ = true;
    bool refreshPosted_ = false;
    HistoryStatistics statistics_;
    bool hasSessions_ = false;
    Instant computedAt_;
    // The zone the figures were worked out in.
    TimeZone zone_ = TimeZone::system();
};

} // namespace quillmere
