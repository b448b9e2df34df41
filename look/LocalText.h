// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/Instant.h"
#include "quillmere/SourceText.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <cstdint>
#include <string_view>

// Texts as people read them, shared by every Qt program of the product.
//
//   label->setText(quillmere::qtText(plan.intendedOutcome));
//   note->setText(tr("Scheduled for %1").arg(quillmere::shortDateTime(start)));
namespace quillmere {

// The core's UTF-8 text as a QString.
QString qtText(std::string_view text);

// `text` ending with a full stop, for a core's description that may lack one
// inside a sentence of the user's text.
QString sentence(QString text);

// A text the core marked for translation (quillmere/SourceText.h) in the
// language of the installed translations, a phrase's numbers written the
// locale's way.
QString translated(SourceText text);
QString translated(const Phrase& phrase, const QLocale& locale = QLocale());

// An instant as a local date and time, to the second, and back.
QDateTime localDateTime(Instant instant);
Instant instantFrom(const QDateTime& dateTime);

// An instant in the locale's short date and time format, in local time.
QString shortDateTime(Instant instant);

// A count as Qt's plural forms take it (`tr("%Ln minute(s)", nullptr, n)`):
// an int, so a larger count picks the form of the largest int.
int pluralCount(std::int64_t count);

// How a clock shows a span of whole seconds. Its digits are never localised,
// so that they keep their fixed width.
enum class ClockHours {
    // "75:00": minutes keep counting past the hour, as a timer of a session.
    inMinutes,
    // "1:15:00": hours shown when there are any, as a countdown to a start.
    shown,
};
// "MM:SS" (or "H:MM:SS"); a negative span counts as zero.
QString clockText(std::int64_t seconds, ClockHours hours);

} // namespace quillmere
