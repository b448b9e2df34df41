// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainWindow.h"
#include "block/BlockForms.h"
#include "block/CurrentBlockView.h"
#include "block/SessionSection.h"
#include "forms/DisclosureButton.h"
#include "history/CompletedBlockEditor.h"
#include "history/HistoryView.h"
#include "questions/AgentQuestionsView.h"

#include "UiTestSupport.h"

#include <QDateTime>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QEventLoop>
#include <QTimer>

#include "StateFixtures.h"

#include "quillmere/StateCoding.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace quillmere {
namespace {

using namespace std::chrono_literals;
using namespace uitest;

WorkSession session(std::int64_t number, bool reviewed)
{
    WorkSession session;
    session.id = Uuid::generate();
    session.number = number;
    session.plan = SessionPlan::blank(Uuid::generate());
    session.plan.intendedOutcome = "Plan " + std::to_string(number);
    if (reviewed) {
        session.review = SessionReview{Uuid::generate(), CompletionResult::half, "Result", "", ""};
    }
    return session;
}

// A block with one reviewed session and one without a review.
Block blockWithSessions(std::optional<Instant> completedAt)
{
    Block block = Block::defaultBlock(utcInstant(2026, 3, 1, 8, 0, 0));
    block.sessions = {session(1, true), session(2, false)};
    block.completedAt = completedAt;
    if (completedAt) {
        block.reflection = BlockReview{"Output", "", "", "", ""};
    }
    return block;
}

void addOpenQuestions(QuillmereState& state, std::size_t count)
{
    for (std::size_t number = 1; number <= count; ++number) {
        state.agentQuestions.push_back(AgentQuestion{Uuid::generate(), "Question " + std::to_string(number) + "?",
                                                     utcInstant(2026, 3, 2, 8, 0, 0), std::nullopt, std::nullopt, std::nullopt});
    }
}

QList<ProseField*> proseFields(QWidget* root)
{
    return root->findChildren<ProseField*>();
}

bool allEditable(QWidget* root)
{
    const auto fields = proseFields(root);
    return !fields.empty() && std::ranges::all_of(fields, [](const ProseField* field) {
        return field->presentation() == FormPresentation::editable;
    });
}

bool noneEditable(QWidget* root)
{
    return std::ranges::none_of(proseFields(root), [](const ProseField* field) {
        return field->presentation() == FormPresentation::editable;
    });
}

class MainWindowTest : public ::testing::Test {
protected:
    AppModel& model() { return *harness.model; }
    const QuillmereState& state() { return model().state(); }

    void seed(const std::function<void(QuillmereState&)>& change) { model().editState(change); }

    void open(MainWindowTab tab)
    {
        model().setSelectedTab(tab);
        window = std::make_unique<MainWindow>(model());
        showActive(*window);
    }

    QuillmereState saved() { return StateStore(harness.folder.path(), harness.clock.function()).load().value(); }

    // The state folder becomes a file: every save from now on fails.
    void breakTheStore()
    {
        std::filesystem::remove_all(harness.folder.path());
        std::ofstream(harness.folder.path()) << "not a folder";
    }

    ModelHarness harness;
    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, EmptyHistoryShowsItsPlaceholderAndNoForm)
{
    open(MainWindowTab::history);
    HistoryView* history = window->historyView();
    EXPECT_TRUE(visibleTexts(history).contains("No completed blocks"));
    EXPECT_TRUE(visibleTexts(history).contains("Completed block reflections stay here."));
    EXPECT_TRUE(history->findChildren<BlockPreparationForm*>().empty());

    seed([](QuillmereState& s) { s.blockHistory.push_back(blockWithSessions(std::nullopt)); });
    EXPECT_FALSE(visibleTexts(history).contains("No completed blocks"));
    ASSERT_EQ(history->editors().size(), 1u);

    seed([](QuillmereState& s) { s.blockHistory.clear(); });
    EXPECT_TRUE(visibleTexts(history).contains("No completed blocks"));
    QApplication::processEvents();
    EXPECT_TRUE(history->editors().empty());
    EXPECT_TRUE(history->findChildren<CompletedBlockEditor*>().empty());
}

TEST_F(MainWindowTest, HistoryEntriesAreHeadedByTheirCompletionTime)
{
    const Instant completed = utcInstant(2026, 3, 2, 14, 5, 0);
    const Block dated = blockWithSessions(completed);
    const Block undated = blockWithSessions(std::nullopt);
    seed([&](QuillmereState& s) { s.blockHistory = {dated, undated}; });
    open(MainWindowTab::history);

    const QString expected = QLocale::system().toString(
        QDateTime::fromSecsSinceEpoch(std::chrono::system_clock::to_time_t(completed)), QLocale::ShortFormat);
    EXPECT_EQ(str(window->historyView()->editor(dated.id)->headerText()), str(expected));
    EXPECT_EQ(str(window->historyView()->editor(undated.id)->headerText()), "Completed block");
}

TEST_F(MainWindowTest, EditTurnsOnlyThatBlocksFormsEditable)
{
    const Block first = blockWithSessions(utcInstant(2026, 3, 2, 12, 0, 0));
    const Block second = blockWithSessions(utcInstant(2026, 3, 1, 12, 0, 0));
    seed([&](QuillmereState& s) { s.blockHistory = {first, second}; });
    open(MainWindowTab::history);
    CompletedBlockEditor* untouched = window->historyView()->editor(first.id);
    CompletedBlockEditor* edited = window->historyView()->editor(second.id);
    untouched->setExpanded(true);
    for (SessionSection* section : untouched->forms()->sessions()) {
        section->setExpanded(true);
    }
    ASSERT_TRUE(noneEditable(untouched));
    // Opened sessions stay open when the forms are rebuilt for editing.
    edited->setExpanded(true);
    edited->forms()->sessions()[0]->setExpanded(true);

    QTest::mouseClick(edited->editButton(), Qt::LeftButton);
    EXPECT_EQ(str(edited->editButton()->text()), "Done");
    edited->forms()->sessions()[1]->setExpanded(true);
    EXPECT_TRUE(edited->forms()->sessions()[0]->isExpanded());
    EXPECT_TRUE(allEditable(edited));
    EXPECT_EQ(proseFields(edited).size(), proseFields(untouched).size());
    EXPECT_TRUE(noneEditable(untouched));

    QTest::mouseClick(edited->editButton(), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(str(edited->editButton()->text()), "Edit");
    EXPECT_TRUE(noneEditable(edited));
}

TEST_F(MainWindowTest, SessionWithoutReviewShowsOnlyItsPlan)
{
    seed([](QuillmereState& s) {
        s.currentBlock = blockWithSessions(std::nullopt);
        s.blockHistory = {blockWithSessions(utcInstant(2026, 3, 2, 12, 0, 0))};
    });
    open(MainWindowTab::currentBlock);
    window->historyView()->editors()[0]->setExpanded(true);

    const std::pair<const char*, BlockForms*> places[] = {
        {"current block", window->currentBlockView()->forms()},
        {"history", window->historyView()->editors()[0]->forms()},
    };
    for (const auto& [place, forms] : places) {
        SCOPED_TRACE(place);
        ASSERT_NE(forms, nullptr);
        ASSERT_EQ(forms->sessions().size(), 2u);
        for (SessionSection* section : forms->sessions()) {
            section->setExpanded(true);
        }
        EXPECT_NE(forms->sessions()[0]->reviewForm(), nullptr);
        EXPECT_NE(forms->sessions()[1]->planForm(), nullptr);
        EXPECT_EQ(forms->sessions()[1]->reviewForm(), nullptr);
        EXPECT_EQ(forms->findChildren<SessionReviewForm*>().size(), 1u);
    }
}

TEST_F(MainWindowTest, LongHistoryBuildsFormsOnlyForExpandedBlocks)
{
    seed([](QuillmereState& s) {
        for (int n = 0; n < 1250; ++n) {
            s.blockHistory.push_back(blockWithSessions(utcInstant(2026, 1, 1) + std::chrono::hours(n)));
        }
    });
    open(MainWindowTab::history);
    HistoryView* history = window->historyView();
    // A page of headers first; each "Show older blocks" adds the next page.
    ASSERT_EQ(history->editors().size(), std::size_t{HistoryView::editorsPerPage});
    EXPECT_TRUE(history->findChildren<BlockPreparationForm*>().empty());
    while (history->showMoreButton()->isVisibleTo(history) && history->editors().size() <= 700) {
        QTest::mouseClick(history->showMoreButton(), Qt::LeftButton);
    }
    ASSERT_GT(history->editors().size(), 700u);
    EXPECT_EQ(history->editors()[700]->blockId(), harness.model->state().blockHistory[700].id);

    QTest::mouseClick(history->editors()[700]->header(), Qt::LeftButton);
    EXPECT_EQ(history->findChildren<BlockPreparationForm*>().size(), 1u);
    // A refresh keeps the editor, its forms and its expansion.
    CompletedBlockEditor* expanded = history->editors()[700];
    seed([](QuillmereState& s) { s.blockHistory.erase(s.blockHistory.begin()); });
    EXPECT_EQ(history->editors()[699], expanded);
    EXPECT_TRUE(expanded->isExpanded());
}

TEST_F(MainWindowTest, HistoryEditIsSavedAndStampedTheMomentItIsTyped)
{
    const Block block = blockWithSessions(utcInstant(2026, 3, 2, 12, 0, 0));
    seed([&](QuillmereState& s) { s.blockHistory = {block}; });
    open(MainWindowTab::history);
    harness.clock.now += 1h;
    CompletedBlockEditor* editor = window->historyView()->editor(block.id);
    QTest::mouseClick(editor->editButton(), Qt::LeftButton);

    type(findNamed<QPlainTextEdit>(editor, "Why this block is valuable"), "Ok");
    const QuillmereState onDisk = saved();
    ASSERT_EQ(onDisk.blockHistory.size(), 1u);
    EXPECT_EQ(onDisk.blockHistory[0].whyValue, "Ok");
    EXPECT_EQ(onDisk.blockHistory[0].sessions, block.sessions);
    EXPECT_EQ(onDisk.updatedAt, harness.clock.now);
    EXPECT_TRUE(model().lastError().isEmpty());
}

TEST_F(MainWindowTest, FailedHistorySaveRaisesTheAlertAndKeepsTheEdit)
{
    const Block block = blockWithSessions(utcInstant(2026, 3, 2, 12, 0, 0));
    seed([&](QuillmereState& s) { s.blockHistory = {block}; });
    open(MainWindowTab::history);
    breakTheStore();
    CompletedBlockEditor* editor = window->historyView()->editor(block.id);
    QTest::mouseClick(editor->editButton(), Qt::LeftButton);

    type(findNamed<QPlainTextEdit>(editor, "Completion test"), "x");
    EXPECT_EQ(state().blockHistory[0].doneTest, "x");
    ASSERT_FALSE(model().lastError().isEmpty());
    ASSERT_NE(window->errorAlert(), nullptr);
    EXPECT_TRUE(window->errorAlert()->isVisible());
    EXPECT_EQ(str(window->errorAlert()->text()), str(model().lastError()));
}

TEST_F(MainWindowTest, ErrorAlertShowsTheLatestErrorAndAnyDismissalClearsIt)
{
    open(MainWindowTab::workCycle);
    const std::pair<const char*, std::function<void(QMessageBox*)>> dismissals[] = {
        {"OK", [](QMessageBox* alert) { alert->button(QMessageBox::Ok)->click(); }},
        {"Escape", [](QMessageBox* alert) { QTest::keyClick(alert, Qt::Key_Escape); }},
        {"close", [](QMessageBox* alert) { alert->close(); }},
    };
    for (const auto& [how, dismiss] : dismissals) {
        SCOPED_TRACE(how);
        model().setLastError("Disk full");
        QMessageBox* alert = window->errorAlert();
        ASSERT_NE(alert, nullptr);
        ASSERT_TRUE(alert->isVisible());
        EXPECT_EQ(str(alert->windowTitle()), "Quillmere error");
        EXPECT_EQ(str(alert->text()), "Disk full");
        EXPECT_EQ(alert->buttons().size(), 1);
        model().setLastError("Disk still full");
        EXPECT_EQ(str(alert->text()), "Disk still full");

        dismiss(alert);
        EXPECT_TRUE(model().lastError().isEmpty());
        EXPECT_FALSE(alert->isVisible());
    }
}

TEST_F(MainWindowTest, StartUpErrorIsShownOnceTheWindowIsUp)
{
    model().setLastError("Quillmere could not read its saved state: bad");
    open(MainWindowTab::workCycle);
    QApplication::processEvents();
    ASSERT_NE(window->errorAlert(), nullptr);
    EXPECT_TRUE(window->errorAlert()->isVisible());
}

TEST_F(MainWindowTest, BannerShowsTheDueMessageUntilDismissed)
{
    open(MainWindowTab::workCycle);
    EXPECT_FALSE(window->banner()->isVisible());

    model().setDueMessage("Focus ended. Review the session before you continue.");
    EXPECT_TRUE(window->banner()->isVisible());
    EXPECT_EQ(str(window->bannerText()->text()), "Focus ended. Review the session before you continue.");

    click(window->banner(), "Dismiss");
    EXPECT_TRUE(model().dueMessage().isEmpty());
    EXPECT_FALSE(window->banner()->isVisible());
}

TEST_F(MainWindowTest, TabFollowsTheModelAndTheUser)
{
    // A selection made before the window exists is kept, not reset.
    open(MainWindowTab::history);
    QTabWidget* tabs = window->tabs();
    EXPECT_EQ(tabs->currentIndex(), 2);
    const QStringList labels{"Work cycle", "Current block", "History", "Agent questions", "Insights"};
    ASSERT_EQ(tabs->count(), labels.size());
    for (int index = 0; index < tabs->count(); ++index) {
        EXPECT_EQ(str(tabs->tabText(index)), str(labels[index]));
        EXPECT_FALSE(tabs->tabIcon(index).isNull());
    }

    model().setSelectedTab(MainWindowTab::currentBlock);
    EXPECT_EQ(tabs->currentIndex(), 1);
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(3).center());
    EXPECT_EQ(model().selectedTab(), MainWindowTab::agentQuestions);
    QTest::keyClick(window.get(), Qt::Key_1, Qt::ControlModifier);
    EXPECT_EQ(model().selectedTab(), MainWindowTab::workCycle);
    EXPECT_EQ(tabs->currentIndex(), 0);
    QTest::keyClick(window.get(), Qt::Key_5, Qt::ControlModifier);
    EXPECT_EQ(model().selectedTab(), MainWindowTab::insights);
    EXPECT_EQ(tabs->currentIndex(), 4);
    EXPECT_TRUE(tabs->tabToolTip(4).startsWith("Insights ("));
}

TEST_F(MainWindowTest, AddingAQuestionEmptiesTheField)
{
    open(MainWindowTab::agentQuestions);
    AgentQuestionsView* view = window->agentQuestionsView();
    QLineEdit* field = findNamed<QLineEdit>(view, "New agent question");
    ASSERT_EQ(field, view->newQuestionField());
    EXPECT_EQ(str(field->placeholderText()), "Add a question");

    const std::pair<const char*, std::function<void()>> ways[] = {
        {"Add button", [&] { click(view, "Add"); }},
        {"Return", [&] { QTest::keyClick(field, Qt::Key_Return); }},
        {"Ctrl+Return",
         [&] {
             // A shortcut presses its button visibly, so the click comes a moment later.
             QTest::keyClick(field, Qt::Key_Return, Qt::ControlModifier);
             EXPECT_TRUE(QTest::qWaitFor([&] { return field->text().isEmpty(); }));
         }},
    };
    std::size_t expected = 0;
    for (const auto& [how, submit] : ways) {
        SCOPED_TRACE(how);
        type(field, QString("Question by ") + how);
        submit();
        ASSERT_EQ(state().agentQuestions.size(), ++expected);
        EXPECT_EQ(state().agentQuestions.back().question, std::string("Question by ") + how);
        EXPECT_TRUE(field->text().isEmpty());
    }
}

TEST_F(MainWindowTest, SavingAnAnswerDropsOnlyThatDraft)
{
    open(MainWindowTab::agentQuestions);
    model().addQuestion("Which branch?");
    model().addQuestion("Squash or merge?");
    const Uuid first = state().agentQuestions[0].id;
    const Uuid second = state().agentQuestions[1].id;
    AgentQuestionsView* view = window->agentQuestionsView();
    type(view->answerField(first), "main");
    type(view->answerField(second), "squash");

    // An unrelated change refreshes the list: both drafts survive it.
    model().addQuestion("Third?");
    EXPECT_EQ(str(view->answerField(first)->text()), "main");

    QTest::mouseClick(view->saveButton(first), Qt::LeftButton);
    EXPECT_EQ(state().agentQuestions[0].answer, "main");
    EXPECT_EQ(view->answerField(first), nullptr);
    QApplication::processEvents();
    EXPECT_EQ(view->findChildren<QuillmereCard*>().size(), 2u);
    EXPECT_EQ(str(view->answerField(second)->text()), "squash");
    EXPECT_FALSE(view->draftAnswers().contains(first));
    EXPECT_EQ(str(view->draftAnswers().at(second)), "squash");
}

TEST_F(MainWindowTest, QuestionsTabBuildsAPageOfCardsHoweverManyQuestionsAreOpen)
{
    seed([&](QuillmereState& s) { addOpenQuestions(s, 10'000); });
    open(MainWindowTab::agentQuestions);
    AgentQuestionsView* view = window->agentQuestionsView();
    constexpr auto page = static_cast<qsizetype>(AgentQuestionsView::cardsPerPage);
    EXPECT_EQ(view->findChildren<QuillmereCard*>().size(), page);
    // A handful of widgets per card, nowhere near one card per question.
    EXPECT_LT(view->findChildren<QWidget*>().size(), 10 * page);
    QPushButton* more = view->showMoreButton();
    ASSERT_TRUE(more->isVisible());
    EXPECT_EQ(str(more->text()), "Show 20 more");
    EXPECT_TRUE(more->accessibleDescription().contains(QLocale().toString(10'000)));

    // From the keyboard: the next page, and the keyboard in its first card.
    more->setFocus();
    QTest::keyClick(more, Qt::Key_Space);
    EXPECT_EQ(view->findChildren<QuillmereCard*>().size(), 2 * page);
    ASSERT_NE(view->answerField(state().agentQuestions[page].id), nullptr);
    EXPECT_EQ(QApplication::focusWidget(), view->answerField(state().agentQuestions[page].id));
}

TEST_F(MainWindowTest, SavingAnAnswerMovesTheKeyboardToTheNextCardAndRefillsThePage)
{
    constexpr auto page = AgentQuestionsView::cardsPerPage;
    seed([&](QuillmereState& s) { addOpenQuestions(s, page + 1); });
    open(MainWindowTab::agentQuestions);
    AgentQuestionsView* view = window->agentQuestionsView();
    const Uuid lastShown = state().agentQuestions[page - 1].id;
    const Uuid beyond = state().agentQuestions[page].id;
    EXPECT_EQ(view->answerField(beyond), nullptr);

    type(view->answerField(lastShown), "yes");
    QTest::keyClick(view->answerField(lastShown), Qt::Key_Return);
    EXPECT_EQ(state().agentQuestions[page - 1].answer, "yes");
    ASSERT_NE(view->answerField(beyond), nullptr);
    EXPECT_EQ(QApplication::focusWidget(), view->answerField(beyond));
    EXPECT_FALSE(view->showMoreButton()->isVisible());
}

TEST_F(MainWindowTest, QuestionFieldsTakeAQuestionsLengthAndCardsShowALongQuestionCut)
{
    seed([&](QuillmereState& s) {
        addOpenQuestions(s, 1);
        s.agentQuestions[0].question = "Start " + std::string(100'000, 'q');
    });
    open(MainWindowTab::agentQuestions);
    AgentQuestionsView* view = window->agentQuestionsView();
    const Uuid id = state().agentQuestions[0].id;
    const QString cut = shownText(state().agentQuestions[0].question, TextLimits::questionCharacters);
    EXPECT_TRUE(visibleTexts(view).contains(cut));
    for (const QLabel* label : view->findChildren<QLabel*>()) {
        EXPECT_LE(label->text().size(), cut.size());
    }
    EXPECT_EQ(view->answerField(id)->accessibleDescription(), cut);
    EXPECT_EQ(state().agentQuestions[0].question.size(), 100'006u);

    const std::pair<const char*, QLineEdit*> fields[] = {
        {"new question", view->newQuestionField()},
        {"answer", view->answerField(id)},
    };
    for (const auto& [name, field] : fields) {
        SCOPED_TRACE(name);
        field->setText(QString(1'999, 'a'));
        type(field, "xy");
        EXPECT_EQ(field->text(), QString(1'999, 'a') + "x");
        // The note that says why "y" went missing is read with the field.
        EXPECT_TRUE(field->accessibleDescription().endsWith(QLocale().toString(2'000) + " characters at most"));
    }
}

TEST_F(MainWindowTest, ACardNamesTheAgentThatAskedAndSaysItToTheScreenReader)
{
    seed([&](QuillmereState& s) {
        addOpenQuestions(s, 2);
        s.agentQuestions[1].askedBy = "test-agent";
    });
    open(MainWindowTab::agentQuestions);
    AgentQuestionsView* view = window->agentQuestionsView();
    const auto askers = view->findChildren<QLabel*>("askedBy");
    ASSERT_EQ(askers.size(), 1);
    EXPECT_EQ(askers[0]->text(), "asked by test-agent");
    EXPECT_TRUE(visibleTexts(view).contains("asked by test-agent"));
    EXPECT_TRUE(view->saveButton(state().agentQuestions[1].id)->accessibleDescription().endsWith("asked by test-agent"));
}

TEST_F(MainWindowTest, CurrentBlockEditsAreSavedWithoutLosingTheCaret)
{
    seed([](QuillmereState& s) {
        s.workflowState = WorkflowState::sessionPlanning;
        s.currentBlock = blockWithSessions(std::nullopt);
    });
    open(MainWindowTab::currentBlock);
    CurrentBlockView* view = window->currentBlockView();
    EXPECT_EQ(str(view->forms()->sessionsHeader()->text()), "Sessions: 2 of 8");

    QPlainTextEdit* why = findNamed<QPlainTextEdit>(view, "Why this block is valuable");
    type(why, "Unblocks");
    EXPECT_EQ(QApplication::focusWidget(), why);
    EXPECT_EQ(why->textCursor().position(), 8);
    EXPECT_EQ(saved().currentBlock->whyValue, "Unblocks");
    EXPECT_EQ(saved().currentBlock->sessions, state().currentBlock->sessions);

    // A new session (the work cycle moved on) joins without a rebuild.
    BlockForms* forms = view->forms();
    seed([](QuillmereState& s) { s.currentBlock->sessions.push_back(session(3, false)); });
    EXPECT_EQ(view->forms(), forms);
    EXPECT_EQ(QApplication::focusWidget(), why);
    EXPECT_EQ(str(forms->sessionsHeader()->text()), "Sessions: 3 of 8");

    seed([](QuillmereState& s) { s.currentBlock.reset(); });
    EXPECT_TRUE(visibleTexts(view).contains("No active block"));
    EXPECT_EQ(view->forms(), nullptr);
}

TEST_F(MainWindowTest, BreakStepperGoesThroughTheBreakCommand)
{
    seed([](QuillmereState& s) {
        s.workflowState = WorkflowState::breaking;
        s.currentBlock = blockWithSessions(std::nullopt);
        s.breakStartedAt = utcInstant(2026, 3, 2, 8, 58, 0);
    });
    open(MainWindowTab::currentBlock);
    auto* stepper = findNamed<QSpinBox>(window->currentBlockView(), "Break duration in minutes");
    ASSERT_NE(stepper, nullptr);
    stepper->stepUp();

    EXPECT_EQ(saved().currentBlock->breakDurationSeconds, 360);
    // Only the command moves the running break's end.
    EXPECT_EQ(harness.notifications->scheduled.at(NotificationEvent::breakEnd), utcInstant(2026, 3, 2, 9, 4, 0));
}

TEST_F(MainWindowTest, LeavingTheApplicationSavesAndReturningRefreshesPermission)
{
    open(MainWindowTab::workCycle);
    const int refreshes = harness.notifications->authorizationRefreshes;
    harness.clock.now += 1h;

    emit qApp->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_EQ(saved().updatedAt, harness.clock.now);
    emit qApp->applicationStateChanged(Qt::ApplicationActive);
    EXPECT_EQ(harness.notifications->authorizationRefreshes, refreshes + 1);
}

// The window keeps answering while years of history are saved: the longest
// wait of the event loop (a timer due every millisecond) during the first
// save after start-up, which encodes every block, and during a later one.
// The figures are printed; only the saves themselves are checked.
TEST(MainWindowSaving, ALongHistoryIsSavedWithoutHoldingUpTheWindow)
{
    fixtures::TempFolder folder;
    fakes::FakeClock clock;
    clock.now += 250ms;
    const QuillmereState history = fixtures::planningWithHistory(1250, clock.now);
    std::ofstream(folder.path() / "state.json") << encodeState(history).value();
    AppModel::Collaborators collaborators{std::make_unique<fakes::RecordingNotifications>(),
                                          std::make_unique<fakes::RecordingPublisher>(), clock.function(), nullptr,
                                          std::chrono::milliseconds::zero()};
    collaborators.writeInBackground = true;
    AppModel model(StateStore(folder.path(), clock.function()), std::move(collaborators), clock.now, false);
    MainWindow window(model);
    showActive(window);

    QTest::qWait(100); // the window's first layout and paint are not the save's
    // Waits in an event loop of its own: QTest's waits sleep between looks.
    const auto longestStallDuringASave = [&](const std::string& reason) {
        using Clock = std::chrono::steady_clock;
        Clock::duration longest{};
        Clock::time_point last = Clock::now();
        bool asked = false;
        QEventLoop loop;
        QTimer probe;
        probe.setTimerType(Qt::PreciseTimer);
        QObject::connect(&probe, &QTimer::timeout, [&] {
            const auto now = Clock::now();
            longest = std::max(longest, now - last);
            last = now;
            if (asked && !model.hasPendingSave()) {
                loop.quit();
            }
        });
        QTimer::singleShot(5, &model, [&] {
            model.editState([&](QuillmereState& state) { state.currentBlock->whyValue = reason; });
            model.persist();
            asked = true;
        });
        QTimer::singleShot(60'000, &loop, [&] {
            ADD_FAILURE() << "the save did not finish";
            loop.quit();
        });
        probe.start(1);
        loop.exec();
        return std::chrono::duration<double, std::milli>(longest).count();
    };
    const double first = longestStallDuringASave("First");
    const double later = longestStallDuringASave("Later");
    std::printf("longest wait of the event loop during a save of 1,250 blocks: %.1f ms the first time, %.1f ms "
                "later\n",
                first, later);

    const QuillmereState saved = StateStore(folder.path(), clock.function()).load().value();
    EXPECT_EQ(saved.blockHistory, history.blockHistory);
    EXPECT_EQ(saved.currentBlock->whyValue, "Later");
    EXPECT_TRUE(model.lastError().isEmpty()) << model.lastError().toStdString();
}

TEST_F(MainWindowTest, TypingAPlanTouchesNeitherTheHistoryNorTheQuestions)
{
    seed([](QuillmereState& s) {
        s.workflowState = WorkflowState::sessionPlanning;
        s.currentBlock = blockWithSessions(std::nullopt);
        for (int n = 0; n < 3; ++n) {
            s.blockHistory.push_back(blockWithSessions(utcInstant(2026, 1, 1) + std::chrono::hours(n)));
        }
        addOpenQuestions(s, 2);
    });
    open(MainWindowTab::workCycle);
    const std::vector<CompletedBlockEditor*> editors = window->historyView()->editors();
    ASSERT_EQ(editors.size(), 3u);
    std::vector<QPointer<QLineEdit>> answers;
    for (const AgentQuestion& question : state().agentQuestions) {
        answers.emplace_back(window->agentQuestionsView()->answerField(question.id));
    }
    QSignalSpy history(&model(), &AppModel::historyChanged);
    QSignalSpy questions(&model(), &AppModel::questionsChanged);
    QSignalSpy work(&model(), &AppModel::currentBlockChanged);

    type(findNamed<QPlainTextEdit>(window.get(), "Intended outcome"), "Parser");

    EXPECT_EQ(work.count(), 6);
    EXPECT_EQ(history.count(), 0);
    EXPECT_EQ(questions.count(), 0);
    EXPECT_EQ(window->historyView()->editors(), editors);
    for (const QPointer<QLineEdit>& answer : answers) {
        EXPECT_FALSE(answer.isNull()) << "a question's card was built again";
    }
}

} // namespace
} // namespace quillmere
