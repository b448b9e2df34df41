// SPDX-License-Identifier: GPL-3.0-or-later
#include "StatusText.h"

#include "LocalText.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QStringList>

#include <chrono>

namespace quillmere::StatusText {
namespace {

QString translated(const char* source)
{
    return QCoreApplication::translate("quillmerectl", source);
}

// English has two forms; a translation gets both sentences to word as its
// own language needs.
QString counted(std::int64_t count, const char* one, const char* many)
{
    return count == 1 ? translated(one) : translated(many).arg(count);
}

qint64 epochSeconds(Instant instant)
{
    return std::chrono::floor<std::chrono::seconds>(instant.time_since_epoch()).count();
}

// A question or a name comes from another program or a hand-edited file:
// nothing in it may steer the terminal it is printed on.
QString printable(const std::string& value)
{
    QString result = QString::fromStdString(value);
    for (QChar& c : result) {
        if (c.category() == QChar::Other_Control && c != QLatin1Char('\t') && c != QLatin1Char('\n')) {
            c = QChar::ReplacementCharacter;
        }
    }
    return result;
}

// "Focus 17:48 left", "Focus +02:13 over", or the bare word when the
// document has no time for the timer.
QString timer(std::optional<std::int64_t> remaining, const char* left, const char* over, const char* bare)
{
    if (!remaining) {
        return translated(bare);
    }
    return *remaining >= 0 ? translated(left).arg(clockText(*remaining, ClockHours::shown))
                           : translated(over).arg(clockText(-*remaining, ClockHours::shown));
}

QString scheduledTime(Instant at, Instant now, const QTimeZone& zone)
{
    const QDateTime start = QDateTime::fromSecsSinceEpoch(epochSeconds(at), zone);
    const QDate today = QDateTime::fromSecsSinceEpoch(epochSeconds(now), zone).date();
    const QString time = start.toString(QStringLiteral("HH:mm"));
    if (start.date() == today) {
        return time;
    }
    if (start.date() == today.addDays(1)) {
        return translated("tomorrow at %1").arg(time);
    }
    return start.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

} // namespace

QString age(Instant then, Instant now)
{
    const std::int64_t minutes = flooredSecondsBetween(then, now) / 60;
    if (minutes < 1) {
        return translated("just now");
    }
    if (minutes < 60) {
        return counted(minutes, "1 minute ago", "%1 minutes ago");
    }
    if (minutes < 24 * 60) {
        return counted(minutes / 60, "1 hour ago", "%1 hours ago");
    }
    return counted(minutes / (24 * 60), "1 day ago", "%1 days ago");
}

QString line(const AgentSnapshot& snapshot, Instant now, const QTimeZone& zone)
{
    const std::optional<std::int64_t> cycles =
        snapshot.block ? std::optional(snapshot.block->cycleCount) : std::nullopt;
    const std::optional<std::int64_t> current =
        snapshot.currentSession ? std::optional(snapshot.currentSession->number) : std::nullopt;
    const auto ofCycles = [&](const char* known, const char* unknown, std::optional<std::int64_t> number) {
        return number && cycles ? translated(known).arg(*number).arg(*cycles) : translated(unknown);
    };

    QStringList parts;
    switch (snapshot.workflowState) {
    case WorkflowState::idle:
        if (snapshot.block && snapshot.block->plannedStart) {
            parts << translated("Block scheduled for %1").arg(scheduledTime(*snapshot.block->plannedStart, now, zone));
        } else {
            parts << translated("Idle");
        }
        break;
    case WorkflowState::blockPlanning: parts << translated("Planning a block"); break;
    case WorkflowState::sessionPlanning:
        parts << ofCycles("Planning session %1 of %2", "Planning the next session",
                          static_cast<std::int64_t>(snapshot.sessions.size()) + 1);
        break;
    case WorkflowState::focusing:
        if (snapshot.currentSession && snapshot.currentSession->pausedAt) {
            parts << timer(snapshot.remainingSeconds, "Paused, %1 left", "Paused, +%1 over", "Paused");
        } else {
            parts << timer(snapshot.remainingSeconds, "Focus %1 left", "Focus +%1 over", "Focus");
        }
        if (current && cycles) {
            parts << translated("session %1 of %2").arg(*current).arg(*cycles);
        }
        break;
    case WorkflowState::sessionReview:
        parts << ofCycles("Reviewing session %1 of %2", "Reviewing the session", current);
        break;
    case WorkflowState::breaking:
        parts << timer(snapshot.remainingSeconds, "Break %1 left", "Break +%1 over", "Break");
        if (current && cycles) {
            parts << translated("%1 of %2 sessions done").arg(*current).arg(*cycles);
        }
        break;
    case WorkflowState::blockReview: parts << translated("Reviewing the block"); break;
    case WorkflowState::complete: parts << translated("Block complete"); break;
    }
    if (const auto open = static_cast<std::int64_t>(snapshot.openQuestions.size()); open > 0) {
        parts << counted(open, "1 open question", "%1 open questions");
    }
    return parts.join(QStringLiteral(" · "));
}

QString savedLine(const AgentSnapshot& snapshot, Instant now, const QTimeZone& zone)
{
    return translated("Quillmere is not running; as of %1: %2")
        .arg(age(snapshot.updatedAt, now), line(snapshot, now, zone));
}

QString questions(const std::vector<AgentQuestion>& questions, Instant now)
{
    if (questions.empty()) {
        return translated("No open questions.");
    }
    QStringList lines;
    for (const AgentQuestion& question : questions) {
        const QString id = QString::fromStdString(question.id.toString());
        const QString asked = age(question.createdAt, now);
        lines << (question.askedBy && !question.askedBy->empty()
                      ? translated("%1 · asked %2 by %3").arg(id, asked, printable(*question.askedBy))
                      : translated("%1 · asked %2").arg(id, asked));
        for (const QString& textLine : printable(question.question).split(QLatin1Char('\n'))) {
            lines << QStringLiteral("    ") + textLine;
        }
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace quillmere::StatusText
