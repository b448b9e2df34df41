// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/QuillmereState.h"
#include "quillmere/TimeZone.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

namespace quillmere {

// The spans the insights offer, each ending with today.
enum class InsightPeriod { lastSevenDays, lastFourWeeks, lastTwelveMonths, all };

template <>
inline constexpr std::array allCases<InsightPeriod>{
    InsightPeriod::lastSevenDays,
    InsightPeriod::lastFourWeeks,
    InsightPeriod::lastTwelveMonths,
    InsightPeriod::all,
};

// Local days, both ends included.
struct DayRange {
    std::chrono::local_days first;
    std::chrono::local_days last;

    friend bool operator==(const DayRange&, const DayRange&) = default;
};

// How the reviews of finished sessions judged their targets.
struct TargetCounts {
    int yes = 0;
    int partly = 0;
    int no = 0;
    int notReviewed = 0;

    int reviewed() const { return yes + partly + no; }
    // The share of reviewed sessions whose target was met in full; none
    // while nothing was reviewed.
    std::optional<double> metShare() const;

    friend bool operator==(const TargetCounts&, const TargetCounts&) = default;
};

// A running mean of the 1..5 ratings of session plans; values outside that
// range (a hand-edited file) are left out.
struct RatingTally {
    std::int64_t sum = 0;
    int count = 0;

    std::optional<double> average() const;

    friend bool operator==(const RatingTally&, const RatingTally&) = default;
};

// What was done in one stretch of local days (a day, a week or the whole
// range).
struct PeriodFigures {
    // The stretch's first day: for a week, the first day of that calendar
    // week even when the range starts later (only days in the range count).
    std::chrono::local_days start;
    // Focus actually worked: each session from its start to its end (or to
    // now, or to its pause, while it runs) less its pauses. A session over
    // midnight counts on both days; its pauses, whose times are not kept,
    // are spread over it evenly.
    double focusMinutes = 0;
    // Sessions that ended in the stretch, by the day they ended.
    int sessionsCompleted = 0;
    // The same sessions, by their review's judgement.
    TargetCounts targets{};
    // Blocks whose reflection was finished in the stretch.
    int blocksCompleted = 0;
    // Plans' ratings of the sessions that started in the stretch.
    RatingTally energy{};
    RatingTally morale{};

    friend bool operator==(const PeriodFigures&, const PeriodFigures&) = default;
};

// What the history and the current block say about one range of local days:
// the figures the insights tab draws. A pure function of its inputs.
//
//     const TimeZone zone = TimeZone::system();
//     const DayRange range = insightRange(InsightPeriod::lastFourWeeks, state, zone, now);
//     const HistoryStatistics statistics = HistoryStatistics::compute(state, {range, now, zone});
//     statistics.total.focusMinutes; // focus worked in the last 28 days
struct HistoryStatistics {
    struct Request {
        DayRange range;
        Instant now;
        TimeZone zone;
        std::chrono::weekday firstDayOfWeek = std::chrono::Monday;
    };

    DayRange range;
    // One entry per day of the range, oldest first, empty days included.
    std::vector<PeriodFigures> days;
    // One entry per calendar week that has a day in the range, oldest first.
    std::vector<PeriodFigures> weeks;
    PeriodFigures total;
    // Runs of consecutive local days with at least one session that ended,
    // over the whole history up to now, whatever the range. The current run
    // ends today, or yesterday while today has none yet.
    int currentStreakDays = 0;
    int longestStreakDays = 0;
    // Focus minutes in the range by local weekday (0 = Monday) and hour.
    std::array<std::array<double, 24>, 7> focusMinutesByWeekdayAndHour{};

    // A session that starts after `now`, or ends before it starts (a clock
    // set back, a hand-edited file), counts nowhere. A range whose first day
    // is after its last gives no days, no weeks and a zero total.
    static HistoryStatistics compute(const QuillmereState& state, const Request& request);

    friend bool operator==(const HistoryStatistics&, const HistoryStatistics&) = default;
};

// The local days a period covers at `now`: the last 7 or 28 days, the last
// 12 months (from the day after the same date a year ago), or everything
// from the first day with a block or session to today.
DayRange insightRange(InsightPeriod period, const QuillmereState& state, const TimeZone& zone, Instant now);

} // namespace quillmere
