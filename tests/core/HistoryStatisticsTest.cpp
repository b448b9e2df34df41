// SPDX-License-Identifier: GPL-3.0-or-later
#include "LocalZone.h"
#include "StateFixtures.h"
#include "quillmere/HistoryStatistics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

using namespace quillmere;
using namespace std::chrono;
using namespace std::chrono_literals;

namespace {

local_days date(int y, unsigned m, unsigned d)
{
    return local_days{year{y} / m / d};
}

// Most cases live in a zone one hour east of UTC, with `local` readings.
const TimeZone plusOne = TimeZone::fixed(1h);

Instant local(int y, unsigned m, unsigned d, unsigned hour, unsigned minute = 0, unsigned second = 0)
{
    return utcInstant(y, m, d, hour, minute, second) - 1h;
}

// The week of Monday 2 March 2026, seen at 12:30 on its Sunday.
const DayRange marchWeek{date(2026, 3, 2), date(2026, 3, 8)};
const Instant sundayLunch = local(2026, 3, 8, 12, 30);

// A session that has not ended: paused at `pausedAt`, else running.
WorkSession unfinished(Instant start, Seconds paused = 0, std::optional<Instant> pausedAt = std::nullopt)
{
    WorkSession session;
    session.startedAt = start;
    session.accumulatedPausedSeconds = paused;
    session.pausedAt = pausedAt;
    return session;
}

WorkSession ended(Instant start, Instant end, Seconds paused = 0)
{
    WorkSession session = unfinished(start, paused);
    session.endedAt = end;
    return session;
}

WorkSession judged(WorkSession session, std::optional<CompletionResult> completion, std::int64_t energy = 3,
                   std::int64_t morale = 3)
{
    if (completion) {
        session.review.emplace().completion = *completion;
    }
    session.plan.energy = energy;
    session.plan.morale = morale;
    return session;
}

// One completed block holding `history` and, when `current` is not empty, a
// current block holding it.
QuillmereState stateWith(std::vector<WorkSession> history, std::vector<WorkSession> current = {})
{
    QuillmereState state = QuillmereState::initial(sundayLunch);
    Block block = Block::defaultBlock(local(2026, 3, 2, 8));
    block.sessions = std::move(history);
    state.blockHistory.push_back(block);
    if (!current.empty()) {
        block.sessions = std::move(current);
        state.currentBlock = block;
    }
    return state;
}

// Focus minutes expected on days and in (weekday, hour) cells; all others are
// zero. Compared to a microsecond, well below a fault of a whole second.
struct FocusCase {
    const char* name;
    QuillmereState state;
    std::vector<std::pair<local_days, double>> days;
    std::vector<std::tuple<std::size_t, std::size_t, double>> cells;
};

void expectFocus(const std::vector<FocusCase>& cases, const TimeZone& zone, DayRange range, Instant now)
{
    constexpr double tolerance = 1e-6 / 60;
    for (const FocusCase& c : cases) {
        SCOPED_TRACE(c.name);
        const HistoryStatistics statistics = HistoryStatistics::compute(c.state, {range, now, zone});
        ASSERT_EQ(statistics.days.size(), static_cast<std::size_t>((range.last - range.first).count() + 1));
        double total = 0;
        for (const PeriodFigures& day : statistics.days) {
            SCOPED_TRACE((day.start - range.first).count());
            double expected = 0;
            for (const auto& [when, minutes] : c.days) {
                expected += when == day.start ? minutes : 0;
            }
            EXPECT_NEAR(day.focusMinutes, expected, tolerance);
            total += expected;
        }
        EXPECT_NEAR(statistics.total.focusMinutes, total, tolerance);
        for (std::size_t weekday = 0; weekday < 7; ++weekday) {
            for (std::size_t hour = 0; hour < 24; ++hour) {
                SCOPED_TRACE(testing::Message() << "weekday " << weekday << ", hour " << hour);
                double expected = 0;
                for (const auto& [cellWeekday, cellHour, minutes] : c.cells) {
                    expected += cellWeekday == weekday && cellHour == hour ? minutes : 0;
                }
                EXPECT_NEAR(statistics.focusMinutesByWeekdayAndHour[weekday][hour], expected, tolerance);
            }
        }
    }
}

// Every hour of a Sunday holding 60 minutes, but `hour2` in its 02:00 hour.
std::vector<std::tuple<std::size_t, std::size_t, double>> wholeSunday(double hour2)
{
    std::vector<std::tuple<std::size_t, std::size_t, double>> cells;
    for (std::size_t hour = 0; hour < 24; ++hour) {
        cells.emplace_back(6, hour, hour == 2 ? hour2 : 60);
    }
    return cells;
}

} // namespace

TEST(HistoryStatistics, Compute_SpreadsWorkedTimeOverLocalDaysAndHours)
{
    // Weekdays: 0 = Monday 2 March ... 6 = Sunday 8 March.
    const WorkSession paused = unfinished(local(2026, 3, 8, 10), 300, local(2026, 3, 8, 10, 45));
    const WorkSession running = unfinished(local(2026, 3, 8, 11, 45), 300);
    expectFocus(
        {
            {"a session over midnight counts on both days and hours",
             stateWith({ended(local(2026, 3, 3, 23, 40), local(2026, 3, 4, 0, 20))}),
             {{date(2026, 3, 3), 20}, {date(2026, 3, 4), 20}},
             {{1, 23, 20}, {2, 0, 20}}},
            // 90 minutes less 30 of pauses: each hour keeps 2/3 of its part.
            {"pauses are spread evenly over the session",
             stateWith({ended(local(2026, 3, 5, 10, 30), local(2026, 3, 5, 12), 1800)}),
             {{date(2026, 3, 5), 60}},
             {{3, 10, 20}, {3, 11, 40}}},
            // 10:50:29.5 to 11:00:00 is 9 min 30.5 s; the rest, 10 min 29.5 s.
            {"hour boundaries are whole seconds after a start with a fraction",
             stateWith({ended(local(2026, 3, 6, 10, 50, 29) + 500ms, local(2026, 3, 6, 11, 10, 29) + 500ms)}),
             {{date(2026, 3, 6), 20}},
             {{4, 10, 9 + 30.5 / 60}, {4, 11, 10 + 29.5 / 60}}},
            {"pauses longer than the session leave nothing",
             stateWith({ended(local(2026, 3, 6, 14), local(2026, 3, 6, 14, 10), 900)}), {}, {}},
            {"pauses below zero count the session's span, no more",
             stateWith({ended(local(2026, 3, 6, 14), local(2026, 3, 6, 14, 10), -60)}),
             {{date(2026, 3, 6), 10}},
             {{4, 14, 10}}},
            {"a session begun before the range counts only its part inside",
             stateWith({ended(local(2026, 3, 1, 23, 30), local(2026, 3, 2, 0, 30))}),
             {{date(2026, 3, 2), 30}},
             {{0, 0, 30}}},
            {"a session that starts after now counts nowhere",
             stateWith({ended(local(2026, 3, 8, 13), local(2026, 3, 8, 13, 30))}), {}, {}},
            {"a session that ends before it starts counts nowhere",
             stateWith({ended(local(2026, 3, 7, 10), local(2026, 3, 7, 9))}), {}, {}},
            // 10:00 to the pause at 10:45, less 5 minutes of earlier pauses.
            {"a paused session counts up to its pause", stateWith({}, {paused}),
             {{date(2026, 3, 8), 40}},
             {{6, 10, 40}}},
            // 11:45 to now, 12:30, less 5 minutes: 40 of 45 minutes worked.
            {"a running session counts up to now", stateWith({}, {running}),
             {{date(2026, 3, 8), 40}},
             {{6, 11, 15 * 40.0 / 45}, {6, 12, 30 * 40.0 / 45}}},
        },
        plusOne, marchWeek, sundayLunch);
}

TEST(HistoryStatistics, Compute_FollowsBerlinsClockChanges)
{
    const fixtures::ScopedLocalZone local("Europe/Berlin");
    const TimeZone berlin = TimeZone::system();
    const Instant later = utcInstant(2026, 11, 2, 12, 0, 0);

    // Monday 19 to Sunday 25 October; the clocks go back from 03:00 to 02:00
    // on the Sunday, at 01:00 UTC.
    expectFocus(
        {
            {"the autumn change day has 25 hours, its 02:00 hour twice",
             stateWith({ended(utcInstant(2026, 10, 24, 22, 0, 0), utcInstant(2026, 10, 25, 23, 0, 0))}),
             {{date(2026, 10, 25), 25 * 60}},
             wholeSunday(120)},
            {"both halves of a session over the repeated hour fall in 02:00",
             stateWith({ended(utcInstant(2026, 10, 25, 0, 30, 0), utcInstant(2026, 10, 25, 1, 30, 0))}),
             {{date(2026, 10, 25), 60}},
             {{6, 2, 60}}},
            {"midnight in summer time is 22:00 UTC",
             stateWith({ended(utcInstant(2026, 10, 24, 21, 30, 0), utcInstant(2026, 10, 24, 22, 30, 0))}),
             {{date(2026, 10, 24), 30}, {date(2026, 10, 25), 30}},
             {{5, 23, 30}, {6, 0, 30}}},
        },
        berlin, {date(2026, 10, 19), date(2026, 10, 25)}, later);

    // Monday 23 to Sunday 29 March; the clocks jump from 02:00 to 03:00 on
    // the Sunday, at 01:00 UTC.
    expectFocus(
        {
            {"the spring change day has 23 hours, none of them 02:00",
             stateWith({ended(utcInstant(2026, 3, 28, 23, 0, 0), utcInstant(2026, 3, 29, 22, 0, 0))}),
             {{date(2026, 3, 29), 23 * 60}},
             wholeSunday(0)},
            {"a session over the skipped hour goes from 01:00 to 03:00",
             stateWith({ended(utcInstant(2026, 3, 29, 0, 30, 0), utcInstant(2026, 3, 29, 1, 30, 0))}),
             {{date(2026, 3, 29), 60}},
             {{6, 1, 30}, {6, 3, 30}}},
        },
        berlin, {date(2026, 3, 23), date(2026, 3, 29)}, later);
}

TEST(HistoryStatistics, Compute_CountsSessionsByTheDaysTheyStartAndEnd)
{
    using enum CompletionResult;
    std::vector<WorkSession> history{
        judged(ended(local(2026, 3, 2, 23, 50), local(2026, 3, 3, 0, 5)), yes, 4, 2),
        judged(ended(local(2026, 3, 3, 9), local(2026, 3, 3, 9, 30)), half, 5, 5),
        judged(ended(local(2026, 3, 3, 10), local(2026, 3, 3, 10, 20)), std::nullopt, 7, 0),
        judged(ended(local(2026, 3, 5, 22), local(2026, 3, 5, 22, 45)), no, 1, 1),
        judged(ended(local(2026, 3, 8, 13), local(2026, 3, 8, 13, 30)), yes), // after now
        judged(ended(local(2026, 3, 4, 10), local(2026, 3, 4, 9)), yes),      // ends before it starts
    };
    std::vector<WorkSession> current{
        judged(ended(local(2026, 3, 8, 9), local(2026, 3, 8, 9, 25)), yes, 3, 4),
        judged(unfinished(local(2026, 3, 8, 12)), std::nullopt, 2, 2),
    };
    QuillmereState state = stateWith(history, current);
    state.blockHistory.front().completedAt = local(2026, 3, 3, 10, 30);
    Block second = state.blockHistory.front();
    second.sessions.clear();
    second.completedAt = utcInstant(2026, 3, 5, 23, 30, 0); // Friday 00:30 in the zone
    state.blockHistory.push_back(second);

    // Ratings 7 and 0 are left out; the running session's ratings count.
    const PeriodFigures monday{.start = date(2026, 3, 2), .focusMinutes = 10, .energy = {4, 1}, .morale = {2, 1}};
    const PeriodFigures tuesday{.start = date(2026, 3, 3), .focusMinutes = 5 + 30 + 20, .sessionsCompleted = 3,
                                .targets = {1, 1, 0, 1}, .blocksCompleted = 1, .energy = {5, 1},
                                .morale = {5, 1}};
    const PeriodFigures wednesday{.start = date(2026, 3, 4)};
    const PeriodFigures thursday{.start = date(2026, 3, 5), .focusMinutes = 45, .sessionsCompleted = 1,
                                 .targets = {0, 0, 1, 0}, .energy = {1, 1}, .morale = {1, 1}};
    const PeriodFigures friday{.start = date(2026, 3, 6), .blocksCompleted = 1};
    const PeriodFigures saturday{.start = date(2026, 3, 7)};
    const PeriodFigures sunday{.start = date(2026, 3, 8), .focusMinutes = 25 + 30, .sessionsCompleted = 1,
                               .targets = {1, 0, 0, 0}, .energy = {3 + 2, 2}, .morale = {4 + 2, 2}};
    const std::vector<PeriodFigures> week{monday, tuesday, wednesday, thursday, friday, saturday, sunday};
    const PeriodFigures whole{.start = date(2026, 3, 2), .focusMinutes = 165, .sessionsCompleted = 5,
                              .targets = {2, 1, 1, 1}, .blocksCompleted = 2, .energy = {15, 5}, .morale = {14, 5}};
    // Weeks start on their own first day, before the range if need be, and
    // hold only the range's days.
    const PeriodFigures mondayToSaturday{.start = date(2026, 3, 1), .focusMinutes = 110, .sessionsCompleted = 4,
                                         .targets = {1, 1, 1, 1}, .blocksCompleted = 2, .energy = {10, 3},
                                         .morale = {8, 3}};
    const PeriodFigures mondayAndTuesday{.start = date(2026, 2, 25), .focusMinutes = 65, .sessionsCompleted = 3,
                                         .targets = {1, 1, 0, 1}, .blocksCompleted = 1, .energy = {9, 2},
                                         .morale = {7, 2}};
    const PeriodFigures wednesdayToSunday{.start = date(2026, 3, 4), .focusMinutes = 100, .sessionsCompleted = 2,
                                          .targets = {1, 0, 1, 0}, .blocksCompleted = 1, .energy = {6, 3},
                                          .morale = {7, 3}};
    struct Case {
        const char* name;
        weekday firstDayOfWeek;
        std::vector<PeriodFigures> weeks;
    };
    const Case cases[] = {
        {"weeks from Monday", Monday, {whole}},
        {"weeks from Sunday", Sunday, {mondayToSaturday, PeriodFigures{sunday}}},
        {"weeks from Wednesday", Wednesday, {mondayAndTuesday, wednesdayToSunday}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const HistoryStatistics statistics =
            HistoryStatistics::compute(state, {marchWeek, sundayLunch, plusOne, c.firstDayOfWeek});
        EXPECT_EQ(statistics.range, marchWeek);
        EXPECT_EQ(statistics.days, week);
        EXPECT_EQ(statistics.weeks, c.weeks);
        EXPECT_EQ(statistics.total, whole);
    }

    EXPECT_EQ(whole.targets.metShare(), 0.5); // 2 of 4 reviewed
    EXPECT_EQ(whole.morale.average(), 2.8);
    EXPECT_EQ(friday.targets.metShare(), std::nullopt);
    EXPECT_EQ((TargetCounts{.notReviewed = 3}.metShare()), std::nullopt);
    EXPECT_EQ(friday.energy.average(), std::nullopt);
}

TEST(HistoryStatistics, Compute_CountsStreaksOfLocalDaysUpToToday)
{
    // Sessions end at 10:00 on the given days before today (Sunday 8
    // March), -1 being tomorrow. The range is today alone: streaks look at the
    // whole history.
    const auto endingDaysAgo = [](std::vector<int> daysAgo) {
        std::vector<WorkSession> sessions;
        for (const int ago : daysAgo) {
            const Instant end = local(2026, 3, 8, 10) - days{ago};
            sessions.push_back(ended(std::min(end - 25min, sundayLunch), end));
        }
        return sessions;
    };
    QuillmereState overMidnight = stateWith(endingDaysAgo({2}));
    overMidnight.blockHistory.front().sessions.push_back(
        ended(utcInstant(2026, 3, 6, 23, 0, 0), utcInstant(2026, 3, 6, 23, 30, 0))); // Saturday 00:30 in the zone
    struct Case {
        const char* name;
        QuillmereState state;
        int current;
        int longest;
    };
    const Case cases[] = {
        {"no sessions", stateWith({}), 0, 0},
        {"a session today", stateWith(endingDaysAgo({0})), 1, 1},
        {"a run ending yesterday goes on while today has none yet", stateWith(endingDaysAgo({1, 2, 3})), 3, 3},
        {"a run that ended two days ago is broken", stateWith(endingDaysAgo({2, 3})), 0, 2},
        {"the longest run lies elsewhere", stateWith(endingDaysAgo({0, 1, 10, 11, 12, 13})), 2, 4},
        {"several sessions on a day count one day", stateWith(endingDaysAgo({0, 0, 1, 1, 1})), 2, 2},
        {"a session that ends after today is not part of the run", stateWith(endingDaysAgo({-1, 0})), 1, 1},
        {"a running session does not make a day",
         stateWith(endingDaysAgo({1}), {unfinished(local(2026, 3, 8, 12))}), 1, 1},
        {"a session ending after local midnight counts on the local day", overMidnight, 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DayRange today{date(2026, 3, 8), date(2026, 3, 8)};
        const HistoryStatistics statistics = HistoryStatistics::compute(c.state, {today, sundayLunch, plusOne});
        EXPECT_EQ(statistics.currentStreakDays, c.current);
        EXPECT_EQ(statistics.longestStreakDays, c.longest);
    }
}

TEST(HistoryStatistics, Compute_GivesZerosForNothingToCount)
{
    const QuillmereState empty = QuillmereState::initial(sundayLunch);
    const HistoryStatistics none = HistoryStatistics::compute(empty, {marchWeek, sundayLunch, plusOne});
    ASSERT_EQ(none.days.size(), 7U);
    for (std::size_t index = 0; index < none.days.size(); ++index) {
        SCOPED_TRACE(index);
        EXPECT_EQ(none.days[index], PeriodFigures{.start = marchWeek.first + days{index}});
    }
    EXPECT_EQ(none.weeks, std::vector{PeriodFigures{.start = marchWeek.first}});
    EXPECT_EQ(none.total, PeriodFigures{.start = marchWeek.first});
    EXPECT_EQ(none.currentStreakDays, 0);
    EXPECT_EQ(none.focusMinutesByWeekdayAndHour, (HistoryStatistics{}.focusMinutesByWeekdayAndHour));

    // A range that ends before it starts holds no days, whatever the history.
    const QuillmereState worked = stateWith({ended(local(2026, 3, 7, 10), local(2026, 3, 7, 10, 25))});
    const DayRange backwards{marchWeek.last, marchWeek.first};
    const HistoryStatistics reversed = HistoryStatistics::compute(worked, {backwards, sundayLunch, plusOne});
    EXPECT_TRUE(reversed.days.empty());
    EXPECT_TRUE(reversed.weeks.empty());
    EXPECT_EQ(reversed.total, PeriodFigures{.start = backwards.first});
    EXPECT_EQ(reversed.focusMinutesByWeekdayAndHour, (HistoryStatistics{}.focusMinutesByWeekdayAndHour));
    EXPECT_EQ(reversed.currentStreakDays, 1);
}

TEST(HistoryStatistics, InsightRange_EndsTodayInTheLocalZone)
{
    using enum InsightPeriod;
    const QuillmereState empty = QuillmereState::initial(sundayLunch);
    // Created late on 1 June UTC, which is 2 June in the zone.
    QuillmereState created = empty;
    created.blockHistory.push_back(Block::defaultBlock(utcInstant(2025, 6, 1, 23, 30, 0)));
    created.blockHistory.push_back(Block::defaultBlock(utcInstant(2025, 9, 1, 9, 0, 0)));
    QuillmereState startedEarlier = created;
    startedEarlier.currentBlock = Block::defaultBlock(utcInstant(2025, 12, 1, 9, 0, 0));
    startedEarlier.currentBlock->sessions.push_back(unfinished(utcInstant(2025, 5, 20, 10, 0, 0)));
    QuillmereState fromTheFuture = empty;
    fromTheFuture.blockHistory.push_back(Block::defaultBlock(utcInstant(2030, 1, 1, 9, 0, 0)));

    const Instant leapDay = utcInstant(2028, 2, 29, 12, 0, 0) + 250ms;
    struct Case {
        const char* name;
        InsightPeriod period;
        Instant now;
        const QuillmereState& state;
        DayRange range;
    };
    const Case cases[] = {
        {"seven days", lastSevenDays, leapDay, empty, {date(2028, 2, 23), date(2028, 2, 29)}},
        {"four weeks", lastFourWeeks, leapDay, empty, {date(2028, 2, 2), date(2028, 2, 29)}},
        {"twelve months from a leap day start after 28 February", lastTwelveMonths, leapDay, empty,
         {date(2027, 3, 1), date(2028, 2, 29)}},
        {"twelve months to 28 February include the leap day", lastTwelveMonths, utcInstant(2029, 2, 28, 12, 0, 0),
         empty, {date(2028, 2, 29), date(2029, 2, 28)}},
        {"twelve months from a plain date", lastTwelveMonths, sundayLunch, empty,
         {date(2025, 3, 9), date(2026, 3, 8)}},
        {"today is the zone's day, not UTC's", lastSevenDays, utcInstant(2026, 3, 1, 23, 30, 0), empty,
         {date(2026, 2, 24), date(2026, 3, 2)}},
        {"everything of an empty state is today", all, sundayLunch, empty, {date(2026, 3, 8), date(2026, 3, 8)}},
        {"everything from the local day the first block was created", all, sundayLunch, created,
         {date(2025, 6, 2), date(2026, 3, 8)}},
        {"everything from the first session, even in the current block", all, sundayLunch, startedEarlier,
         {date(2025, 5, 20), date(2026, 3, 8)}},
        {"everything never starts after today", all, sundayLunch, fromTheFuture,
         {date(2026, 3, 8), date(2026, 3, 8)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(insightRange(c.period, c.state, plusOne, c.now), c.range);
    }
}

// The figures of a long, varied history agree with a plain sum over its
// sessions, between ranges, and between days, weeks and the total.
TEST(HistoryStatistics, Compute_AgreesWithAPlainSumOverALongHistory)
{
    const fixtures::ScopedLocalZone local("Europe/Berlin");
    const TimeZone berlin = TimeZone::system();
    const Instant now = utcInstant(2026, 12, 9, 15, 30, 0) + 250ms;
    QuillmereState state = QuillmereState::initial(now);
    state.blockHistory = fixtures::workedHistory(1250, now);

    double workedSeconds = 0;
    int endedSessions = 0;
    for (const Block& block : state.blockHistory) {
        for (const WorkSession& session : block.sessions) {
            const double elapsed = secondsBetween(session.startedAt, *session.endedAt);
            workedSeconds += std::clamp(elapsed - session.accumulatedPausedSeconds, 0.0, elapsed);
            ++endedSessions;
        }
    }

    const DayRange everything = insightRange(InsightPeriod::all, state, berlin, now);
    const HistoryStatistics all = HistoryStatistics::compute(state, {everything, now, berlin});
    EXPECT_NEAR(all.total.focusMinutes, workedSeconds / 60, workedSeconds / 60 * 1e-6);
    EXPECT_EQ(all.total.sessionsCompleted, endedSessions);
    EXPECT_EQ(all.total.targets.reviewed() + all.total.targets.notReviewed, endedSessions);
    EXPECT_EQ(all.total.energy.count, endedSessions);
    EXPECT_EQ(all.total.blocksCompleted, 1250);

    // Adding in any order gives the same focus: weeks and the total are sums
    // of their days.
    double focusByDays = 0;
    double focusByWeeks = 0;
    int sessionsByDays = 0;
    int sessionsByWeeks = 0;
    for (const PeriodFigures& day : all.days) {
        focusByDays += day.focusMinutes;
        sessionsByDays += day.sessionsCompleted;
    }
    for (const PeriodFigures& week : all.weeks) {
        focusByWeeks += week.focusMinutes;
        sessionsByWeeks += week.sessionsCompleted;
    }
    EXPECT_EQ(focusByDays, all.total.focusMinutes);
    EXPECT_EQ(focusByWeeks, all.total.focusMinutes);
    EXPECT_EQ(sessionsByDays, all.total.sessionsCompleted);
    EXPECT_EQ(sessionsByWeeks, all.total.sessionsCompleted);
    double focusByCells = 0;
    for (const auto& hours : all.focusMinutesByWeekdayAndHour) {
        for (const double minutes : hours) {
            focusByCells += minutes;
        }
    }
    EXPECT_NEAR(focusByCells, all.total.focusMinutes, all.total.focusMinutes * 1e-9);

    // A shorter range sees the same days.
    const DayRange year = insightRange(InsightPeriod::lastTwelveMonths, state, berlin, now);
    const HistoryStatistics lastYear = HistoryStatistics::compute(state, {year, now, berlin});
    ASSERT_EQ(lastYear.days.size(), 365U);
    const auto offset = (year.first - everything.first).count();
    EXPECT_TRUE(std::equal(lastYear.days.begin(), lastYear.days.end(), all.days.begin() + offset));
    EXPECT_EQ(lastYear.currentStreakDays, all.currentStreakDays);
    EXPECT_EQ(lastYear.longestStreakDays, all.longestStreakDays);
    EXPECT_GT(all.longestStreakDays, 1);
}
