// SPDX-License-Identifier: GPL-3.0-or-later
#include "InsightsModel.h"

#include "AppModel.h"

#include <QLocale>
#include <QTimer>

#include <algorithm>

namespace quillmere {

namespace {

// How often a running focus session moves the figures on screen.
constexpr auto focusRefreshInterval = std::chrono::minutes{1};

std::chrono::weekday localFirstDayOfWeek()
{
    // Qt counts Monday 1 to Sunday 7, the standard library Sunday 0 to Saturday 6.
    return std::chrono::weekday{static_cast<unsigned>(QLocale().firstDayOfWeek()) % 7};
}

bool startedAnySession(const QuillmereState& state)
{
    const auto hasSessions = [](const Block& block) { return !block.sessions.empty(); };
    return std::ranges::any_of(state.blockHistory, hasSessions) ||
           (state.currentBlock && hasSessions(*state.currentBlock));
}

} // namespace

InsightsModel::InsightsModel(AppModel& model, QObject* parent) : QObject(parent), model_(model)
{
    connect(&model_, &AppModel::historyChanged, this, &InsightsModel::markStale);
    connect(&model_, &AppModel::currentBlockChanged, this, &InsightsModel::markStale);
    connect(&model_, &AppModel::displayTickChanged, this, &InsightsModel::followTick);
}

void InsightsModel::setPeriod(InsightPeriod period)
{
    if (period_ == period) {
        return;
    }
    period_ = period;
    stale_ = true;
    emit periodChanged();
    if (active_) {
        refresh();
    }
}

void InsightsModel::setActive(bool active)
{
    active_ = active;
    if (active_ && due()) {
        refresh();
    }
}

ExportRange InsightsModel::exportRange() const
{
    switch (period_) {
    case InsightPeriod::lastSevenDays:
    case InsightPeriod::lastFourWeeks:
    case InsightPeriod::lastTwelveMonths: {
        const DayRange range = insightRange(period_, model_.state(), TimeZone::system(), model_.now());
        return ExportRange{range.first, range.last};
    }
    case InsightPeriod::all: return ExportRange{};
    }
    return ExportRange{};
}

void InsightsModel::markStale()
{
    stale_ = true;
    if (!active_ || refreshPosted_) {
        return;
    }
    refreshPosted_ = true;
    QTimer::singleShot(0, this, [this] {
        refreshPosted_ = false;
        if (active_ && stale_) {
            refresh();
        }
    });
}

void InsightsModel::refresh()
{
    const QuillmereState& state = model_.state();
    const Instant now = model_.now();
    zone_ = TimeZone::system();
    const DayRange range = insightRange(period_, state, zone_, now);
    statistics_ = HistoryStatistics::compute(state, {range, now, zone_, localFirstDayOfWeek()});
    hasSessions_ = startedAnySession(state);
    computedAt_ = now;
    stale_ = false;
    emit statisticsChanged();
}

bool InsightsModel::due() const
{
    if (stale_) {
        return true;
    }
    const Instant now = model_.now();
    // Asked every second while shown: the zone of the last refresh saves
    // reading the system's zone each time.
    return zone_.localDay(now) != statistics_.range.last ||
           (!model_.state().interruptible() && now - computedAt_ >= focusRefreshInterval);
}

void InsightsModel::followTick()
{
    if (active_ && due()) {
        refresh();
    }
}

} // namespace quillmere
