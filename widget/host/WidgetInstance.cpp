// SPDX-License-Identifier: GPL-3.0-or-later
#include "WidgetInstance.h"

#include <QPointer>

#include <algorithm>

namespace quillmere::widgethost {

WidgetInstance::WidgetInstance(std::shared_ptr<const WidgetKind> kind, Family family, Clock clock, QObject* parent)
    : QObject(parent), kind_(std::move(kind)), family_(family), clock_(std::move(clock))
{
    if (!clock_) {
        clock_ = [] { return std::chrono::system_clock::now(); };
    }
    // The default coarse timer may fire 5 % late: seconds on a long wait.
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &WidgetInstance::advance);
    current_ = kind_->placeholder(context());
}

Context WidgetInstance::context() const
{
    return Context{family_, standardSize(family_), false, clock_()};
}

void WidgetInstance::reload(ReloadReason reason)
{
    const quint64 request = ++requestNumber_;
    emit timelineRequested(reason);
    QPointer<WidgetInstance> self(this);
    kind_->getTimeline(context(), [self, request](Timeline timeline) {
        if (self && request == self->requestNumber_) {
            self->accept(std::move(timeline));
        }
    });
}

EntryPointer WidgetInstance::entryAt(const Timeline& timeline, TimePoint now)
{
    EntryPointer shown;
    for (const EntryPointer& entry : timeline.entries) {
        if (!entry) {
            continue;
        }
        if (!shown || entry->date() <= now) {
            shown = entry;
        }
        if (entry->date() > now) {
            break;
        }
    }
    return shown;
}

TimePoint WidgetInstance::nextEventAfter(const Timeline& timeline, TimePoint now)
{
    TimePoint next = timeline.reloadAfter;
    for (const EntryPointer& entry : timeline.entries) {
        if (entry && entry->date() > now) {
            next = std::min(next, entry->date());
            break;
        }
    }
    return next;
}

void WidgetInstance::accept(Timeline timeline)
{
    std::erase(timeline.entries, nullptr);
    std::stable_sort(timeline.entries.begin(), timeline.entries.end(),
                     [](const EntryPointer& a, const EntryPointer& b) { return a->date() < b->date(); });
    // A reload instant that has already passed would have the plug-in asked
    // again at once, over and over.
    const TimePoint now = clock_();
    if (timeline.reloadAfter <= now) {
        timeline.reloadAfter = now + pastReloadDelay;
    }
    timeline_ = std::move(timeline);
    advance();
}

void WidgetInstance::advance()
{
    const TimePoint now = clock_();
    if (now >= timeline_.reloadAfter) {
        reload(ReloadReason::policy);
        return;
    }
    if (EntryPointer entry = entryAt(timeline_, now)) {
        present(entry);
    }
    armTimer();
}

void WidgetInstance::present(const EntryPointer& entry)
{
    if (entry == current_) {
        return;
    }
    current_ = entry;
    emit entryChanged(current_);
}

void WidgetInstance::armTimer()
{
    const TimePoint now = clock_();
    auto wait = std::chrono::ceil<std::chrono::milliseconds>(nextEventAfter(timeline_, now) - now);
    wait = std::clamp<std::chrono::milliseconds>(wait, std::chrono::milliseconds(1), longestWait);
    timer_.start(wait);
}

} // namespace quillmere::widgethost
