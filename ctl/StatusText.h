// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/AgentSnapshot.h"

#include <QString>
#include <QTimeZone>

#include <cstdint>
#include <vector>

namespace quillmere {

// The texts quillmerectl prints for people: a status line to read at a
// glance, ages and the list of open questions. Built from the agent
// document, so the running Quillmere and a saved file read the same.
namespace StatusText {

// E.g. "Focus 17:48 left · session 3 of 8 · 2 open questions". Times of day
// are given in `zone`; `now` tells whether a scheduled start is today.
QString line(const AgentSnapshot& snapshot, Instant now, const QTimeZone& zone);

// "Quillmere is not running; as of 3 minutes ago: " + line().
QString savedLine(const AgentSnapshot& snapshot, Instant now, const QTimeZone& zone);


// How long ago `then` was, e.g. "3 minutes ago"; "just now" within a minute
// and for times ahead of `now` (another machine's clock).
QString age(Instant then, Instant now);

// One short block a question: its id, age and asker, then its text indented.
// A sentence saying there are none when there are none.
QString questions(const std::vector<AgentQuestion>& questions, Instant now);

} // namespace StatusText

} // namespace quillmere
