// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "NotificationScheduling.h"

#include "quillmere/Instant.h"

#include <QObject>

#include <functional>
#include <map>
#include <memory>

namespace quillmere {

// Keeps at most one pending notification per event and hands them to the
// notification centre once the desktop lets us show them. An event stays
// pending until the centre accepts it, it is cancelled or replaced, or its
// moment passes unsubmitted. Main thread only.
//
// A QObject so that the centre's late completions can hold it weakly: the
// centre may answer after the scheduler is gone.
class Notifications final : public QObject, public NotificationScheduling {
    Q_OBJECT

public:
    using Clock = std::function<Instant()>;

    // A null `center` means the desktop's notification service on the session
    // bus; a null `now` means the system clock. Asks for the current
    // authorization straight away.
    explicit Notifications(std::unique_ptr<NotificationCenterInterface> center = nullptr, Clock now = nullptr,
                           QObject* parent = nullptr);
    ~Notifications() override;

    void requestPermission() override;
    void refreshAuthorization() override;
    void schedule(NotificationEvent event, Instant date) override;
    void cancel(NotificationEvent event) override;

    const std::map<NotificationEvent, Instant>& pending() const { return pending_; }
    // `notDetermined` until the centre has answered once.
    NotificationAuthorization authorization() const { return authorization_; }

private:
    void updateAuthorization(NotificationAuthorization authorization);
    void flush();
    void withdraw(NotificationEvent event);

    std::unique_ptr<NotificationCenterInterface> center_;
    Clock now_;
    std::map<NotificationEvent, Instant> pending_;
    NotificationAuthorization authorization_ = NotificationAuthorization::notDetermined;
};

} // namespace quillmere
