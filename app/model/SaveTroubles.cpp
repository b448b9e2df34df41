// SPDX-License-Identifier: GPL-3.0-or-later
#include "SaveTroubles.h"

#include "SystemLog.h"

#include <algorithm>

namespace quillmere {

SaveTroubles::SaveTroubles(Alert alert) : alert_(std::move(alert)) {}

void SaveTroubles::noteStateSave(const std::expected<void, Trouble>& result, Instant at)
{
    if (result) {
        retry_.reset();
    } else {
        const int failures = retry_ ? retry_->failures + 1 : 1;
        const auto wait =
            std::min<std::chrono::seconds>(std::chrono::seconds(1LL << std::min(failures - 1, 6)), longestRetryWait);
        retry_ = Retry{failures, at + wait, result.error()};
    }
    show();
}

void SaveTroubles::noteAgentFileWrite(std::optional<Trouble> trouble)
{
    agentFileTrouble_ = std::move(trouble);
    show();
}

void SaveTroubles::clockMoved(std::chrono::seconds change)
{
    if (retry_) {
        retry_->due += change;
    }
}

void SaveTroubles::show()
{
    // The state file's trouble is the one that matters; the agents' file is
    // written anew every second and mentioned only while it alone fails.
    const std::optional<Trouble> trouble = retry_ ? retry_->trouble : agentFileTrouble_;
    const QString shown = trouble ? trouble->shown : QString();
    if (shown == shown_) {
        return;
    }
    const bool alertShowsIt = !shown_.isEmpty() && alert_.text() == shown_;
    const bool troubleBegins = shown_.isEmpty();
    shown_ = shown;
    if (!trouble) {
        writeSystemLog("Quillmere: saving works again");
        if (alertShowsIt) {
            alert_.show({});
        }
        return;
    }
    writeSystemLog("Quillmere: " + trouble->logged);
    // Said once: a dismissed alert stays dismissed while the trouble lasts,
    // and one still open follows what goes wrong.
    if (troubleBegins || alertShowsIt) {
        alert_.show(shown);
    }
}

} // namespace quillmere
