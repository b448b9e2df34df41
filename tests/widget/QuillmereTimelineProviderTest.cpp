// SPDX-License-Identifier: GPL-3.0-or-later
// The provider reads the shared snapshot afresh on every request and turns
// every read problem into something the widget can show.

#include "QuillmereStatusWidget.h"
#include "QuillmereTimelineProvider.h"
#include "TempFolder.h"

#include "quillmere/TextLimits.h"
#include "quillmere/WidgetSnapshotStore.h"

#include <gtest/gtest.h>

#include <map>

namespace quillmere {
namespace {

using namespace std::chrono_literals;
using fixtures::TempFolder;

const Instant T = utcInstant(2026, 3, 2, 10, 0, 0);

// A data home in a temporary folder, reached the way the widget process
// reaches its own: through XDG_DATA_HOME.
class SharedContainer {
public:
    SharedContainer() : dataHome_(folder_.path().string()) {}

    EnvironmentLookup environment() const
    {
        return [this](const char* name) -> const char* {
            return std::string_view(name) == "XDG_DATA_HOME" ? dataHome_.c_str() : nullptr;
        };
    }
    std::filesystem::path container() const
    {
        return folder_.path() / "group-containers" / std::string(QuillmereAppGroup::identifier);
    }
    void write(const std::string& bytes) const
    {
        std::filesystem::create_directories(container());
        fixtures::writeFile(container() / std::string(WidgetSnapshotStore::fileName), bytes);
    }
    QuillmereTimelineProvider provider() const
    {
        return QuillmereTimelineProvider([environment = environment()] {
            return QuillmereTimelineProvider::readSharedSnapshot(environment);
        });
    }
    // Where no container can be: the data home is a file.
    void blockContainer()
    {
        dataHome_ = (folder_.path() / "not-a-folder").string();
        fixtures::writeFile(dataHome_, "x");
    }

private:
    TempFolder folder_;
    std::string dataHome_;
};

WidgetSnapshot runningFocus(Instant endsAt)
{
    WidgetSnapshot snapshot = WidgetSnapshot::placeholder(T);
    snapshot.countdown = WidgetCountdown{endsAt, endsAt - 25min, false, 600};
    return snapshot;
}

TEST(QuillmereTimelineProvider, Timeline_TurnsEachReadProblemIntoOneMessageEntryAskedAgainIn30Minutes)
{
    struct Case {
        const char* name;
        std::function<void(SharedContainer&)> arrange;
        WidgetReadState expected;
    };
    const std::string newer = [] {
        std::string bytes = WidgetSnapshotStore::encode(WidgetSnapshot::placeholder(T));
        bytes.replace(bytes.find("\"schema_version\":1"), 18, "\"schema_version\":2");
        return bytes;
    }();
    const std::vector<Case> cases{
        {"no container", [](SharedContainer& shared) { shared.blockContainer(); },
         WidgetReadState::unavailable("Shared container is not reachable")},
        {"no file yet", [](SharedContainer&) {}, WidgetReadState::waitingForApp()},
        {"newer format", [&](SharedContainer& shared) { shared.write(newer); },
         WidgetReadState::unavailable("Update the widget")},
        {"corrupt file", [](SharedContainer& shared) { shared.write("{\"phase\": \"focus"); },
         WidgetReadState::unavailable("Snapshot could not be read")},
        {"a folder in the file's place",
         [](SharedContainer& shared) {
             std::filesystem::create_directories(shared.container() / std::string(WidgetSnapshotStore::fileName));
         },
         WidgetReadState::unavailable("Snapshot could not be read")},
    };
    for (const Case& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        SharedContainer shared;
        testCase.arrange(shared);
        const QuillmereTimeline timeline = shared.provider().getTimeline({T, false});
        EXPECT_EQ(timeline, (QuillmereTimeline{{QuillmereEntry{T, testCase.expected}}, T + 1800s}));
    }
}

TEST(QuillmereTimelineProvider, Timeline_OfARunningCountdownEndsAtZeroAndAsksASecondAfterTheEnd)
{
    SharedContainer shared;
    const Instant end = T + 10min;
    const WidgetSnapshot snapshot = runningFocus(end);
    ASSERT_TRUE(WidgetSnapshotStore(shared.container()).save(snapshot));

    const QuillmereTimeline timeline = shared.provider().getTimeline({T, false});

    ASSERT_EQ(timeline.entries.size(), 2u);
    EXPECT_EQ(timeline.entries[0], (QuillmereEntry{T, WidgetReadState::ready(snapshot)}));
    WidgetSnapshot atZero = snapshot;
    atZero.countdown->frozenRemainingSeconds = 0;
    EXPECT_EQ(timeline.entries[1], (QuillmereEntry{end, WidgetReadState::ready(atZero)}));
    EXPECT_EQ(timeline.reloadAfter, end + 1s);
}

TEST(QuillmereTimelineProvider, EveryRequestReadsTheFileAfresh)
{
    SharedContainer shared;
    const QuillmereTimelineProvider provider = shared.provider();
    EXPECT_EQ(provider.getSnapshot({T, false}).readState, WidgetReadState::waitingForApp());

    const WidgetSnapshot idle = WidgetSnapshot::empty(T);
    ASSERT_TRUE(WidgetSnapshotStore(shared.container()).save(idle));
    EXPECT_EQ(provider.getSnapshot({T, false}), (QuillmereEntry{T, WidgetReadState::ready(idle)}));
    EXPECT_EQ(provider.getTimeline({T, false}), (QuillmereTimeline{{{T, WidgetReadState::ready(idle)}}, T + 1800s}));
}

// A 10 MB text in a snapshot once took the host 20 s and 830 MiB to draw.
TEST(QuillmereTimelineProvider, TextsOfASnapshotWrittenElsewhereAreCutBeforeTheyAreShown)
{
    SharedContainer shared;
    WidgetSnapshot written = WidgetSnapshot::placeholder(T);
    written.intendedOutcome = std::string(400'000, 'o');
    written.firstAction = std::string(400'000, 'a');
    written.openQuestions.assign(5, std::string(1000, 'q'));
    ASSERT_TRUE(WidgetSnapshotStore(shared.container()).save(written));

    const QuillmereEntry entry = shared.provider().getSnapshot({T, false});
    const WidgetSnapshot* shown = entry.readState.snapshot();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->intendedOutcome, std::string(TextLimits::widgetCharacters - 1, 'o') + "\u2026");
    EXPECT_EQ(shown->firstAction, std::string(TextLimits::widgetCharacters - 1, 'a') + "\u2026");
    ASSERT_EQ(shown->openQuestions.size(), WidgetSnapshot::maxOpenQuestions);
    EXPECT_EQ(shown->openQuestions[0].size(), TextLimits::widgetCharacters - 1 + std::string("\u2026").size());
}

TEST(QuillmereTimelineProvider, Preview_ShowsTheSampleForSnapshotsButTheTimelineStillReadsTheFile)
{
    SharedContainer shared;
    const QuillmereTimelineProvider provider = shared.provider();
    const QuillmereEntry sample{T, WidgetReadState::ready(WidgetSnapshot::placeholder(T))};

    EXPECT_EQ(provider.getSnapshot({T, true}), sample);
    EXPECT_EQ(provider.placeholder(T), sample);
    EXPECT_EQ(provider.getTimeline({T, true}).entries, (std::vector{QuillmereEntry{T, WidgetReadState::waitingForApp()}}));
}

TEST(QuillmereTimelineProvider, Placeholder_ReadsNoFile)
{
    int reads = 0;
    const QuillmereTimelineProvider provider([&reads] {
        ++reads;
        return WidgetReadState::waitingForApp();
    });
    provider.placeholder(T);
    provider.getSnapshot({T, true});
    EXPECT_EQ(reads, 0);
    provider.getSnapshot({T, false});
    EXPECT_EQ(reads, 1);
}

TEST(QuillmereStatusWidget, RegistersItsKindNamesAndEveryFamilyInOrder)
{
    const widgethost::Configuration configuration = QuillmereStatusWidget().configuration();
    EXPECT_EQ(configuration.kind, QStringLiteral("QuillmereStatusWidget"));
    EXPECT_EQ(configuration.displayName, QStringLiteral("Quillmere"));
    EXPECT_EQ(configuration.description,
              QStringLiteral("Your current phase, countdown, session and block progress, plan, and open questions."));
    EXPECT_EQ(configuration.supportedFamilies,
              (std::vector{widgethost::Family::small, widgethost::Family::medium, widgethost::Family::large,
                           widgethost::Family::extraLarge}));
    EXPECT_EQ(configuration.containerBackground, QPalette::Window);
}

TEST(QuillmereStatusWidget, HandsTheHostTheProvidersEntriesWithTheirDates)
{
    const Instant end = T + 5min;
    const QuillmereStatusWidget widget(
        QuillmereTimelineProvider([end] { return WidgetReadState::ready(runningFocus(end)); }));
    const widgethost::Context context{widgethost::Family::small, widgethost::standardSize(widgethost::Family::small),
                                      false, T};

    widgethost::Timeline timeline;
    widget.getTimeline(context, [&timeline](widgethost::Timeline answer) { timeline = std::move(answer); });
    ASSERT_EQ(timeline.entries.size(), 2u);
    EXPECT_EQ(timeline.entries[0]->date(), T);
    EXPECT_EQ(timeline.entries[1]->date(), end);
    EXPECT_EQ(timeline.reloadAfter, end + 1s);
    const auto& second = static_cast<const QuillmereHostEntry&>(*timeline.entries[1]);
    EXPECT_EQ(second.entry().readState.snapshot()->countdown->frozenRemainingSeconds, 0);

    widgethost::EntryPointer preview;
    widget.getSnapshot({context.family, context.displaySize, true, T},
                       [&preview](widgethost::EntryPointer answer) { preview = std::move(answer); });
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(static_cast<const QuillmereHostEntry&>(*preview).entry().readState,
              WidgetReadState::ready(WidgetSnapshot::placeholder(T)));
}

} // namespace
} // namespace quillmere
