// SPDX-License-Identifier: GPL-3.0-or-later
#include "Notifications.h"


#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace quillmere {
namespace {

using namespace std::chrono_literals;
using Authorization = NotificationAuthorization;

// What the scheduler asked of the centre, and the answers the test still has
// to give. Shared so that answers can outlive the scheduler.
struct CenterCalls {
    int authorizationRequests = 0;
    int authorizationReads = 0;
    std::vector<std::function<void(Authorization)>> unansweredAuthorizations;
    std::vector<NotificationRequest> added;
    std::vector<std::function<void(bool)>> unansweredAdds;
    std::vector<std::string> removed;

    void answerAuthorization(Authorization authorization)
    {
        auto answers = std::move(unansweredAuthorizations);
        unansweredAuthorizations.clear();
        for (auto& answer : answers) {
            answer(authorization);
        }
    }
};

class FakeCenter final : public NotificationCenterInterface {
public:
    explicit FakeCenter(std::shared_ptr<CenterCalls> calls) : calls_(std::move(calls)) {}

    void requestAuthorization(std::function<void(Authorization)> completion) override
    {
        ++calls_->authorizationRequests;
        calls_->unansweredAuthorizations.push_back(std::move(completion));
    }
    void readAuthorization(std::function<void(Authorization)> completion) override
    {
        ++calls_->authorizationReads;
        calls_->unansweredAuthorizations.push_back(std::move(completion));
    }
    void add(const NotificationRequest& request, std::function<void(bool)> completion) override
    {
        calls_->added.push_back(request);
        calls_->unansweredAdds.push_back(std::move(completion));
    }
    void removePending(std::string_view identifier) override { calls_->removed.emplace_back(identifier); }

private:
    std::shared_ptr<CenterCalls> calls_;
};

class NotificationsTest : public ::testing::Test {
protected:
    std::unique_ptr<Notifications> makeScheduler(Authorization initialAnswer)
    {
        auto scheduler = std::make_unique<Notifications>(std::make_unique<FakeCenter>(calls), [this] { return now; });
        calls->answerAuthorization(initialAnswer);
        return scheduler;
    }

    std::shared_ptr<CenterCalls> calls = std::make_shared<CenterCalls>();
    Instant now = utcInstant(2026, 3, 2, 9, 0, 0);
};

TEST(NotificationTexts, EachEventHasItsIdentifierTitleAndBody)
{
    struct Case {
        NotificationEvent event;
        std::string_view identifier;
        std::string_view title;
        std::string_view body;
    };
    const Case cases[] = {
        {NotificationEvent::focusEnd, "focusEnd", "Focus session complete",
         "Review this session and plan the next one."},
        {NotificationEvent::breakEnd, "breakEnd", "Break complete", "Your saved session plan is ready when you are."},
        {NotificationEvent::scheduledStart, "scheduledStart", "Scheduled block is ready",
         "Open Quillmere to plan the first focus session."},
    };
    ASSERT_EQ(std::size(cases), allCases<NotificationEvent>.size());
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.identifier);
        EXPECT_EQ(allCases<NotificationEvent>[i], c.event);
        EXPECT_EQ(rawText(c.event), c.identifier);
        EXPECT_EQ(fromRawText<NotificationEvent>(c.identifier), c.event);
        const Instant date = utcInstant(2026, 1, 1);
        EXPECT_EQ(NotificationRequest::make(c.event, date),
                  (NotificationRequest{c.event, date, std::string(c.title), std::string(c.body)}));
    }
    EXPECT_EQ(fromRawText<NotificationEvent>("FocusEnd"), std::nullopt);
}

TEST_F(NotificationsTest, ConstructionReadsAuthorizationAndPermissionRequestUpdatesIt)
{
    auto scheduler = std::make_unique<Notifications>(std::make_unique<FakeCenter>(calls), [this] { return now; });
    EXPECT_EQ(calls->authorizationReads, 1);
    EXPECT_EQ(scheduler->authorization(), Authorization::notDetermined);
    calls->answerAuthorization(Authorization::denied);
    EXPECT_EQ(scheduler->authorization(), Authorization::denied);

    scheduler->requestPermission();
    EXPECT_EQ(calls->authorizationRequests, 1);
    calls->answerAuthorization(Authorization::authorized);
    EXPECT_EQ(scheduler->authorization(), Authorization::authorized);
}

TEST_F(NotificationsTest, AuthorizedScheduleSubmitsTheRequestAndAcceptanceClearsIt)
{
    auto scheduler = makeScheduler(Authorization::authorized);
    scheduler->schedule(NotificationEvent::breakEnd, now + 300s);

    EXPECT_EQ(calls->removed, std::vector<std::string>{"breakEnd"});
    ASSERT_EQ(calls->added.size(), 1u);
    EXPECT_EQ(calls->added[0], NotificationRequest::make(NotificationEvent::breakEnd, now + 300s));
    EXPECT_TRUE(scheduler->pending().contains(NotificationEvent::breakEnd));

    calls->unansweredAdds[0](true);
    EXPECT_TRUE(scheduler->pending().empty());
}

TEST_F(NotificationsTest, InstantNotInTheFutureOnlyWithdraws)
{
    for (const auto offset : {0s, -1s}) {
        SCOPED_TRACE(offset.count());
        calls = std::make_shared<CenterCalls>();
        auto scheduler = makeScheduler(Authorization::authorized);
        scheduler->schedule(NotificationEvent::focusEnd, now + 60s);

        scheduler->schedule(NotificationEvent::focusEnd, now + offset);

        EXPECT_EQ(calls->removed, (std::vector<std::string>{"focusEnd", "focusEnd"}));
        EXPECT_EQ(calls->added.size(), 1u);
        EXPECT_FALSE(scheduler->pending().contains(NotificationEvent::focusEnd));
    }
}

TEST_F(NotificationsTest, LateAcceptanceOfAReplacedRequestKeepsTheNewerEntry)
{
    auto scheduler = makeScheduler(Authorization::authorized);
    scheduler->schedule(NotificationEvent::focusEnd, now + 60s);
    scheduler->schedule(NotificationEvent::focusEnd, now + 120s);
    ASSERT_EQ(calls->added.size(), 2u);
    EXPECT_EQ(calls->added[1].date, now + 120s);

    calls->unansweredAdds[0](true);
    EXPECT_EQ(scheduler->pending().at(NotificationEvent::focusEnd), now + 120s);

    calls->unansweredAdds[1](true);
    EXPECT_FALSE(scheduler->pending().contains(NotificationEvent::focusEnd));
}

TEST_F(NotificationsTest, WithoutPermissionEntriesWaitAndAGrantSubmitsThoseStillAhead)
{
    auto scheduler = makeScheduler(Authorization::denied);
    scheduler->schedule(NotificationEvent::focusEnd, now + 60s);
    scheduler->schedule(NotificationEvent::scheduledStart, now + 30s);

    EXPECT_TRUE(calls->added.empty());
    EXPECT_EQ(calls->authorizationReads, 3);
    EXPECT_EQ(scheduler->pending().size(), 2u);

    now += 45s;
    // Each of the outstanding reads answers, and each answer flushes.
    calls->answerAuthorization(Authorization::authorized);

    ASSERT_FALSE(calls->added.empty());
    for (const NotificationRequest& request : calls->added) {
        EXPECT_EQ(request, NotificationRequest::make(NotificationEvent::focusEnd, now + 15s));
    }
    EXPECT_FALSE(scheduler->pending().contains(NotificationEvent::scheduledStart));
}

TEST_F(NotificationsTest, RefusedRequestStaysPendingAndTheNextFlushResubmitsIt)
{
    auto scheduler = makeScheduler(Authorization::authorized);
    scheduler->schedule(NotificationEvent::focusEnd, now + 60s);
    calls->unansweredAdds[0](false);
    EXPECT_TRUE(scheduler->pending().contains(NotificationEvent::focusEnd));

    scheduler->refreshAuthorization();
    calls->answerAuthorization(Authorization::authorized);

    ASSERT_EQ(calls->added.size(), 2u);
    EXPECT_EQ(calls->added[1], calls->added[0]);
}

TEST_F(NotificationsTest, CancelAlwaysAsksTheCentreToRemoveAndDropsThePendingEntry)
{
    auto scheduler = makeScheduler(Authorization::denied);
    scheduler->cancel(NotificationEvent::breakEnd);
    EXPECT_EQ(calls->removed, std::vector<std::string>{"breakEnd"});
    EXPECT_TRUE(scheduler->pending().empty());

    scheduler->schedule(NotificationEvent::scheduledStart, now + 60s);
    scheduler->cancel(NotificationEvent::scheduledStart);
    EXPECT_TRUE(scheduler->pending().empty());
    EXPECT_EQ(calls->removed.back(), "scheduledStart");
    EXPECT_TRUE(calls->added.empty());
}

TEST_F(NotificationsTest, AnswersAfterTheSchedulerIsGoneAreIgnored)
{
    auto scheduler = makeScheduler(Authorization::authorized);
    scheduler->schedule(NotificationEvent::focusEnd, now + 60s);
    scheduler->refreshAuthorization();
    scheduler.reset();

    calls->unansweredAdds[0](true);
    calls->answerAuthorization(Authorization::authorized);
    EXPECT_EQ(calls->added.size(), 1u);
}

} // namespace
} // namespace quillmere
