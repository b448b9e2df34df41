// SPDX-License-Identifier: GPL-3.0-or-later
#include "DraftSaveScheduler.h"

#include <algorithm>

namespace quillmere {

DraftSaveScheduler::DraftSaveScheduler(std::chrono::milliseconds delay, Write write)
    : delay_(delay), write_(std::move(write))
{
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [this] { write_(); });
}

void DraftSaveScheduler::changed()
{
    const auto now = std::chrono::steady_clock::now();
    if (!heldSince_) {
        heldSince_ = now;
    }
    const auto held = now - *heldSince_;
    if (delay_ <= std::chrono::milliseconds::zero() || held >= longestHold) {
        write_();
        return;
    }
    const auto wait = std::min<std::chrono::steady_clock::duration>(delay_, longestHold - held);
    timer_.start(std::chrono::duration_cast<std::chrono::milliseconds>(wait));
}

void DraftSaveScheduler::written()
{
    heldSince_.reset();
    timer_.stop();
}

} // namespace quillmere
