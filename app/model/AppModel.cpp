// SPDX-License-Identifier: GPL-3.0-or-later
// Longer than the other files: this is where each command's engine step,
// its notifications and notices, the save and the tick meet. What can stand
// alone already does (DraftSaveScheduler, SaveTroubles, ClockChange,
// FoundStateFile, the list models).
#include "AppModel.h"

#include "LocalText.h"
#include "SystemLog.h"

#include "quillmere/TimerSnapshot.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEvent>
#include <QLocale>

#include <cmath>
#include <utility>

namespace quillmere {
namespace {

QString errorText(WorkflowError error)
{
    return translated(messageSource(error));
}

QString localShortDateTime(Instant instant)
{
    const auto seconds = std::chrono::floor<std::chrono::seconds>(instant).time_since_epoch().count();
    return QLocale::system().toString(QDateTime::fromSecsSinceEpoch(seconds), QLocale::ShortFormat);
}

QString description(const StoreError& error)
{
    return qtText(error.description());
}

} // namespace

AppModel::AppModel(StateStore store, Collaborators collaborators, Instant now, bool startTickTimer, QObject* parent)
    : QObject(parent),
      store_(std::move(store)),
      agentFileStore_(store_),
      displayTick_(wholeSeconds(now)),
      preferences_(collaborators.preferences
                       ? std::move(collaborators.preferences)
                       : std::make_unique<Preferences>(Preferences::inFolder(store_.directory()))),
      notifications_(std::move(collaborators.notifications)),
      widgets_(std::move(collaborators.widgets)),
      clock_(std::move(collaborators.clock)),
      mainWindowFactory_(std::move(collaborators.mainWindowFactory)),
      drafts_(collaborators.draftSaveDelay, [this] { (void)persistThrowing(); }),
      troubles_({[this] { return lastError_; }, [this](const QString& text) { setLastError(text); }}),
      clockChanges_(collaborators.elapsed || clock_ ? std::move(collaborators.elapsed)
                                                    : ElapsedClock(ClockChangeDetector::bootTime),
                    now)
{
    if (!clock_) {
        clock_ = [] { return std::chrono::system_clock::now(); };
    }
    // Instants enter the state, the agent file and the widget's snapshot in
    // whole seconds, as the files hold them: a fraction in memory would make
    // the state differ from itself once reloaded, and a countdown's end
    // computed from it would move with the tick's fraction every second,
    // making the widget reload although nothing changed.
    clock_ = [exact = std::move(clock_)] { return wholeSeconds(exact()); };
    const auto writerMode =
        collaborators.writeInBackground ? BackgroundWriter::Mode::ownThread : BackgroundWriter::Mode::immediate;
    // What a write has to say is said on this thread (at once when it is
    // the writing thread, in immediate mode).
    const auto deliver = [this](BackgroundWriter::Then then) { QMetaObject::invokeMethod(this, std::move(then)); };
    stateWriter_ = std::make_unique<BackgroundWriter>(writerMode, deliver, "state-writer");
    fileWriter_ = std::make_unique<BackgroundWriter>(writerMode, deliver, "file-writer");
    if (!notifications_) {
        notifications_ = std::make_unique<TestHostNotificationScheduler>();
    }
    if (!widgets_) {
        widgets_ = std::make_unique<TestHostWidgetPublisher>();
    }

    state_ = foundFile_.load(store_, displayTick_);
    lastError_ = foundFile_.loadError();

    notifications_->requestPermission();
    restoreNotificationDeadline(displayTick_);
    widgets_->publish(WidgetSnapshot::make(state_, displayTick_));

    if (startTickTimer) {
        tickTimer_ = new QTimer(this);
        tickTimer_->setTimerType(Qt::PreciseTimer);
        tickTimer_->setInterval(1000);
        connect(tickTimer_, &QTimer::timeout, this, [this] { tick(clock_()); });
        tickTimer_->start();
    }
}

AppModel::~AppModel()
{
    finishWriting();
}

void AppModel::finishWriting()
{
    flushPendingSave();
    // What the writes have to say (a failed save for the log, the widget's
    // snapshot after a save) is said now: the event loop may not run again.
    stateWriter_->waitUntilIdle();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    fileWriter_->waitUntilIdle();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void AppModel::setDueMessage(const QString& message)
{
    if (dueMessage_ == message) {
        return;
    }
    dueMessage_ = message;
    emit dueMessageChanged();
}

void AppModel::setLastError(const QString& message)
{
    if (lastError_ == message) {
        return;
    }
    lastError_ = message;
    emit lastErrorChanged();
}

void AppModel::setSelectedTab(MainWindowTab tab)
{
    if (selectedTab_ == tab) {
        return;
    }
    selectedTab_ = tab;
    emit selectedTabChanged();
}

void AppModel::notifyStateChanged(StateParts changed)
{
    emit stateChanged();
    if (changed.testFlag(StatePart::phase)) {
        emit phaseChanged();
    }
    if (changed.testFlag(StatePart::currentBlock)) {
        emit currentBlockChanged();
    }
    if (changed.testFlag(StatePart::history)) {
        emit historyChanged();
    }
    if (changed.testFlag(StatePart::questions)) {
        emit questionsChanged();
    }
}

WidgetPhase AppModel::phase() const
{
    return widgetPhase(state_.workflowState);
}

std::optional<TimerSnapshot> AppModel::timer() const
{
    return TimerSnapshot::derive(state_, displayTick_);
}

std::optional<QString> AppModel::timerText() const
{
    const auto running = timer();
    return running ? std::optional(timerText(*running)) : std::nullopt;
}

QString AppModel::timerText(const TimerSnapshot& timer)
{
    const QString clock = clockText(timer.displaySeconds, ClockHours::inMinutes);
    return timer.isOvertime ? QLatin1Char('+') + clock : clock;
}

QString AppModel::menuTitle() const
{
    QString title;
    if (auto timer = timerText()) {
        title = *timer;
    } else {
        switch (state_.workflowState) {
        case WorkflowState::idle: title = tr("Quillmere"); break;
        case WorkflowState::blockPlanning: title = tr("Block plan"); break;
        case WorkflowState::sessionPlanning: title = tr("Session plan"); break;
        case WorkflowState::focusing: title = tr("Focus"); break;
        case WorkflowState::sessionReview: title = tr("Review"); break;
        case WorkflowState::breaking: title = tr("Break"); break;
        case WorkflowState::blockReview: title = tr("Block review"); break;
        case WorkflowState::complete: title = tr("Complete"); break;
        }
    }
    const auto open = std::ranges::count_if(state_.agentQuestions, [](const auto& q) { return !q.answeredAt; });
    if (open > 0) {
        return tr("%1 ?%n", "menu title: the timer or the phase, then the open questions", static_cast<int>(open))
            .arg(title);
    }
    return title;
}

WorkflowEngine::Result AppModel::apply(const Operation& operation, Instant now, const std::function<void()>& after)
{
    const PartsBefore before(state_, allStateParts);
    if (auto result = operation(state_, wholeSeconds(now)); !result) {
        return result;
    }
    commit(before.changedIn(state_), after);
    return {};
}

void AppModel::commit(StateParts changed, const std::function<void()>& after)
{
    notifyStateChanged(changed);
    if (after) {
        after();
    }
    (void)persistThrowing();
}

void AppModel::report(const WorkflowEngine::Result& result)
{
    if (!result) {
        setLastError(errorText(result.error()));
    }
}

void AppModel::run(const Operation& operation, Instant now, const std::function<void()>& after)
{
    report(apply(operation, now, after));
}

WorkflowEngine::Result AppModel::control(ControlCommand command)
{
    const Instant now = clock_();
    switch (command) {
    case ControlCommand::pauseFocus:
        return apply(WorkflowEngine::pauseFocus, now, [this] { notifications_->cancel(NotificationEvent::focusEnd); });
    case ControlCommand::resumeFocus:
        return apply(WorkflowEngine::resumeFocus, now, [this] { scheduleDeadline(NotificationEvent::focusEnd); });
    case ControlCommand::endFocus:
        return apply(WorkflowEngine::endFocus, now, [this] { notifications_->cancel(NotificationEvent::focusEnd); });
    case ControlCommand::extendBreak:
        return apply([](QuillmereState& s, Instant at) { return WorkflowEngine::extendBreak(s, 300, at); }, now,
                     [this] { scheduleDeadline(NotificationEvent::breakEnd); });
    case ControlCommand::endBreak:
        return apply(WorkflowEngine::endBreak, now, [this] {
            notifications_->cancel(NotificationEvent::breakEnd);
            setDueMessage(tr("Your next session plan is saved. Focus starts only when you choose Start focus."));
        });
    case ControlCommand::skipBreak:
        return apply(WorkflowEngine::skipBreak, now, [this] {
            notifications_->cancel(NotificationEvent::breakEnd);
            setDueMessage(tr("Break skipped. Focus starts only when you choose Start focus."));
        });
    case ControlCommand::startPlannedSession: return focusOn(std::nullopt);
    case ControlCommand::startScheduledBlockNow: return startScheduledBlockAt(now);
    case ControlCommand::cancelScheduledBlock: return cancelScheduledBlockAt(now);
    case ControlCommand::showMainWindow: showMainWindow(); return {};
    }
    return {};
}

void AppModel::scheduleDeadline(NotificationEvent event)
{
    const auto timer = TimerSnapshot::derive(state_, clock_());
    if (!timer) {
        return;
    }
    notifications_->schedule(event, addSeconds(clock_(), static_cast<double>(timer->remainingSeconds)));
}

void AppModel::beginBlock()
{
    run(WorkflowEngine::beginBlockPlanning, clock_(), nullptr);
}

void AppModel::startBlock(const Block& block)
{
    run([&](QuillmereState& s, Instant now) { return WorkflowEngine::startBlock(s, block, now); }, clock_(), nullptr);
}

void AppModel::scheduleBlock(const Block& block)
{
    run([&](QuillmereState& s, Instant now) { return WorkflowEngine::scheduleBlock(s, block, now); }, clock_(),
        [&] {
            // The argument's start, not the stored block's: they are the same
            // block, but the argument is what the user just confirmed.
            if (block.plannedStart) {
                notifications_->schedule(NotificationEvent::scheduledStart, *block.plannedStart);
                setDueMessage(tr("Block scheduled for %1.").arg(localShortDateTime(*block.plannedStart)));
            }
        });
}

void AppModel::editScheduledBlock(Instant at)
{
    run(WorkflowEngine::editScheduledBlock, at, [this] {
        notifications_->cancel(NotificationEvent::scheduledStart);
        setDueMessage({});
    });
}

WorkflowEngine::Result AppModel::cancelScheduledBlockAt(Instant at)
{
    return apply(WorkflowEngine::cancelScheduledBlock, at, [this] {
        notifications_->cancel(NotificationEvent::scheduledStart);
        setDueMessage({});
    });
}

void AppModel::cancelScheduledBlock(Instant at)
{
    report(cancelScheduledBlockAt(at));
}

WorkflowEngine::Result AppModel::startScheduledBlockAt(Instant at)
{
    return apply(WorkflowEngine::startScheduledBlockNow, at, [this] {
        notifications_->cancel(NotificationEvent::scheduledStart);
        setDueMessage(tr("Plan the first session when you are ready."));
    });
}

void AppModel::startScheduledBlockNow(Instant at)
{
    report(startScheduledBlockAt(at));
}

WorkflowEngine::Result AppModel::focusOn(const std::optional<SessionPlan>& plan)
{
    return apply([&](QuillmereState& s, Instant now) { return WorkflowEngine::startFocus(s, plan, now); }, clock_(),
                 [this] {
                     scheduleDeadline(NotificationEvent::focusEnd);
                     setDueMessage({});
                 });
}

void AppModel::startFocus(const std::optional<SessionPlan>& plan)
{
    report(focusOn(plan));
}

void AppModel::pauseOrResumeFocus()
{
    const WorkSession* session = state_.currentSession();
    const bool paused = session != nullptr && session->pausedAt;
    report(control(paused ? ControlCommand::resumeFocus : ControlCommand::pauseFocus));
}

void AppModel::endFocus()
{
    report(control(ControlCommand::endFocus));
}

void AppModel::saveReview(const SessionReview& review, const std::optional<SessionPlan>& nextPlan)
{
    run([&](QuillmereState& s, Instant now) { return WorkflowEngine::saveReviewAndStartBreak(s, review, nextPlan, now); },
        clock_(), [this] {
            if (state_.workflowState == WorkflowState::breaking) {
                scheduleDeadline(NotificationEvent::breakEnd);
            }
        });
}

void AppModel::endBreak()
{
    report(control(ControlCommand::endBreak));
}

void AppModel::extendBreak()
{
    report(control(ControlCommand::extendBreak));
}

void AppModel::skipBreak()
{
    report(control(ControlCommand::skipBreak));
}

void AppModel::updateBreakDuration(Seconds seconds, Instant at)
{
    // Not finite is refused like zero: JSON cannot hold it.
    if (!(seconds > 0) || !std::isfinite(seconds)) {
        setLastError(errorText(WorkflowError::invalidDuration));
        return;
    }
    if (!state_.currentBlock) {
        setLastError(errorText(WorkflowError::missingBlock));
        return;
    }
    const PartsBefore before(state_, StatePart::currentBlock);
    state_.currentBlock->breakDurationSeconds = seconds;
    state_.updatedAt = at;
    if (state_.workflowState == WorkflowState::breaking && state_.breakStartedAt) {
        // Signal the end again, for the new length.
        state_.breakEndNotifiedAt.reset();
        notifications_->schedule(NotificationEvent::breakEnd,
                                 addSeconds(*state_.breakStartedAt, seconds + state_.breakExtensionSeconds));
        setDueMessage({});
    }
    commit(before.changedIn(state_));
}

void AppModel::completeBlock(const BlockReview& review)
{
    run([&](QuillmereState& s, Instant now) { return WorkflowEngine::completeBlockReview(s, review, now); }, clock_(),
        nullptr);
}

void AppModel::addQuestion(const QString& question)
{
    if (question.trimmed().isEmpty()) {
        return;
    }
    appendQuestion(question.toStdString(), std::nullopt);
}

std::expected<Uuid, AgentQuestions::Refusal> AppModel::askQuestion(const QString& text, const QString& asker)
{
    const std::string textAsGiven = text.toStdString();
    const std::string name = asker.toStdString();
    if (auto allowed = AgentQuestions::check(state_, textAsGiven, name); !allowed) {
        return std::unexpected(allowed.error());
    }
    return appendQuestion(textAsGiven, name.empty() ? std::nullopt : std::optional<std::string>(name));
}

Uuid AppModel::appendQuestion(const std::string& text, const std::optional<std::string>& askedBy)
{
    Uuid id;
    run(
        [&](QuillmereState& s, Instant now) -> WorkflowEngine::Result {
            id = WorkflowEngine::addQuestion(s, text, now, askedBy);
            return {};
        },
        clock_(), nullptr);
    return id;
}

void AppModel::answerQuestion(const Uuid& id, const QString& answer)
{
    const std::string answerText = answer.toStdString();
    const auto result = apply(
        [&](QuillmereState& s, Instant now) { return WorkflowEngine::answerQuestion(s, id, answerText, now); },
        clock_(), nullptr);
    report(result);
    if (result) {
        emit questionAnswered(id, answer);
    }
}

void AppModel::saveBlockDraft(const Block& block)
{
    if (state_.workflowState != WorkflowState::blockPlanning) {
        return;
    }
    keepDraft([&](QuillmereState& state) { state.currentBlock = block; });
}

void AppModel::saveSessionPlanDraft(const SessionPlan& plan)
{
    if (state_.workflowState != WorkflowState::sessionPlanning) {
        return;
    }
    keepDraft([&](QuillmereState& state) { state.plannedNextSession = plan; });
}

void AppModel::saveReviewDraft(const SessionReview& review, const std::optional<SessionPlan>& nextPlan)
{
    if (state_.workflowState != WorkflowState::sessionReview || state_.currentSession() == nullptr) {
        return;
    }
    keepDraft([&](QuillmereState& state) {
        state.currentSession()->review = review;
        state.plannedNextSession = nextPlan;
    });
}

void AppModel::saveBlockReviewDraft(const BlockReview& review)
{
    if (state_.workflowState != WorkflowState::blockReview) {
        return;
    }
    keepDraft([&](QuillmereState& state) {
        if (state.currentBlock) {
            state.currentBlock->reflection = review;
        }
    });
}

void AppModel::keepDraft(const std::function<void(QuillmereState&)>& edit)
{
    const PartsBefore before(state_, StatePart::currentBlock);
    edit(state_);
    state_.updatedAt = clock_();
    notifyStateChanged(before.changedIn(state_));
    drafts_.changed();
}

void AppModel::editState(StateParts touched, const std::function<void(QuillmereState&)>& edit)
{
    const PartsBefore before(state_, touched);
    edit(state_);
    notifyStateChanged(before.changedIn(state_) | (touched & StatePart::history));
}

void AppModel::persist()
{
    state_.updatedAt = clock_();
    commit({});
}

void AppModel::persistSoon()
{
    keepDraft([](QuillmereState&) {});
}

void AppModel::flushPendingSave()
{
    if (!drafts_.holding() && !troubles_.retrying()) {
        return;
    }
    (void)persistThrowing();
}

std::expected<void, QString> AppModel::persistThrowing()
{
    // Whatever typing was held back is part of this save.
    drafts_.written();
    const auto result = writeState();
    if (!result) {
        troubles_.noteStateSave(result, clock_());
    }
    // The agents' file follows the state in memory, saved or not.
    writeAgentFile(state_.updatedAt);
    if (!result) {
        return std::unexpected(result.error().shown);
    }
    return {};
}

void AppModel::settleSave(std::uint64_t save, const std::expected<void, StoreError>& result)
{
    savesSettled_ = save;
    if (!result) {
        const char* source = QT_TR_NOOP("Quillmere could not save your work: %1 Nothing is lost yet: Quillmere keeps "
                                        "it and tries again until the save succeeds.");
        troubles_.noteStateSave(
            std::unexpected(Trouble::worded(source, tr(source), sentence(description(result.error())))), clock_());
        return;
    }
    troubles_.noteStateSave({}, clock_());
    widgets_->publish(WidgetSnapshot::make(state_, state_.updatedAt));
}

void AppModel::writeAgentFile(Instant at)
{
    auto text = store_.encodeAgentFile(state_, at);
    if (!text) {
        noteAgentFileWrite(std::unexpected(std::move(text.error())));
        return;
    }
    fileWriter_->post(StateStore::agentStateFileName, [this, text = std::move(*text)]() -> BackgroundWriter::Then {
        auto written = agentFileStore_.writeAgentFile(text);
        // Said only when it changes or fails: a word every second would wake
        // the main thread for nothing.
        if (written && !std::exchange(agentFileFailed_, false)) {
            return nullptr;
        }
        agentFileFailed_ = !written;
        return [this, written = std::move(written)] { noteAgentFileWrite(written); };
    });
}

std::expected<void, AppModel::Trouble> AppModel::writeState()
{
    const auto kept = foundFile_.keepBeforeSave(store_, clock_());
    if (!kept) {
        return std::unexpected(kept.error());
    }
    if (kept->alert) {
        setLastError(*kept->alert);
    }
    if (kept->notice) {
        setDueMessage(*kept->notice);
    }
    // The writer encodes and writes a copy, so that the state in memory
    // stays free to change meanwhile.
    const std::uint64_t save = ++savesPosted_;
    stateWriter_->post(StateStore::stateFileName,
                       [this, save, state = std::make_shared<const QuillmereState>(state_)] {
                           return BackgroundWriter::Then(
                               [this, save, saved = store_.saveStateFile(*state)] { settleSave(save, saved); });
                       });
    return {};
}

void AppModel::noteAgentFileWrite(const std::expected<void, StoreError>& result)
{
    if (result) {
        troubles_.noteAgentFileWrite(std::nullopt);
        return;
    }
    const char* source = QT_TR_NOOP("Quillmere could not update the agents' file: %1 Agents see an older state until "
                                    "it can be written again.");
    troubles_.noteAgentFileWrite(Trouble::worded(source, tr(source), sentence(description(result.error()))));
}

Block AppModel::newBlock(Instant now) const
{
    Block block = Block::defaultBlock(now);
    const NewBlockDefaults& defaults = preferences_->newBlockDefaults();
    block.focusDurationSeconds = defaults.focusMinutes * 60.0;
    block.breakDurationSeconds = defaults.breakMinutes * 60.0;
    block.cycleCount = defaults.sessions;
    return block;
}

void AppModel::showMainWindow()
{
    if (MainWindowControlling* controller = windowController()) {
        controller->presentWindow();
    }
}

void AppModel::showPreferences()
{
    if (MainWindowControlling* controller = windowController()) {
        controller->presentPreferences();
    }
}

MainWindowControlling* AppModel::windowController()
{
    if (!mainWindowController_ && mainWindowFactory_) {
        mainWindowController_ = mainWindowFactory_(*this);
    }
    return mainWindowController_.get();
}

void AppModel::tick(Instant exactNow)
{
    const Instant now = wholeSeconds(exactNow);
    if (displayTick_ != now) {
        displayTick_ = now;
        emit displayTickChanged();
    }
    followClockChange(now);

    // Only the engine's evaluations below change the state here.
    const PartsBefore before(state_, StatePart::phase | StatePart::currentBlock);
    bool due = false;
    if (WorkflowEngine::evaluateSchedule(state_, now)) {
        followDeadline(tr("Your scheduled block is ready. Plan the first session when you are ready."),
                       NotificationEvent::scheduledStart);
        due = true;
    }
    switch (WorkflowEngine::evaluateTimer(state_, now)) {
    case TimerTransition::noChange: break;
    case TimerTransition::focusEnded:
        followDeadline(tr("Focus ended. Review the session before you continue."), NotificationEvent::focusEnd);
        due = true;
        break;
    case TimerTransition::breakEnded:
        followDeadline(tr("Break ended. Focus will start only when you choose Start focus."),
                       NotificationEvent::breakEnd);
        due = true;
        break;
    }
    if (due) {
        commit(before.changedIn(state_));
    } else if (troubles_.retryDue(now)) {
        (void)persistThrowing();
    }

    // Both follow the state in memory, saved or not.
    writeAgentFile(now);
    widgets_->publish(WidgetSnapshot::make(state_, displayTick_));
}

void AppModel::followDeadline(const QString& notice, NotificationEvent event)
{
    setDueMessage(notice);
    notifications_->cancel(event);
}

void AppModel::followClockChange(Instant now)
{
    const auto change = clockChanges_.read(now);
    if (!change) {
        return;
    }
    troubles_.clockMoved(*change);
    const bool moved = keepRunningTimer(state_, *change);
    writeSystemLog("Quillmere: the system clock moved by " + std::to_string(change->count()) + " s" +
                   (moved ? "; the running timer keeps its remaining time" : ""));
    // Notification deadlines are instants of the old clock.
    restoreNotificationDeadline(now);
    if (moved) {
        state_.updatedAt = now;
        commit(StatePart::currentBlock);
    }
}

void AppModel::restoreNotificationDeadline(Instant now)
{
    if (state_.workflowState == WorkflowState::idle && state_.currentBlock && state_.currentBlock->plannedStart &&
        *state_.currentBlock->plannedStart > now) {
        notifications_->schedule(NotificationEvent::scheduledStart, *state_.currentBlock->plannedStart);
        return;
    }
    const auto timer = TimerSnapshot::derive(state_, now);
    if (!timer || timer->remainingSeconds < 1 || timer->isPaused) {
        return;
    }
    const NotificationEvent event =
        timer->kind == TimerKind::focus ? NotificationEvent::focusEnd : NotificationEvent::breakEnd;
    notifications_->schedule(event, addSeconds(now, static_cast<double>(timer->remainingSeconds)));
}

} // namespace quillmere
