// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <QPointer>

class QDBusPendingCallWatcher;

namespace quillmere {

// What took the user away from the computer, as far as the desktop tells.
enum class AwayReason { screenLocked, asleep };

// Folds the desktop's reports into away periods. The reports overlap and
// repeat: a screen locked before the computer sleeps is unlocked only after
// it woke, and one lock may be told by two screen-saver interfaces, or by one
// on two paths. A period runs from the first report of going away to the
// report that leaves no reason standing.
class AwayPeriods {
public:
    enum class Change { none, began, ended };

    // `away`: the reason holds from now on; otherwise it no longer does.
    Change report(AwayReason reason, bool away);

private:
    bool screenLocked_ = false;
    bool asleep_ = false;
};

// Tells when the user goes away from the computer and comes back: logind's
// PrepareForSleep on the system bus, the screen saver's ActiveChanged on the
// session bus (org.freedesktop.ScreenSaver, or org.gnome.ScreenSaver where
// that is the one present). Main thread only.
class AwayWatcher final : public QObject {
    Q_OBJECT

public:
    // A bus that is not connected is passed over: without the system bus (in
    // a container, say) sleep goes unnoticed, which the system log is told.
    AwayWatcher(QDBusConnection systemBus, QDBusConnection sessionBus, QObject* parent = nullptr);

    // While on, holds a logind delay lock on sleep, so that going to sleep
    // is reported, and what the report sets off is done, before the computer
    // sleeps: a process is frozen as soon as no lock holds the sleep back,
    // and would read the report only after waking.
    void setDelaysSleep(bool delays);

signals:
    // The start of an away period, and why.
    void wentAway(quillmere::AwayReason reason);
    // Its end: nothing keeps the user away any longer.
    void cameBack();

private slots:
    void handlePrepareForSleep(bool sleeping);
    void handleScreenSaverActive(bool active);

private:
    void report(AwayReason reason, bool away);
    void takeSleepDelay();
    void keepSleepDelay(QDBusPendingCallWatcher* reply);

    QDBusConnection systemBus_;
    AwayPeriods periods_;
    bool delaysSleep_ = false;
    bool sleeping_ = false;
    // The delay lock: logind waits for it to be closed before sleeping.
    QDBusUnixFileDescriptor sleepDelay_;
    QPointer<QDBusPendingCallWatcher> sleepDelayRequest_;
    bool sleepDelayRefusalLogged_ = false;
};

} // namespace quillmere

Q_DECLARE_METATYPE(quillmere::AwayReason)
