// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/TimeZone.h"

#include <cstdio>
#include <ctime>
#include <utility>

namespace quillmere {

using namespace std::chrono;

TimeZone::TimeZone(OffsetAt offsetAt)
    : offsetAt_(std::move(offsetAt))
{
}

TimeZone TimeZone::system()
{
    // localtime_r reads TZ once per process unless told to look again.
    tzset();
    return TimeZone([](Instant instant) {
        const std::time_t whole = system_clock::to_time_t(floor<seconds>(instant));
        std::tm parts{};
        if (localtime_r(&whole, &parts) == nullptr) {
            return seconds{0}; // beyond the calendar's years: no zone rules there
        }
        return seconds{parts.tm_gmtoff};
    });
}

TimeZone TimeZone::fixed(seconds offset)
{
    return TimeZone([offset](Instant) { return offset; });
}

local_seconds TimeZone::localTime(Instant instant) const
{
    return local_seconds{floor<seconds>(instant).time_since_epoch() + offsetAt(instant)};
}

local_days TimeZone::localDay(Instant instant) const
{
    return floor<days>(localTime(instant));
}

Instant TimeZone::instantAt(local_seconds time) const
{
    // Guess with the offset on either side of the reading; each guess is
    // right when reading it back gives the time. Zones change their offset
    // at most once within a day, so the two guesses cover every case.
    const seconds sinceEpoch = time.time_since_epoch();
    const Instant before{sinceEpoch - offsetAt(Instant{sinceEpoch - days{1}})};
    const Instant after{sinceEpoch - offsetAt(Instant{sinceEpoch + days{1}})};
    const Instant first = std::min(before, after);
    const Instant second = std::max(before, after);
    if (localTime(first) == time) {
        return first;
    }
    if (localTime(second) == time) {
        return second;
    }
    // Skipped: the gap begins where the earlier offset stops holding.
    Instant low = first;
    Instant high = second;
    while (high - low > seconds{1}) {
        const Instant middle = low + floor<seconds>((high - low) / 2);
        (localTime(middle) < time ? low : high) = middle;
    }
    return high;
}

Instant TimeZone::startOfDay(local_days day) const
{
    return instantAt(local_seconds{day});
}

std::string TimeZone::isoText(Instant instant) const
{
    const local_seconds time = localTime(instant);
    const local_days day = floor<days>(time);
    const year_month_day date{day};
    const hh_mm_ss clock{time - day};
    const auto offset = offsetAt(instant).count();
    const long long offsetMinutes = (offset < 0 ? -offset : offset) / 60;
    char text[96]; // room for any year the clock reaches
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02lld:%02lld:%02lld%c%02lld:%02lld", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<long long>(clock.hours().count()), static_cast<long long>(clock.minutes().count()),
                  static_cast<long long>(clock.seconds().count()), offset < 0 ? '-' : '+', offsetMinutes / 60,
                  offsetMinutes % 60);
    return text;
}

} // namespace quillmere
