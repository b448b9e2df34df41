// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "NotificationScheduling.h"

#include "quillmere/Instant.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <chrono>
#include <functional>
#include <map>
#include <string>

class QTimer;

namespace quillmere {

// The desktop's notification service (org.freedesktop.Notifications on the
// session bus) as a notification centre. Notification daemons show at once
// and cannot defer, so the deferral happens here: one single-shot timer per
// identifier, and Notify when it fires. Linux asks no permission; a service
// that answers counts as authorized. Main thread only; every completion runs
// later as its own queued call, never inside the call that took it.
class FreedesktopNotificationCenter final : public QObject, public NotificationCenterInterface {
    Q_OBJECT

public:
    using Clock = std::function<Instant()>;

    static constexpr std::string_view applicationName = "Quillmere";
    static constexpr std::string_view applicationId = "org.quillmere.Quillmere";
    // The platform shows a notification no sooner than this after it was
    // added, whatever its date.
    static constexpr std::chrono::milliseconds minimumDelay{1000};

    // A null `now` means the system clock. `onActivated` runs when the user
    // clicks one of our notifications.
    explicit FreedesktopNotificationCenter(QDBusConnection connection = QDBusConnection::sessionBus(),
                                           Clock now = nullptr, std::function<void()> onActivated = nullptr,
                                           QObject* parent = nullptr);
    ~FreedesktopNotificationCenter() override;

    // For an application that builds the centre before the window it shows.
    void setOnActivated(std::function<void()> onActivated);
    // Whether the notifications ask the desktop for a sound; on at first.
    void setPlaysSound(bool sound);

    void requestAuthorization(std::function<void(NotificationAuthorization)> completion) override;
    void readAuthorization(std::function<void(NotificationAuthorization)> completion) override;
    void add(const NotificationRequest& request, std::function<void(bool)> completion) override;
    void removePending(std::string_view identifier) override;

    // Whether a notification for `identifier` is waiting for its moment.
    bool isArmed(std::string_view identifier) const;

private slots:
    void handleActionInvoked(uint id, const QString& actionKey);
    void handleActivationToken(uint id, const QString& token);

private:
    // One identifier's notification: the deferral timer while it waits, and
    // the daemon's id of the last one shown, which the next one replaces.
    struct Entry {
        QTimer* timer = nullptr;
        NotificationRequest request;
        // When the platform would show it: the date, but no sooner than the
        // minimum delay after it was added.
        Instant showAt;
        uint shownId = 0;
    };

    void arm(Entry& entry, Instant now);
    void fire(const std::string& identifier);
    void sendNotify(const std::string& identifier);
    // Whether `id` names a notification this centre has shown.
    bool isOurs(uint id) const;

    QDBusConnection connection_;
    Clock now_;
    std::function<void()> onActivated_;
    bool playsSound_ = true;
    std::map<std::string, Entry, std::less<>> entries_;
    // Tokens the daemon hands over just before a click is reported, so that
    // the window the click raises may take the focus on Wayland.
    std::map<uint, QString> activationTokens_;
};

} // namespace quillmere
