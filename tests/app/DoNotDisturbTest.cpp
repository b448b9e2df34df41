// SPDX-License-Identifier: GPL-3.0-or-later
// Do not disturb during focus against stand-ins of each notification service
// it knows: a daemon on the test's private bus that answers as GNOME Shell,
// KDE Plasma, mako or dunst would (dunst's pause and Plasma's inhibitions
// included), and fake `gsettings` and `makoctl` programs that keep their
// setting in a file and log every call. PATH holds only the fakes while a
// test runs, so the real tools are never reached.
#include "DoNotDisturb.h"

#include "TempFolder.h"

#include "quillmere/AtomicFile.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>
#include <QVariantMap>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>

namespace quillmere {
namespace {

using namespace std::chrono_literals;

const QString serviceName = QStringLiteral("org.freedesktop.Notifications");
const QString objectPath = QStringLiteral("/org/freedesktop/Notifications");

// What the fake service is and what was asked of it.
struct DaemonState {
    QString name;
    QStringList capabilities;
    bool paused = false;
    // Inhibitions in force: cookie, desktop entry.
    std::map<uint, QString> inhibitions;
    // Every call that changes something, in order: "Inhibit ...",
    // "UnInhibit 1", "paused true".
    QStringList calls;
    uint nextCookie = 1;
};

DaemonState serving(const char* name, QStringList capabilities = {}, bool paused = false)
{
    DaemonState state;
    state.name = QString::fromLatin1(name);
    state.capabilities = std::move(capabilities);
    state.paused = paused;
    return state;
}

class NotificationsAdaptor final : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    NotificationsAdaptor(QObject* parent, DaemonState& state) : QDBusAbstractAdaptor(parent), state_(state) {}

public slots:
    QString GetServerInformation(QString& vendor, QString& version, QString& protocolVersion)
    {
        vendor = QStringLiteral("test");
        version = QStringLiteral("1");
        protocolVersion = QStringLiteral("1.2");
        return state_.name;
    }
    QStringList GetCapabilities() { return state_.capabilities; }
    uint Inhibit(const QString& desktopEntry, const QString& reason, const QVariantMap&)
    {
        state_.calls << QStringLiteral("Inhibit %1 %2").arg(desktopEntry, reason);
        state_.inhibitions[state_.nextCookie] = desktopEntry;
        return state_.nextCookie++;
    }
    void UnInhibit(uint cookie)
    {
        state_.calls << QStringLiteral("UnInhibit %1").arg(cookie);
        state_.inhibitions.erase(cookie);
    }

private:
    DaemonState& state_;
};

class DunstAdaptor final : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.dunstproject.cmd0")
    Q_PROPERTY(bool paused READ paused WRITE setPaused)

public:
    DunstAdaptor(QObject* parent, DaemonState& state) : QDBusAbstractAdaptor(parent), state_(state) {}

    bool paused() const { return state_.paused; }
    void setPaused(bool paused)
    {
        state_.calls << QStringLiteral("paused %1").arg(paused ? "true" : "false");
        state_.paused = paused;
    }

private:
    DaemonState& state_;
};

// The fake notification service, served from a connection of its own as
// a separate process would be; it can stop and start again as a daemon that
// crashes and is restarted.
class FakeDaemon {
public:
    explicit FakeDaemon(DaemonState initial) : state(std::move(initial)) {}
    ~FakeDaemon()
    {
        stop();
        QDBusConnection::disconnectFromBus(bus_.name());
    }

    void start()
    {
        ASSERT_TRUE(bus_.isConnected()) << "the tests run under dbus-run-session";
        object_ = std::make_unique<QObject>();
        new NotificationsAdaptor(object_.get(), state);
        if (state.name == QLatin1String("dunst")) {
            new DunstAdaptor(object_.get(), state);
        }
        ASSERT_TRUE(bus_.registerObject(objectPath, object_.get(), QDBusConnection::ExportAdaptors));
        ASSERT_TRUE(bus_.registerService(serviceName));
    }

    void stop()
    {
        if (object_) {
            bus_.unregisterService(serviceName);
            bus_.unregisterObject(objectPath);
            object_.reset();
        }
    }

    DaemonState state;

private:
    QDBusConnection bus_ = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-daemon"));
    std::unique_ptr<QObject> object_;
};

std::string readText(const std::filesystem::path& path)
{
    return readWholeFile(path).value_or("<missing>");
}

void writeText(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream(path) << text;
}

// `gsettings` and `makoctl` as shell scripts of builtins alone (PATH holds
// nothing else), each keeping its setting in a file beside it and logging
// its arguments to "calls".
class FakeTools {
public:
    FakeTools()
    {
        const std::string folder = folder_.path().string();
        writeScript("gsettings", "echo \"gsettings $*\" >> " + folder +
                                     "/calls\n"
                                     "case \"$1\" in\n"
                                     "get) read -r value < " +
                                     folder + "/show-banners; echo \"$value\" ;;\n" + "set) echo \"$4\" > " + folder +
                                     "/show-banners ;;\n"
                                     "esac\n");
        writeScript("makoctl", "echo \"makoctl $*\" >> " + folder +
                                   "/calls\n"
                                   "modes=" +
                                   folder +
                                   "/modes\n"
                                   "case \"$2\" in\n"
                                   "'') while read -r mode; do echo \"$mode\"; done < \"$modes\" ;;\n"
                                   "-a) echo \"$3\" >> \"$modes\" ;;\n"
                                   "-r) kept=''\n"
                                   "    while read -r mode; do [ \"$mode\" = \"$3\" ] || kept=\"$kept$mode\n\"; done "
                                   "< \"$modes\"\n"
                                   "    printf '%s' \"$kept\" > \"$modes\" ;;\n"
                                   "esac\n");
        setBanners("true");
        setModes("default\nwork\n");
        savedPath_ = qgetenv("PATH");
        qputenv("PATH", QByteArray::fromStdString(folder));
    }
    ~FakeTools() { qputenv("PATH", savedPath_); }

    void setBanners(const std::string& value) { writeText(folder_.path() / "show-banners", value + "\n"); }
    std::string banners() const { return readText(folder_.path() / "show-banners"); }
    void setModes(const std::string& modes) { writeText(folder_.path() / "modes", modes); }
    std::string modes() const { return readText(folder_.path() / "modes"); }
    std::string calls() const
    {
        const std::string calls = readText(folder_.path() / "calls");
        return calls == "<missing>" ? "" : calls;
    }
    void clearCalls() { std::filesystem::remove(folder_.path() / "calls"); }
    void hide(const char* tool) { std::filesystem::remove(folder_.path() / tool); }

private:
    void writeScript(const char* name, const std::string& body)
    {
        const auto path = folder_.path() / name;
        writeText(path, "#!/bin/sh\n" + body);
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    }

    fixtures::TempFolder folder_;
    QByteArray savedPath_;
};

// A state whose first session started at `startedAt`, planned for
// `plannedSeconds`, paused at `pausedAt` if given.
QuillmereState focusing(Instant startedAt, Seconds plannedSeconds, std::optional<Instant> pausedAt = std::nullopt)
{
    QuillmereState state = QuillmereState::initial(startedAt);
    state.workflowState = WorkflowState::focusing;
    Block block;
    block.id = Uuid::generate();
    WorkSession session;
    session.id = Uuid::generate();
    session.number = 1;
    session.startedAt = startedAt;
    session.plannedDurationSeconds = plannedSeconds;
    session.pausedAt = pausedAt;
    block.sessions.push_back(session);
    state.currentBlock = block;
    return state;
}

Instant now()
{
    return wholeSeconds(std::chrono::system_clock::now());
}

QuillmereState longFocus()
{
    return focusing(now(), 1500);
}

QuillmereState idle()
{
    return QuillmereState::initial(now());
}

class DoNotDisturbTest : public ::testing::Test {
protected:
    std::unique_ptr<DoNotDisturb> makeDoNotDisturb(QDBusConnection connection = QDBusConnection::sessionBus())
    {
        return std::make_unique<DoNotDisturb>(std::move(connection), folder.path());
    }

    static void waitFound(DoNotDisturb& dnd)
    {
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return !dnd.availability().startsWith(QStringLiteral("Looking for")); }, 3000))
            << "no answer from the search";
    }

    std::filesystem::path recordFile() const { return folder.path() / DoNotDisturb::recordFileName; }
    std::string record() const { return readText(recordFile()); }

    fixtures::TempFolder folder;
    FakeTools tools;
};

TEST(SilenceWantedUntil, LastsWhileAFocusRunsUntilAMomentBeforeItsPlannedEnd)
{
    const Instant start = utcInstant(2026, 3, 2, 9, 0, 0);
    const auto at = [&](int seconds) { return start + std::chrono::seconds(seconds); };
    QuillmereState breaking = focusing(start, 1500);
    breaking.workflowState = WorkflowState::breaking;
    breaking.breakStartedAt = at(1500);
    breaking.currentBlock->breakDurationSeconds = 300;
    QuillmereState reviewing = focusing(start, 1500);
    reviewing.workflowState = WorkflowState::sessionReview;
    reviewing.currentBlock->sessions[0].endedAt = at(1500);
    struct Case {
        const char* name;
        QuillmereState state;
        Instant now;
        std::optional<Instant> until;
    };
    const Case cases[] = {
        {"idle", QuillmereState::initial(start), at(10), std::nullopt},
        {"a running focus, until three seconds before its end", focusing(start, 1500), at(10), at(1497)},
        {"a fraction of a second does not move the end", focusing(start, 1500), at(10) + 900ms, at(1497)},
        {"four seconds before the end, for one more second", focusing(start, 1500), at(1496), at(1497)},
        {"from three seconds before the end the silence is lifted", focusing(start, 1500), at(1497), std::nullopt},
        {"past the planned end", focusing(start, 1500), at(1600), std::nullopt},
        {"a paused focus", focusing(start, 1500, at(100)), at(200), std::nullopt},
        {"a break", breaking, at(1600), std::nullopt},
        {"the review after a focus", reviewing, at(1500), std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(silenceWantedUntil(c.state, c.now), c.until);
    }
}

// Each service is silenced when a focus starts and its setting put back
// exactly when the focus stops wanting silence, in each of the ways that
// happens; what a crash would need is in the record file meanwhile.
TEST_F(DoNotDisturbTest, EachServiceIsSilencedAndPutBackExactly)
{
    enum class Ending { beforePlannedEnd, pause, preferenceOff, quit };
    struct Case {
        const char* name;
        DaemonState daemon;
        const char* shownName;
        Ending ending;
        std::function<bool(const FakeDaemon&)> silenced;
        std::function<bool(const FakeDaemon&)> restored;
        // The record file while silenced; empty: there is none.
        std::string record;
        QStringList daemonCalls;
        std::string toolCalls;
    };
    const Case cases[] = {
        {"GNOME Shell, lifted before the planned end",
         serving("gnome-shell"),
         "GNOME Shell",
         Ending::beforePlannedEnd,
         [&](const FakeDaemon&) { return tools.banners() == "false\n"; },
         [&](const FakeDaemon&) { return tools.banners() == "true\n"; },
         R"({"gnome":"true"})",
         {},
         "gsettings get org.gnome.desktop.notifications show-banners\n"
         "gsettings set org.gnome.desktop.notifications show-banners false\n"
         "gsettings get org.gnome.desktop.notifications show-banners\n"
         "gsettings set org.gnome.desktop.notifications show-banners true\n"},
        {"KDE Plasma, until Quillmere quits",
         serving("Plasma", {"body", "inhibitions"}),
         "KDE Plasma",
         Ending::quit,
         [](const FakeDaemon& daemon) { return daemon.state.inhibitions.size() == 1; },
         [](const FakeDaemon& daemon) { return daemon.state.inhibitions.empty(); },
         "",
         {"Inhibit org.quillmere.Quillmere Focus session", "UnInhibit 1"},
         ""},
        {"mako, put back with the user's other mode when the focus pauses",
         serving("mako"),
         "mako",
         Ending::pause,
         [&](const FakeDaemon&) { return tools.modes() == "default\nwork\ndo-not-disturb\n"; },
         [&](const FakeDaemon&) { return tools.modes() == "default\nwork\n"; },
         R"({"mako":"default\nwork"})",
         {},
         "makoctl mode\nmakoctl mode -a do-not-disturb\nmakoctl mode\nmakoctl mode -r do-not-disturb\n"},
        {"dunst, when the preference is switched off",
         serving("dunst"),
         "dunst",
         Ending::preferenceOff,
         [](const FakeDaemon& daemon) { return daemon.state.paused; },
         [](const FakeDaemon& daemon) { return !daemon.state.paused; },
         R"({"dunst":"false"})",
         {"paused true", "paused false"},
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tools.clearCalls();
        FakeDaemon daemon(c.daemon);
        daemon.start();
        auto dnd = makeDoNotDisturb();
        waitFound(*dnd);
        EXPECT_TRUE(dnd->available()) << dnd->availability().toStdString();
        EXPECT_EQ(dnd->availability(),
                  QStringLiteral("Uses %1 to hold back other applications' notifications.").arg(c.shownName));

        // A planned end two seconds past the lift: at least a second of
        // silence, whatever the fraction of the current second.
        const Instant started = now();
        const QuillmereState focus =
            focusing(started, c.ending == Ending::beforePlannedEnd ? silenceLiftsBeforeEnd.count() + 2 : 1500);
        dnd->follow(focus);
        QTest::qWait(50);
        EXPECT_FALSE(c.silenced(daemon)) << "silenced while the preference is off";
        dnd->setEnabled(true);
        ASSERT_TRUE(QTest::qWaitFor([&] { return c.silenced(daemon); }, 1000));
        EXPECT_EQ(record(), c.record.empty() ? "<missing>" : c.record);

        switch (c.ending) {
        case Ending::beforePlannedEnd: break;
        case Ending::pause: dnd->follow(focusing(started, 1500, now())); break;
        case Ending::preferenceOff: dnd->setEnabled(false); break;
        case Ending::quit: dnd->finish(); break;
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return c.restored(daemon); }, 3000));
        if (c.ending == Ending::beforePlannedEnd) {
            // The focus-end notification is due at `started` + 5 s.
            EXPECT_LE(std::chrono::system_clock::now(), started + 3s) << "lifted too late";
        }
        QTest::qWait(50);
        EXPECT_EQ(record(), "<missing>");
        EXPECT_EQ(daemon.state.calls, c.daemonCalls);
        EXPECT_EQ(tools.calls(), c.toolCalls);
    }
}

// The user's own hand on the setting wins: one who already silenced the
// service before the focus keeps it silenced after, and one who lifted
// the silence during the focus keeps it lifted.
TEST_F(DoNotDisturbTest, ASettingTheUserChoseIsLeftAsItIs)
{
    struct Case {
        const char* name;
        bool pausedBefore;
        bool unpausedDuring;
        QStringList calls;
        bool pausedAfter;
    };
    const Case cases[] = {
        {"paused by the user before the focus", true, false, {}, true},
        {"unpaused by the user during the focus", false, true, {"paused true", "paused false"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeDaemon daemon(serving("dunst", {}, c.pausedBefore));
        daemon.start();
        auto dnd = makeDoNotDisturb();
        dnd->setEnabled(true);
        waitFound(*dnd);
        dnd->follow(longFocus());
        QTest::qWait(200);
        EXPECT_TRUE(daemon.state.paused);
        EXPECT_EQ(record(), c.pausedBefore ? "<missing>" : R"({"dunst":"false"})");
        if (c.unpausedDuring) {
            // As `dunstctl set-paused false` would.
            daemon.state.calls << QStringLiteral("paused false");
            daemon.state.paused = false;
        }
        dnd->follow(idle());
        QTest::qWait(200);
        EXPECT_EQ(daemon.state.paused, c.pausedAfter);
        EXPECT_EQ(daemon.state.calls, c.calls);
        EXPECT_EQ(record(), "<missing>");
    }
}

// A run killed during a focus leaves its record; the next start puts the
// setting back as soon as the service answers, unless the focus still runs
// and still wants silence, or the service is not the one that was silenced.
TEST_F(DoNotDisturbTest, AStartAfterACrashPutsBackWhatTheRecordNotes)
{
    struct Case {
        const char* name;
        DaemonState daemon;
        // Leaves the record as a crashed run would.
        std::function<void(FakeDaemon&)> crash;
        // The restarted run.
        bool enabled;
        QuillmereState state;
        std::function<bool(const FakeDaemon&)> after;
        std::string recordAfter;
    };
    const auto killedDuringFocus = [this](FakeDaemon& daemon) {
        auto dnd = makeDoNotDisturb();
        dnd->setEnabled(true);
        dnd->follow(longFocus());
        ASSERT_TRUE(QTest::qWaitFor([&] { return daemon.state.paused; }, 3000));
        // Destroyed without finish(), as SIGKILL would leave it.
    };
    const Case cases[] = {
        {"dunst paused by a run that was killed, restarted with the preference off", serving("dunst"),
         killedDuringFocus, false, idle(), [](const FakeDaemon& daemon) { return !daemon.state.paused; }, "<missing>"},
        {"GNOME's banners, restarted idle", serving("gnome-shell"),
         [this](FakeDaemon&) {
             tools.setBanners("false");
             writeText(recordFile(), R"({"gnome":"true"})");
         },
         true, idle(), [&](const FakeDaemon&) { return tools.banners() == "true\n"; }, "<missing>"},
        {"the focus still runs: the silence is kept, and so is its record", serving("dunst"), killedDuringFocus, true,
         longFocus(), [](const FakeDaemon& daemon) { return daemon.state.paused && daemon.state.calls.size() == 1; },
         R"({"dunst":"false"})"},
        {"a record of mako's while dunst runs waits for mako", serving("dunst"),
         [this](FakeDaemon&) {
             writeText(recordFile(), R"({"mako":"default"})");
             tools.setModes("default\ndo-not-disturb\n");
         },
         true, idle(),
         [&](const FakeDaemon& daemon) {
             return daemon.state.calls.isEmpty() && tools.modes() == "default\ndo-not-disturb\n";
         },
         R"({"mako":"default"})"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeDaemon daemon(c.daemon);
        daemon.start();
        c.crash(daemon);
        auto dnd = makeDoNotDisturb();
        dnd->setEnabled(c.enabled);
        dnd->follow(c.state);
        waitFound(*dnd);
        EXPECT_TRUE(QTest::qWaitFor([&] { return c.after(daemon); }, 1000));
        QTest::qWait(100);
        EXPECT_TRUE(c.after(daemon));
        EXPECT_EQ(record(), c.recordAfter);
        std::filesystem::remove(recordFile());
    }
}

// dunst killed mid-focus takes its pause with it: the user hears of it, the
// preference says no service runs, the record stays, and the restarted
// daemon is paused again until the focus ends.
TEST_F(DoNotDisturbTest, AServiceThatStopsDuringFocusIsSilencedAgainWhenBack)
{
    FakeDaemon daemon(serving("dunst"));
    daemon.start();
    auto dnd = makeDoNotDisturb();
    QSignalSpy troubles(dnd.get(), &DoNotDisturb::trouble);
    dnd->setEnabled(true);
    dnd->follow(longFocus());
    ASSERT_TRUE(QTest::qWaitFor([&] { return daemon.state.paused; }, 3000));

    daemon.stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dnd->available(); }, 3000));
    EXPECT_EQ(dnd->availability(), "No notification service is running.");
    ASSERT_EQ(troubles.size(), 1);
    EXPECT_TRUE(troubles[0][0].toString().contains("stopped during your focus"));
    EXPECT_EQ(record(), R"({"dunst":"false"})");

    daemon.state = serving("dunst");
    daemon.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return daemon.state.paused; }, 3000));
    EXPECT_TRUE(dnd->available());

    dnd->follow(idle());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !daemon.state.paused; }, 3000));
    QTest::qWait(50);
    EXPECT_EQ(record(), "<missing>");
    EXPECT_EQ(troubles.size(), 1);
}

TEST_F(DoNotDisturbTest, WithoutAServiceItCanSilenceThePreferenceSaysWhy)
{
    struct Case {
        const char* name;
        std::optional<DaemonState> daemon;
        const char* hiddenTool;
        const char* availability;
    };
    const Case cases[] = {
        {"no bus, as a hosted run has", std::nullopt, nullptr, "No notification service is running."},
        {"a service without a setting", serving("xfce4-notifyd", {"body", "actions"}), nullptr,
         "xfce4-notifyd shows the notifications and has no do-not-disturb setting that Quillmere can use."},
        {"GNOME without gsettings", serving("gnome-shell"), "gsettings",
         "GNOME Shell shows the notifications, but gsettings is not installed."},
        {"mako without makoctl", serving("mako"), "makoctl",
         "mako shows the notifications, but makoctl is not installed."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<FakeDaemon> daemon;
        if (c.daemon) {
            daemon.emplace(*c.daemon);
            daemon->start();
        }
        if (c.hiddenTool) {
            tools.hide(c.hiddenTool);
        }
        auto dnd = makeDoNotDisturb(c.daemon ? QDBusConnection::sessionBus()
                                             : QDBusConnection(QStringLiteral("quillmere-no-bus")));
        QSignalSpy changes(dnd.get(), &DoNotDisturb::availabilityChanged);
        dnd->setEnabled(true);
        dnd->follow(longFocus());
        waitFound(*dnd);
        EXPECT_FALSE(dnd->available());
        EXPECT_EQ(dnd->availability(), c.availability);
        EXPECT_EQ(changes.size(), 1);
        QTest::qWait(50);
        EXPECT_EQ(record(), "<missing>");
        EXPECT_EQ(tools.calls(), "");
        if (daemon) {
            EXPECT_EQ(daemon->state.calls, QStringList());
        }
    }
}

} // namespace
} // namespace quillmere

#include "DoNotDisturbTest.moc"
