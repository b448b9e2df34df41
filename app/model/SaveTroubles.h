// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/Instant.h"

#include <QString>

#include <chrono>
#include <expected>
#include <functional>
#include <optional>
#include <string>

namespace quillmere {

// What goes wrong writing the state file and the agents' file: when a failed
// save of the state is retried, and the one alert that tells the user while
// the trouble lasts, updated in place as it changes and not reopened once
// dismissed. Every change of the trouble goes to the system log.
class SaveTroubles {
public:
    // A trouble as the alert says it and, in English, as the log records it.
    struct Trouble {
        QString shown;
        std::string logged;

        // `source`, a text marked for translation, with `argument`: as
        // `translated` for the alert, as itself for the log.
        static Trouble worded(const char* source, const QString& translated, const QString& argument)
        {
            return {QString(translated).arg(argument), QString::fromUtf8(source).arg(argument).toStdString()};
        }
    };
    // The alert that the trouble shares with the rest of the application.
    struct Alert {
        std::function<QString()> text;
        std::function<void(const QString&)> show;
    };

    // Waits before retrying a failed save: doubling from one second after
    // each failure in a row, at most this long.
    static constexpr std::chrono::seconds longestRetryWait{60};

    explicit SaveTroubles(Alert alert);

    // The outcome of an attempt to write either file, at `at`.
    void noteStateSave(const std::expected<void, Trouble>& result, Instant at);
    void noteAgentFileWrite(std::optional<Trouble> trouble);

    // Whether the state in memory failed to reach its file and awaits a retry.
    bool retrying() const { return retry_.has_value(); }
    bool retryDue(Instant now) const { return retry_ && now >= retry_->due; }
    // The clock was set: a retry keeps its wait.
    void clockMoved(std::chrono::seconds change);

private:
    void show();

    struct Retry {
        int failures = 0;
        Instant due;
        // What went wrong the last time.
        Trouble trouble;
    };
    Alert alert_;
    std::optional<Retry> retry_;
    std::optional<Trouble> agentFileTrouble_;
    // The trouble the alert was last given; empty when there is none.
    QString shown_;
};

} // namespace quillmere
