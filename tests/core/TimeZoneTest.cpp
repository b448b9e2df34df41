// SPDX-License-Identifier: GPL-3.0-or-later
#include "LocalZone.h"
#include "quillmere/TimeZone.h"

#include <gtest/gtest.h>

using namespace quillmere;
using namespace std::chrono;
using namespace std::chrono_literals;

namespace {

local_seconds reading(int y, unsigned m, unsigned d, unsigned hour, unsigned minute = 0)
{
    return local_days{year{y} / m / d} + hours{hour} + minutes{minute};
}

// Clocks going from UTC-3 to UTC-2 at midnight, as some zones changed: the
// day of the change has no 00:00.
TimeZone midnightSkippingZone()
{
    const Instant change = utcInstant(2026, 10, 4, 3, 0, 0); // 00:00 at UTC-3
    return TimeZone([change](Instant at) { return at < change ? -3h : -2h; });
}

} // namespace

TEST(TimeZone, IsoText_ReadsTheOffsetInForceAtEachInstant)
{
    const fixtures::ScopedLocalZone local("Europe/Berlin");
    const TimeZone berlin = TimeZone::system();
    struct Case {
        const char* name;
        TimeZone zone;
        Instant instant;
        const char* text;
    };
    const Case cases[] = {
        {"last winter second before the spring change", berlin, utcInstant(2026, 3, 29, 0, 59, 59) + 900ms,
         "2026-03-29T01:59:59+01:00"},
        {"the spring change jumps from 02:00 to 03:00", berlin, utcInstant(2026, 3, 29, 1, 0, 0),
         "2026-03-29T03:00:00+02:00"},
        {"last summer second before the autumn change", berlin, utcInstant(2026, 10, 25, 0, 59, 59) + 500ms,
         "2026-10-25T02:59:59+02:00"},
        {"the autumn change reads 02:00 a second time", berlin, utcInstant(2026, 10, 25, 1, 0, 0),
         "2026-10-25T02:00:00+01:00"},
        {"negative offset with minutes, across new year", TimeZone::fixed(-(3h + 30min)),
         utcInstant(2026, 1, 1, 2, 0, 0), "2025-12-31T22:30:00-03:30"},
        {"a fraction before 1970 rounds down, not towards zero", TimeZone::fixed(0s), Instant{} - 500ms,
         "1969-12-31T23:59:59+00:00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.zone.isoText(c.instant), c.text);
    }
}

TEST(TimeZone, InstantAt_GivesTheEarliestInstantOfEachReading)
{
    const fixtures::ScopedLocalZone local("Europe/Berlin");
    const TimeZone berlin = TimeZone::system();
    struct Case {
        const char* name;
        TimeZone zone;
        local_seconds reading;
        Instant instant;
    };
    const Case cases[] = {
        {"an ordinary summer reading", berlin, reading(2026, 7, 1, 12), utcInstant(2026, 7, 1, 10, 0, 0)},
        {"a reading the spring change skips gives the instant of the jump", berlin, reading(2026, 3, 29, 2, 30),
         utcInstant(2026, 3, 29, 1, 0, 0)},
        {"a reading the autumn change repeats gives its first time", berlin, reading(2026, 10, 25, 2, 30),
         utcInstant(2026, 10, 25, 0, 30, 0)},
        {"the day of the spring change starts at midnight in winter time", berlin,
         reading(2026, 3, 29, 0), utcInstant(2026, 3, 28, 23, 0, 0)},
        {"the day of the autumn change starts at midnight in summer time", berlin,
         reading(2026, 10, 25, 0), utcInstant(2026, 10, 24, 22, 0, 0)},
        {"a day without midnight starts when the clocks jump", midnightSkippingZone(), reading(2026, 10, 4, 0),
         utcInstant(2026, 10, 4, 3, 0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.zone.instantAt(c.reading), c.instant);
        if (c.reading == floor<days>(c.reading)) {
            EXPECT_EQ(c.zone.startOfDay(floor<days>(c.reading)), c.instant);
        }
    }
}
