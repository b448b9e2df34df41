// SPDX-License-Identifier: GPL-3.0-or-later
#include "WidgetPublisher.h"

#include "TempFolder.h"

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QObject>

#include <QTest>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <vector>

namespace quillmere {

// Stands in for the widget host on the test's private bus.
class FakeWidgetHost : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.quillmere.WidgetHost")

public:
    QStringList reloadedKinds;

public slots:
    void ReloadTimelines(const QString& kind) { reloadedKinds.push_back(kind); }
};

namespace {

using namespace std::chrono_literals;

const std::string unreachableLine =
    "Quillmere: App Group J4N7R2D9K5.quillmere is not reachable; the widget cannot update.";

WidgetSnapshot focusing(Instant at, bool paused, std::int64_t remaining)
{
    WidgetSnapshot snapshot = WidgetSnapshot::empty(at);
    snapshot.phase = WidgetPhase::focusing;
    snapshot.route = WidgetRoute::focus;
    snapshot.intendedOutcome = "Draft the parser";
    snapshot.sessionsStarted = 2;
    snapshot.sessionsPlanned = 8;
    snapshot.currentSessionNumber = 2;
    const Instant started = utcInstant(2026, 3, 2, 9, 0, 0);
    snapshot.countdown = WidgetCountdown{
        .endsAt = started + 25min, .startedAt = started, .isPaused = paused, .frozenRemainingSeconds = remaining};
    return snapshot;
}

class WidgetPublisherTest : public ::testing::Test {
protected:
    WidgetPublisher makePublisher()
    {
        return WidgetPublisher(
            WidgetSnapshotStore(folder.path(),
                                [this](const std::filesystem::path& temporary,
                                       const std::filesystem::path& destination) -> FileResult {
                                    if (failWrites) {
                                        return std::unexpected(failure);
                                    }
                                    ++writes;
                                    return renameReplacing(temporary, destination);
                                }),
            [this](std::string_view kind) { reloads.emplace_back(kind); },
            [this](std::string_view line) { logs.emplace_back(line); });
    }

    std::optional<WidgetSnapshot> fileContent() const { return WidgetSnapshotStore(folder.path()).load().value(); }

    fixtures::TempFolder folder;
    int writes = 0;
    bool failWrites = false;
    FileError failure{"replace", "widget-snapshot.json", std::make_error_code(std::errc::read_only_file_system)};
    std::vector<std::string> reloads;
    std::vector<std::string> logs;
    Instant t0 = utcInstant(2026, 3, 2, 9, 10, 0);
};

TEST_F(WidgetPublisherTest, FirstOfferWritesAndReloadsWhateverTheFileHeld)
{
    const WidgetSnapshot snapshot = focusing(t0, false, 900);
    ASSERT_TRUE(WidgetSnapshotStore(folder.path()).save(snapshot));
    WidgetPublisher publisher = makePublisher();

    publisher.publish(snapshot);

    EXPECT_EQ(writes, 1);
    EXPECT_EQ(reloads, std::vector<std::string>{"QuillmereStatusWidget"});
    EXPECT_EQ(fileContent(), snapshot);
    EXPECT_TRUE(logs.empty());
}

TEST_F(WidgetPublisherTest, OfferDifferingOnlyInItsTimeStampWritesNothing)
{
    WidgetPublisher publisher = makePublisher();
    const WidgetSnapshot first = WidgetSnapshot::empty(t0);
    publisher.publish(first);

    publisher.publish(WidgetSnapshot::empty(t0 + 1s));

    EXPECT_EQ(writes, 1);
    EXPECT_EQ(reloads.size(), 1u);
    EXPECT_EQ(fileContent(), first);
}

TEST_F(WidgetPublisherTest, WritesEveryChangeButReloadsOnlyWhenTheWidgetLooksDifferent)
{
    struct Case {
        const char* name;
        WidgetSnapshot before;
        WidgetSnapshot after;
        bool reloads;
    };
    const WidgetSnapshot running = focusing(t0, false, 900);
    const WidgetSnapshot paused = focusing(t0, true, 900);
    auto changed = [](WidgetSnapshot snapshot, auto edit) {
        snapshot.updatedAt += 1s;
        edit(snapshot);
        return snapshot;
    };
    const Case cases[] = {
        {"running, one second less", running,
         changed(running, [](WidgetSnapshot& s) { s.countdown->frozenRemainingSeconds = 899; }), false},
        {"paused, remaining changed", paused,
         changed(paused, [](WidgetSnapshot& s) { s.countdown->frozenRemainingSeconds = 899; }), true},
        {"running, end moved", running,
         changed(running,
                 [](WidgetSnapshot& s) {
                     s.countdown->endsAt += 5min;
                     s.countdown->frozenRemainingSeconds = 1199;
                 }),
         true},
        {"running, start moved", running,
         changed(running, [](WidgetSnapshot& s) { s.countdown->startedAt += 1s; }), true},
        {"running to paused", running, changed(running, [](WidgetSnapshot& s) { s.countdown->isPaused = true; }),
         true},
        {"running, a question added", running,
         changed(running,
                 [](WidgetSnapshot& s) {
                     s.countdown->frozenRemainingSeconds = 899;
                     s.openQuestionCount = 1;
                     s.openQuestions = {"Which parser?"};
                 }),
         true},
        {"countdown gone", running, changed(running, [](WidgetSnapshot& s) { s.countdown.reset(); }), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writes = 0;
        reloads.clear();
        WidgetPublisher publisher = makePublisher();
        publisher.publish(c.before);

        publisher.publish(c.after);

        EXPECT_EQ(writes, 2);
        EXPECT_EQ(reloads.size(), c.reloads ? 2u : 1u);
        EXPECT_EQ(fileContent(), c.after);
        EXPECT_EQ(WidgetPublisher::rendersDifferently(c.after, c.before), c.reloads);
    }
}

TEST_F(WidgetPublisherTest, WithoutAStoreLogsOnceAndIgnoresEveryOffer)
{
    WidgetPublisher publisher(
        std::nullopt, [this](std::string_view kind) { reloads.emplace_back(kind); },
        [this](std::string_view line) { logs.emplace_back(line); });

    publisher.publish(WidgetSnapshot::empty(t0));
    publisher.publish(focusing(t0, false, 900));
    publisher.publish(WidgetSnapshot::empty(t0 + 2s));

    EXPECT_EQ(logs, std::vector<std::string>{unreachableLine});
    EXPECT_TRUE(reloads.empty());
    EXPECT_TRUE(fixtures::TempFolder::entries(folder.path()).empty());
}

TEST_F(WidgetPublisherTest, FailedWriteKeepsTheOldFileAndTheSameOfferIsWrittenAgain)
{
    WidgetPublisher publisher = makePublisher();
    const WidgetSnapshot idle = WidgetSnapshot::empty(t0);
    const WidgetSnapshot focus = focusing(t0 + 1s, false, 900);
    publisher.publish(idle);

    failWrites = true;
    publisher.publish(focus);
    EXPECT_EQ(logs, std::vector<std::string>{"Quillmere: could not write the widget snapshot: " +
                                             failure.description()});
    EXPECT_EQ(reloads.size(), 1u);
    EXPECT_EQ(fileContent(), idle);
    publisher.publish(WidgetSnapshot::empty(t0 + 2s));
    EXPECT_EQ(writes, 1) << "the file still holds that offer";

    failWrites = false;
    publisher.publish(focus);
    EXPECT_EQ(writes, 2);
    EXPECT_EQ(reloads.size(), 2u);
    EXPECT_EQ(fileContent(), focus);
    EXPECT_EQ(logs.size(), 1u);
}

TEST(WidgetHostReload, ReachesARunningHostWithTheKind)
{
    QDBusConnection hostBus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-widget-host"));
    ASSERT_TRUE(hostBus.isConnected()) << "the tests run under dbus-run-session";
    FakeWidgetHost host;
    ASSERT_TRUE(hostBus.registerObject(QStringLiteral("/org/quillmere/WidgetHost"), &host,
                                       QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(hostBus.registerService(QStringLiteral("org.quillmere.WidgetHost")));

    WidgetPublisher::reloadThroughWidgetHost("QuillmereStatusWidget");

    EXPECT_TRUE(QTest::qWaitFor([&] { return !host.reloadedKinds.empty(); }));
    EXPECT_EQ(host.reloadedKinds, QStringList{"QuillmereStatusWidget"});
    hostBus.unregisterService(QStringLiteral("org.quillmere.WidgetHost"));
    hostBus.unregisterObject(QStringLiteral("/org/quillmere/WidgetHost"));
    QDBusConnection::disconnectFromBus(hostBus.name());
}

TEST(WidgetHostReload, ReturnsAtOnceWhenNoHostRuns)
{
    ASSERT_TRUE(QDBusConnection::sessionBus().isConnected());
    QElapsedTimer elapsed;
    elapsed.start();
    for (int i = 0; i < 20; ++i) {
        WidgetPublisher::reloadThroughWidgetHost("QuillmereStatusWidget");
    }
    EXPECT_LT(elapsed.elapsed(), 250);
    // Whatever the bus answers must not disturb the event loop either.
    QTest::qWait(100);
}

} // namespace
} // namespace quillmere

#include "WidgetPublisherTest.moc"
