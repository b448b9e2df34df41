// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <expected>
#include <functional>
#include <memory>

namespace quillmere {

// One desktop's way of holding back other applications' notifications: a
// setting of the notification service (dunst's pause, GNOME's banners,
// mako's modes) or an inhibition that lasts as long as our connection
// (KDE Plasma). Every call answers later, from the event loop, and none
// waits on the main thread.
class NotificationSilencer : public QObject {
    Q_OBJECT

public:
    // The setting as it was before silencing, as text a file can hold.
    using Setting = QString;
    // Called after the setting was read and before it is changed; returns
    // whether `previous` is kept where a crash cannot lose it. False: the
    // setting is left alone.
    using Remember = std::function<bool(const Setting& previous)>;
    // `changed`: the call did what it says. `leftAlone`: there was nothing
    // to do: the service already held notifications back when asked to
    // silence, or no longer did (someone else lifted it) when asked to
    // restore. A refusal is a sentence saying what failed.
    enum class Outcome { changed, leftAlone };
    using Done = std::function<void(std::expected<Outcome, QString> outcome)>;

    using QObject::QObject;

    // Names the service for the user: "dunst", "GNOME Shell".
    virtual QString name() const = 0;
    // Names the service in the file that remembers a silence: "dunst".
    virtual QString key() const = 0;
    // Whether a silence stays when Quillmere ends (a setting does; an
    // inhibition dies with our connection, a crash included).
    virtual bool outlivesUs() const = 0;
    // Reads the setting; unless it already silences, hands it to `remember`
    // and then silences.
    virtual void silence(Remember remember, Done done) = 0;
    // Puts `previous` back, unless the setting no longer holds notifications
    // back: then whoever lifted it meant it, and it is left alone.
    virtual void restore(const Setting& previous, Done done) = 0;
};

// Finds out which notification service runs on `connection` and how it is
// silenced: from its name (GetServerInformation), its capabilities
// ("inhibitions") and the tools on PATH (gsettings, makoctl). `done` gets
// the silencer, owned by the caller, or a sentence saying why there is none.
using FoundSilencer = std::expected<std::unique_ptr<NotificationSilencer>, QString>;
void findNotificationSilencer(const QDBusConnection& connection, QObject* context,
                              std::function<void(FoundSilencer)> done);

} // namespace quillmere
