// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTimer>

#include <chrono>
#include <functional>
#include <optional>

namespace quillmere {

// Decides when typed drafts are written: once typing pauses for the delay,
// at the latest five seconds after the first change held back, so that a
// save, which rewrites the whole history, does not follow every keystroke.
// A zero delay writes every change at once. Main thread only.
class DraftSaveScheduler {
public:
    using Write = std::function<void()>;

    static constexpr std::chrono::seconds longestHold{5};

    // `write` saves the state; it must call written() (or the scheduler
    // would write again at the next pause).
    DraftSaveScheduler(std::chrono::milliseconds delay, Write write);

    // A draft changed: writes now, or later as the rules above say.
    void changed();
    // The state is being written: nothing is held back any more.
    void written();
    // Whether a change waits for a pause in typing.
    bool holding() const { return heldSince_.has_value(); }

private:
    std::chrono::milliseconds delay_;
    Write write_;
    QTimer timer_;
    std::optional<std::chrono::steady_clock::time_point> heldSince_;
};

} // namespace quillmere
