// SPDX-License-Identifier: GPL-3.0-or-later
#include "FreedesktopNotificationCenter.h"


#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

namespace quillmere {

// A notification daemon on the test's private bus: answers the server query,
// records every Notify and can report clicks.
class FakeNotificationServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Notification {
        QString appName;
        uint replacesId = 0;
        QString appIcon;
        QString summary;
        QString body;
        QStringList actions;
        QVariantMap hints;
        int expireTimeout = 0;
        uint id = 0;
    };

    std::vector<Notification> received;

public slots:
    QString GetServerInformation(QString& vendor, QString& version, QString& protocolVersion)
    {
        vendor = QStringLiteral("test");
        version = QStringLiteral("1");
        protocolVersion = QStringLiteral("1.2");
        return QStringLiteral("fake");
    }

    uint Notify(const QString& appName, uint replacesId, const QString& appIcon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints, int expireTimeout)
    {
        const uint id = replacesId != 0 ? replacesId : nextId_++;
        received.push_back({appName, replacesId, appIcon, summary, body, actions, hints, expireTimeout, id});
        return id;
    }

signals:
    void ActionInvoked(uint id, const QString& actionKey);
    void ActivationToken(uint id, const QString& token);

private:
    uint nextId_ = 41;
};

namespace {

using namespace std::chrono_literals;

const QString serviceName = QStringLiteral("org.freedesktop.Notifications");

// Serves the fake daemon from a connection of its own, as a separate process
// would, so that the centre's calls really cross the bus.
class FreedesktopNotificationCenterTest : public ::testing::Test {
protected:
    ~FreedesktopNotificationCenterTest() override
    {
        if (serving_) {
            serverBus_.unregisterService(serviceName);
            serverBus_.unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
        }
        QDBusConnection::disconnectFromBus(serverBus_.name());
    }

    void startServer()
    {
        ASSERT_TRUE(serverBus_.isConnected()) << "the tests run under dbus-run-session";
        ASSERT_TRUE(serverBus_.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &server,
                                              QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals));
        ASSERT_TRUE(serverBus_.registerService(serviceName));
        serving_ = true;
    }

    std::optional<NotificationAuthorization> askAuthorization(FreedesktopNotificationCenter& center)
    {
        std::optional<NotificationAuthorization> answer;
        center.readAuthorization([&](NotificationAuthorization authorization) { answer = authorization; });
        EXPECT_FALSE(answer) << "answered inside the call";
        EXPECT_TRUE(QTest::qWaitFor([&] { return answer.has_value(); }));
        return answer;
    }

    static NotificationRequest requestIn(NotificationEvent event, std::chrono::milliseconds delay)
    {
        return NotificationRequest::make(event, std::chrono::system_clock::now() + delay);
    }

    FakeNotificationServer server;

private:
    QDBusConnection serverBus_ =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-notification-daemon"));
    bool serving_ = false;
};

TEST_F(FreedesktopNotificationCenterTest, AuthorizedExactlyWhileADaemonAnswers)
{
    FreedesktopNotificationCenter center;
    if (QDBusConnection::sessionBus().interface()->activatableServiceNames().value().contains(serviceName)) {
        GTEST_SKIP() << "a notification daemon could be started on this bus";
    }
    EXPECT_EQ(askAuthorization(center), NotificationAuthorization::denied);

    startServer();
    EXPECT_EQ(askAuthorization(center), NotificationAuthorization::authorized);
}

TEST_F(FreedesktopNotificationCenterTest, DeniedWithoutABus)
{
    const QDBusConnection nowhere =
        QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/quillmere-bus"), QStringLiteral("nowhere"));
    ASSERT_FALSE(nowhere.isConnected());
    FreedesktopNotificationCenter center(nowhere);

    EXPECT_EQ(askAuthorization(center), NotificationAuthorization::denied);
    QDBusConnection::disconnectFromBus(QStringLiteral("nowhere"));
}

TEST_F(FreedesktopNotificationCenterTest, NotificationDueSoonerIsShownAfterOneSecondWithTheFixedArguments)
{
    startServer();
    FreedesktopNotificationCenter center;
    std::optional<bool> accepted;

    QElapsedTimer elapsed;
    elapsed.start();
    center.add(requestIn(NotificationEvent::focusEnd, 400ms), [&](bool result) { accepted = result; });
    EXPECT_FALSE(accepted) << "answered inside the call";
    EXPECT_TRUE(center.isArmed("focusEnd"));

    ASSERT_TRUE(QTest::qWaitFor([&] { return !server.received.empty(); }));
    EXPECT_GE(elapsed.elapsed(), 995);
    EXPECT_EQ(accepted, true);
    EXPECT_FALSE(center.isArmed("focusEnd"));

    const FakeNotificationServer::Notification& shown = server.received.at(0);
    EXPECT_EQ(shown.appName, "Quillmere");
    EXPECT_EQ(shown.replacesId, 0u);
    EXPECT_EQ(shown.appIcon, "org.quillmere.Quillmere");
    EXPECT_EQ(shown.summary, "Focus session complete");
    EXPECT_EQ(shown.body, "Review this session and plan the next one.");
    EXPECT_EQ(shown.actions, (QStringList{"default", "Open Quillmere"}));
    EXPECT_EQ(shown.hints, (QVariantMap{{"sound-name", QStringLiteral("complete")},
                                        {"desktop-entry", QStringLiteral("org.quillmere.Quillmere")}}));
    EXPECT_EQ(shown.expireTimeout, -1);
}

TEST_F(FreedesktopNotificationCenterTest, WithoutSoundTheNotificationAsksTheDesktopForSilence)
{
    startServer();
    FreedesktopNotificationCenter center;
    center.setPlaysSound(false);
    center.add(requestIn(NotificationEvent::breakEnd, 0ms), [](bool) {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.received.size() == 1; }));
    EXPECT_EQ(server.received.at(0).hints, (QVariantMap{{"suppress-sound", true},
                                                        {"desktop-entry", QStringLiteral("org.quillmere.Quillmere")}}));
}

TEST_F(FreedesktopNotificationCenterTest, NextNotificationOfAnIdentifierReplacesItsPreviousOne)
{
    startServer();
    FreedesktopNotificationCenter center;
    center.add(requestIn(NotificationEvent::breakEnd, 0ms), [](bool) {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.received.size() == 1; }));
    const uint firstId = server.received[0].id;
    // Let the reply carrying the id reach the centre.
    QTest::qWait(100);

    center.add(requestIn(NotificationEvent::breakEnd, 0ms), [](bool) {});
    center.add(requestIn(NotificationEvent::scheduledStart, 0ms), [](bool) {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.received.size() == 3; }));

    for (const auto& shown : std::vector(server.received.begin() + 1, server.received.end())) {
        SCOPED_TRACE(shown.summary.toStdString());
        EXPECT_EQ(shown.replacesId, shown.summary == "Break complete" ? firstId : 0u);
    }
}

TEST_F(FreedesktopNotificationCenterTest, RemovePendingStopsOnlyThatIdentifiersTimer)
{
    startServer();
    FreedesktopNotificationCenter center;
    center.add(requestIn(NotificationEvent::focusEnd, 400ms), [](bool) {});
    center.add(requestIn(NotificationEvent::breakEnd, 400ms), [](bool) {});

    center.removePending("focusEnd");
    center.removePending("scheduledStart");
    EXPECT_FALSE(center.isArmed("focusEnd"));

    ASSERT_TRUE(QTest::qWaitFor([&] { return !server.received.empty(); }));
    QTest::qWait(300);
    ASSERT_EQ(server.received.size(), 1u);
    EXPECT_EQ(server.received[0].summary, "Break complete");
}

// The tick that ends a focus period withdraws its notification; if the
// notification's moment has already come, it must still be shown.
TEST_F(FreedesktopNotificationCenterTest, RemovingAnOverdueNotificationShowsItInstead)
{
    startServer();
    Instant now = utcInstant(2026, 3, 2, 9, 0, 0);
    FreedesktopNotificationCenter center(QDBusConnection::sessionBus(), [&] { return now; });
    center.add(NotificationRequest::make(NotificationEvent::focusEnd, now + 400ms), [](bool) {});

    now += 1s;
    center.removePending("focusEnd");

    ASSERT_TRUE(QTest::qWaitFor([&] { return server.received.size() == 1; }, 500));
    EXPECT_FALSE(center.isArmed("focusEnd"));
}

// Qt's timers count in int milliseconds; a wait that wrapped around would
// come due at once.
TEST_F(FreedesktopNotificationCenterTest, DateBeyondTheTimersRangeIsNotShownEarly)
{
    startServer();
    Instant now = utcInstant(2026, 3, 2, 9, 0, 0);
    FreedesktopNotificationCenter center(QDBusConnection::sessionBus(), [&] { return now; });
    const auto wrapsToAFewMilliseconds = std::chrono::milliseconds((std::int64_t{1} << 32) + 50);
    center.add(NotificationRequest::make(NotificationEvent::scheduledStart, now + wrapsToAFewMilliseconds),
               [](bool) {});

    QTest::qWait(300);
    EXPECT_TRUE(server.received.empty());
    EXPECT_TRUE(center.isArmed("scheduledStart"));
}

TEST_F(FreedesktopNotificationCenterTest, ClickOnOurNotificationActivatesWithItsToken)
{
    int activations = 0;
    QByteArray tokenSeen;
    FreedesktopNotificationCenter center(QDBusConnection::sessionBus(), nullptr, [&] {
        ++activations;
        tokenSeen = qgetenv("XDG_ACTIVATION_TOKEN");
    });
    // The daemon appears after the centre, as one started on demand does.
    startServer();
    center.add(requestIn(NotificationEvent::focusEnd, 0ms), [](bool) {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !server.received.empty(); }));
    const uint ours = server.received[0].id;
    QTest::qWait(100);

    emit server.ActionInvoked(ours + 1, QStringLiteral("default"));
    emit server.ActionInvoked(ours, QStringLiteral("snooze"));
    emit server.ActivationToken(ours, QStringLiteral("token-7"));
    emit server.ActionInvoked(ours, QStringLiteral("default"));

    ASSERT_TRUE(QTest::qWaitFor([&] { return activations > 0; }));
    QTest::qWait(100);
    EXPECT_EQ(activations, 1);
    EXPECT_EQ(tokenSeen, "token-7");
}

} // namespace
} // namespace quillmere

#include "FreedesktopNotificationCenterTest.moc"
