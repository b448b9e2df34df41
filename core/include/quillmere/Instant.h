// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <string_view>

namespace quillmere {

// An absolute point in time. Differences between instants are exact to the
// nanosecond, which is what the whole-second timer arithmetic relies on.
using Instant = std::chrono::system_clock::time_point;

// Durations stored in records are seconds as doubles.
using Seconds = double;

// `to - from` in seconds. Computed in 128 bits so that two instants far apart
// (a hand-edited file) cannot overflow.
double secondsBetween(Instant from, Instant to);

// floor(`to - from`) in whole seconds, rounding towards negative infinity.
std::int64_t flooredSecondsBetween(Instant from, Instant to);

// The instant with its fraction of a second dropped (rounding down), as the
// files hold instants.
Instant wholeSeconds(Instant instant);

// `instant + seconds`, saturated at the ends of the representable range; a
// value that is not a number leaves the instant unchanged.
Instant addSeconds(Instant instant, double seconds);

// The file form of an instant: UTC, whole seconds (the fraction is dropped,
// rounding down), trailing "Z", e.g. "2026-03-02T09:30:00Z".
std::string formatInstant(Instant instant);

// Reads an RFC 3339 date-time without a fraction, with "Z" or a numeric
// offset ("+02:00"). Anything else, or a time the clock cannot represent, is
// refused with the reason, worded to follow the quoted text ("is not ...").
[[nodiscard]] std::expected<Instant, std::string> parseInstant(std::string_view text);

// Whole-second instant from a calendar date and time in UTC; for tests and
// fixtures. The fields must be valid.
Instant utcInstant(int year, unsigned month, unsigned day, unsigned hour = 0, unsigned minute = 0,
                   unsigned second = 0);

} // namespace quillmere
