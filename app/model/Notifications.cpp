// SPDX-License-Identifier: GPL-3.0-or-later
#include "Notifications.h"

#include "FreedesktopNotificationCenter.h"

#include <QPointer>

#include <chrono>
#include <vector>

namespace quillmere {

Notifications::Notifications(std::unique_ptr<NotificationCenterInterface> center, Clock now, QObject* parent)
    : QObject(parent),
      center_(std::move(center)),
      now_(now ? std::move(now) : Clock([] { return std::chrono::system_clock::now(); }))
{
    if (!center_) {
        center_ = std::make_unique<FreedesktopNotificationCenter>(QDBusConnection::sessionBus(), now_);
    }
    refreshAuthorization();
}

Notifications::~Notifications() = default;

void Notifications::requestPermission()
{
    center_->requestAuthorization([self = QPointer(this)](NotificationAuthorization authorization) {
        if (self) {
            self->updateAuthorization(authorization);
        }
    });
}

void Notifications::refreshAuthorization()
{
    center_->readAuthorization([self = QPointer(this)](NotificationAuthorization authorization) {
        if (self) {
            self->updateAuthorization(authorization);
        }
    });
}

void Notifications::updateAuthorization(NotificationAuthorization authorization)
{
    authorization_ = authorization;
    if (authorization_ == NotificationAuthorization::authorized) {
        flush();
    }
}

void Notifications::schedule(NotificationEvent event, Instant date)
{
    withdraw(event);
    if (date <= now_()) {
        return;
    }
    pending_[event] = date;
    if (authorization_ == NotificationAuthorization::authorized) {
        flush();
    } else {
        // Permission may have been granted since we last asked; the answer
        // flushes if so.
        refreshAuthorization();
    }
}

void Notifications::cancel(NotificationEvent event)
{
    withdraw(event);
}

void Notifications::withdraw(NotificationEvent event)
{
    pending_.erase(event);
    center_->removePending(rawText(event));
}

void Notifications::flush()
{
    const Instant now = now_();
    std::vector<NotificationRequest> requests;
    for (auto entry = pending_.begin(); entry != pending_.end();) {
        if (entry->second > now) {
            requests.push_back(NotificationRequest::make(entry->first, entry->second));
            ++entry;
        } else {
            entry = pending_.erase(entry);
        }
    }
    // Submitted from a copy: a completion that (against the centre's
    // contract) arrived inside add() must not disturb this loop.
    for (const NotificationRequest& request : requests) {
        center_->add(request, [self = QPointer(this), event = request.event, date = request.date](bool accepted) {
            if (!self || !accepted) {
                return;
            }
            // A later schedule() of the same event may have replaced this
            // entry while the centre was answering; that one is still owed.
            const auto entry = self->pending_.find(event);
            if (entry != self->pending_.end() && entry->second == date) {
                self->pending_.erase(entry);
            }
        });
    }
}

} // namespace quillmere
