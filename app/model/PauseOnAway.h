// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AwayWatcher.h"

#include "quillmere/QuillmereState.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <optional>

namespace quillmere {

class AppModel;

// A pause this feature made: of which focus session, since when, and what
// took the user away.
struct AwayPause {
    Uuid session;
    Instant since;
    AwayReason reason;
};

// Whether `pause` still holds in `state`: its focus is the one under way and
// has stayed paused since. Resumed, ended or paused anew by other means (the
// user, a script) it is no longer this feature's to speak of.
bool pauseHolds(const QuillmereState& state, const AwayPause& pause);

// How long someone was away, to the nearest minute: "less than a minute",
// "14 minutes", "2 hours", "1 hour and 5 minutes".
QString awayDurationText(std::chrono::seconds away);

// The notice for coming back to a focus paused while away for `away`.
QString pausedWhileAwayNotice(AwayReason reason, std::chrono::seconds away);

// When the user chose so, pauses a running focus as the user goes away (the
// screen locks, the computer sleeps), through the model's own pause command,
// and on return says that it did and for how long. It never resumes: the
// user does, when ready. Nothing but a running focus is paused; a break runs
// on. The notice goes once the focus runs again or ends.
class PauseOnAway final : public QObject {
    Q_OBJECT

public:
    // Off until enabled. `model` and `watcher` outlive this object.
    PauseOnAway(AppModel& model, AwayWatcher& watcher, QObject* parent = nullptr);

    // Off: no focus is paused from now on; a pause already made is still
    // told of on return.
    void setEnabled(bool enabled);
    bool isEnabled() const { return enabled_; }

private:
    void pauseFocus(AwayReason reason);
    void tellOfPause();
    void withdrawStaleNotice();

    AppModel& model_;
    AwayWatcher& watcher_;
    bool enabled_ = false;
    // Made in this away period, told of when it ends.
    std::optional<AwayPause> pause_;
    // Told of, with the notice, until the focus goes on.
    std::optional<AwayPause> toldPause_;
    QString notice_;
};

} // namespace quillmere
