// SPDX-License-Identifier: GPL-3.0-or-later
#include "NotificationScheduling.h"

#include <QCoreApplication>

namespace quillmere {

std::string_view rawText(NotificationEvent event)
{
    switch (event) {
    case NotificationEvent::focusEnd: return "focusEnd";
    case NotificationEvent::breakEnd: return "breakEnd";
    case NotificationEvent::scheduledStart: return "scheduledStart";
    }
    return {};
}

QString notificationTitle(NotificationEvent event)
{
    switch (event) {
    case NotificationEvent::focusEnd:
        return QCoreApplication::translate("quillmere::NotificationEvent", "Focus session complete");
    case NotificationEvent::breakEnd:
        return QCoreApplication::translate("quillmere::NotificationEvent", "Break complete");
    case NotificationEvent::scheduledStart:
        return QCoreApplication::translate("quillmere::NotificationEvent", "Scheduled block is ready");
    }
    return {};
}

QString notificationBody(NotificationEvent event)
{
    switch (event) {
    case NotificationEvent::focusEnd:
        return QCoreApplication::translate("quillmere::NotificationEvent",
                                           "Review this session and plan the next one.");
    case NotificationEvent::breakEnd:
        return QCoreApplication::translate("quillmere::NotificationEvent",
                                           "Your saved session plan is ready when you are.");
    case NotificationEvent::scheduledStart:
        return QCoreApplication::translate("quillmere::NotificationEvent",
                                           "Open Quillmere to plan the first focus session.");
    }
    return {};
}

NotificationRequest NotificationRequest::make(NotificationEvent event, Instant date)
{
    return {
        .event = event,
        .date = date,
        .title = notificationTitle(event).toStdString(),
        .body = notificationBody(event).toStdString(),
    };
}

} // namespace quillmere
