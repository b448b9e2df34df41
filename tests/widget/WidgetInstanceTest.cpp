// SPDX-License-Identifier: GPL-3.0-or-later
// When the host shows which entry and when it asks for a new timeline.

#include "HostFakes.h"
#include "WidgetInstance.h"

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace quillmere::widgethost {
namespace {

using namespace std::chrono_literals;
using testing::FakeKind;
using testing::entry;
using testing::whatOf;

const TimePoint T = TimePoint(std::chrono::seconds(1'772'445'600));

TEST(WidgetInstance, EntryAt_ShowsTheLastEntryDueOrTheFirstWhenNoneIs)
{
    const Timeline timeline{{entry(T, "a"), entry(T + 10s, "b"), entry(T + 20s, "c")}, T + 1h};
    const struct {
        TimePoint now;
        const char* shown;
    } cases[] = {{T - 5s, "a"}, {T, "a"}, {T + 9s, "a"}, {T + 10s, "b"}, {T + 25s, "c"}};
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.shown);
        EXPECT_EQ(whatOf(WidgetInstance::entryAt(timeline, testCase.now)), QString::fromLatin1(testCase.shown));
    }
    EXPECT_EQ(WidgetInstance::entryAt(Timeline{{}, T}, T), nullptr);
}

TEST(WidgetInstance, NextEventAfter_IsTheNextEntryOrTheReloadWhicheverIsFirst)
{
    const Timeline timeline{{entry(T, "a"), entry(T + 10s, "b")}, T + 11s};
    EXPECT_EQ(WidgetInstance::nextEventAfter(timeline, T), T + 10s);
    EXPECT_EQ(WidgetInstance::nextEventAfter(timeline, T + 10s), T + 11s);
    EXPECT_EQ(WidgetInstance::nextEventAfter(Timeline{{entry(T, "a"), entry(T + 1h, "b")}, T + 5s}, T), T + 5s);
}

// A clock the test moves; the instance's timers still run on real time, so
// the waits in these tests are short.
struct Scene {
    std::shared_ptr<FakeKind> kind = std::make_shared<FakeKind>();
    TimePoint now = T;
    std::unique_ptr<WidgetInstance> instance;
    QStringList shown;

    Scene()
    {
        instance = std::make_unique<WidgetInstance>(kind, Family::small, [this] { return now; });
        QObject::connect(instance.get(), &WidgetInstance::entryChanged,
                         [this](const EntryPointer& entry) { shown << whatOf(entry); });
    }
};

TEST(WidgetInstance, ShowsThePlaceholderUntilTheFirstTimelineThenTheDueEntry)
{
    Scene scene;
    EXPECT_EQ(whatOf(scene.instance->currentEntry()), QStringLiteral("placeholder"));
    scene.kind->timelines = {{{entry(T - 1s, "now"), entry(T + 1h, "later")}, T + 2h}};
    scene.instance->reload(WidgetInstance::ReloadReason::start);
    EXPECT_EQ(scene.shown, QStringList{QStringLiteral("now")});
    ASSERT_EQ(scene.kind->contexts.size(), 1u);
    EXPECT_EQ(scene.kind->contexts[0].family, Family::small);
    EXPECT_EQ(scene.kind->contexts[0].displaySize, standardSize(Family::small));
    EXPECT_FALSE(scene.kind->contexts[0].isPreview);
    EXPECT_EQ(scene.kind->contexts[0].now, T);
}

TEST(WidgetInstance, SwitchesToTheNextEntryAtItsDateWithoutAskingAgain)
{
    Scene scene;
    scene.kind->timelines = {{{entry(T, "running"), entry(T + 50ms, "at zero")}, T + 1h}};
    scene.instance->reload();
    scene.now = T + 50ms;
    EXPECT_TRUE(QTest::qWaitFor([&] { return scene.shown.size() == 2; }, 2000));
    EXPECT_EQ(scene.shown, (QStringList{QStringLiteral("running"), QStringLiteral("at zero")}));
    EXPECT_EQ(scene.kind->contexts.size(), 1u);
}

TEST(WidgetInstance, AsksAgainAtTheReloadInstant)
{
    Scene scene;
    scene.kind->timelines = {{{entry(T, "first")}, T + 50ms}, {{entry(T + 50ms, "second")}, T + 1h}};
    std::vector<WidgetInstance::ReloadReason> reasons;
    QObject::connect(scene.instance.get(), &WidgetInstance::timelineRequested,
                     [&reasons](WidgetInstance::ReloadReason reason) { reasons.push_back(reason); });
    scene.instance->reload(WidgetInstance::ReloadReason::start);
    scene.now = T + 50ms;
    EXPECT_TRUE(QTest::qWaitFor([&] { return scene.shown.size() == 2; }, 2000));
    EXPECT_EQ(scene.shown, (QStringList{QStringLiteral("first"), QStringLiteral("second")}));
    EXPECT_EQ(reasons, (std::vector{WidgetInstance::ReloadReason::start, WidgetInstance::ReloadReason::policy}));
}

TEST(WidgetInstance, AReloadInstantAlreadyPastIsNotAskedAgainAtOnce)
{
    Scene scene;
    scene.kind->timelines = {{{entry(T, "stale")}, T - 1s}};
    scene.instance->reload();
    QTest::qWait(100);
    EXPECT_EQ(scene.kind->contexts.size(), 1u);
    EXPECT_EQ(scene.instance->timeline().reloadAfter, T + WidgetInstance::pastReloadDelay);
}

TEST(WidgetInstance, AnAnswerOvertakenByANewerRequestIsDropped)
{
    Scene scene;
    scene.kind->holdAnswers = true;
    scene.instance->reload();
    scene.instance->reload();
    ASSERT_EQ(scene.kind->held.size(), 2u);
    scene.kind->held[1](Timeline{{entry(T, "newer")}, T + 1h});
    scene.kind->held[0](Timeline{{entry(T, "older")}, T + 1h});
    EXPECT_EQ(scene.shown, QStringList{QStringLiteral("newer")});
}

TEST(WidgetInstance, AnAnswerAfterTheInstanceIsGoneIsIgnored)
{
    Scene scene;
    scene.kind->holdAnswers = true;
    scene.instance->reload();
    scene.instance.reset();
    scene.kind->held[0](Timeline{{entry(T, "late")}, T + 1h});
    EXPECT_TRUE(scene.shown.isEmpty());
}

} // namespace
} // namespace quillmere::widgethost
