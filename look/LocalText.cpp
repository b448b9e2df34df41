// SPDX-License-Identifier: GPL-3.0-or-later
#include "LocalText.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>
#include <chrono>
#include <limits>

namespace quillmere {

QString qtText(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString sentence(QString text)
{
    if (!text.endsWith(u'.')) {
        text += u'.';
    }
    return text;
}

QString translated(SourceText text)
{
    return QCoreApplication::translate(text.context, text.english);
}

QString translated(const Phrase& phrase, const QLocale& locale)
{
    QString text = translated(phrase.text);
    for (const std::int64_t number : phrase.numbers) {
        text = text.arg(locale.toString(static_cast<qlonglong>(number)));
    }
    return text;
}

QDateTime localDateTime(Instant instant)
{
    return QDateTime::fromSecsSinceEpoch(std::chrono::floor<std::chrono::seconds>(instant).time_since_epoch().count());
}

Instant instantFrom(const QDateTime& dateTime)
{
    return Instant(std::chrono::duration_cast<Instant::duration>(std::chrono::seconds(dateTime.toSecsSinceEpoch())));
}

QString shortDateTime(Instant instant)
{
    return QLocale::system().toString(localDateTime(instant), QLocale::ShortFormat);
}

int pluralCount(std::int64_t count)
{
    return static_cast<int>(
        std::clamp<std::int64_t>(count, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

QString clockText(std::int64_t seconds, ClockHours hours)
{
    seconds = std::max<std::int64_t>(seconds, 0);
    const QChar zero(u'0');
    const std::int64_t shownHours = hours == ClockHours::shown ? seconds / 3600 : 0;
    const std::int64_t minutes = (seconds - shownHours * 3600) / 60;
    const QString minutesAndSeconds = QStringLiteral("%1:%2").arg(minutes, 2, 10, zero).arg(seconds % 60, 2, 10, zero);
    return shownHours > 0 ? QStringLiteral("%1:%2").arg(shownHours).arg(minutesAndSeconds) : minutesAndSeconds;
}

} // namespace quillmere
