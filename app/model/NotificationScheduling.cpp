#include "NotificationScheduling.h"

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

std::string_view notificationTitle(NotificationEvent event)
{
    switch (event) {
    case NotificationEvent::focusEnd: return "Focus session complete";
    case NotificationEvent::breakEnd: return "Break complete";
    case NotificationEvent::scheduledStart: return "Scheduled block is ready";
    }
    return {};
}

std::string_view notificationBody(NotificationEvent event)
{
    switch (event) {
    case NotificationEvent::focusEnd: return "Review this session and plan the next one.";
    case NotificationEvent::breakEnd: return "Your saved session plan is ready when you are.";
    case NotificationEvent::scheduledStart: return "Open Quillmere to plan the first focus session.";
    }
    return {};
}

NotificationRequest NotificationRequest::make(NotificationEvent event, Instant date)
{
    return {
        .event = event,
        .date = date,
        .title = std::string(notificationTitle(event)),
        .body = std::string(notificationBody(event)),
    };
}

} // namespace quillmere
