// SPDX-License-Identifier: GPL-3.0-or-later
// Going away from a running focus, as the desktop reports it on the bus:
// fake logind and screen-saver services on the test's private bus send the
// signals, and the model says what became of the focus.

#include "ModelOnDisk.h"
#include "PauseOnAway.h"
#include "Translations.h"

#include "quillmere/StateCoding.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <ranges>
#include <vector>

namespace quillmere {

// logind's manager as far as sleep goes: lends delay locks (a pipe's write
// end; the read end tells whether the borrower still holds it).
class FakeLogind : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

public:
    ~FakeLogind() override
    {
        for (const int end : readEnds_) {
            ::close(end);
        }
    }

    // What each lock was asked for, as "what/mode".
    QStringList requests;

    int locksHeld() const
    {
        return static_cast<int>(std::ranges::count_if(readEnds_, [](int end) {
            pollfd poll{end, POLLIN, 0};
            return ::poll(&poll, 1, 0) == 0;
        }));
    }

public slots:
    QDBusUnixFileDescriptor Inhibit(const QString& what, const QString& who, const QString& why, const QString& mode)
    {
        (void)who;
        (void)why;
        requests << what + QLatin1Char('/') + mode;
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0) {
            return {};
        }
        readEnds_.push_back(ends[0]);
        const QDBusUnixFileDescriptor lent(ends[1]);
        ::close(ends[1]);
        return lent;
    }

private:
    std::vector<int> readEnds_;
};

namespace {

using namespace std::chrono_literals;
using nlohmann::json;

// Where a report comes from, and what it says for "away".
struct Source {
    const char* name;
    QString service;
    QString path;
    QString interface;
    QString member;
};
const Source freedesktopScreenSaver{"freedesktop screen saver", "org.freedesktop.ScreenSaver",
                                    "/org/freedesktop/ScreenSaver", "org.freedesktop.ScreenSaver", "ActiveChanged"};
const Source kdeScreenSaver{"KDE's path of the freedesktop screen saver", "org.freedesktop.ScreenSaver",
                            "/ScreenSaver", "org.freedesktop.ScreenSaver", "ActiveChanged"};
const Source gnomeScreenSaver{"GNOME screen saver", "org.gnome.ScreenSaver", "/org/gnome/ScreenSaver",
                              "org.gnome.ScreenSaver", "ActiveChanged"};
const Source logind{"logind", "org.freedesktop.login1", "/org/freedesktop/login1", "org.freedesktop.login1.Manager",
                    "PrepareForSleep"};

const std::string lockNotice =
    "You were away for 14 minutes; your focus was paused when the screen locked. Resume it when you are ready.";
const std::string sleepNotice =
    "You were away for 14 minutes; your focus was paused when the computer went to sleep. Resume it when you are ready.";

// A watcher on the test's buses, the pausing it drives, and what it reports.
struct Watching {
    Watching(AppModel& model, const QDBusConnection& systemBus)
        : watcher(systemBus, QDBusConnection::sessionBus()), pauseOnAway(model, watcher)
    {
    }
    AwayWatcher watcher;
    PauseOnAway pauseOnAway;
    QSignalSpy wentAway{&watcher, &AwayWatcher::wentAway};
    QSignalSpy cameBack{&watcher, &AwayWatcher::cameBack};
};

// The desktop's services, served from a connection of their own as separate
// processes would; the model's watcher listens on two other connections,
// one standing in for the system bus.
class PauseOnAwayTest : public fixtures::ModelOnDisk {
protected:
    PauseOnAwayTest()
    {
        // The clock reads as a real one does, between two seconds.
        clock.now += 250ms;
        EXPECT_TRUE(services_.isConnected()) << "the tests run under dbus-run-session";
        EXPECT_TRUE(services_.registerObject(logind.path, &fakeLogind, QDBusConnection::ExportAllSlots));
        for (const Source* source : {&logind, &freedesktopScreenSaver, &gnomeScreenSaver}) {
            EXPECT_TRUE(services_.registerService(source->service));
        }
    }

    ~PauseOnAwayTest() override
    {
        for (const Source* source : {&logind, &freedesktopScreenSaver, &gnomeScreenSaver}) {
            services_.unregisterService(source->service);
        }
        services_.unregisterObject(logind.path);
        QDBusConnection::disconnectFromBus(services_.name());
        QDBusConnection::disconnectFromBus(systemBus.name());
    }

    void send(const Source& source, bool away)
    {
        QDBusMessage signal = QDBusMessage::createSignal(source.path, source.interface, source.member);
        signal << away;
        ASSERT_TRUE(services_.send(signal));
    }

    json agentFile() const { return json::parse(fixtures::fileContents(folder.path() / "agent-state.json")); }

    const WorkSession& session(const AppModel& model) const { return *model.state().currentSession(); }

    // The notices' English plural forms.
    const Translations english{QLocale(QLocale::English)};
    FakeLogind fakeLogind;
    QDBusConnection systemBus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "away-test-system");

private:
    QDBusConnection services_ = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "away-test-services");
};

TEST_F(PauseOnAwayTest, GoingAwayPausesARunningFocusThenAsksTheUserToResumeIt)
{
    struct Case {
        const char* name;
        std::vector<const Source*> sources;
        std::string notice;
        bool sleeps = false;
    };
    const Case cases[] = {
        {"a screen lock", {&freedesktopScreenSaver}, lockNotice},
        {"one lock on both freedesktop paths is one period", {&kdeScreenSaver, &freedesktopScreenSaver}, lockNotice},
        {"GNOME's lock", {&gnomeScreenSaver}, lockNotice},
        {"sleep", {&logind}, sleepNotice, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto model = modelIn(WorkflowState::focusing);
        Watching away(*model, systemBus);
        away.pauseOnAway.setEnabled(true);
        ASSERT_TRUE(QTest::qWaitFor([&] { return fakeLogind.locksHeld() == 1; })) << "sleep waits for the pause";
        ASSERT_TRUE(notifications->scheduled.contains(NotificationEvent::focusEnd));

        clock.now += 10min + 400ms;
        const Instant awayAt = clock.now;
        for (const Source* source : c.sources) {
            send(*source, true);
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return away.wentAway.count() > 0; }));
        EXPECT_EQ(session(*model).pausedAt, fixtures::wholeSeconds(awayAt));
        EXPECT_FALSE(notifications->scheduled.contains(NotificationEvent::focusEnd));
        EXPECT_EQ(agentFile()["interruptible"], true);
        EXPECT_TRUE(model->dueMessage().isEmpty()) << "nobody is there to read it";
        if (c.sleeps) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return fakeLogind.locksHeld() == 0; })) << "the computer may sleep";
        }

        clock.now += 14min + 700ms;
        for (const Source* source : c.sources) {
            send(*source, false);
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return away.cameBack.count() > 0; }));
        EXPECT_EQ(model->dueMessage().toStdString(), c.notice);
        EXPECT_EQ(session(*model).pausedAt, fixtures::wholeSeconds(awayAt)) << "never resumed by itself";
        EXPECT_TRUE(QTest::qWaitFor([&] { return fakeLogind.locksHeld() == 1; })) << "held for the next sleep";
        QTest::qWait(50);
        EXPECT_EQ(away.wentAway.count(), 1);
        EXPECT_EQ(away.cameBack.count(), 1);

        // Once the user resumes, the notice has had its say.
        model->pauseOrResumeFocus();
        EXPECT_TRUE(model->dueMessage().isEmpty());
        EXPECT_TRUE(notifications->scheduled.contains(NotificationEvent::focusEnd));
    }
    EXPECT_EQ(fakeLogind.requests.first(), "sleep/delay") << "delays the sleep, never blocks it";
}

TEST_F(PauseOnAwayTest, NothingButAnEnabledRunningFocusIsPausedAndNoNoticeOutlivesThePause)
{
    using Command = std::optional<ControlCommand>;
    struct Case {
        const char* name;
        WorkflowState phase;
        bool enabled;
        bool pausedOnAway;
        // What a script does while the user is away.
        Command meanwhile;
    };
    const Case cases[] = {
        {"a break runs on", WorkflowState::breaking, true, false, std::nullopt},
        {"switched off, a focus runs on", WorkflowState::focusing, false, false, std::nullopt},
        {"resumed by a script before the user is back", WorkflowState::focusing, true, true,
         ControlCommand::resumeFocus},
        {"ended by a script before the user is back", WorkflowState::focusing, true, true, ControlCommand::endFocus},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto model = modelIn(c.phase);
        Watching away(*model, systemBus);
        const auto locksAsked = fakeLogind.requests.size();
        away.pauseOnAway.setEnabled(c.enabled);
        clock.now += 1min + 100ms;
        const QuillmereState before = model->state();

        send(freedesktopScreenSaver, true);
        ASSERT_TRUE(QTest::qWaitFor([&] { return away.wentAway.count() > 0; }));
        if (c.pausedOnAway) {
            EXPECT_TRUE(session(*model).pausedAt);
        } else {
            EXPECT_EQ(model->state(), before);
        }
        if (c.meanwhile) {
            EXPECT_TRUE(model->control(*c.meanwhile));
        }
        const QuillmereState beforeBack = model->state();

        clock.now += 5min;
        send(freedesktopScreenSaver, false);
        ASSERT_TRUE(QTest::qWaitFor([&] { return away.cameBack.count() > 0; }));
        EXPECT_TRUE(model->dueMessage().isEmpty());
        EXPECT_EQ(model->state(), beforeBack);
        EXPECT_TRUE(model->lastError().isEmpty()) << "a refused pause is no error of the user's";
        const auto locksWanted = locksAsked + (c.enabled ? 1 : 0);
        EXPECT_TRUE(QTest::qWaitFor([&] { return fakeLogind.requests.size() >= locksWanted; }));
        EXPECT_EQ(fakeLogind.requests.size(), locksWanted) << "switched off, sleep is never held back";
    }
}

// Locked, then asleep, woken and unlocked: the user was away once, from the
// lock to the unlock.
TEST_F(PauseOnAwayTest, ALockAroundASleepIsOneAbsence)
{
    auto model = modelIn(WorkflowState::focusing);
    Watching away(*model, systemBus);
    away.pauseOnAway.setEnabled(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return fakeLogind.locksHeld() == 1; }));

    clock.now += 3min + 900ms;
    const Instant lockedAt = clock.now;
    send(gnomeScreenSaver, true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return away.wentAway.count() > 0; }));
    clock.now += 1min;
    send(logind, true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return fakeLogind.locksHeld() == 0; }));
    clock.now += 1h;
    send(logind, false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return fakeLogind.locksHeld() == 1; }));
    EXPECT_EQ(away.cameBack.count(), 0) << "still locked";
    clock.now += 4min + 300ms;
    send(gnomeScreenSaver, false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return away.cameBack.count() > 0; }));

    EXPECT_EQ(away.wentAway.count(), 1);
    EXPECT_EQ(session(*model).pausedAt, fixtures::wholeSeconds(lockedAt));
    EXPECT_EQ(model->dueMessage().toStdString(), "You were away for 1 hour and 5 minutes; your focus was paused when the screen "
                                   "locked. Resume it when you are ready.");
}

// In a container there is often no system bus: sleep goes unnoticed, and
// with it nothing else.
TEST_F(PauseOnAwayTest, WithoutASystemBusALockStillPauses)
{
    auto model = modelIn(WorkflowState::focusing);
    const QDBusConnection nowhere =
        QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/quillmere-bus"), QStringLiteral("nowhere"));
    ASSERT_FALSE(nowhere.isConnected());
    Watching away(*model, nowhere);
    away.pauseOnAway.setEnabled(true);

    // Sent where the session's services are: not logind's bus.
    send(logind, true);
    send(freedesktopScreenSaver, true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return away.wentAway.count() > 0; }));
    EXPECT_EQ(away.wentAway.at(0).at(0).value<AwayReason>(), AwayReason::screenLocked);
    EXPECT_TRUE(session(*model).pausedAt);
    QDBusConnection::disconnectFromBus(QStringLiteral("nowhere"));
}

TEST(AwayNotice, SaysHowLongToTheNearestMinuteInTheUsersLanguage)
{
    struct Case {
        std::chrono::seconds away;
        const char* english;
        const char* german;
    };
    const Case cases[] = {
        {29s, "less than a minute", "weniger als eine Minute"},
        {30s, "1 minute", "1 Minute"},
        {14min + 10s, "14 minutes", "14 Minuten"},
        {59min + 40s, "1 hour", "1 Stunde"},
        {1h + 5min, "1 hour and 5 minutes", "1 Stunde und 5 Minuten"},
        {2h + 1min, "2 hours and 1 minute", "2 Stunden und 1 Minute"},
        {26h, "26 hours", "26 Stunden"},
    };
    for (const auto& [language, locale] :
         {std::pair{"English", QLocale(QLocale::English)}, std::pair{"German", QLocale(QLocale::German)}}) {
        const Translations translations(locale);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(language) + ", " + c.english);
            EXPECT_EQ(awayDurationText(c.away).toStdString(), language == std::string("English") ? c.english : c.german);
        }
    }
}

} // namespace
} // namespace quillmere

#include "PauseOnAwayTest.moc"
