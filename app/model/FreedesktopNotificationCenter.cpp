// SPDX-License-Identifier: GPL-3.0-or-later
#include "FreedesktopNotificationCenter.h"

#include "LocalText.h"
#include "NotificationService_p.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>

#include <algorithm>

namespace quillmere {
namespace {

const QString defaultAction = QStringLiteral("default");

// QTimer counts in int milliseconds, and its monotonic clock drifts from the
// wall clock over a suspend; long waits are split and re-checked.
constexpr std::chrono::milliseconds longestWait = std::chrono::hours(1);

} // namespace

FreedesktopNotificationCenter::FreedesktopNotificationCenter(QDBusConnection connection, Clock now,
                                                             std::function<void()> onActivated, QObject* parent)
    : QObject(parent),
      connection_(std::move(connection)),
      now_(now ? std::move(now) : Clock([] { return std::chrono::system_clock::now(); })),
      onActivated_(std::move(onActivated))
{
    if (connection_.isConnected()) {
        using namespace notificationService;
        connection_.connect(name, path, interfaceName, QStringLiteral("ActionInvoked"), this,
                            SLOT(handleActionInvoked(uint, QString)));
        connection_.connect(name, path, interfaceName, QStringLiteral("ActivationToken"), this,
                            SLOT(handleActivationToken(uint, QString)));
    }
}

FreedesktopNotificationCenter::~FreedesktopNotificationCenter() = default;

void FreedesktopNotificationCenter::setPlaysSound(bool sound)
{
    playsSound_ = sound;
}

void FreedesktopNotificationCenter::setOnActivated(std::function<void()> onActivated)
{
    onActivated_ = std::move(onActivated);
}

void FreedesktopNotificationCenter::requestAuthorization(std::function<void(NotificationAuthorization)> completion)
{
    // There is no permission prompt to show: asking is reading.
    readAuthorization(std::move(completion));
}

void FreedesktopNotificationCenter::readAuthorization(std::function<void(NotificationAuthorization)> completion)
{
    if (!connection_.isConnected()) {
        QMetaObject::invokeMethod(
            this, [completion = std::move(completion)] { completion(NotificationAuthorization::denied); },
            Qt::QueuedConnection);
        return;
    }
    // Asked anew every time, so that a daemon started later is picked up.
    const QDBusMessage call = notificationService::call(QStringLiteral("GetServerInformation"));
    // The watcher reports from the event loop even when the call failed at
    // once, so the completion never runs inside this call.
    auto* watcher = new QDBusPendingCallWatcher(connection_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [completion = std::move(completion)](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                completion(finished->isError() ? NotificationAuthorization::denied
                                               : NotificationAuthorization::authorized);
            });
}

void FreedesktopNotificationCenter::add(const NotificationRequest& request, std::function<void(bool)> completion)
{
    const std::string identifier(rawText(request.event));
    auto [position, inserted] = entries_.try_emplace(identifier);
    Entry& entry = position->second;
    if (inserted) {
        entry.timer = new QTimer(this);
        entry.timer->setSingleShot(true);
        // A coarse timer may be off by 5 %, over a minute on a focus period.
        entry.timer->setTimerType(Qt::PreciseTimer);
        connect(entry.timer, &QTimer::timeout, this, [this, identifier] { fire(identifier); });
    }
    const Instant now = now_();
    entry.request = request;
    entry.showAt = std::max(request.date, now + minimumDelay);
    arm(entry, now);
    QMetaObject::invokeMethod(
        this, [completion = std::move(completion)] { completion(true); }, Qt::QueuedConnection);
}

void FreedesktopNotificationCenter::removePending(std::string_view identifier)
{
    const auto position = entries_.find(identifier);
    if (position == entries_.end() || !position->second.timer->isActive()) {
        return;
    }
    Entry& entry = position->second;
    entry.timer->stop();
    // Its moment has come and only the event loop has not yet got round to
    // it: a deferring desktop would have shown it by now, so show it rather
    // than lose it to the tick that handles the same moment.
    if (entry.showAt <= now_()) {
        sendNotify(position->first);
    }
}

bool FreedesktopNotificationCenter::isArmed(std::string_view identifier) const
{
    const auto position = entries_.find(identifier);
    return position != entries_.end() && position->second.timer->isActive();
}

void FreedesktopNotificationCenter::arm(Entry& entry, Instant now)
{
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(entry.showAt - now);
    entry.timer->start(std::clamp(wait, std::chrono::milliseconds::zero(), longestWait));
}

void FreedesktopNotificationCenter::fire(const std::string& identifier)
{
    Entry& entry = entries_.at(identifier);
    const Instant now = now_();
    // Early by the wall clock: a split wait, or the clock was set back.
    if (entry.showAt - now > minimumDelay) {
        arm(entry, now);
        return;
    }
    sendNotify(identifier);
}

void FreedesktopNotificationCenter::sendNotify(const std::string& identifier)
{
    const Entry& entry = entries_.at(identifier);
    QDBusMessage call = notificationService::call(QStringLiteral("Notify"));
    QVariantMap hints{{QStringLiteral("desktop-entry"), qtText(applicationId)}};
    if (playsSound_) {
        hints.insert(QStringLiteral("sound-name"), QStringLiteral("complete"));
    } else {
        hints.insert(QStringLiteral("suppress-sound"), true);
    }
    call << qtText(applicationName) << entry.shownId << qtText(applicationId) << qtText(entry.request.title)
         << qtText(entry.request.body) << QStringList{defaultAction, tr("Open Quillmere")} << hints
         << qint32(-1);
    auto* watcher = new QDBusPendingCallWatcher(connection_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, identifier](QDBusPendingCallWatcher* finished) {
        finished->deleteLater();
        const QDBusPendingReply<uint> reply = *finished;
        if (reply.isValid()) {
            entries_.at(identifier).shownId = reply.value();
        }
    });
}

bool FreedesktopNotificationCenter::isOurs(uint id) const
{
    // The daemon never hands out 0; it marks "not shown yet" here.
    return id != 0 && std::ranges::any_of(entries_, [id](const auto& entry) { return entry.second.shownId == id; });
}

void FreedesktopNotificationCenter::handleActivationToken(uint id, const QString& token)
{
    if (isOurs(id)) {
        activationTokens_[id] = token;
    }
}

void FreedesktopNotificationCenter::handleActionInvoked(uint id, const QString& actionKey)
{
    if (actionKey != defaultAction || !isOurs(id)) {
        return;
    }
    // Wayland lets a window take the focus only with the token of the click;
    // Qt reads it from the environment when the window asks to be activated.
    if (const auto token = activationTokens_.find(id); token != activationTokens_.end()) {
        qputenv("XDG_ACTIVATION_TOKEN", token->second.toUtf8());
        activationTokens_.erase(token);
    }
    if (onActivated_) {
        onActivated_();
    }
}

} // namespace quillmere
