// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A widget kind whose answers the test scripts, and a view that records what
// the host asks of it.

#include "WidgetHostInterface.h"

#include <deque>

namespace quillmere::widgethost::testing {

struct FakeEntry final : Entry {
    FakeEntry(TimePoint when, QString what) : when(when), what(std::move(what)) {}
    TimePoint date() const override { return when; }
    TimePoint when;
    QString what;
};

inline EntryPointer entry(TimePoint when, const QString& what)
{
    return std::make_shared<const FakeEntry>(when, what);
}

inline QString whatOf(const EntryPointer& entry)
{
    return entry ? static_cast<const FakeEntry&>(*entry).what : QStringLiteral("<none>");
}

class FakeView final : public ContentView {
public:
    FakeView(QString what, QWidget* parent) : ContentView(parent), what(std::move(what))
    {
        setAccessibleName(this->what);
    }
    void setDisplayTime(TimePoint displayTime) override { displayTimes.push_back(displayTime); }
    QUrl tapUrl() const override { return QUrl(QStringLiteral("quillmere://open/") + what); }

    QString what;
    std::vector<TimePoint> displayTimes;
};

class FakeKind final : public WidgetKind {
public:
    Configuration configuration() const override
    {
        return {QStringLiteral("FakeWidget"), QStringLiteral("Fake"), QStringLiteral("For tests"),
                {Family::small, Family::medium}, QPalette::Base};
    }
    EntryPointer placeholder(const Context& context) const override { return entry(context.now, "placeholder"); }
    void getSnapshot(const Context& context, std::function<void(EntryPointer)> completion) const override
    {
        completion(entry(context.now, context.isPreview ? "preview" : "snapshot"));
    }
    void getTimeline(const Context& context, std::function<void(Timeline)> completion) const override
    {
        contexts.push_back(context);
        if (holdAnswers) {
            held.push_back(std::move(completion));
            return;
        }
        completion(next());
    }
    std::unique_ptr<ContentView> makeView(const Entry& entry, Family, QWidget* parent) const override
    {
        return std::make_unique<FakeView>(static_cast<const FakeEntry&>(entry).what, parent);
    }

    Timeline next() const
    {
        if (timelines.empty()) {
            return {};
        }
        Timeline timeline = timelines.front();
        if (timelines.size() > 1) {
            timelines.pop_front();
        }
        return timeline;
    }

    // Answered in order; the last one again and again.
    mutable std::deque<Timeline> timelines;
    mutable std::vector<Context> contexts;
    // Completions kept back, to answer out of order.
    bool holdAnswers = false;
    mutable std::vector<std::function<void(Timeline)>> held;
};

} // namespace quillmere::widgethost::testing
