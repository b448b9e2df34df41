// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ClockChange.h"
#include "DraftSaveScheduler.h"
#include "FoundStateFile.h"
#include "MainWindowControlling.h"
#include "NotificationScheduling.h"
#include "Preferences.h"
#include "SaveTroubles.h"
#include "StateParts.h"
#include "WidgetPublishing.h"

#include "quillmere/AgentQuestions.h"
#include "quillmere/BackgroundWriter.h"
#include "quillmere/ControlCommand.h"
#include "quillmere/StateStore.h"
#include "quillmere/WidgetSnapshot.h"
#include "quillmere/WorkflowEngine.h"

#include <QObject>
#include <QString>
#include "quillmere/TimerSnapshot.h"

#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quillmere {

// The tabs of the main window, in their order.
enum class MainWindowTab { workCycle, currentBlock, history, agentQuestions, insights };

// The application's one model: it owns the state, runs every user command
// through the workflow engine, keeps the notifications and the widget in step,
// saves after every change and ticks once a second. Commands never throw: a
// refusal or a failed save becomes `lastError`; a hint about what to do next
// becomes `dueMessage`. Lives on the main thread for the life of the process.
class AppModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(quillmere::QuillmereState state READ state NOTIFY stateChanged)
    Q_PROPERTY(quillmere::Instant displayTick READ displayTick NOTIFY displayTickChanged)
    Q_PROPERTY(QString dueMessage READ dueMessage WRITE setDueMessage NOTIFY dueMessageChanged)
    Q_PROPERTY(QString lastError READ lastError WRITE setLastError NOTIFY lastErrorChanged)
    Q_PROPERTY(quillmere::MainWindowTab selectedTab READ selectedTab WRITE setSelectedTab NOTIFY selectedTabChanged)

public:
    using Clock = std::function<Instant()>;
    // Real time since some fixed moment, counting while the computer sleeps,
    // however the system clock is set.
    using ElapsedClock = ClockChangeDetector::ElapsedClock;
    using MainWindowFactory = std::function<std::unique_ptr<MainWindowControlling>(AppModel&)>;

    struct Collaborators {
        // The application entry gives the desktop's notification service and
        // the widget publisher on the shared widget folder. Absent: nothing
        // is notified or published.
        std::unique_ptr<NotificationScheduling> notifications;
        std::unique_ptr<WidgetPublishing> widgets;
        // Absent: the clock of the system.
        Clock clock;
        // Builds the main window on first use.
        MainWindowFactory mainWindowFactory;
        // How long typing may pause before a draft is written to disk; zero
        // writes every draft at once. A save rewrites the whole history, so
        // with years of blocks writing on every keystroke would stall typing.
        std::chrono::milliseconds draftSaveDelay{500};
        // Tells a change of the system clock from time passing. Absent: the
        // kernel's boot-time clock when `clock` is absent too; with a clock
        // of the caller's and none of this, clock changes are not looked for.
        ElapsedClock elapsed = {};
        // Write the files on threads of their own, so that neither a save of
        // years of history nor the files rewritten every second keep the
        // main thread waiting; their outcome comes back through the event
        // loop. Off: every write is finished when the command returns.
        bool writeInBackground = false;
        // The user's preferences. Absent: preferences kept in the state's
        // folder, which tests throw away with it.
        std::unique_ptr<Preferences> preferences = nullptr;
    };

    // Loads the state (or starts afresh with an error text), asks for
    // notification permission, re-arms the pending notification, publishes a
    // first widget snapshot and, if asked, starts the one-second tick. The
    // caller is the one writer of the store's folder (it holds its lock).
    AppModel(StateStore store, Collaborators collaborators, Instant now, bool startTickTimer,
             QObject* parent = nullptr);
    ~AppModel() override;

    // Observable fields. An empty text means there is no message.
    const QuillmereState& state() const { return state_; }
    Instant displayTick() const { return displayTick_; }
    QString dueMessage() const { return dueMessage_; }
    QString lastError() const { return lastError_; }
    MainWindowTab selectedTab() const { return selectedTab_; }
    void setDueMessage(const QString& message);
    void setLastError(const QString& message);
    void setSelectedTab(MainWindowTab tab);

    // Derived, recomputed on every read.
    WidgetPhase phase() const;
    // The running timer at the last tick, and as "mm:ss" ("+mm:ss" past zero).
    std::optional<TimerSnapshot> timer() const;
    std::optional<QString> timerText() const;
    static QString timerText(const TimerSnapshot& timer);
    // The timer text or a phase label, plus " ?N" for N open questions.
    QString menuTitle() const;

    NotificationScheduling& notifications() { return *notifications_; }
    Preferences& preferences() { return *preferences_; }
    // The block the user begins to prepare: empty, with the numbers the
    // preferences give a new block.
    Block newBlock(Instant now) const;
    // The model's clock, for screens that pass "the current instant".
    Instant now() const { return clock_(); }

    // Commands: one engine operation each.
    void beginBlock();
    void startBlock(const Block& block);
    void scheduleBlock(const Block& block);
    void editScheduledBlock(Instant at);
    void cancelScheduledBlock(Instant at);
    void startScheduledBlockNow(Instant at);
    void startFocus(const std::optional<SessionPlan>& plan);
    void pauseOrResumeFocus();
    void endFocus();
    void saveReview(const SessionReview& review, const std::optional<SessionPlan>& nextPlan);
    void endBreak();
    void extendBreak();
    void updateBreakDuration(Seconds seconds, Instant at);
    void skipBreak();
    void completeBlock(const BlockReview& review);
    void addQuestion(const QString& question);
    void answerQuestion(const Uuid& id, const QString& answer);

    // For programs: the panel's command, refused with the engine's reason
    // when it does not apply now; a refusal changes nothing and, unlike the
    // user's own commands, raises no alert, for the user did not ask.
    [[nodiscard]] WorkflowEngine::Result control(ControlCommand command);
    // A question from a program, named by `asker` ("" for none), held to the
    // rules of AgentQuestions; a refusal changes nothing.
    [[nodiscard]] std::expected<Uuid, AgentQuestions::Refusal> askQuestion(const QString& text, const QString& asker);

    // Drafts: keep what the user is typing, only in the phase they belong to.
    void saveBlockDraft(const Block& block);
    void saveSessionPlanDraft(const SessionPlan& plan);
    void saveReviewDraft(const SessionReview& review, const std::optional<SessionPlan>& nextPlan);
    void saveBlockReviewDraft(const BlockReview& review);

    // For the main window's editors of the current block and of the history,
    // which change the state directly and then call persist() or
    // persistSoon() themselves. `touched` names the parts the edit may
    // change: of those, the history is told as changed whenever named (an
    // edit of one of years of blocks is not looked for), the others only
    // when they differ afterwards. Parts not named must stay as they are.
    void editState(StateParts touched, const std::function<void(QuillmereState&)>& edit);
    void editState(const std::function<void(QuillmereState&)>& edit) { editState(allStateParts, edit); }

    // Stamps `updatedAt` with the clock and saves. A failed save keeps the
    // change in memory, raises one alert (updated in place while the trouble
    // lasts, not reopened once dismissed) and is retried on the tick until
    // it succeeds.
    void persist();
    // Like persist(), for typing: the change is in the state (and in the agent
    // file at the next tick) at once, and is written as DraftSaveScheduler
    // says, and before any other save.
    void persistSoon();
    // Writes a change that persistSoon() is still holding back, or one whose
    // save failed and awaits its retry.
    void flushPendingSave();
    // Whether the state in memory is not known to be in state.json yet.
    bool hasPendingSave() const
    {
        return drafts_.holding() || troubles_.retrying() || savesSettled_ < savesPosted_;
    }
    // flushPendingSave(), then waits until every file is written and their
    // outcomes are noted: before the process quits.
    void finishWriting();
    // Saves and publishes the widget snapshot. A failure the save meets at
    // once is returned too; the alert shows every failure.
    [[nodiscard]] std::expected<void, QString> persistThrowing();

    void showMainWindow();
    void showPreferences();

    // One tick of the clock: a change of the system clock, automatic
    // transitions, a due retry of a failed save, agent file, widget.
    void tick(Instant now);
    // Re-arms the one notification the state needs after a restart.
    void restoreNotificationDeadline(Instant now);

signals:
    // Any change of the state; then those of the parts it changed.
    void stateChanged();
    void phaseChanged();
    void currentBlockChanged();
    void historyChanged();
    void questionsChanged();
    void displayTickChanged();
    void dueMessageChanged();
    void lastErrorChanged();
    void selectedTabChanged();
    // The user saved an answer to the question `id`.
    void questionAnswered(const quillmere::Uuid& id, const QString& answer);

private:
    using Trouble = SaveTroubles::Trouble;
    using Operation = std::function<WorkflowEngine::Result(QuillmereState&, Instant)>;

    // The shared pattern of every command: engine step, then commit().
    WorkflowEngine::Result apply(const Operation& operation, Instant now, const std::function<void()>& after);
    // Tells the observers what changed, runs `after` (the notification and
    // notice steps) and saves.
    void commit(StateParts changed, const std::function<void()>& after = nullptr);
    // A draft typed into the work in hand, kept as persistSoon() says.
    void keepDraft(const std::function<void(QuillmereState&)>& edit);
    // A deadline the tick found passed: the notice, and the notification
    // that no longer has to come.
    void followDeadline(const QString& notice, NotificationEvent event);
    void run(const Operation& operation, Instant now, const std::function<void()>& after);
    // Shows a refusal of the user's own command.
    void report(const WorkflowEngine::Result& result);
    WorkflowEngine::Result cancelScheduledBlockAt(Instant at);
    WorkflowEngine::Result startScheduledBlockAt(Instant at);
    WorkflowEngine::Result focusOn(const std::optional<SessionPlan>& plan);
    Uuid appendQuestion(const std::string& text, const std::optional<std::string>& askedBy);
    void scheduleDeadline(NotificationEvent event);
    // The copies the first save owes, then the save itself.
    [[nodiscard]] std::expected<void, Trouble> writeState();
    // Writes the agents' file as of `at` on the file writer.
    void writeAgentFile(Instant at);
    void settleSave(std::uint64_t save, const std::expected<void, StoreError>& result);
    void notifyStateChanged(StateParts changed);
    void noteAgentFileWrite(const std::expected<void, StoreError>& result);
    void followClockChange(Instant now);
    // Built on first use; null without a factory.
    MainWindowControlling* windowController();

    StateStore store_;
    // A copy for the file writer's thread, which writes the agents' file.
    StateStore agentFileStore_;
    QuillmereState state_;
    Instant displayTick_;
    QString dueMessage_;
    QString lastError_;
    MainWindowTab selectedTab_ = MainWindowTab::workCycle;
    std::unique_ptr<Preferences> preferences_;
    std::unique_ptr<NotificationScheduling> notifications_;
    std::unique_ptr<WidgetPublishing> widgets_;
    Clock clock_;
    MainWindowFactory mainWindowFactory_;
    std::unique_ptr<MainWindowControlling> mainWindowController_;
    QTimer* tickTimer_ = nullptr;
    DraftSaveScheduler drafts_;
    FoundStateFile foundFile_;
    SaveTroubles troubles_;
    ClockChangeDetector clockChanges_;
    // The state file on one, the agents' file, rewritten every second, on
    // the other, so that a tick never waits behind a save. Declared after
    // everything their writes use.
    std::unique_ptr<BackgroundWriter> stateWriter_;
    std::unique_ptr<BackgroundWriter> fileWriter_;
    // Saves handed to the state writer, and the last of them that finished;
    // a save that a newer one replaced before it began never finishes.
    std::uint64_t savesPosted_ = 0;
    std::uint64_t savesSettled_ = 0;
    // Whether the last write of the agents' file failed; the file writer's.
    bool agentFileFailed_ = false;
};

} // namespace quillmere

Q_DECLARE_METATYPE(quillmere::QuillmereState)
Q_DECLARE_METATYPE(quillmere::Instant)
Q_DECLARE_METATYPE(quillmere::MainWindowTab)
