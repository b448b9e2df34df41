// SPDX-License-Identifier: GPL-3.0-or-later
#include "PauseOnAway.h"

#include "AppModel.h"
#include "LocalText.h"

#include <utility>

namespace quillmere {

bool pauseHolds(const QuillmereState& state, const AwayPause& pause)
{
    const WorkSession* session = state.currentSession();
    return state.workflowState == WorkflowState::focusing && session != nullptr && session->id == pause.session &&
           session->pausedAt == pause.since;
}

QString awayDurationText(std::chrono::seconds away)
{
    // Half a minute counts as a whole one, as people round.
    const auto minutes = std::chrono::floor<std::chrono::minutes>(away + std::chrono::seconds(30)).count();
    if (minutes < 1) {
        return PauseOnAway::tr("less than a minute");
    }
    const auto hours = minutes / 60;
    const auto rest = minutes % 60;
    const QString minutesText = PauseOnAway::tr("%Ln minute(s)", nullptr, pluralCount(rest));
    if (hours == 0) {
        return minutesText;
    }
    const QString hoursText = PauseOnAway::tr("%Ln hour(s)", nullptr, pluralCount(hours));
    if (rest == 0) {
        return hoursText;
    }
    return PauseOnAway::tr("%1 and %2", "hours and minutes away").arg(hoursText, minutesText);
}

QString pausedWhileAwayNotice(AwayReason reason, std::chrono::seconds away)
{
    switch (reason) {
    case AwayReason::screenLocked:
        return PauseOnAway::tr("You were away for %1; your focus was paused when the screen locked. Resume it when "
                               "you are ready.")
            .arg(awayDurationText(away));
    case AwayReason::asleep:
        return PauseOnAway::tr("You were away for %1; your focus was paused when the computer went to sleep. Resume "
                               "it when you are ready.")
            .arg(awayDurationText(away));
    }
    return {};
}

PauseOnAway::PauseOnAway(AppModel& model, AwayWatcher& watcher, QObject* parent)
    : QObject(parent), model_(model), watcher_(watcher)
{
    connect(&watcher_, &AwayWatcher::wentAway, this, &PauseOnAway::pauseFocus);
    connect(&watcher_, &AwayWatcher::cameBack, this, &PauseOnAway::tellOfPause);
    connect(&model_, &AppModel::stateChanged, this, &PauseOnAway::withdrawStaleNotice);
}

void PauseOnAway::setEnabled(bool enabled)
{
    if (enabled_ == enabled) {
        return;
    }
    enabled_ = enabled;
    watcher_.setDelaysSleep(enabled);
}

void PauseOnAway::pauseFocus(AwayReason reason)
{
    // The engine refuses anything but a running focus; the refusal is no
    // error for the user to see, who asked for nothing.
    if (!enabled_ || !model_.control(ControlCommand::pauseFocus)) {
        return;
    }
    const WorkSession* session = model_.state().currentSession();
    pause_ = AwayPause{session->id, *session->pausedAt, reason};
}

void PauseOnAway::tellOfPause()
{
    const std::optional<AwayPause> pause = std::exchange(pause_, std::nullopt);
    if (!pause || !pauseHolds(model_.state(), *pause)) {
        return;
    }
    const auto away = std::chrono::floor<std::chrono::seconds>(model_.now() - pause->since);
    toldPause_ = pause;
    notice_ = pausedWhileAwayNotice(pause->reason, away);
    model_.setDueMessage(notice_);
}

void PauseOnAway::withdrawStaleNotice()
{
    if (!toldPause_ || pauseHolds(model_.state(), *toldPause_)) {
        return;
    }
    toldPause_.reset();
    // Another notice since has its own say.
    if (model_.dueMessage() == notice_) {
        model_.setDueMessage({});
    }
    notice_.clear();
}

} // namespace quillmere
