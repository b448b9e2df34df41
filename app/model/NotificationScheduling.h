// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/Enumerations.h"
#include "quillmere/Instant.h"

#include <QString>

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace quillmere {

// The three moments Quillmere tells the user about. The raw text is also the
// identifier of the desktop notification, so a new one replaces the old.
enum class NotificationEvent { focusEnd, breakEnd, scheduledStart };

template <>
inline constexpr std::array allCases<NotificationEvent>{
    NotificationEvent::focusEnd,
    NotificationEvent::breakEnd,
    NotificationEvent::scheduledStart,
};

std::string_view rawText(NotificationEvent event);
// What the notification says, in the language of the installed translations.
QString notificationTitle(NotificationEvent event);
QString notificationBody(NotificationEvent event);

// Whether the desktop shows our notifications. Linux has no permission
// prompt: a reachable notification service counts as authorized.
enum class NotificationAuthorization { notDetermined, denied, authorized };

// One notification handed to the notification centre.
struct NotificationRequest {
    NotificationEvent event = NotificationEvent::focusEnd;
    Instant date;
    std::string title;
    std::string body;

    // The request for `event` at `date`, with the event's texts.
    static NotificationRequest make(NotificationEvent event, Instant date);

    friend bool operator==(const NotificationRequest&, const NotificationRequest&) = default;
};

// What the application model asks of notifications: at most one pending
// arrangement per event. Never reports failures.
class NotificationScheduling {
public:
    virtual ~NotificationScheduling() = default;

    virtual void requestPermission() = 0;
    virtual void refreshAuthorization() = 0;
    // Replaces any earlier arrangement for `event`; an instant that is not in
    // the future only withdraws it.
    virtual void schedule(NotificationEvent event, Instant date) = 0;
    virtual void cancel(NotificationEvent event) = 0;
};

// What the scheduler needs of a notification centre. Completions are called
// later, on the main thread, never from inside the call that took them.
class NotificationCenterInterface {
public:
    virtual ~NotificationCenterInterface() = default;

    virtual void requestAuthorization(std::function<void(NotificationAuthorization)> completion) = 0;
    virtual void readAuthorization(std::function<void(NotificationAuthorization)> completion) = 0;
    // `completion` gets true once the centre has accepted the request.
    virtual void add(const NotificationRequest& request, std::function<void(bool)> completion) = 0;
    virtual void removePending(std::string_view identifier) = 0;
};

// Does nothing at all: for the hosted test mode, where no desktop is around.
class TestHostNotificationScheduler final : public NotificationScheduling {
public:
    void requestPermission() override {}
    void refreshAuthorization() override {}
    void schedule(NotificationEvent, Instant) override {}
    void cancel(NotificationEvent) override {}
};

} // namespace quillmere
