// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/MenuBarPopover.h"
#include "panel/BlockProgress.h"
#include "panel/PopoverField.h"

#include "Look.h"

#include "ModelFakes.h"
#include "TempFolder.h"
#include "UiTestSupport.h"

#include "quillmere/TextLimits.h"

#include <QApplication>
#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

// Readable failure messages for the texts compared below.
void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace quillmere {
namespace {

using namespace std::chrono_literals;

qint64 utcSeconds(Instant instant)
{
    return std::chrono::duration_cast<std::chrono::seconds>(instant.time_since_epoch()).count();
}

// Where a test puts the model before it looks at the panel.
enum class Stage {
    idleEmpty,
    blockPlanning,
    scheduled,
    sessionPlanning,
    focusing,
    sessionReview,
    breaking,
    blockReview,
    complete,
};

class MenuBarPopoverTest : public ::testing::Test {
protected:
    // A real model on a temporary folder with its panel, driven to `stage`
    // through the model's own commands after the panel exists, so that the
    // panel has to follow the model's signals.
    void start(Stage stage, std::int64_t cycles = 2)
    {
        popover.reset();
        model.reset();
        std::filesystem::remove(folder.path() / "state.json");
        AppModel::Collaborators collaborators{
            std::make_unique<fakes::RecordingNotifications>(), std::make_unique<fakes::RecordingPublisher>(),
            clock.function(), [this](AppModel&) { return std::make_unique<fakes::CountingWindow>(windowsPresented); }};
        model = std::make_unique<AppModel>(StateStore(folder.path(), clock.function()), std::move(collaborators),
                                           clock.now, false);
        MenuBarPopover::Hooks hooks{[this] { ++activations; }, [this] { ++quits; }, [this] { return panelNow; }};
        popover = std::make_unique<MenuBarPopover>(*model, nullptr, std::move(hooks));
        drive(stage, cycles);
        windowsPresented = 0;
    }

    void drive(Stage stage, std::int64_t cycles)
    {
        if (stage == Stage::idleEmpty) {
            return;
        }
        model->beginBlock();
        Block block = Block::defaultBlock(clock.now);
        block.cycleCount = stage == Stage::blockReview || stage == Stage::complete ? 1 : cycles;
        if (stage == Stage::blockPlanning) {
            return;
        }
        if (stage == Stage::scheduled) {
            block.plannedStart = clock.now + 2h;
            model->scheduleBlock(block);
            return;
        }
        model->startBlock(block);
        if (stage == Stage::sessionPlanning) {
            return;
        }
        model->startFocus(plan("Draft the parser", "Open the grammar file"));
        if (stage == Stage::focusing) {
            return;
        }
        model->endFocus();
        if (stage == Stage::sessionReview) {
            return;
        }
        model->saveReview(review(), plan("Write the tests", ""));
        if (stage == Stage::complete) {
            // Completing the reflection files the block and returns to idle;
            // only a state written by hand stands in `complete`.
            model->editState([](QuillmereState& state) { state.workflowState = WorkflowState::complete; });
        }
    }

    static SessionReview review() { return {Uuid::generate(), CompletionResult::yes, "done", "", ""}; }

    static SessionPlan plan(const std::string& outcome, const std::string& firstAction)
    {
        SessionPlan plan = SessionPlan::blank(Uuid::generate());
        plan.intendedOutcome = outcome;
        plan.firstAction = firstAction;
        return plan;
    }

    // The buttons of the rebuilt sections the user can see, in order.
    QStringList sectionButtons() const
    {
        QStringList texts;
        for (const QPushButton* button : popover->sections()->findChildren<QPushButton*>()) {
            if (button->isVisibleTo(popover.get())) {
                texts.append(button->text());
            }
        }
        return texts;
    }

    QPushButton* button(const QString& text) const
    {
        for (QPushButton* button : popover->findChildren<QPushButton*>()) {
            if (button->text() == text && button->isVisibleTo(popover.get())) {
                return button;
            }
        }
        return nullptr;
    }

    // The header's parts, as the panel shows them.
    QString timerText() const { return popover->findChild<QLabel*>("timer")->text(); }
    QString caption() const { return popover->findChild<QLabel*>("caption")->text(); }
    bool showsTimer() const { return popover->findChild<QWidget*>("timerSection")->isVisibleTo(popover.get()); }
    bool showsPausedMarker() const
    {
        return showsTimer() && popover->findChild<QWidget*>("pausedMarker")->isVisibleTo(popover.get());
    }

    std::vector<std::pair<QString, QString>> fields() const
    {
        std::vector<std::pair<QString, QString>> result;
        for (const PopoverField* field : popover->sections()->findChildren<PopoverField*>()) {
            result.emplace_back(field->label(), field->value());
        }
        return result;
    }

    BlockProgress* progress() const { return popover->sections()->findChild<BlockProgress*>(); }

    void showActive()
    {
        popover->show();
        popover->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(popover.get()));
    }

    fixtures::TempFolder folder;
    fakes::FakeClock clock;
    // The panel's own clock, apart from the model's, to see which one a
    // command was given.
    Instant panelNow = utcInstant(2026, 3, 2, 9, 0, 7);
    int windowsPresented = 0;
    int activations = 0;
    int quits = 0;
    std::unique_ptr<AppModel> model;
    std::unique_ptr<MenuBarPopover> popover;
};

using Fields = std::vector<std::pair<QString, QString>>;

TEST_F(MenuBarPopoverTest, SectionsFollowTheWorkflowState)
{
    const QString noBlock = "No active block";
    const QString reflection = "Record the five block-reflection answers in the app.";
    struct Row {
        Stage stage;
        QString title;
        bool timer;
        Fields fields;
        bool progress;
        QStringList buttons;
    };
    const Row rows[] = {
        {Stage::idleEmpty, "Idle", false, {{"Next", noBlock}}, false, {"Plan a block"}},
        {Stage::blockPlanning, "Planning", false, {{"Next", noBlock}}, false, {}},
        {Stage::scheduled, "Idle", false, {}, false, {"Start scheduled block now", "Edit", "Cancel block"}},
        {Stage::sessionPlanning, "Planning", false, {{"Outcome", "No outcome set"}}, true, {}},
        {Stage::focusing,
         "Focus",
         true,
         {{"Outcome", "Draft the parser"}, {"First action", "Open the grammar file"}},
         true,
         {"Pause", "End focus"}},
        {Stage::sessionReview,
         "Review",
         false,
         {{"Outcome", "Draft the parser"}, {"First action", "Open the grammar file"}},
         true,
         {}},
        {Stage::breaking, "Break", true, {{"Outcome", "Write the tests"}}, true, {"End break", "Extend 5 min", "Skip"}},
        {Stage::blockReview, "Review", false, {{"Reflection", reflection}}, false, {}},
        {Stage::complete, "Complete", false, {{"Reflection", reflection}}, false, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.stage));
        start(row.stage);
        EXPECT_EQ(showsTimer(), row.timer);
        if (row.stage != Stage::scheduled) { // its date is checked on its own
            EXPECT_EQ(fields(), row.fields);
        }
        EXPECT_EQ(progress() != nullptr, row.progress);
        EXPECT_EQ(sectionButtons(), row.buttons);
        EXPECT_TRUE(button("Open Quillmere"));
        EXPECT_TRUE(button("Quit"));
    }
}

TEST_F(MenuBarPopoverTest, NextNamesThePlannedStartInLocalTime)
{
    const Instant planned = utcInstant(2026, 3, 4, 14, 30);
    const QString expected =
        "Block scheduled for " +
        QLocale::system().toString(QDateTime::fromSecsSinceEpoch(utcSeconds(planned)), QLocale::ShortFormat);

    start(Stage::blockPlanning);
    Block draft = Block::defaultBlock(clock.now);
    draft.plannedStart = planned;
    model->saveBlockDraft(draft);
    EXPECT_EQ(fields(), (Fields{{"Next", expected}}));

    start(Stage::scheduled);
    model->editState([&](QuillmereState& state) { state.currentBlock->plannedStart = planned; });
    EXPECT_EQ(fields(), (Fields{{"Next", expected}}));
}

TEST_F(MenuBarPopoverTest, TickMovesOnlyTheTimerAndLeavesTheSectionsStanding)
{
    start(Stage::focusing);
    showActive();
    QTest::qWait(50); // the panel settles
    EXPECT_EQ(timerText(), "25:00");
    const QWidget* sections = popover->sections();

    uitest::LayoutRequests requests(popover.get());
    model->tick(clock.now + 64s);
    QApplication::processEvents();
    model->tick(clock.now + 65s);
    QApplication::processEvents();
    EXPECT_EQ(requests.count, 0) << "a new second laid out the panel";
    EXPECT_EQ(timerText(), "23:55");
    EXPECT_EQ(popover->findChild<QLabel*>("timer")->accessibleName(), "Timer 23:55");
    EXPECT_EQ(caption(), "Session 1 of 2");
    EXPECT_EQ(popover->sections(), sections);
}

TEST_F(MenuBarPopoverTest, DraftChangesOutsideTheShownFieldsRebuildNothing)
{
    start(Stage::sessionPlanning);
    // A rebuild puts new sections in place; the old ones go later.
    const QWidget* sections = popover->sections();
    SessionPlan draft = plan("", "");
    draft.hazardsMitigation = "Phone in the drawer";
    model->saveSessionPlanDraft(draft);
    EXPECT_EQ(popover->sections(), sections);

    draft.intendedOutcome = "Sketch the screen";
    model->saveSessionPlanDraft(draft);
    EXPECT_NE(popover->sections(), sections);
    EXPECT_EQ(fields(), (Fields{{"Outcome", "Sketch the screen"}}));
}

TEST_F(MenuBarPopoverTest, TimerWithoutTimerTextShowsDashes)
{
    start(Stage::focusing);
    model->editState([](QuillmereState& state) { state.currentBlock->sessions.clear(); });
    ASSERT_FALSE(model->timerText());
    EXPECT_TRUE(showsTimer());
    EXPECT_EQ(timerText(), "--:--");
    EXPECT_EQ(popover->findChild<QLabel*>("timer")->accessibleName(), "Timer --:--");
    EXPECT_EQ(caption(), "Focus in progress");
}

TEST_F(MenuBarPopoverTest, PauseShowsResumeAndThePausedMarker)
{
    start(Stage::focusing);
    EXPECT_FALSE(showsPausedMarker());
    button("Pause")->click();
    EXPECT_TRUE(model->state().currentSession()->pausedAt);
    EXPECT_EQ(sectionButtons(), (QStringList{"Resume", "End focus"}));
    EXPECT_TRUE(showsPausedMarker());

    button("Resume")->click();
    EXPECT_EQ(sectionButtons(), (QStringList{"Pause", "End focus"}));
    EXPECT_FALSE(showsPausedMarker());
    EXPECT_EQ(windowsPresented, 0);
}

TEST_F(MenuBarPopoverTest, QuestionsLinkCountsAndOpensTheQuestionsTab)
{
    start(Stage::idleEmpty);
    EXPECT_EQ(sectionButtons(), (QStringList{"Plan a block"}));
    model->addQuestion("Which schema version?");
    EXPECT_EQ(sectionButtons(), (QStringList{"1 open agent question", "Plan a block"}));
    model->addQuestion("May I rename the module?");
    EXPECT_EQ(sectionButtons(), (QStringList{"2 open agent questions", "Plan a block"}));

    QSignalSpy closing(popover.get(), &MenuBarPopover::closeRequested);
    button("2 open agent questions")->click();
    EXPECT_EQ(model->selectedTab(), MainWindowTab::agentQuestions);
    EXPECT_EQ(windowsPresented, 1);
    EXPECT_EQ(closing.count(), 1);
}

TEST_F(MenuBarPopoverTest, ListsTheFirstOpenQuestionsAndCountsTheRest)
{
    const struct {
        std::size_t open;
        std::size_t listed;
        std::optional<std::int64_t> more;
    } cases[] = {{1, 1, std::nullopt}, {3, 3, std::nullopt}, {4, 3, 1}, {10'000, 3, 9'997}};
    for (const auto& [open, listed, more] : cases) {
        SCOPED_TRACE(open);
        start(Stage::idleEmpty);
        model->editState([&](QuillmereState& state) {
            for (std::size_t number = 1; number <= open; ++number) {
                state.agentQuestions.push_back(AgentQuestion{Uuid::generate(), "Q" + std::to_string(number), clock.now,
                                                             std::nullopt, std::nullopt, std::nullopt});
            }
            // An answered question is neither listed nor counted.
            state.agentQuestions.insert(state.agentQuestions.begin(),
                                        AgentQuestion{Uuid::generate(), "Answered", clock.now, "yes", clock.now, std::nullopt});
        });
        const QWidget* list = popover->sections()->findChild<QWidget*>("openQuestions");
        ASSERT_NE(list, nullptr);
        QStringList listedTexts;
        for (const QWidget* item : list->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (item->objectName() != "moreQuestions" && item->objectName() != "askedBy") {
                listedTexts.append(item->accessibleName());
            }
        }
        ASSERT_EQ(static_cast<std::size_t>(listedTexts.size()), listed);
        EXPECT_EQ(listedTexts.front(), "Q1");
        EXPECT_EQ(listedTexts.back(), QString("Q%1").arg(listed));
        const auto* moreLabel = list->findChild<QLabel*>("moreQuestions");
        ASSERT_EQ(moreLabel != nullptr, more.has_value());
        if (more) {
            EXPECT_EQ(moreLabel->text(), QString("and %1 more").arg(QLocale().toString(*more)));
        }
    }

    // An agent that gave its name is named under its question.
    model->editState([&](QuillmereState& state) { state.agentQuestions[1].askedBy = "test-agent"; });
    const auto askers = popover->sections()->findChildren<QLabel*>("askedBy");
    ASSERT_EQ(askers.size(), 1);
    EXPECT_EQ(askers[0]->text(), "asked by test-agent");
}

TEST_F(MenuBarPopoverTest, LongTextsAreShownCut)
{
    const std::string huge = "Start " + std::string(1'000'000, 'x');
    start(Stage::sessionPlanning);
    model->startFocus(plan(huge, huge));
    model->addQuestion(QString::fromStdString(huge));
    const QWidget* list = popover->sections()->findChild<QWidget*>("openQuestions");
    ASSERT_NE(list, nullptr);
    QStringList shown{list->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).front()->accessibleName()};
    for (const auto& [label, value] : fields()) {
        shown.append(value);
    }
    ASSERT_EQ(shown.size(), 3);
    for (const QString& text : shown) {
        EXPECT_TRUE(text.startsWith("Start xxx"));
        EXPECT_EQ(text.size(), TextLimits::widgetCharacters);
    }
}

TEST_F(MenuBarPopoverTest, ProgressCountsSessionsStartedOfTheBlock)
{
    start(Stage::breaking, 8);
    for (int session = 2; session <= 3; ++session) {
        model->skipBreak();
        model->startFocus(plan("Next step", ""));

        if (session < 3) {
            model->endFocus();
            model->saveReview(review(), plan("Next step", ""));
        }
    }
    ASSERT_EQ(model->state().workflowState, WorkflowState::focusing) << model->lastError().toStdString();
    const BlockProgress* shown = progress();
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->text(), "3 of 8 sessions started");
    EXPECT_EQ(shown->accessibleName(), "3 of 8 sessions started");
    EXPECT_DOUBLE_EQ(shown->fillFraction(), 3.0 / 8.0);
}

TEST_F(MenuBarPopoverTest, FillFractionStaysWithinTheBar)
{
    struct Row {
        std::int64_t started, planned;
        double fraction;
    };
    for (const Row row : {Row{3, 8, 0.375}, Row{9, 8, 1.0}, Row{0, 8, 0.0}, Row{2, 0, 1.0}, Row{-1, 8, 0.0}}) {
        SCOPED_TRACE(testing::Message() << row.started << " of " << row.planned);
        EXPECT_DOUBLE_EQ(BlockProgress::fillFraction(row.started, row.planned), row.fraction);
    }
}

TEST_F(MenuBarPopoverTest, ScheduledBlockCommandsUseThePanelClockAndOpenTheWindowOnlyToEdit)
{
    start(Stage::scheduled);
    button("Cancel block")->click();
    EXPECT_EQ(model->state().workflowState, WorkflowState::idle);
    EXPECT_FALSE(model->state().currentBlock);
    EXPECT_EQ(model->state().updatedAt, panelNow);
    EXPECT_EQ(windowsPresented, 0);
    EXPECT_EQ(activations, 0);

    start(Stage::scheduled);
    button("Edit")->click();
    EXPECT_EQ(model->state().workflowState, WorkflowState::blockPlanning);
    EXPECT_EQ(model->state().updatedAt, panelNow);
    EXPECT_EQ(windowsPresented, 1);
    EXPECT_EQ(activations, 1);

    start(Stage::scheduled);
    button("Start scheduled block now")->click();
    EXPECT_EQ(model->state().workflowState, WorkflowState::sessionPlanning);
    EXPECT_EQ(windowsPresented, 1);
}

TEST_F(MenuBarPopoverTest, ShortcutsRunTheirCommands)
{
    struct Row {
        Stage stage;
        Qt::Key key;
        WorkflowState after;
        int windows;
    };
    const Row rows[] = {
        {Stage::idleEmpty, Qt::Key_N, WorkflowState::blockPlanning, 1},
        {Stage::focusing, Qt::Key_E, WorkflowState::sessionReview, 0},
        {Stage::breaking, Qt::Key_S, WorkflowState::sessionPlanning, 0},
        {Stage::sessionReview, Qt::Key_O, WorkflowState::sessionReview, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(QKeySequence(row.key).toString().toStdString());
        start(row.stage);
        showActive();
        QTest::keyClick(popover.get(), row.key, Qt::ControlModifier);
        // A shortcut animates its button's press before it clicks it.
        static_cast<void>(QTest::qWaitFor(
            [&] { return model->state().workflowState == row.after && windowsPresented == row.windows; }));
        EXPECT_EQ(model->state().workflowState, row.after);
        EXPECT_EQ(windowsPresented, row.windows);
    }

    start(Stage::focusing);
    showActive();
    const auto paused = [this] { return model->state().currentSession()->pausedAt.has_value(); };
    QTest::keyClick(popover.get(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor(paused));
    QTest::keyClick(popover.get(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !paused(); }));
    QTest::keyClick(popover.get(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([this] { return quits == 1; }));
}

TEST_F(MenuBarPopoverTest, KeyboardFocusStaysOnTheButtonThatReplacedThePressedOne)
{
    start(Stage::focusing);
    showActive();
    button("Pause")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    ASSERT_TRUE(model->state().currentSession()->pausedAt);
    auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
    ASSERT_TRUE(focused);
    EXPECT_EQ(focused->text(), "Resume");
}

TEST_F(MenuBarPopoverTest, DueMessageComesAndGoesWithTheModel)
{
    start(Stage::breaking);
    button("Skip")->click();
    const QLabel* due = popover->sections()->findChild<QLabel*>("dueMessage");
    ASSERT_TRUE(due);
    EXPECT_EQ(due->text(), "Break skipped. Focus starts only when you choose Start focus.");

    model->setDueMessage(QString());
    EXPECT_FALSE(popover->sections()->findChild<QLabel*>("dueMessage"));
}

TEST_F(MenuBarPopoverTest, NothingIsClippedAtThePanelWidth)
{
    const QString longOutcome = QString("Rewrite the scheduling rules so that a late tick still starts the block. ").repeated(3);
    for (const Stage stage : {Stage::breaking, Stage::scheduled, Stage::focusing}) {
        SCOPED_TRACE(static_cast<int>(stage));
        start(stage);
        model->addQuestion("Which schema version?");
        model->setDueMessage("Focus ended. Review the session before you continue, and then take the break.");
        if (stage == Stage::focusing) {
            // Content that changes height while the panel is still hidden.
            model->editState([&](QuillmereState& state) {
                state.currentSession()->plan.intendedOutcome = longOutcome.toStdString();
            });
            model->pauseOrResumeFocus();
        }
        popover->show();
        QApplication::processEvents();
        EXPECT_EQ(popover->width(), MenuBarPopover::panelWidth);
        for (const QWidget* child : popover->findChildren<QWidget*>()) {
            if (!child->isVisible()) {
                continue;
            }
            const QRect area(child->mapTo(popover.get(), QPoint(0, 0)), child->size());
            EXPECT_TRUE(popover->rect().contains(area)) << child->metaObject()->className();
            EXPECT_GE(child->height(), child->hasHeightForWidth() ? child->heightForWidth(child->width())
                                                                   : child->minimumSizeHint().height())
                << child->metaObject()->className();
            if (const auto* pushButton = qobject_cast<const QPushButton*>(child)) {
                EXPECT_GE(pushButton->width(), pushButton->sizeHint().width()) << pushButton->text().toStdString();
            }
        }
    }
}

TEST_F(MenuBarPopoverTest, SwitchingToADarkPaletteRecoloursThePhase)
{
    start(Stage::breaking);
    const QPalette light = QApplication::palette();
    QPalette dark = light;
    dark.setColor(QPalette::Window, QColor(0x1e, 0x1e, 0x1e));
    dark.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
    QApplication::setPalette(dark);
    QApplication::processEvents(); // the new palette reaches widgets as posted events
    const QRgb timerColour = popover->findChild<QLabel*>("timer")->palette().color(QPalette::WindowText).rgba();
    const QRgb barAccent = progress()->accent().rgba();
    QApplication::setPalette(light);
    QApplication::processEvents();
    EXPECT_EQ(timerColour, look::phaseColour(WidgetPhase::breaking, dark).rgba());
    EXPECT_EQ(barAccent, look::phaseColour(WidgetPhase::breaking, dark).rgba());
}

TEST(PopoverFieldTest, ValueStopsAtThreeLinesWithAnEllipsis)
{
    const PopoverField shortField("Outcome", "Draft the parser");
    EXPECT_EQ(shortField.valueLines(268), QStringList{"Draft the parser"});

    const QString longText = QString("Rewrite the scheduling rules so that a late tick still starts the block. ").repeated(4);
    const PopoverField longField("Outcome", longText);
    const QStringList lines = longField.valueLines(268);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines.back().endsWith(QChar(0x2026)));
    EXPECT_EQ(longField.value(), longText);
    EXPECT_EQ(longField.accessibleDescription(), longText);
}

} // namespace
} // namespace quillmere
