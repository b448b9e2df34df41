// SPDX-License-Identifier: GPL-3.0-or-later
#include "AwayWatcher.h"

#include "SystemLog.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include <string>
#include <utility>

namespace quillmere {
namespace {

const QString login1Service = QStringLiteral("org.freedesktop.login1");
const QString login1Path = QStringLiteral("/org/freedesktop/login1");
const QString login1Manager = QStringLiteral("org.freedesktop.login1.Manager");

// Where screen savers announce a lock: the freedesktop interface on either
// of its two customary paths (some desktops use both), and GNOME's own.
struct ScreenSaverSource {
    QString service;
    QString path;
};
const ScreenSaverSource screenSaverSources[] = {
    {QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("/ScreenSaver")},
    {QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("/org/freedesktop/ScreenSaver")},
    {QStringLiteral("org.gnome.ScreenSaver"), QStringLiteral("/org/gnome/ScreenSaver")},
};

} // namespace

AwayPeriods::Change AwayPeriods::report(AwayReason reason, bool away)
{
    const bool wasAway = screenLocked_ || asleep_;
    switch (reason) {
    case AwayReason::screenLocked: screenLocked_ = away; break;
    case AwayReason::asleep: asleep_ = away; break;
    }
    const bool isAway = screenLocked_ || asleep_;
    if (isAway == wasAway) {
        return Change::none;
    }
    return isAway ? Change::began : Change::ended;
}

AwayWatcher::AwayWatcher(QDBusConnection systemBus, QDBusConnection sessionBus, QObject* parent)
    : QObject(parent), systemBus_(std::move(systemBus))
{
    // Qt matches each signal's sender against the owner of the service name,
    // followed as it changes: a program that merely sends the same signal is
    // not listened to.
    if (systemBus_.isConnected()) {
        systemBus_.connect(login1Service, login1Path, login1Manager, QStringLiteral("PrepareForSleep"), this,
                           SLOT(handlePrepareForSleep(bool)));
    } else {
        writeSystemLog("Quillmere: no system bus (" + logText(systemBus_.lastError()) +
                       "); the computer going to sleep is not noticed");
    }
    if (sessionBus.isConnected()) {
        for (const ScreenSaverSource& source : screenSaverSources) {
            sessionBus.connect(source.service, source.path, source.service, QStringLiteral("ActiveChanged"), this,
                               SLOT(handleScreenSaverActive(bool)));
        }
    }
}

void AwayWatcher::setDelaysSleep(bool delays)
{
    if (delaysSleep_ == delays) {
        return;
    }
    delaysSleep_ = delays;
    if (delays) {
        takeSleepDelay();
    } else {
        sleepDelay_ = {};
    }
}

void AwayWatcher::handlePrepareForSleep(bool sleeping)
{
    sleeping_ = sleeping;
    report(AwayReason::asleep, sleeping);
    if (sleeping) {
        // Whatever going away set off is done: the computer may sleep.
        sleepDelay_ = {};
    } else {
        takeSleepDelay();
    }
}

void AwayWatcher::handleScreenSaverActive(bool active)
{
    report(AwayReason::screenLocked, active);
}

void AwayWatcher::report(AwayReason reason, bool away)
{
    switch (periods_.report(reason, away)) {
    case AwayPeriods::Change::none: break;
    case AwayPeriods::Change::began: emit wentAway(reason); break;
    case AwayPeriods::Change::ended: emit cameBack(); break;
    }
}

void AwayWatcher::takeSleepDelay()
{
    if (!delaysSleep_ || sleeping_ || sleepDelay_.isValid() || sleepDelayRequest_ || !systemBus_.isConnected()) {
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(login1Service, login1Path, login1Manager,
                                                       QStringLiteral("Inhibit"));
    call << QStringLiteral("sleep") << QStringLiteral("Quillmere")
         << tr("Pausing the focus before the computer sleeps") << QStringLiteral("delay");
    sleepDelayRequest_ = new QDBusPendingCallWatcher(systemBus_.asyncCall(call), this);
    connect(sleepDelayRequest_, &QDBusPendingCallWatcher::finished, this, &AwayWatcher::keepSleepDelay);
}

void AwayWatcher::keepSleepDelay(QDBusPendingCallWatcher* reply)
{
    reply->deleteLater();
    sleepDelayRequest_ = nullptr;
    const QDBusPendingReply<QDBusUnixFileDescriptor> lock = *reply;
    if (lock.isError()) {
        if (!std::exchange(sleepDelayRefusalLogged_, true)) {
            writeSystemLog("Quillmere: logind lends no delay before sleep (" + logText(lock.error()) +
                           "); a focus may be paused only once the computer has woken");
        }
        return;
    }
    // Still wanted: not given up meanwhile, and not asleep already.
    if (delaysSleep_ && !sleeping_) {
        sleepDelay_ = lock.value();
    }
}

} // namespace quillmere
