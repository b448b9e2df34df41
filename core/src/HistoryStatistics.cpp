// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/HistoryStatistics.h"

#include <algorithm>
#include <cmath>

namespace quillmere {

using namespace std::chrono;

std::optional<double> TargetCounts::metShare() const
{
    if (reviewed() == 0) {
        return std::nullopt;
    }
    return static_cast<double>(yes) / reviewed();
}

std::optional<double> RatingTally::average() const
{
    if (count == 0) {
        return std::nullopt;
    }
    return static_cast<double>(sum) / count;
}

namespace {

// A day's focus is kept on a grid of 2^-20 minutes (about 57 microseconds):
// sums of such values below 2^33 minutes are exact in a double, so a week and
// the total equal the sums of their days whatever the order of adding.
constexpr double focusGridPerMinute = 1 << 20;

// No zone's offset reaches this far from UTC.
constexpr days zoneReach{2};

template <class Visit>
void forEachBlock(const QuillmereState& state, Visit visit)
{
    for (const Block& block : state.blockHistory) {
        visit(block);
    }
    if (state.currentBlock) {
        visit(*state.currentBlock);
    }
}

// A session's wall-clock span as far as it has gone, and the share of it
// worked, which spreads its pauses evenly because their times are not kept.
struct WorkedSpan {
    Instant start;
    Instant end;
    double workedShare = 0;
};

// None for a session that starts after `now` or ends before it starts (a
// clock set back, a hand-edited file): it counts nowhere.
std::optional<WorkedSpan> workedSpan(const WorkSession& session, Instant now)
{
    const Instant end = session.runEnd(now);
    if (session.startedAt > now || end < session.startedAt) {
        return std::nullopt;
    }
    const double elapsed = secondsBetween(session.startedAt, end);
    if (elapsed <= 0) {
        return WorkedSpan{session.startedAt, end, 0};
    }
    // fmin and fmax pass over a pause that is not a number: the span counts whole.
    const double share = std::fmax(0.0, std::fmin(1.0, (elapsed - session.accumulatedPausedSeconds) / elapsed));
    return WorkedSpan{session.startedAt, end, share};
}

void countRating(RatingTally& tally, std::int64_t rating)
{
    if (rating >= 1 && rating <= 5) {
        tally.sum += rating;
        ++tally.count;
    }
}

void countJudgement(TargetCounts& targets, const std::optional<SessionReview>& review)
{
    if (!review) {
        ++targets.notReviewed;
        return;
    }
    switch (review->completion) {
    case CompletionResult::yes: ++targets.yes; break;
    case CompletionResult::half: ++targets.partly; break;
    case CompletionResult::no: ++targets.no; break;
    }
}

void add(RatingTally& into, const RatingTally& tally)
{
    into.sum += tally.sum;
    into.count += tally.count;
}

void add(PeriodFigures& into, const PeriodFigures& day)
{
    into.focusMinutes += day.focusMinutes;
    into.sessionsCompleted += day.sessionsCompleted;
    into.targets.yes += day.targets.yes;
    into.targets.partly += day.targets.partly;
    into.targets.no += day.targets.no;
    into.targets.notReviewed += day.targets.notReviewed;
    into.blocksCompleted += day.blocksCompleted;
    add(into.energy, day.energy);
    add(into.morale, day.morale);
}

// Runs of consecutive days: the one that ends with the latest day, and the
// longest.
struct Runs {
    local_days latestDay;
    int latest = 0;
    int longest = 0;
};

Runs runsOf(std::vector<local_days> days)
{
    std::ranges::sort(days);
    // Not ranges::unique: the subrange it returns does not build with clang 14
    // over libstdc++ 12, which the fuzzer's build uses.
    days.erase(std::unique(days.begin(), days.end()), days.end());
    Runs runs;
    for (std::size_t index = 0; index < days.size(); ++index) {
        runs.latest = index > 0 && days[index - 1] + std::chrono::days{1} == days[index] ? runs.latest + 1 : 1;
        runs.longest = std::max(runs.longest, runs.latest);
        runs.latestDay = days[index];
    }
    return runs;
}

} // namespace

HistoryStatistics HistoryStatistics::compute(const QuillmereState& state, const Request& request)
{
    const TimeZone& zone = request.zone;
    const DayRange range = request.range;
    HistoryStatistics statistics;
    statistics.range = range;
    statistics.total.start = range.first;

    const std::int64_t dayCount = std::max<std::int64_t>(0, (range.last - range.first).count() + 1);
    statistics.days.resize(static_cast<std::size_t>(dayCount));
    for (std::int64_t index = 0; index < dayCount; ++index) {
        statistics.days[static_cast<std::size_t>(index)].start = range.first + std::chrono::days{index};
    }
    const auto figuresOf = [&](local_days day) -> PeriodFigures* {
        const std::int64_t index = (day - range.first).count();
        return index >= 0 && index < dayCount ? &statistics.days[static_cast<std::size_t>(index)] : nullptr;
    };

    // The stretch of time whose local readings can fall in the range: the
    // part of a session outside it is not walked hour by hour.
    const Instant earliest = Instant{sys_days{range.first.time_since_epoch()}} - zoneReach;
    const Instant latest = Instant{sys_days{range.last.time_since_epoch()}} + std::chrono::days{1} + zoneReach;

    // Spreads the worked share of a span over the local hours it covers, hour
    // boundaries being where the zone's offset may change.
    const auto spreadFocus = [&](const WorkedSpan& span) {
        const Instant end = std::min(span.end, latest);
        for (Instant at = std::max(span.start, earliest); at < end;) {
            const local_seconds reading = zone.localTime(at);
            const seconds toNextHour = floor<hours>(reading) + hours{1} - reading;
            const Instant next = std::min(end, Instant{floor<seconds>(at) + toNextHour});
            const local_days day = floor<std::chrono::days>(reading);
            if (PeriodFigures* figures = figuresOf(day)) {
                const double minutes = secondsBetween(at, next) / 60 * span.workedShare;
                figures->focusMinutes += minutes;
                const unsigned weekdayIndex = weekday{day}.iso_encoding() - 1;
                const auto hour = static_cast<std::size_t>(floor<hours>(reading - day).count());
                statistics.focusMinutesByWeekdayAndHour[weekdayIndex][hour] += minutes;
            }
            at = next;
        }
    };

    const local_days today = zone.localDay(request.now);
    std::vector<local_days> daysWithEndedSessions;
    forEachBlock(state, [&](const Block& block) {
        if (block.completedAt) {
            if (PeriodFigures* figures = figuresOf(zone.localDay(*block.completedAt))) {
                ++figures->blocksCompleted;
            }
        }
        for (const WorkSession& session : block.sessions) {
            const std::optional<WorkedSpan> span = workedSpan(session, request.now);
            if (!span) {
                continue;
            }
            spreadFocus(*span);
            if (PeriodFigures* figures = figuresOf(zone.localDay(session.startedAt))) {
                countRating(figures->energy, session.plan.energy);
                countRating(figures->morale, session.plan.morale);
            }
            if (session.endedAt) {
                const local_days endDay = zone.localDay(*session.endedAt);
                if (endDay <= today) {
                    daysWithEndedSessions.push_back(endDay);
                }
                if (PeriodFigures* figures = figuresOf(endDay)) {
                    ++figures->sessionsCompleted;
                    countJudgement(figures->targets, session.review);
                }
            }
        }
    });

    for (PeriodFigures& day : statistics.days) {
        day.focusMinutes = std::round(day.focusMinutes * focusGridPerMinute) / focusGridPerMinute;
        const local_days weekStart = day.start - (weekday{day.start} - request.firstDayOfWeek);
        if (statistics.weeks.empty() || statistics.weeks.back().start != weekStart) {
            statistics.weeks.emplace_back().start = weekStart;
        }
        add(statistics.weeks.back(), day);
        add(statistics.total, day);
    }

    // The last run is the current one while it reaches yesterday or today.
    const Runs runs = runsOf(std::move(daysWithEndedSessions));
    statistics.longestStreakDays = runs.longest;
    statistics.currentStreakDays = runs.latest > 0 && runs.latestDay >= today - std::chrono::days{1} ? runs.latest : 0;
    return statistics;
}

DayRange insightRange(InsightPeriod period, const QuillmereState& state, const TimeZone& zone, Instant now)
{
    const local_days today = zone.localDay(now);
    switch (period) {
    case InsightPeriod::lastSevenDays: return {today - days{6}, today};
    case InsightPeriod::lastFourWeeks: return {today - days{27}, today};
    case InsightPeriod::lastTwelveMonths: {
        year_month_day yearBefore = year_month_day{today} - years{1};
        if (!yearBefore.ok()) { // 29 February
            yearBefore = year_month_day_last{yearBefore.year(), month_day_last{yearBefore.month()}};
        }
        return {local_days{yearBefore} + days{1}, today};
    }
    case InsightPeriod::all: {
        local_days first = today;
        forEachBlock(state, [&](const Block& block) {
            first = std::min(first, zone.localDay(block.createdAt));
            for (const WorkSession& session : block.sessions) {
                first = std::min(first, zone.localDay(session.startedAt));
            }
        });
        return {first, today};
    }
    }
    return {today, today};
}

} // namespace quillmere
