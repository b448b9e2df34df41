// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/Instant.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace quillmere {
namespace {

__extension__ typedef __int128 Wide;

using Ticks = Instant::duration;
constexpr std::int64_t ticksPerSecond = Ticks::period::den / Ticks::period::num;
static_assert(Ticks::period::num == 1, "instants are expected to count fractions of a second");

Wide ticksBetween(Instant from, Instant to)
{
    return static_cast<Wide>(to.time_since_epoch().count()) - static_cast<Wide>(from.time_since_epoch().count());
}

int digitsValue(std::string_view text, std::size_t position, std::size_t count)
{
    int value = 0;
    for (std::size_t i = position; i < position + count; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') {
            return -1;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

constexpr const char* notADateTime = "is not a date-time of the form 2026-03-02T09:30:00Z";

} // namespace

double secondsBetween(Instant from, Instant to)
{
    return static_cast<double>(static_cast<long double>(ticksBetween(from, to)) / ticksPerSecond);
}

std::int64_t flooredSecondsBetween(Instant from, Instant to)
{
    const Wide ticks = ticksBetween(from, to);
    Wide whole = ticks / ticksPerSecond;
    if (ticks % ticksPerSecond != 0 && ticks < 0) {
        --whole;
    }
    return static_cast<std::int64_t>(whole); // |whole| < 2^35: two 64-bit tick counts apart
}

Instant wholeSeconds(Instant instant)
{
    return std::chrono::floor<std::chrono::seconds>(instant);
}

Instant addSeconds(Instant instant, double seconds)
{
    if (std::isnan(seconds)) {
        return instant;
    }
    const long double target =
        static_cast<long double>(instant.time_since_epoch().count()) + static_cast<long double>(seconds) * ticksPerSecond;
    constexpr auto lowest = std::numeric_limits<Ticks::rep>::min();
    constexpr auto highest = std::numeric_limits<Ticks::rep>::max();
    if (target <= static_cast<long double>(lowest)) {
        return Instant(Ticks(lowest));
    }
    if (target >= static_cast<long double>(highest)) {
        return Instant(Ticks(highest));
    }
    return Instant(Ticks(static_cast<Ticks::rep>(target)));
}

std::string formatInstant(Instant instant)
{
    using namespace std::chrono;
    const auto whole = floor<seconds>(instant);
    const auto day = floor<days>(whole);
    const year_month_day date(day);
    const hh_mm_ss time(whole - day);
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    return buffer;
}

std::expected<Instant, std::string> parseInstant(std::string_view text)
{
    // yyyy-mm-ddThh:mm:ss followed by Z or +hh:mm / -hh:mm; RFC 3339 allows
    // the separators in lower case too.
    if (text.size() != 20 && text.size() != 25) {
        return std::unexpected(std::string(notADateTime));
    }
    const int year = digitsValue(text, 0, 4);
    const int month = digitsValue(text, 5, 2);
    const int day = digitsValue(text, 8, 2);
    const int hour = digitsValue(text, 11, 2);
    const int minute = digitsValue(text, 14, 2);
    const int second = digitsValue(text, 17, 2);
    if (year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0 || text[4] != '-' ||
        text[7] != '-' || (text[10] != 'T' && text[10] != 't') || text[13] != ':' || text[16] != ':') {
        return std::unexpected(std::string(notADateTime));
    }
    int offsetSeconds = 0;
    if (text.size() == 20) {
        if (text[19] != 'Z' && text[19] != 'z') {
            return std::unexpected(std::string(notADateTime));
        }
    } else {
        const int offsetHours = digitsValue(text, 20, 2);
        const int offsetMinutes = digitsValue(text, 23, 2);
        if ((text[19] != '+' && text[19] != '-') || text[22] != ':' || offsetHours < 0 || offsetHours > 23 ||
            offsetMinutes < 0 || offsetMinutes > 59) {
            return std::unexpected(std::string(notADateTime));
        }
        offsetSeconds = (offsetHours * 3600 + offsetMinutes * 60) * (text[19] == '-' ? -1 : 1);
    }
    using namespace std::chrono;
    const year_month_day date{std::chrono::year(year), std::chrono::month(static_cast<unsigned>(month)),
                              std::chrono::day(static_cast<unsigned>(day))};
    if (!date.ok() || hour > 23 || minute > 59 || second > 59) {
        return std::unexpected(std::string(notADateTime));
    }
    const std::int64_t sinceEpoch = static_cast<std::int64_t>(sys_days(date).time_since_epoch().count()) * 86400 +
                                    hour * 3600 + minute * 60 + second - offsetSeconds;
    constexpr std::int64_t limit = std::numeric_limits<Ticks::rep>::max() / ticksPerSecond - 1;
    if (sinceEpoch > limit || sinceEpoch < -limit) {
        return std::unexpected(std::string("is outside the range of dates this system can keep"));
    }
    return Instant(duration_cast<Ticks>(std::chrono::seconds(sinceEpoch)));
}

Instant utcInstant(int year, unsigned month, unsigned day, unsigned hour, unsigned minute, unsigned second)
{
    using namespace std::chrono;
    const sys_days date{std::chrono::year(year) / std::chrono::month(month) / std::chrono::day(day)};
    return Instant(duration_cast<Ticks>(date.time_since_epoch() + hours(hour) + minutes(minute) + seconds(second)));
}

} // namespace quillmere
