// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/Instant.h"

#include <chrono>
#include <functional>
#include <string>

namespace quillmere {

// The rules of one time zone, as the offset from UTC in force at each
// instant: what the statistics need to tell local days and hours, and what
// an export needs to write local times. A value; the rules come in as a
// function so that tests can hand-build a zone and the application can use
// the system's.
//
//     const TimeZone zone = TimeZone::system();
//     const std::chrono::local_days today = zone.localDay(now);
//     const Instant midnight = zone.startOfDay(today);
class TimeZone {
public:
    using OffsetAt = std::function<std::chrono::seconds(Instant)>;

    explicit TimeZone(OffsetAt offsetAt);

    // The process's local zone (the TZ variable, else /etc/localtime), read
    // afresh when called, so a test or a user that changed TZ is followed.
    static TimeZone system();
    // A zone without daylight-saving changes.
    static TimeZone fixed(std::chrono::seconds offset);

    std::chrono::seconds offsetAt(Instant instant) const { return offsetAt_(instant); }

    // The wall-clock reading at `instant`, whole seconds.
    std::chrono::local_seconds localTime(Instant instant) const;
    std::chrono::local_days localDay(Instant instant) const;

    // The earliest instant that reads `time` on the wall clock. A reading
    // skipped by a change to summer time gives the instant the clocks jumped
    // at; a reading that happens twice gives the first.
    Instant instantAt(std::chrono::local_seconds time) const;
    // The first instant of a local day: usually its midnight.
    Instant startOfDay(std::chrono::local_days day) const;

    // ISO 8601 with the local offset, whole seconds: "2026-03-29T03:15:00+02:00".
    std::string isoText(Instant instant) const;

private:
    OffsetAt offsetAt_;
};

} // namespace quillmere
