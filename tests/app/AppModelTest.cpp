// SPDX-License-Identifier: GPL-3.0-or-later
#include "ModelFakes.h"
#include "ModelOnDisk.h"
#include "StateFixtures.h"
#include "TempFolder.h"

#include "quillmere/StateCoding.h"

#include "WidgetPublisher.h"

#include <QLocale>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace quillmere {
namespace {

using namespace std::chrono_literals;
using fakes::RecordingNotifications;
using fixtures::fileContents;
using Call = RecordingNotifications::Call;

std::string str(const QString& text)
{
    return text.toStdString();
}

class AppModelTest : public fixtures::ModelOnDisk {};

TEST_F(AppModelTest, StartUp_LoadsPublishesAndAsksForPermissionWithoutSaving)
{
    auto model = makeModel();
    EXPECT_EQ(model->state().workflowState, WorkflowState::idle);
    EXPECT_EQ(model->state().updatedAt, clock.now);
    EXPECT_TRUE(model->lastError().isEmpty());
    EXPECT_TRUE(model->dueMessage().isEmpty());
    EXPECT_EQ(model->selectedTab(), MainWindowTab::workCycle);
    EXPECT_EQ(notifications->permissionRequests, 1);
    ASSERT_EQ(widgets->published.size(), 1u);
    EXPECT_EQ(widgets->published[0], WidgetSnapshot::make(model->state(), clock.now));
    EXPECT_FALSE(std::filesystem::exists(stateFile()));
}

TEST_F(AppModelTest, StartUp_RearmsOnlyTheNotificationTheStateNeeds)
{
    QuillmereState running = fixtures::everyOptionalAbsent();
    running.workflowState = WorkflowState::focusing;
    running.currentBlock = running.blockHistory.front();
    running.blockHistory.clear();
    const Instant started = running.currentBlock->sessions[0].startedAt;
    clock.now = started + 100s;
    writeState(running);
    auto model = makeModel();
    EXPECT_EQ(notifications->calls, (std::vector<Call>{{Call::Kind::schedule, NotificationEvent::focusEnd, started + 1500s}}));

    model.reset();
    running.currentBlock->sessions[0].pausedAt = started + 50s;
    writeState(running);
    model = makeModel();
    EXPECT_TRUE(notifications->calls.empty()) << "a paused focus has no deadline";

    model.reset();
    QuillmereState scheduled = QuillmereState::initial(clock.now);
    scheduled.currentBlock = Block::defaultBlock(clock.now);
    scheduled.currentBlock->plannedStart = clock.now - 1s;
    writeState(scheduled);
    model = makeModel();
    EXPECT_TRUE(notifications->calls.empty()) << "a start already passed is the tick's business";
    model.reset();
    scheduled.currentBlock->plannedStart = clock.now + 1h;
    writeState(scheduled);
    model = makeModel();
    EXPECT_EQ(notifications->scheduled.at(NotificationEvent::scheduledStart), clock.now + 1h);
}

TEST_F(AppModelTest, UnreadableStateIsKeptAsideBeforeTheFirstSave)
{
    std::ofstream(stateFile()) << R"({"workflow_state": "Idle"})";
    const std::string damaged = fileContents(stateFile());
    // An earlier failure in the same second already used the plain name.
    std::ofstream(folder.path() / "state.unreadable-20260302T090000Z.json") << "older";

    auto model = makeModel();
    const QString loadError = model->lastError();
    EXPECT_TRUE(loadError.startsWith("Quillmere could not read its saved state: ")) << loadError.toStdString();
    EXPECT_TRUE(loadError.contains("workflow_state"));
    EXPECT_EQ(model->state().workflowState, WorkflowState::idle);
    EXPECT_EQ(fileContents(stateFile()), damaged) << "nothing is written at start-up";

    model->beginBlock();
    const auto kept = folder.path() / "state.unreadable-20260302T090000Z-2.json";
    EXPECT_EQ(fileContents(kept), damaged);
    EXPECT_EQ(fileContents(folder.path() / "state.unreadable-20260302T090000Z.json"), "older");
    EXPECT_EQ(fixtures::TempFolder::entries(folder.path()),
              (std::vector<std::string>{"agent-state.json", "state.json", "state.unreadable-20260302T090000Z-2.json",
                                        "state.unreadable-20260302T090000Z.json"}));
    EXPECT_EQ(savedState().workflowState, WorkflowState::blockPlanning);
    EXPECT_EQ(model->lastError(), loadError + ". The unreadable file was kept as " + QString::fromStdString(kept.string()) + ".");

    model->persist(); // later saves leave the kept file alone
    EXPECT_EQ(fileContents(kept), damaged);
}

TEST_F(AppModelTest, RefusedCommandChangesNothingAndWritesNothing)
{
    auto model = makeModel();
    model->setDueMessage("keep me");
    QSignalSpy stateChanges(model.get(), &AppModel::stateChanged);
    model->endFocus();
    EXPECT_EQ(model->lastError(), "This action is not available in the current workflow state.");
    EXPECT_EQ(model->dueMessage(), "keep me");
    EXPECT_TRUE(notifications->calls.empty());
    EXPECT_EQ(stateChanges.count(), 0);
    EXPECT_FALSE(std::filesystem::exists(stateFile()));

    model->beginBlock(); // a later success does not clear the error
    EXPECT_EQ(model->lastError(), "This action is not available in the current workflow state.");
    EXPECT_EQ(savedState().workflowState, WorkflowState::blockPlanning);
}

TEST_F(AppModelTest, ScheduleBlockArmsTheStartAndSaysWhen)
{
    auto model = makeModel();
    model->beginBlock();
    Block block = Block::defaultBlock(clock.now);
    model->scheduleBlock(block); // no start: refused by the engine
    EXPECT_TRUE(notifications->calls.empty());
    EXPECT_TRUE(model->dueMessage().isEmpty());

    block.plannedStart = clock.now + 2h;
    model->scheduleBlock(block);
    EXPECT_EQ(notifications->calls, (std::vector<Call>{{Call::Kind::schedule, NotificationEvent::scheduledStart, clock.now + 2h}}));
    const auto local = QDateTime::fromSecsSinceEpoch(std::chrono::floor<std::chrono::seconds>(clock.now + 2h).time_since_epoch().count());
    EXPECT_EQ(model->dueMessage(), "Block scheduled for " + QLocale::system().toString(local, QLocale::ShortFormat) + ".");

    model->editScheduledBlock(clock.now);
    EXPECT_EQ(notifications->calls.back(), (Call{Call::Kind::cancel, NotificationEvent::scheduledStart, std::nullopt}));
    EXPECT_TRUE(model->dueMessage().isEmpty());
}

TEST_F(AppModelTest, FocusDeadlinesFollowPauseAndResume)
{
    auto model = modelIn(WorkflowState::focusing);
    const Instant started = clock.now;
    EXPECT_EQ(notifications->scheduled.at(NotificationEvent::focusEnd), started + 1500s);
    clock.now += 100s;
    model->pauseOrResumeFocus();
    EXPECT_FALSE(notifications->scheduled.contains(NotificationEvent::focusEnd));
    EXPECT_TRUE(model->state().interruptible());
    clock.now += 60s;
    model->pauseOrResumeFocus();
    EXPECT_EQ(notifications->scheduled.at(NotificationEvent::focusEnd), clock.now + 1400s);
    model->endFocus();
    EXPECT_FALSE(notifications->scheduled.contains(NotificationEvent::focusEnd));
    EXPECT_EQ(savedState().workflowState, WorkflowState::sessionReview);
}

TEST_F(AppModelTest, BreakCommandsSetTheirNoticesAndDeadlines)
{
    auto model = modelIn(WorkflowState::breaking);
    const Instant breakStart = clock.now;
    EXPECT_EQ(notifications->scheduled.at(NotificationEvent::breakEnd), breakStart + 300s);
    model->extendBreak();
    EXPECT_EQ(notifications->scheduled.at(NotificationEvent::breakEnd), breakStart + 600s);
    model->skipBreak();
    EXPECT_FALSE(notifications->scheduled.contains(NotificationEvent::breakEnd));
    EXPECT_EQ(model->dueMessage(), "Break skipped. Focus starts only when you choose Start focus.");
    EXPECT_EQ(model->state().plannedNextSession->intendedOutcome, "second");
    model->startFocus(std::nullopt);
    EXPECT_TRUE(model->dueMessage().isEmpty());
}

TEST_F(AppModelTest, UpdateBreakDurationValidatesThenRetimesARunningBreak)
{
    auto model = makeModel();
    for (double bad : {0.0, -5.0, std::nan(""), std::numeric_limits<double>::infinity()}) {
        model->setLastError({});
        model->updateBreakDuration(bad, clock.now);
        EXPECT_EQ(model->lastError(), "Durations and the cycle count must be greater than zero.") << bad;
    }
    model->updateBreakDuration(600, clock.now);
    EXPECT_EQ(model->lastError(), "Start or schedule a block before this action.");
    EXPECT_FALSE(std::filesystem::exists(stateFile()));

    model = modelIn(WorkflowState::sessionPlanning);
    notifications->calls.clear();
    model->updateBreakDuration(420, clock.now + 5s);
    EXPECT_EQ(model->state().currentBlock->breakDurationSeconds, 420);
    EXPECT_EQ(savedState().updatedAt, clock.now + 5s);
    EXPECT_TRUE(notifications->calls.empty());

    model = modelIn(WorkflowState::breaking);
    const Instant breakStart = *model->state().breakStartedAt;
    model->extendBreak();
    clock.now += 700s;
    model->tick(clock.now); // signals the end of the extended break
    EXPECT_TRUE(model->state().breakEndNotifiedAt);
    model->updateBreakDuration(900, clock.now);
    EXPECT_FALSE(savedState().breakEndNotifiedAt);
    EXPECT_TRUE(model->dueMessage().isEmpty());
    EXPECT_EQ(notifications->scheduled.at(NotificationEvent::breakEnd), breakStart + 1200s);
}

TEST_F(AppModelTest, DraftsActOnlyInTheirPhase)
{
    auto model = makeModel();
    model->saveSessionPlanDraft(plan("too early"));
    model->saveBlockDraft(Block::defaultBlock(clock.now));
    EXPECT_FALSE(std::filesystem::exists(stateFile())) << "a draft in the wrong phase writes nothing";

    model = modelIn(WorkflowState::sessionReview);
    model->saveReviewDraft(review(), plan("next"));
    EXPECT_EQ(savedState().plannedNextSession->intendedOutcome, "next");
    clock.now += 3s;
    model->saveReviewDraft(review(), std::nullopt);
    EXPECT_FALSE(savedState().plannedNextSession);
    EXPECT_EQ(savedState().updatedAt, clock.now);
    EXPECT_TRUE(savedState().currentBlock->sessions.back().review);
}

TEST_F(AppModelTest, TypingIsWrittenOncePausedAndBeforeAnyOtherSave)
{
    auto model = makeModel(std::chrono::milliseconds(50));
    model->beginBlock();
    Block block = Block::defaultBlock(clock.now);
    block.whyValue = "typed";
    model->saveBlockDraft(block);
    EXPECT_EQ(model->state().currentBlock->whyValue, "typed") << "the state has it at once";
    EXPECT_FALSE(savedState().currentBlock) << "the file waits for a pause";
    EXPECT_TRUE(QTest::qWaitFor([&] { return savedState().currentBlock.has_value(); }, 2000));
    EXPECT_EQ(savedState().currentBlock->whyValue, "typed");
    EXPECT_FALSE(model->hasPendingSave());

    block.whyValue = "typed more";
    model->saveBlockDraft(block);
    model->startBlock(block); // a command's save carries the held-back draft
    EXPECT_FALSE(model->hasPendingSave());
    EXPECT_EQ(savedState().currentBlock->whyValue, "typed more");

    SessionPlan plan = SessionPlan::blank(Uuid::generate());
    plan.intendedOutcome = "last words";
    model->saveSessionPlanDraft(plan);
    model.reset(); // quitting writes what is held back
    EXPECT_EQ(savedState().plannedNextSession->intendedOutcome, "last words");
}


TEST_F(AppModelTest, QuestionsAreTrimmedOnlyToDecideWhetherToAdd)
{
    auto model = makeModel();
    model->addQuestion(" \n\t ");
    EXPECT_TRUE(model->state().agentQuestions.empty());
    EXPECT_FALSE(std::filesystem::exists(stateFile()));
    model->addQuestion("  Which branch?\n");
    ASSERT_EQ(savedState().agentQuestions.size(), 1u);
    EXPECT_EQ(savedState().agentQuestions[0].question, "  Which branch?\n");
    EXPECT_EQ(model->menuTitle(), "Quillmere ?1");
    model->answerQuestion(Uuid::generate(), "unknown");
    EXPECT_EQ(model->lastError(), "This action is not available in the current workflow state.");
    model->answerQuestion(model->state().agentQuestions[0].id, "main");
    EXPECT_EQ(savedState().agentQuestions[0].answer, "main");
    EXPECT_EQ(model->menuTitle(), "Quillmere");
}

// Views that follow one part of the state redraw on its signal alone: a
// signal missed leaves a view stale, one too many redraws years of history
// on a keystroke or a tick.
TEST_F(AppModelTest, EachCommandTellsExactlyThePartsItChanged)
{
    const auto at = [&](WorkflowState phase) {
        if (phase == WorkflowState::idle || phase == WorkflowState::blockPlanning) {
            std::filesystem::remove(stateFile());
            auto model = makeModel();
            if (phase == WorkflowState::blockPlanning) {
                model->beginBlock();
            }
            return model;
        }
        if (phase != WorkflowState::blockReview) {
            return modelIn(phase);
        }
        auto model = modelIn(WorkflowState::breaking);
        model->endBreak();
        model->startFocus(std::nullopt);
        model->endFocus();
        model->saveReview(review(), std::nullopt);
        return model;
    };
    using Command = std::function<void(AppModel&)>;
    struct Row {
        const char* name;
        WorkflowState from;
        Command command;
        // Of state, phase, currentBlock, history and questions.
        std::string fired;
        // Done before the signals are watched.
        Command prepare = nullptr;
    };
    const Row rows[] = {
        {"begin a block", WorkflowState::idle, [](AppModel& m) { m.beginBlock(); }, "state phase"},
        {"start the block", WorkflowState::blockPlanning,
         [&](AppModel& m) { m.startBlock(Block::defaultBlock(clock.now)); }, "state phase currentBlock"},
        {"a keystroke in the session plan", WorkflowState::sessionPlanning,
         [](AppModel& m) { m.saveSessionPlanDraft(plan("f")); }, "state currentBlock"},
        {"a draft saved unchanged", WorkflowState::breaking,
         [](AppModel& m) { m.saveSessionPlanDraft(*m.state().plannedNextSession); }, "state",
         [](AppModel& m) { m.endBreak(); }},
        {"start focus", WorkflowState::sessionPlanning, [](AppModel& m) { m.startFocus(plan("first")); },
         "state phase currentBlock"},
        {"pause focus", WorkflowState::focusing, [](AppModel& m) { m.pauseOrResumeFocus(); }, "state currentBlock"},
        {"end focus", WorkflowState::focusing, [](AppModel& m) { m.endFocus(); }, "state phase currentBlock"},
        {"save the review", WorkflowState::sessionReview, [](AppModel& m) { m.saveReview(review(), plan("second")); },
         "state phase currentBlock"},
        {"end the break", WorkflowState::breaking, [](AppModel& m) { m.endBreak(); }, "state phase currentBlock"},
        {"complete the block", WorkflowState::blockReview, [](AppModel& m) { m.completeBlock(BlockReview{}); },
         "state phase currentBlock history"},
        {"add a question", WorkflowState::focusing, [](AppModel& m) { m.addQuestion("Which branch?"); }, "state questions"},
        {"answer a question", WorkflowState::focusing,
         [](AppModel& m) { m.answerQuestion(m.state().agentQuestions.back().id, "main"); }, "state questions",
         [](AppModel& m) { m.addQuestion("Which branch?"); }},
        {"a program asks a question", WorkflowState::breaking,
         [](AppModel& m) { EXPECT_TRUE(m.askQuestion("Merge now?", "ci")); }, "state questions"},
        {"a tick with nothing due", WorkflowState::focusing, [&](AppModel& m) { m.tick(clock.now + 1s); }, ""},
        {"a tick at the end of focus", WorkflowState::focusing, [&](AppModel& m) { m.tick(clock.now + 1500s); },
         "state phase currentBlock"},
        {"the history editor", WorkflowState::sessionPlanning,
         [](AppModel& m) {
             m.editState(StatePart::history, [](QuillmereState& s) { s.blockHistory.front().whyValue = "typed"; });
         },
         "state history", [](AppModel& m) { m.editState([](QuillmereState& s) { s.blockHistory.resize(1); }); }},
        {"the current-block editor changing nothing", WorkflowState::sessionPlanning,
         [](AppModel& m) { m.editState(StatePart::currentBlock, [](QuillmereState&) {}); }, "state"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto model = at(row.from);
        if (row.prepare) {
            row.prepare(*model);
        }
        QSignalSpy state(model.get(), &AppModel::stateChanged);
        QSignalSpy phase(model.get(), &AppModel::phaseChanged);
        QSignalSpy currentBlock(model.get(), &AppModel::currentBlockChanged);
        QSignalSpy history(model.get(), &AppModel::historyChanged);
        QSignalSpy questions(model.get(), &AppModel::questionsChanged);
        row.command(*model);
        std::string fired;
        for (const auto& [name, spy] : {std::pair<const char*, QSignalSpy*>{"state", &state},
                                        {"phase", &phase},
                                        {"currentBlock", &currentBlock},
                                        {"history", &history},
                                        {"questions", &questions}}) {
            EXPECT_LE(spy->count(), 1) << name;
            if (spy->count() > 0) {
                fired += (fired.empty() ? "" : " ") + std::string(name);
            }
        }
        EXPECT_EQ(fired, row.fired);
    }
}

TEST_F(AppModelTest, ShowMainWindowBuildsOneController)
{
    auto model = makeModel();
    model->showMainWindow();
    model->showMainWindow();
    EXPECT_EQ(windowsBuilt, 1);
    EXPECT_EQ(windowsPresented, 2);
}

TEST_F(AppModelTest, ObservableFieldsNotifyOnlyOnChange)
{
    auto model = makeModel();
    QSignalSpy due(model.get(), &AppModel::dueMessageChanged);
    QSignalSpy tab(model.get(), &AppModel::selectedTabChanged);
    model->setDueMessage("a");
    model->setDueMessage("a");
    model->setSelectedTab(MainWindowTab::history);
    model->setSelectedTab(MainWindowTab::history);
    EXPECT_EQ(due.count(), 1);
    EXPECT_EQ(tab.count(), 1);
    EXPECT_EQ(model->property("selectedTab").value<MainWindowTab>(), MainWindowTab::history);
}

TEST_F(AppModelTest, ARunningCountdownIsOfferedToTheWidgetUnchangedWhateverTheTicksFraction)
{
    // A real clock: the focus starts at a fraction of a second, and the ticks
    // come at other fractions, drifting as timers do.
    clock.now += 730ms;
    for (const bool paused : {false, true}) {
        SCOPED_TRACE(paused ? "paused" : "running");
        auto model = modelIn(WorkflowState::focusing);
        if (paused) {
            model->pauseOrResumeFocus();
        }
        const Instant started = clock.now;
        model->tick(started + 1s + 20ms);
        const WidgetSnapshot first = widgets->published.back();
        ASSERT_TRUE(first.countdown);
        for (const auto offset : {2s + 310ms, 3s + 990ms, 5s + 5ms, 6s + 480ms, 61s + 999ms}) {
            model->tick(started + offset);
            const WidgetSnapshot& offered = widgets->published.back();
            EXPECT_EQ(offered.countdown->endsAt, first.countdown->endsAt);
            EXPECT_EQ(offered.countdown->startedAt, first.countdown->startedAt);
            // So the widget host is not asked to reload.
            EXPECT_FALSE(WidgetPublisher::rendersDifferently(offered, first));
        }
        EXPECT_EQ(model->state().currentBlock->sessions.back().startedAt, fixtures::wholeSeconds(started));
    }
}

TEST_F(AppModelTest, TickLeavesStateFileAloneUntilSomethingHappens)
{
    auto model = modelIn(WorkflowState::focusing);
    const Instant started = clock.now;
    const std::string before = fileContents(stateFile());
    model->setDueMessage({});
    model->tick(started + 1499s);
    EXPECT_EQ(fileContents(stateFile()), before);
    EXPECT_TRUE(model->dueMessage().isEmpty());
    EXPECT_EQ(model->timerText(), "00:01");
    EXPECT_EQ(decodeAgentSnapshot(fileContents(folder.path() / "agent-state.json"))->remainingSeconds, 1);
    EXPECT_EQ(widgets->published.back().updatedAt, started + 1499s);

    model->tick(started + 1500s);
    EXPECT_EQ(model->dueMessage(), "Focus ended. Review the session before you continue.");
    EXPECT_EQ(notifications->calls.back(), (Call{Call::Kind::cancel, NotificationEvent::focusEnd, std::nullopt}));
    EXPECT_EQ(savedState().workflowState, WorkflowState::sessionReview);

    model->setDueMessage({});
    const std::string after = fileContents(stateFile());
    model->tick(started + 1501s);
    EXPECT_TRUE(model->dueMessage().isEmpty());
    EXPECT_EQ(fileContents(stateFile()), after);
}

TEST_F(AppModelTest, FailedSaveKeepsTheChangeAndReportsIt)
{
    auto model = makeModel();
    model->beginBlock();
    std::filesystem::remove_all(folder.path());
    std::ofstream(folder.path()) << "a file where the folder was";
    model->startBlock(Block::defaultBlock(clock.now));
    EXPECT_EQ(model->state().workflowState, WorkflowState::sessionPlanning);
    EXPECT_TRUE(model->lastError().contains("Could not create the folder")) << model->lastError().toStdString();
    const auto publishedBefore = widgets->published.size();
    model->tick(clock.now + 1s);
    EXPECT_EQ(widgets->published.size(), publishedBefore + 1) << "the widget shows the state in memory";
    EXPECT_EQ(widgets->published.back().phase, WidgetPhase::planning);
    std::filesystem::remove(folder.path());
    std::filesystem::create_directory(folder.path());
}

TEST_F(AppModelTest, TimerTextAndMenuTitle)
{
    auto model = modelIn(WorkflowState::breaking);
    const Instant breakStart = *model->state().breakStartedAt;
    EXPECT_EQ(model->menuTitle(), "05:00");
    model->tick(breakStart + 359s);
    EXPECT_EQ(model->timerText(), "+00:59");
    model->addQuestion("a");
    model->addQuestion("b");
    model->addQuestion("c");
    model->tick(breakStart);
    EXPECT_EQ(model->menuTitle(), "05:00 ?3");
    model->endBreak();
    EXPECT_EQ(model->timerText(), std::nullopt);
    EXPECT_EQ(model->menuTitle(), "Session plan ?3");
    EXPECT_EQ(model->phase(), WidgetPhase::planning);
}

// Each of these once ended the application with an uncaught filesystem_error
// (SIGABRT, no window) or blocked it before its window appeared.
TEST_F(AppModelTest, StartUp_AHostileStatePathIsShownInTheAlertNotACrashOrAHang)
{
    clock.now += 370ms;
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"link to itself", [&] { std::filesystem::create_symlink("state.json", stateFile()); }},
        {"named pipe", [&] { ASSERT_EQ(::mkfifo(stateFile().c_str(), 0600), 0); }},
        {"folder", [&] { std::filesystem::create_directory(stateFile()); }},
    };
    for (const auto& [name, make] : cases) {
        SCOPED_TRACE(name);
        std::filesystem::remove(stateFile());
        make();
        auto model = makeModel();
        EXPECT_TRUE(model->lastError().startsWith("Quillmere could not read its saved state: ")) << str(model->lastError());
        EXPECT_TRUE(model->lastError().contains(QString::fromStdString(stateFile().string())));
        EXPECT_EQ(model->state().workflowState, WorkflowState::idle);

        // The first save moves what was there aside, whatever it is.
        model->beginBlock();
        const auto kept = keptFile("unreadable");
        ASSERT_TRUE(kept);
        EXPECT_EQ(savedState().workflowState, WorkflowState::blockPlanning);
        std::filesystem::remove_all(*kept);
    }
}

TEST_F(AppModelTest, StartUp_AFolderWithoutAccessIsShownInTheAlert)
{
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root reads a folder without permissions";
    }
    ::chmod(folder.path().c_str(), 0);
    auto model = makeModel();
    ::chmod(folder.path().c_str(), 0700);
    EXPECT_TRUE(model->lastError().contains("Permission denied")) << str(model->lastError());
}

TEST_F(AppModelTest, StartUp_AStateWithNoWayOnIsKeptAsideAndTheUserStartsClean)
{
    QuillmereState stuck = fixtures::everyOptionalAbsent();
    stuck.workflowState = WorkflowState::focusing; // without a current block
    writeState(stuck);
    const std::string bytes = fileContents(stateFile());
    auto model = makeModel();
    EXPECT_TRUE(model->lastError().contains("needs a current block")) << str(model->lastError());
    EXPECT_EQ(model->state().workflowState, WorkflowState::idle);
    EXPECT_FALSE(model->timerText());
    model->beginBlock();
    ASSERT_TRUE(keptFile("unreadable"));
    EXPECT_EQ(fileContents(*keptFile("unreadable")), bytes);
}

TEST_F(AppModelTest, MembersOfANewerVersionAreCopiedBeforeTheFirstSaveAndToldOnce)
{
    writeState(fixtures::everyOptionalPresent());
    std::string bytes = fileContents(stateFile());
    bytes.insert(bytes.find('{') + 1, "\n  \"future_feature\": true,");
    std::ofstream(stateFile()) << bytes;

    auto model = makeModel();
    EXPECT_TRUE(model->lastError().isEmpty()) << "the state itself loaded";
    EXPECT_TRUE(model->dueMessage().isEmpty()) << "nothing is lost before a save";
    EXPECT_EQ(fileContents(stateFile()), bytes);

    model->extendBreak();
    const auto kept = keptFile("backup");
    ASSERT_TRUE(kept);
    EXPECT_EQ(fileContents(*kept), bytes);
    EXPECT_EQ(kept->filename(), "state.backup-20260302T090000Z.json");
    EXPECT_TRUE(model->dueMessage().contains("future_feature"));
    EXPECT_TRUE(model->dueMessage().contains(QString::fromStdString(kept->string())));
    EXPECT_EQ(savedState().breakExtensionSeconds, 60.25 + 300);

    model->setDueMessage({});
    model->extendBreak(); // only the first save keeps a copy
    EXPECT_TRUE(model->dueMessage().isEmpty());
    EXPECT_EQ(fixtures::TempFolder::entries(folder.path()).size(), 3u);
}

// A disk that filled up as a focus ended: the end was kept in memory, never
// written until the next command, and recorded at the restart's time; the
// alert reopened every second and named a hidden temporary file.
TEST_F(AppModelTest, AFailedSaveOnTheTickIsRetriedWithBackOffUntilItLands)
{
    clock.now += 370ms;
    auto model = modelIn(WorkflowState::focusing);
    const Instant ends = clock.now + 1500s;
    failingSaves = std::errc::no_space_on_device;

    clock.now = ends;
    model->tick(ends);
    EXPECT_EQ(model->state().workflowState, WorkflowState::sessionReview);
    EXPECT_EQ(savedState().workflowState, WorkflowState::focusing) << "the old file stays whole";
    EXPECT_EQ(failedStateSaves, 1);
    const QString alert = model->lastError();
    EXPECT_TRUE(alert.contains("state.json")) << str(alert);
    EXPECT_TRUE(alert.contains("No space left on device"));
    EXPECT_FALSE(alert.contains(".tmp"));
    EXPECT_TRUE(model->hasPendingSave());

    // Retried after 1, 2, 4, 8 ... seconds, never in a tight loop.
    std::vector<int> triedAt;
    for (int second = 1; second <= 40; ++second) {
        const int before = failedStateSaves;
        clock.now = ends + std::chrono::seconds(second) + 120ms;
        model->tick(clock.now);
        if (failedStateSaves > before) {
            triedAt.push_back(second);
        }
        if (second == 1) {
            model->setLastError({}); // dismissed: not reopened while the trouble lasts
        }
    }
    EXPECT_EQ(triedAt, (std::vector<int>{1, 3, 7, 15, 31}));
    EXPECT_TRUE(model->lastError().isEmpty());

    failingSaves.reset();
    clock.now = ends + 63s + 120ms;
    model->tick(clock.now);
    ASSERT_EQ(savedState().workflowState, WorkflowState::sessionReview);
    EXPECT_EQ(savedState().currentBlock->sessions.back().endedAt, fixtures::wholeSeconds(ends))
        << "the end is recorded when it happened";
    EXPECT_FALSE(model->hasPendingSave());
}

TEST_F(AppModelTest, TheSaveAlertIsUpdatedInPlaceAndClosesWhenSavingWorksAgain)
{
    auto model = modelIn(WorkflowState::focusing);
    QSignalSpy errors(model.get(), &AppModel::lastErrorChanged);
    failingSaves = std::errc::no_space_on_device;
    agentFileFails = true;
    const auto tickAt = [&](std::chrono::milliseconds after) {
        clock.now += after;
        model->tick(clock.now);
    };
    model->persist();
    tickAt(1s);
    tickAt(1s);
    EXPECT_EQ(errors.count(), 1) << "one alert for the trouble, not one a second";
    EXPECT_TRUE(model->lastError().contains("No space left on device"));

    failingSaves = std::errc::io_error;
    tickAt(1s); // the second retry
    EXPECT_EQ(errors.count(), 2);
    EXPECT_TRUE(model->lastError().contains("Input/output error")) << "the open alert follows the trouble";

    failingSaves.reset();
    tickAt(4s);
    EXPECT_TRUE(model->lastError().isEmpty()) << "the alert goes once both files are written";
    EXPECT_FALSE(model->hasPendingSave());
}

TEST_F(AppModelTest, OnlyTheAgentFileFailingIsToldOnceWithoutATemporaryName)
{
    auto model = modelIn(WorkflowState::focusing);
    QSignalSpy errors(model.get(), &AppModel::lastErrorChanged);
    failingSaves = std::errc::no_space_on_device;
    agentFileFails = true;
    for (int second = 1; second <= 5; ++second) {
        model->tick(clock.now + std::chrono::seconds(second));
        model->setLastError({});
    }
    failingSaves.reset();
    EXPECT_EQ(errors.count(), 2) << "shown and dismissed once";
    model->tick(clock.now + 6s);
    EXPECT_EQ(decodeAgentSnapshot(fileContents(folder.path() / "agent-state.json"))->updatedAt, clock.now + 6s);
}

TEST_F(AppModelTest, AClockSetBackKeepsTheRunningFocusWhereItWas)
{
    std::chrono::nanoseconds real = 5h + 250ms;
    elapsed = [&] { return real; };
    clock.now += 370ms;
    auto model = modelIn(WorkflowState::focusing);
    const Instant started = clock.now;
    const auto advance = [&](std::chrono::nanoseconds by) {
        clock.now += by;
        real += by;
        model->tick(clock.now);
    };
    advance(60s);
    EXPECT_EQ(model->timerText(), "24:00");

    // The user sets the clock back an hour: one second passes, the clock says
    // fifty-nine minutes less.
    clock.now -= 1h;
    advance(1s);
    EXPECT_EQ(model->timerText(), "23:59");
    EXPECT_EQ(savedState().currentBlock->sessions.back().startedAt, fixtures::wholeSeconds(started - 1h));
    EXPECT_EQ(notifications->scheduled.at(NotificationEvent::focusEnd), fixtures::wholeSeconds(clock.now) + 1439s);

    // Forward too, and a pause keeps its length.
    model->pauseOrResumeFocus();
    advance(30s);
    clock.now += 2h;
    advance(1s);
    model->pauseOrResumeFocus();
    EXPECT_EQ(model->timerText(), "23:59");
    EXPECT_EQ(model->state().currentBlock->sessions.back().accumulatedPausedSeconds, 31);

    // Time that really passes while the computer sleeps still counts.
    advance(10min);
    EXPECT_EQ(model->timerText(), "13:59");
    advance(14min);
    EXPECT_EQ(savedState().workflowState, WorkflowState::sessionReview);
}

// Written in the background, the newest state still wins on disk, a save
// stuck on a slow disk holds up neither the agents' file nor the user, and a
// failure reaches the alert.
TEST_F(AppModelTest, BackgroundWritesLandInOrderAndTheAgentFileNeverWaitsForASave)
{
    writeInBackground = true;
    auto model = makeModel();
    const auto agentFile = folder.path() / "agent-state.json";

    holdStateSaves();
    model->beginBlock();
    Block block = Block::defaultBlock(clock.now);
    for (int edit = 1; edit <= 20; ++edit) {
        block.whyValue = "Reason " + std::to_string(edit);
        model->saveBlockDraft(block);
    }
    model->tick(clock.now + 1s);
    EXPECT_TRUE(QTest::qWaitFor([&] { return fileContents(agentFile).find("Reason 20") != std::string::npos; }))
        << "the agents' file waited behind the stuck save";
    EXPECT_TRUE(model->hasPendingSave());
    EXPECT_FALSE(std::filesystem::exists(stateFile()));

    releaseStateSaves();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !model->hasPendingSave(); }));
    EXPECT_EQ(savedState(), model->state());
    EXPECT_EQ(savedState().currentBlock->whyValue, "Reason 20");

    // Finishing the writes, as before quitting, also notes what they met.
    failingSaves = std::errc::io_error;
    model->persist();
    model->finishWriting();
    EXPECT_TRUE(model->lastError().startsWith("Quillmere could not save your work")) << model->lastError().toStdString();
    EXPECT_TRUE(model->hasPendingSave()) << "a failed save is retried";

    failingSaves.reset();
    model->tick(clock.now + 3s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->lastError().isEmpty(); }));
    model->finishWriting();
    EXPECT_EQ(savedState(), model->state());
}

} // namespace
} // namespace quillmere
