// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Stand-ins for the model's collaborators: a clock the test moves, a
// notification scheduler and a widget publisher that record what they are
// asked, and a main window that counts how often it is built and shown.

#include "AppModel.h"

#include <map>
#include <memory>
#include <vector>

namespace quillmere::fakes {

struct FakeClock {
    Instant now = utcInstant(2026, 3, 2, 9, 0, 0);
    AppModel::Clock function()
    {
        return [this] { return now; };
    }
};

class RecordingNotifications final : public NotificationScheduling {
public:
    struct Call {
        enum class Kind { schedule, cancel } kind;
        NotificationEvent event;
        std::optional<Instant> date;
        friend bool operator==(const Call&, const Call&) = default;
    };

    void requestPermission() override { ++permissionRequests; }
    void refreshAuthorization() override { ++authorizationRefreshes; }
    void schedule(NotificationEvent event, Instant date) override
    {
        calls.push_back({Call::Kind::schedule, event, date});
        scheduled[event] = date;
    }
    void cancel(NotificationEvent event) override
    {
        calls.push_back({Call::Kind::cancel, event, std::nullopt});
        scheduled.erase(event);
    }

    // What the scheduler would hold now (past instants included).
    std::map<NotificationEvent, Instant> scheduled;
    std::vector<Call> calls;
    int permissionRequests = 0;
    int authorizationRefreshes = 0;
};

class RecordingPublisher final : public WidgetPublishing {
public:
    void publish(const WidgetSnapshot& snapshot) override { published.push_back(snapshot); }
    std::vector<WidgetSnapshot> published;
};

class CountingWindow final : public MainWindowControlling {
public:
    explicit CountingWindow(int& presented) : presented_(presented) {}
    void presentWindow() override { ++presented_; }
    void presentPreferences() override {}

private:
    int& presented_;
};

} // namespace quillmere::fakes
