// SPDX-License-Identifier: GPL-3.0-or-later
#include "UiTestSupport.h"
#include "TimerDial.h"
#include "forms/FormComponents.h"
#include "workcycle/BlockPlanningView.h"
#include "workcycle/FocusView.h"
#include "workcycle/IdleView.h"
#include "workcycle/SessionReviewView.h"
#include "workcycle/WorkflowView.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QScrollArea>
#include <QVBoxLayout>

namespace quillmere {
namespace {

using namespace std::chrono_literals;
using namespace uitest;

// The work cycle tab on its own, in an active window.
class WorkflowScreens : public ::testing::Test {
protected:
    WorkflowScreens()
    {
        // As in the main window: the screen scrolls when it is taller.
        auto* layout = new QVBoxLayout(&window);
        auto* scroll = new QScrollArea(&window);
        scroll->setWidgetResizable(true);
        view = new WorkflowView(model());
        scroll->setWidget(view);
        layout->addWidget(scroll);
        showActive(window);
    }

    AppModel& model() { return *harness.model; }
    const QuillmereState& state() { return harness.model->state(); }
    QWidget* screen() { return view->screen(); }

    void shortcut(int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
    {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &window;
        QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
        // A button's shortcut animates the press before it clicks.
        QTest::qWait(150);
    }

    QPlainTextEdit* prose(const QString& label) { return findNamed<QPlainTextEdit>(screen(), label); }
    QLineEdit* line(const QString& label) { return findNamed<QLineEdit>(screen(), label); }

    ModelHarness harness;
    QWidget window;
    WorkflowView* view = nullptr;
};

TEST_F(WorkflowScreens, TwoCycleBlockAsAUserRunsIt)
{
    ASSERT_NE(button(screen(), "Plan a new work block"), nullptr);
    shortcut(Qt::Key_N);
    ASSERT_EQ(state().workflowState, WorkflowState::blockPlanning);
    EXPECT_NE(dynamic_cast<BlockPlanningView*>(screen()), nullptr);

    // Prepare the block: every keystroke is kept as a draft.
    type(line("Hoped-for outcome 1"), "Ship the parser");
    type(prose("Why this block is valuable"), "Unblocks the release");
    auto* sessions = findNamed<QSpinBox>(screen(), "Sessions");
    ASSERT_NE(sessions, nullptr);
    sessions->setFocus();
    sessions->selectAll();
    QTest::keyClicks(sessions, "2");
    ASSERT_TRUE(state().currentBlock);
    EXPECT_EQ(state().currentBlock->outcomes[0].title, "Ship the parser");
    EXPECT_EQ(state().currentBlock->whyValue, "Unblocks the release");
    EXPECT_EQ(state().currentBlock->cycleCount, 2);
    EXPECT_EQ(button(screen(), "Continue to first session plan"), static_cast<BlockPlanningView*>(screen())->primaryButton());

    shortcut(Qt::Key_Return); // from the sessions stepper
    ASSERT_EQ(state().workflowState, WorkflowState::sessionPlanning);
    EXPECT_TRUE(visibleTexts(screen()).contains("Plan session 1"));

    // Plan the first session; Return moves on, Ctrl+Return starts focus.
    type(prose("Intended outcome"), "Lexer");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), line("First action"));
    type(line("First action"), "Open lexer.cpp");
    EXPECT_EQ(state().plannedNextSession->firstAction, "Open lexer.cpp");
    click(screen(), "Start focus");
    ASSERT_EQ(state().workflowState, WorkflowState::focusing);
    EXPECT_EQ(state().currentSession()->plan.intendedOutcome, "Lexer");
    auto* focus = dynamic_cast<FocusView*>(screen());
    ASSERT_NE(focus, nullptr);
    EXPECT_EQ(focus->timer()->time(), "25:00");
    EXPECT_EQ(focus->timer()->accessibleName(), "Focus timer 25:00");
    EXPECT_TRUE(visibleTexts(screen()).contains("Lexer"));
    EXPECT_TRUE(visibleTexts(screen()).contains("Not set")); // hazards left blank

    harness.clock.now += 90s;
    model().tick(harness.clock.now);
    EXPECT_EQ(focus->timer()->time(), "23:30");
    shortcut(Qt::Key_P);
    EXPECT_TRUE(state().currentSession()->pausedAt);
    EXPECT_NE(button(screen(), "Resume"), nullptr);
    shortcut(Qt::Key_P);
    EXPECT_FALSE(state().currentSession()->pausedAt);
    shortcut(Qt::Key_E);
    ASSERT_EQ(state().workflowState, WorkflowState::sessionReview);

    // Review with the next plan.
    auto* review = dynamic_cast<SessionReviewView*>(screen());
    ASSERT_NE(review, nullptr);
    EXPECT_FALSE(review->isFinal());
    type(prose("Noteworthy result"), "Tokens done");
    type(prose("Intended outcome"), "Parser");
    EXPECT_EQ(state().currentSession()->review->noteworthyResult, "Tokens done");
    EXPECT_EQ(state().plannedNextSession->intendedOutcome, "Parser");
    shortcut(Qt::Key_Return);
    ASSERT_EQ(state().workflowState, WorkflowState::breaking);
    EXPECT_EQ(state().currentBlock->sessions[0].review->completion, CompletionResult::half);

    // The break: extend, then skip; focus waits for the user.
    EXPECT_TRUE(visibleTexts(screen()).contains("Parser"));
    click(screen(), "Extend five minutes");
    EXPECT_EQ(state().breakExtensionSeconds, 300);
    shortcut(Qt::Key_S);
    ASSERT_EQ(state().workflowState, WorkflowState::sessionPlanning);
    EXPECT_TRUE(visibleTexts(screen()).contains("Plan session 2"));
    EXPECT_EQ(prose("Intended outcome")->toPlainText(), "Parser");
    click(screen(), "Start focus");
    ASSERT_EQ(state().workflowState, WorkflowState::focusing);
    EXPECT_EQ(state().currentSession()->number, 2);
    click(screen(), "End early");

    // The last review offers the reflection and no next plan.
    review = dynamic_cast<SessionReviewView*>(screen());
    ASSERT_NE(review, nullptr);
    EXPECT_TRUE(review->isFinal());
    EXPECT_EQ(button(screen(), "Save a blank next plan and start break"), nullptr);
    EXPECT_EQ(prose("Intended outcome"), nullptr);
    EXPECT_NE(button(screen(), "Continue to block reflection"), nullptr);
    shortcut(Qt::Key_Return);
    ASSERT_EQ(state().workflowState, WorkflowState::blockReview);
    EXPECT_FALSE(state().plannedNextSession);

    type(prose("Output produced"), "A parser");
    EXPECT_EQ(state().currentBlock->reflection->outputProduced, "A parser");
    click(screen(), "Complete block");
    ASSERT_EQ(state().workflowState, WorkflowState::idle);
    ASSERT_EQ(state().blockHistory.size(), 1u);
    EXPECT_EQ(state().blockHistory[0].reflection->outputProduced, "A parser");
    EXPECT_NE(dynamic_cast<IdleView*>(screen()), nullptr);
    EXPECT_TRUE(model().lastError().isEmpty()) << model().lastError().toStdString();
}

TEST(BlockScheduleDraft, SwitchKeepsThePickedStart)
{
    const Instant t = utcInstant(2026, 3, 2, 9);
    BlockScheduleDraft draft = BlockScheduleDraft::make(Block::defaultBlock(t), t + 300s);
    EXPECT_FALSE(draft.scheduleForLater);
    EXPECT_EQ(draft.scheduledStart, t + 300s);
    draft.setScheduleForLater(true);
    draft.setScheduledStart(t + 2h);
    EXPECT_EQ(draft.block.plannedStart, t + 2h);
    draft.setScheduleForLater(false);
    EXPECT_FALSE(draft.block.plannedStart);
    draft.setScheduledStart(t + 3h); // picked while off: kept for later
    EXPECT_FALSE(draft.block.plannedStart);
    draft.setScheduleForLater(true);
    EXPECT_EQ(draft.block.plannedStart, t + 3h);

    Block scheduled = Block::defaultBlock(t);
    scheduled.plannedStart = t + 1h;
    EXPECT_TRUE(BlockScheduleDraft::make(scheduled, t + 300s).scheduleForLater);
    EXPECT_EQ(BlockScheduleDraft::make(scheduled, t + 300s).scheduledStart, t + 1h);
}

TEST_F(WorkflowScreens, SchedulingFromTheScreenProposesFiveMinutesAheadAndSchedules)
{
    model().beginBlock();
    QApplication::processEvents(); // let the new screen lay itself out before clicking
    auto* planning = dynamic_cast<BlockPlanningView*>(screen());
    ASSERT_NE(planning, nullptr);
    EXPECT_EQ(planning->draft().scheduledStart, harness.clock.now + 300s);
    QAbstractButton* later = button(screen(), "Schedule for later");
    ASSERT_NE(later, nullptr);
    clickVisible(later);
    EXPECT_EQ(state().currentBlock->plannedStart, harness.clock.now + 300s) << "the switch is saved as a draft";
    auto* start = screen()->findChild<QDateTimeEdit*>();
    start->setDateTime(start->dateTime().addSecs(3600));
    const auto picked = *state().currentBlock->plannedStart;
    clickVisible(later);
    EXPECT_FALSE(state().currentBlock->plannedStart);
    clickVisible(later);
    EXPECT_EQ(state().currentBlock->plannedStart, picked);
    click(screen(), "Schedule block");
    EXPECT_EQ(state().workflowState, WorkflowState::idle);

    // The idle screen now offers the scheduled block's actions.
    EXPECT_EQ(button(screen(), "Plan a new work block"), nullptr);
    EXPECT_TRUE(visibleTexts(screen()).contains("Block scheduled"));
    click(screen(), "Edit schedule");
    EXPECT_EQ(state().workflowState, WorkflowState::blockPlanning);
    EXPECT_TRUE(dynamic_cast<BlockPlanningView*>(screen())->draft().scheduleForLater);
}

TEST_F(WorkflowScreens, BlankPlanButtonsIgnoreWhatWasTyped)
{
    model().beginBlock();
    Block block = Block::defaultBlock(harness.clock.now);
    block.cycleCount = 2;
    model().startBlock(block);
    type(prose("Intended outcome"), "typed");
    click(screen(), "Start focus with a blank session plan");
    EXPECT_EQ(state().currentSession()->plan.intendedOutcome, "");
    EXPECT_TRUE(visibleTexts(screen()).contains("Blank"));
    model().endFocus();
    type(prose("Intended outcome"), "edited next plan");
    click(screen(), "Save a blank next plan and start break");
    ASSERT_EQ(state().workflowState, WorkflowState::breaking);
    EXPECT_EQ(state().plannedNextSession->intendedOutcome, "");
    EXPECT_TRUE(visibleTexts(screen()).contains("Blank plan"));
}

TEST_F(WorkflowScreens, PhaseOutsideTheCycleShowsIdleAndTimerFallsBackToZero)
{
    QuillmereState complete = QuillmereState::initial(harness.clock.now);
    complete.workflowState = WorkflowState::complete;
    harness.model->editState([&](QuillmereState& s) { s = complete; });
    EXPECT_NE(dynamic_cast<IdleView*>(screen()), nullptr);

    // A focusing state without a session has no timer: the screen shows zero.
    harness.model->editState([&](QuillmereState& s) {
        s.workflowState = WorkflowState::focusing;
        s.currentBlock = Block::defaultBlock(harness.clock.now);
    });
    auto* focus = dynamic_cast<FocusView*>(screen());
    ASSERT_NE(focus, nullptr);
    EXPECT_EQ(focus->timer()->time(), "00:00");
    EXPECT_NE(button(screen(), "Pause"), nullptr);
}

TEST_F(WorkflowScreens, SessionPlanningWithoutABlockShowsOnlyTheTitle)
{
    harness.model->editState([](QuillmereState& s) { s.workflowState = WorkflowState::sessionPlanning; });
    EXPECT_TRUE(visibleTexts(screen()).contains("Plan session 1"));
    EXPECT_EQ(button(screen(), "Start focus"), nullptr);
    EXPECT_EQ(prose("Intended outcome"), nullptr);
}

TEST_F(WorkflowScreens, ALongPlanIsShownCutWhileTheStateKeepsItWhole)
{
    const std::string huge = "Start " + std::string(1'000'000, 'x');
    SessionPlan plan = SessionPlan::blank(Uuid::generate());
    plan.intendedOutcome = plan.firstAction = plan.hazardsMitigation = plan.nicuFraming = huge;
    model().beginBlock();
    Block block = Block::defaultBlock(harness.clock.now);
    block.cycleCount = 2;
    model().startBlock(block);
    const std::pair<const char*, std::function<void()>> screens[] = {
        {"focus", [&] { model().startFocus(plan); }},
        {"break",
         [&] {
             model().endFocus();
             model().saveReview(SessionReview{Uuid::generate(), CompletionResult::yes, "", "", ""}, plan);
         }},
    };
    const QString cut = shownText(huge);
    for (const auto& [name, reach] : screens) {
        SCOPED_TRACE(name);
        reach();
        EXPECT_TRUE(visibleTexts(screen()).contains(cut));
        for (const QLabel* label : screen()->findChildren<QLabel*>()) {
            EXPECT_LE(label->text().size(), cut.size());
            EXPECT_LE(label->accessibleName().size(), cut.size() + 20); // "First action: " before the value
        }
    }
    EXPECT_EQ(state().currentSession()->plan.intendedOutcome, huge);
    EXPECT_EQ(state().plannedNextSession->firstAction, huge);
}

TEST_F(WorkflowScreens, ATickRepaintsTheTimerWithoutLayingOutTheScreen)
{
    model().beginBlock();
    model().startBlock(Block::defaultBlock(harness.clock.now));
    model().startFocus(SessionPlan::blank(Uuid::generate()));
    // The planning screen goes, and the focus screen settles: each layout
    // pass may ask for one more, a level further up.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QTest::qWait(50);
    auto* focus = dynamic_cast<FocusView*>(screen());
    ASSERT_NE(focus, nullptr);

    LayoutRequests requests(&window);
    for (int second = 1; second <= 3; ++second) {
        harness.clock.now += 1s;
        model().tick(harness.clock.now);
        QApplication::processEvents();
    }
    EXPECT_EQ(focus->timer()->time(), "24:57");
    EXPECT_EQ(requests.count, 0);
}

} // namespace
} // namespace quillmere
