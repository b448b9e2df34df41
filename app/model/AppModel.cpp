#include "AppModel.h"

#include "FreedesktopNotificationCenter.h"
#include "Notifications.h"
#include "WidgetPublisher.h"

#include "quillmere/TimerSnapshot.h"
#include "quillmere/WidgetSnapshotStore.h"

#include <QDateTime>
#include <QLocale>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillmere {
namespace {

QString text(std::string_view value)
{
    return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}

QString errorText(WorkflowError error)
{
    return text(message(error));
}

QString localShortDateTime(Instant instant)
{
    const auto seconds = std::chrono::floor<std::chrono::seconds>(instant).time_since_epoch().count();
    return QLocale::system().toString(QDateTime::fromSecsSinceEpoch(seconds), QLocale::ShortFormat);
}

std::string compactUtc(Instant instant)
{
    // yyyyMMddTHHmmssZ, from the file format's "yyyy-MM-ddTHH:mm:ssZ".
    std::string iso = formatInstant(instant);
    std::erase(iso, '-');
    std::erase(iso, ':');
    return iso;
}

// rename(2) that never replaces an existing file.
int renameWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return errno;
    }
    // File systems without the flag: a hard link fails on an existing name too.
    if (::link(from.c_str(), to.c_str()) != 0) {
        return errno;
    }
    ::unlink(from.c_str());
    return 0;
}

} // namespace

AppModel::AppModel(StateStore store, Collaborators collaborators, Instant now, bool startTickTimer, QObject* parent)
    : QObject(parent),
      store_(std::move(store)),
      displayTick_(now),
      notifications_(std::move(collaborators.notifications)),
      widgets_(std::move(collaborators.widgets)),
      clock_(std::move(collaborators.clock)),
      mainWindowFactory_(std::move(collaborators.mainWindowFactory)),
      draftSaveDelay_(collaborators.draftSaveDelay)
{
    draftSaveTimer_ = new QTimer(this);
    draftSaveTimer_->setSingleShot(true);
    connect(draftSaveTimer_, &QTimer::timeout, this, &AppModel::flushPendingSave);
    if (!clock_) {
        clock_ = [] { return std::chrono::system_clock::now(); };
    }
    if (!notifications_) {
        // Clicking one of our notifications brings the main window back.
        auto center = std::make_unique<FreedesktopNotificationCenter>(QDBusConnection::sessionBus(), clock_,
                                                                      [this] { showMainWindow(); });
        notifications_ = std::make_unique<Notifications>(std::move(center), clock_);
    }
    if (!widgets_) {
        widgets_ = std::make_unique<WidgetPublisher>(WidgetSnapshotStore::shared(QuillmereAppGroup::identifier),
                                                     nullptr, nullptr);
    }

    if (auto loaded = store_.load()) {
        state_ = std::move(*loaded);
    } else {
        state_ = QuillmereState::initial(now);
        loadErrorText_ = "Quillmere could not read its saved state: " + QString::fromStdString(loaded.error().description());
        lastError_ = loadErrorText_;
        // The damaged file may hold the user's whole history: keep it out of
        // the way of the first save instead of overwriting it.
        unreadableFileToKeep_ = std::filesystem::exists(store_.stateURL());
    }

    notifications_->requestPermission();
    restoreNotificationDeadline(now);
    widgets_->publish(WidgetSnapshot::make(state_, now));

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
    flushPendingSave();
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

void AppModel::notifyStateChanged()
{
    emit stateChanged();
}

WidgetPhase AppModel::phase() const
{
    return widgetPhase(state_.workflowState);
}

std::optional<QString> AppModel::timerText() const
{
    const auto timer = TimerSnapshot::derive(state_, displayTick_);
    if (!timer) {
        return std::nullopt;
    }
    const std::int64_t minutes = timer->displaySeconds / 60;
    const std::int64_t seconds = timer->displaySeconds % 60;
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%s%02lld:%02lld", timer->isOvertime ? "+" : "",
                  static_cast<long long>(minutes), static_cast<long long>(seconds));
    return QString::fromLatin1(buffer);
}

QString AppModel::menuTitle() const
{
    QString title;
    if (auto timer = timerText()) {
        title = *timer;
    } else {
        switch (state_.workflowState) {
        case WorkflowState::idle: title = "Quillmere"; break;
        case WorkflowState::blockPlanning: title = "Block plan"; break;
        case WorkflowState::sessionPlanning: title = "Session plan"; break;
        case WorkflowState::focusing: title = "Focus"; break;
        case WorkflowState::sessionReview: title = "Review"; break;
        case WorkflowState::breaking: title = "Break"; break;
        case WorkflowState::blockReview: title = "Block review"; break;
        case WorkflowState::complete: title = "Complete"; break;
        }
    }
    const auto open = std::ranges::count_if(state_.agentQuestions, [](const auto& q) { return !q.answeredAt; });
    if (open > 0) {
        title += " ?" + QString::number(open);
    }
    return title;
}

void AppModel::run(const Operation& operation, Instant now, const std::function<void()>& after)
{
    if (auto result = operation(state_, now); !result) {
        setLastError(errorText(result.error()));
        return;
    }
    notifyStateChanged();
    if (after) {
        after();
    }
    if (auto saved = persistThrowing(); !saved) {
        setLastError(saved.error());
    }
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
                setDueMessage("Block scheduled for " + localShortDateTime(*block.plannedStart) + ".");
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

void AppModel::cancelScheduledBlock(Instant at)
{
    run(WorkflowEngine::cancelScheduledBlock, at, [this] {
        notifications_->cancel(NotificationEvent::scheduledStart);
        setDueMessage({});
    });
}

void AppModel::startScheduledBlockNow(Instant at)
{
    run(WorkflowEngine::startScheduledBlockNow, at, [this] {
        notifications_->cancel(NotificationEvent::scheduledStart);
        setDueMessage("Plan the first session when you are ready.");
    });
}

void AppModel::startFocus(const std::optional<SessionPlan>& plan)
{
    run([&](QuillmereState& s, Instant now) { return WorkflowEngine::startFocus(s, plan, now); }, clock_(), [this] {
        scheduleDeadline(NotificationEvent::focusEnd);
        setDueMessage({});
    });
}

void AppModel::pauseOrResumeFocus()
{
    const WorkSession* session = state_.currentSession();
    if (session == nullptr || !session->pausedAt) {
        run(WorkflowEngine::pauseFocus, clock_(), [this] { notifications_->cancel(NotificationEvent::focusEnd); });
    } else {
        run(WorkflowEngine::resumeFocus, clock_(), [this] { scheduleDeadline(NotificationEvent::focusEnd); });
    }
}

void AppModel::endFocus()
{
    run(WorkflowEngine::endFocus, clock_(), [this] { notifications_->cancel(NotificationEvent::focusEnd); });
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
    run(WorkflowEngine::endBreak, clock_(), [this] {
        notifications_->cancel(NotificationEvent::breakEnd);
        setDueMessage("Your next session plan is saved. Focus starts only when you choose Start focus.");
    });
}

void AppModel::extendBreak()
{
    run([](QuillmereState& s, Instant now) { return WorkflowEngine::extendBreak(s, 300, now); }, clock_(),
        [this] { scheduleDeadline(NotificationEvent::breakEnd); });
}

void AppModel::skipBreak()
{
    run(WorkflowEngine::skipBreak, clock_(), [this] {
        notifications_->cancel(NotificationEvent::breakEnd);
        setDueMessage("Break skipped. Focus starts only when you choose Start focus.");
    });
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
    state_.currentBlock->breakDurationSeconds = seconds;
    state_.updatedAt = at;
    if (state_.workflowState == WorkflowState::breaking && state_.breakStartedAt) {
        // Signal the end again, for the new length.
        state_.breakEndNotifiedAt.reset();
        notifications_->schedule(NotificationEvent::breakEnd,
                                 addSeconds(*state_.breakStartedAt, seconds + state_.breakExtensionSeconds));
        setDueMessage({});
    }
    notifyStateChanged();
    if (auto saved = persistThrowing(); !saved) {
        setLastError(saved.error());
    }
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
    const std::string textAsGiven = question.toStdString();
    run(
        [&](QuillmereState& s, Instant now) -> WorkflowEngine::Result {
            WorkflowEngine::addQuestion(s, textAsGiven, now);
            return {};
        },
        clock_(), nullptr);
}

void AppModel::answerQuestion(const Uuid& id, const QString& answer)
{
    const std::string answerText = answer.toStdString();
    run([&](QuillmereState& s, Instant now) { return WorkflowEngine::answerQuestion(s, id, answerText, now); },
        clock_(), nullptr);
}

void AppModel::saveBlockDraft(const Block& block)
{
    if (state_.workflowState != WorkflowState::blockPlanning) {
        return;
    }
    state_.currentBlock = block;
    persistSoon();
}

void AppModel::saveSessionPlanDraft(const SessionPlan& plan)
{
    if (state_.workflowState != WorkflowState::sessionPlanning) {
        return;
    }
    state_.plannedNextSession = plan;
    persistSoon();
}

void AppModel::saveReviewDraft(const SessionReview& review, const std::optional<SessionPlan>& nextPlan)
{
    WorkSession* session = state_.currentSession();
    if (state_.workflowState != WorkflowState::sessionReview || session == nullptr) {
        return;
    }
    session->review = review;
    state_.plannedNextSession = nextPlan;
    persistSoon();
}

void AppModel::saveBlockReviewDraft(const BlockReview& review)
{
    if (state_.workflowState != WorkflowState::blockReview) {
        return;
    }
    if (state_.currentBlock) {
        state_.currentBlock->reflection = review;
    }
    persistSoon();
}

void AppModel::editState(const std::function<void(QuillmereState&)>& edit)
{
    edit(state_);
    notifyStateChanged();
}

void AppModel::persist()
{
    state_.updatedAt = clock_();
    notifyStateChanged();
    if (auto saved = persistThrowing(); !saved) {
        setLastError(saved.error());
    }
}

void AppModel::persistSoon()
{
    state_.updatedAt = clock_();
    notifyStateChanged();
    if (draftSaveDelay_ <= std::chrono::milliseconds::zero()) {
        flushPendingSaveNow();
        return;
    }
    constexpr auto longestHold = std::chrono::seconds(5);
    const auto now = std::chrono::steady_clock::now();
    if (!pendingSaveSince_) {
        pendingSaveSince_ = now;
    }
    // Wait for a pause in typing, but never hold a change back for long.
    const auto held = now - *pendingSaveSince_;
    if (held >= longestHold) {
        flushPendingSave();
        return;
    }
    const auto wait = std::min<std::chrono::steady_clock::duration>(draftSaveDelay_, longestHold - held);
    draftSaveTimer_->start(std::chrono::duration_cast<std::chrono::milliseconds>(wait));
}

void AppModel::flushPendingSaveNow()
{
    pendingSaveSince_ = std::chrono::steady_clock::now();
    flushPendingSave();
}

void AppModel::flushPendingSave()
{
    if (!pendingSaveSince_) {
        return;
    }
    if (auto saved = persistThrowing(); !saved) {
        setLastError(saved.error());
    }
}

std::expected<void, QString> AppModel::keepUnreadableFile()
{
    const std::filesystem::path& damaged = store_.stateURL();
    if (!std::filesystem::exists(damaged)) {
        unreadableFileToKeep_ = false;
        return {};
    }
    const std::string stem = "state.unreadable-" + compactUtc(clock_());
    for (int attempt = 1; attempt <= 100; ++attempt) {
        std::string suffix;
        if (attempt > 1) {
            suffix = '-' + std::to_string(attempt); // char + string: no GCC 12 -Wrestrict false alarm
        }
        const std::filesystem::path kept = store_.directory() / (stem + suffix + ".json");
        const int error = renameWithoutReplacing(damaged, kept);
        if (error == EEXIST) {
            continue;
        }
        if (error != 0) {
            // Saving now would destroy the only copy: refuse until it can be kept.
            return std::unexpected("Quillmere could not keep its unreadable state file " +
                                   QString::fromStdString(damaged.string()) + " (" +
                                   QString::fromStdString(std::generic_category().message(error)) +
                                   "), so nothing was saved.");
        }
        unreadableFileToKeep_ = false;
        keptUnreadableFile_ = kept;
        QString sentence = loadErrorText_;
        if (!sentence.endsWith('.')) {
            sentence += '.';
        }
        setLastError(sentence + " The unreadable file was kept as " + QString::fromStdString(kept.string()) + ".");
        return {};
    }
    return std::unexpected("Quillmere could not find a free name to keep its unreadable state file " +
                           QString::fromStdString(damaged.string()) + ", so nothing was saved.");
}

std::expected<void, QString> AppModel::persistThrowing()
{
    // Whatever typing was held back is part of this save.
    pendingSaveSince_.reset();
    draftSaveTimer_->stop();
    if (unreadableFileToKeep_) {
        if (auto kept = keepUnreadableFile(); !kept) {
            return kept;
        }
    }
    if (auto saved = store_.save(state_); !saved) {
        return std::unexpected(QString::fromStdString(saved.error().description()));
    }
    widgets_->publish(WidgetSnapshot::make(state_, state_.updatedAt));
    return {};
}

void AppModel::showMainWindow()
{
    if (!mainWindowController_ && mainWindowFactory_) {
        mainWindowController_ = mainWindowFactory_(*this);
    }
    if (mainWindowController_) {
        mainWindowController_->presentWindow();
    }
}

void AppModel::tick(Instant now)
{
    if (displayTick_ != now) {
        displayTick_ = now;
        emit displayTickChanged();
    }

    if (WorkflowEngine::evaluateSchedule(state_, now)) {
        notifyStateChanged();
        setDueMessage("Your scheduled block is ready. Plan the first session when you are ready.");
        notifications_->cancel(NotificationEvent::scheduledStart);
        if (auto saved = persistThrowing(); !saved) {
            setLastError(saved.error());
            return;
        }
    }

    switch (WorkflowEngine::evaluateTimer(state_, now)) {
    case TimerTransition::noChange:
        break;
    case TimerTransition::focusEnded:
        notifyStateChanged();
        setDueMessage("Focus ended. Review the session before you continue.");
        notifications_->cancel(NotificationEvent::focusEnd);
        if (auto saved = persistThrowing(); !saved) {
            setLastError(saved.error());
            return;
        }
        break;
    case TimerTransition::breakEnded:
        notifyStateChanged();
        setDueMessage("Break ended. Focus will start only when you choose Start focus.");
        notifications_->cancel(NotificationEvent::breakEnd);
        if (auto saved = persistThrowing(); !saved) {
            setLastError(saved.error());
            return;
        }
        break;
    }

    if (auto written = store_.saveAgentSnapshot(state_, now); !written) {
        setLastError(QString::fromStdString(written.error().description()));
        return;
    }
    widgets_->publish(WidgetSnapshot::make(state_, now));
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
