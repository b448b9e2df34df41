// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "NotificationSilencer.h"

#include "quillmere/Instant.h"
#include "quillmere/QuillmereState.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string_view>

class QDBusServiceWatcher;
class QEventLoop;
class QTimer;

namespace quillmere {

// How long before a focus session's planned end the silence is lifted, so
// that the focus-end notification, sent at that end, reaches a desktop that
// shows it: a paused dunst would hold it back with the rest, a GNOME without
// banners would only list it.
inline constexpr std::chrono::seconds silenceLiftsBeforeEnd{3};

// Until when other applications' notifications are to be held back: while a
// focus session runs unpaused, up to `silenceLiftsBeforeEnd` before its
// planned end. None when not at `now`.
std::optional<Instant> silenceWantedUntil(const QuillmereState& state, Instant now);

// "Do not disturb during focus": holds back other applications'
// notifications while a focus session runs, through whichever notification
// service the desktop runs (found anew whenever one appears on the bus), and
// puts the service's setting back when the focus ends, pauses, the
// preference is switched off or Quillmere quits. What is to be put back is
// written to a file in the state folder before anything is changed, so that
// the start after a crash puts it back. Never waits on the main thread, except
// in finish(), for a moment, as the process ends.
class DoNotDisturb final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool enabled READ enabled WRITE setEnabled NOTIFY enabledChanged)
    Q_PROPERTY(bool available READ available NOTIFY availabilityChanged)
    Q_PROPERTY(QString availability READ availability NOTIFY availabilityChanged)

public:
    using Clock = std::function<Instant()>;

    // Beside the state file: what to put back after a crash.
    static constexpr std::string_view recordFileName = "notification-silence.json";

    // A null `now` means the system clock. Looks for the notification
    // service on `connection` straight away.
    DoNotDisturb(QDBusConnection connection, std::filesystem::path stateFolder, Clock now = nullptr,
                 QObject* parent = nullptr);
    ~DoNotDisturb() override;

    // The user's preference; off until set.
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    // Whether a notification service that can be silenced is running, and a
    // sentence that names it, or says why there is none, for the
    // preference's window.
    bool available() const { return silencer_ != nullptr; }
    QString availability() const { return availability_; }

    // Takes the focus session's run from the state; call it after every
    // change of the state.
    void follow(const QuillmereState& state);

    // As the process ends: puts the setting back, waiting at most `patience`
    // for the service to answer (a quit signal allows a second for all of
    // the quitting). Whatever is not put back by then stays noted for the
    // next start.
    void finish(std::chrono::milliseconds patience = std::chrono::milliseconds(500));

signals:
    void enabledChanged(bool enabled);
    void availabilityChanged();
    // Something the user should hear of: a service that failed or went away
    // during a focus session.
    void trouble(const QString& message);

private:
    // A silence that is to be put back: the setting it replaced, and
    // whether it outlives us, and so is in the record file.
    struct Held {
        NotificationSilencer::Setting previous;
        bool durable = true;
    };

    bool wanted() const;
    void findSilencer();
    void adopt(FoundSilencer found);
    void serviceOwnerChanged(const QString& oldOwner, const QString& newOwner);
    void setAvailability(const QString& text);
    // Silences or restores as the wish and the service say, one call at a
    // time; every answer comes back here.
    void reconcile();
    void silence();
    void restore();
    bool remember(const NotificationSilencer::Setting& previous);
    void forget(const QString& key);
    [[nodiscard]] bool writeRecordFile();
    void readRecordFile();
    void report(const QString& message);
    void armLift();

    QDBusConnection connection_;
    std::filesystem::path recordFile_;
    Clock now_;
    QDBusServiceWatcher* watcher_ = nullptr;
    QTimer* liftTimer_ = nullptr;
    std::unique_ptr<NotificationSilencer> silencer_;
    QString availability_;
    // Counts the searches, so that the answer of one overtaken by a change
    // on the bus is dropped.
    unsigned searches_ = 0;
    bool enabled_ = false;
    std::optional<Instant> wantedUntil_;
    // Silences of ours that are in force, or may be, by the silencer's key:
    // those from the record file that a crash left behind (a service's that
    // is not running stays noted until it is), and one whose restore failed.
    std::map<QString, Held> held_;
    // A call to the silencer is under way.
    bool busy_ = false;
    // Silencing was tried since silence became wanted: it is not tried
    // again until silence is wanted anew, whatever it found or met.
    bool tried_ = false;
    // A restore failed: not tried again before the service is found anew.
    bool restoreFailed_ = false;
    bool finishing_ = false;
    QEventLoop* finishLoop_ = nullptr;
};

} // namespace quillmere
