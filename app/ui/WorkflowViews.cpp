#include "WorkflowViews.h"

#include "Look.h"

#include "quillmere/TimerSnapshot.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLocale>
#include <QPainter>
#include <QVBoxLayout>

namespace quillmere {
namespace {

constexpr int screenWidth = 680;
constexpr int cycleSpacing = 24;  // idle, focus and break screens
constexpr int formSpacing = 16;   // the four editing screens

QDateTime localDateTime(Instant instant)
{
    const auto seconds = std::chrono::floor<std::chrono::seconds>(instant).time_since_epoch().count();
    return QDateTime::fromSecsSinceEpoch(seconds);
}

Instant instantFrom(const QDateTime& dateTime)
{
    return Instant(std::chrono::duration_cast<Instant::duration>(std::chrono::seconds(dateTime.toSecsSinceEpoch())));
}

QLabel* makeTitle(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setFont(look::titleFont());
    label->setAccessibleName(text);
    label->setWordWrap(true);
    return label;
}

QLabel* makeHint(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    look::makeSecondary(*label);
    return label;
}

QPushButton* makePrimary(const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setAutoDefault(false);
    look::makeProminent(*button);
    return button;
}

QPushButton* makeButton(const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setAutoDefault(false);
    return button;
}

// A column of label-value rows: the essentials of a plan on the focus and
// break screens.
QWidget* makeRows(const std::vector<std::pair<QString, QString>>& rows, QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* layout = new QFormLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    for (const auto& [label, value] : rows) {
        auto* name = new QLabel(label, box);
        look::makeSecondary(*name);
        auto* text = new QLabel(value, box);
        text->setWordWrap(true);
        text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        text->setAccessibleName(label + ": " + value);
        name->setBuddy(text);
        layout->addRow(name, text);
    }
    return box;
}

QString orPlaceholder(const std::string& value, const QString& placeholder)
{
    return value.empty() ? placeholder : shownText(value);
}

// The screens' common frame: a vertical stack, top-leading, at most 680 wide.
QVBoxLayout* makeScreenLayout(QWidget* screen, int spacing)
{
    screen->setMaximumWidth(screenWidth);
    auto* layout = new QVBoxLayout(screen);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    layout->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    return layout;
}

// A form group that holds the screen's buttons.
QGroupBox* makeButtonGroup(QWidget* parent, std::initializer_list<QPushButton*> buttons)
{
    auto* group = new QGroupBox(parent);
    auto* row = new QHBoxLayout(group);
    for (QPushButton* button : buttons) {
        button->setParent(group);
        row->addWidget(button);
    }
    row->addStretch();
    return group;
}

SessionPlan newBlankPlan()
{
    return SessionPlan::blank(Uuid::generate());
}

// setText() replaces a button's shortcut with its mnemonic; retitling a
// button must keep the shortcut it was given.
void retitle(QPushButton* button, const QString& title)
{
    const QKeySequence shortcut = button->shortcut();
    button->setText(title);
    button->setShortcut(shortcut);
}

QString timerTextOrZero(const AppModel& model)
{
    return model.timerText().value_or(QStringLiteral("00:00"));
}

void focusFirstControl(QWidget* screen)
{
    for (QWidget* next = screen->nextInFocusChain(); next != screen && screen->isAncestorOf(next);
         next = next->nextInFocusChain()) {
        if ((next->focusPolicy() & Qt::TabFocus) && next->isVisibleTo(screen) && next->isEnabled()) {
            next->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    screen->setFocus(Qt::OtherFocusReason);
}

} // namespace

BlockScheduleDraft BlockScheduleDraft::make(const Block& block, Instant defaultStart)
{
    return BlockScheduleDraft{block, block.plannedStart.has_value(), block.plannedStart.value_or(defaultStart)};
}

void BlockScheduleDraft::setScheduleForLater(bool on)
{
    scheduleForLater = on;
    if (on) {
        block.plannedStart = scheduledStart;
    } else {
        block.plannedStart.reset();
    }
}

void BlockScheduleDraft::setScheduledStart(Instant start)
{
    scheduledStart = start;
    if (scheduleForLater) {
        block.plannedStart = start;
    }
}

ScheduledActionButton::ScheduledActionButton(const QString& title, std::function<void()> action, QWidget* parent)
    : QPushButton(parent)
{
    setAutoDefault(false);
    update(title, std::move(action));
    connect(this, &QPushButton::clicked, this, [this] {
        if (action_) {
            action_();
        }
    });
}

void ScheduledActionButton::update(const QString& title, std::function<void()> action)
{
    setText(title);
    setAccessibleName(title);
    action_ = std::move(action);
}

// ---------------------------------------------------------------------------

WorkflowView::WorkflowView(AppModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    layout_ = new QVBoxLayout(this);
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    shownPhase_ = model_.state().workflowState;
    screen_ = makeScreen(shownPhase_);
    layout_->addWidget(screen_);
    connect(&model_, &AppModel::stateChanged, this, &WorkflowView::showScreenIfPhaseChanged);
}

void WorkflowView::showScreenIfPhaseChanged()
{
    const WorkflowState phase = model_.state().workflowState;
    if (phase == shownPhase_) {
        return;
    }
    // A fresh screen, so its local copy starts again from the new state.
    shownPhase_ = phase;
    QWidget* old = screen_;
    screen_ = makeScreen(phase);
    layout_->replaceWidget(old, screen_);
    const bool hadFocus = old->isAncestorOf(QApplication::focusWidget());
    screen_->show();
    old->hide();
    old->deleteLater();
    if (hadFocus) {
        // Keyboard users carry on in the new screen, not on a hidden button.
        focusFirstControl(screen_);
    }
}

QWidget* WorkflowView::makeScreen(WorkflowState phase)
{
    switch (phase) {
    case WorkflowState::idle:
    case WorkflowState::complete: return new IdleView(model_, this);
    case WorkflowState::blockPlanning: return new BlockPlanningView(model_, this);
    case WorkflowState::sessionPlanning: return new SessionPlanningView(model_, this);
    case WorkflowState::focusing: return new FocusView(model_, this);
    case WorkflowState::sessionReview: return new SessionReviewView(model_, this);
    case WorkflowState::breaking: return new BreakView(model_, this);
    case WorkflowState::blockReview: return new BlockReviewView(model_, this);
    }
    return new IdleView(model_, this);
}

// ---------------------------------------------------------------------------

IdleView::IdleView(AppModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    auto* layout = makeScreenLayout(this, cycleSpacing);
    layout->addWidget(makeTitle("Quillmere", this));

    scheduled_ = new QWidget(this);
    auto* scheduledLayout = new QVBoxLayout(scheduled_);
    scheduledLayout->setContentsMargins(0, 0, 0, 0);
    auto* heading = new QLabel("Block scheduled", scheduled_);
    heading->setFont(look::secondTitleFont());
    scheduledText_ = new QLabel(scheduled_);
    scheduledText_->setWordWrap(true);
    auto* actions = new QHBoxLayout;
    startNow_ = new ScheduledActionButton("Start now", nullptr, scheduled_);
    edit_ = new ScheduledActionButton("Edit schedule", nullptr, scheduled_);
    cancel_ = new ScheduledActionButton("Cancel scheduled block", nullptr, scheduled_);
    actions->addWidget(startNow_);
    actions->addWidget(edit_);
    actions->addWidget(cancel_);
    actions->addStretch();
    scheduledLayout->addWidget(heading);
    scheduledLayout->addWidget(scheduledText_);
    scheduledLayout->addLayout(actions);
    layout->addWidget(scheduled_);

    unscheduled_ = new QWidget(this);
    auto* unscheduledLayout = new QVBoxLayout(unscheduled_);
    unscheduledLayout->setContentsMargins(0, 0, 0, 0);
    unscheduledLayout->setSpacing(cycleSpacing);
    unscheduledLayout->addWidget(makeHint("Plan one four-hour block as eight focus sessions with protected breaks.", unscheduled_));
    auto* plan = makePrimary("Plan a block", unscheduled_);
    plan->setAccessibleName("Plan a new work block");
    plan->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(plan, &QPushButton::clicked, this, [this] { model_.beginBlock(); });
    unscheduledLayout->addWidget(plan, 0, Qt::AlignLeft);
    layout->addWidget(unscheduled_);

    refresh();
    connect(&model_, &AppModel::stateChanged, this, &IdleView::refresh);
}

void IdleView::refresh()
{
    const auto& block = model_.state().currentBlock;
    const bool isScheduled = block && block->plannedStart;
    scheduled_->setVisible(isScheduled);
    unscheduled_->setVisible(!isScheduled);
    if (!isScheduled) {
        return;
    }
    const QLocale locale = QLocale::system();
    const QDateTime start = localDateTime(*block->plannedStart);
    scheduledText_->setText("Quillmere will show the first session plan at " +
                            locale.toString(start.date(), QLocale::LongFormat) + " " +
                            locale.toString(start.time(), QLocale::ShortFormat) + ".");
    startNow_->update("Start now", [this] { model_.startScheduledBlockNow(model_.now()); });
    edit_->update("Edit schedule", [this] { model_.editScheduledBlock(model_.now()); });
    cancel_->update("Cancel scheduled block", [this] { model_.cancelScheduledBlock(model_.now()); });
}

// ---------------------------------------------------------------------------

BlockPlanningView::BlockPlanningView(AppModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    const Instant now = model_.now();
    const Block block = model_.state().currentBlock.value_or(Block::defaultBlock(now));
    draft_ = BlockScheduleDraft::make(block, now + std::chrono::seconds(300));

    auto* layout = makeScreenLayout(this, formSpacing);
    layout->addWidget(makeTitle("Plan the block", this));
    layout->addWidget(makeHint("Blank text is accepted. You can refine any answer later.", this));

    form_ = new BlockPreparationForm(draft_.block, FormPresentation::editable, nullptr, this);
    connect(form_, &BlockPreparationForm::edited, this, [this](const Block& edited) {
        // The schedule fields own plannedStart; the form never changes it.
        const auto plannedStart = draft_.block.plannedStart;
        draft_.block = edited;
        draft_.block.plannedStart = plannedStart;
        blockChanged();
    });
    layout->addWidget(form_);

    auto* schedule = new QGroupBox("Schedule", this);
    auto* scheduleLayout = new QFormLayout(schedule);
    scheduleForLater_ = new QCheckBox("Schedule for later", schedule);
    scheduleForLater_->setChecked(draft_.scheduleForLater);
    start_ = new QDateTimeEdit(localDateTime(draft_.scheduledStart), schedule);
    start_->setCalendarPopup(true);
    start_->setDisplayFormat(QLocale::system().dateFormat(QLocale::ShortFormat) + " HH:mm");
    start_->setAccessibleName("Start");
    auto* startLabel = new QLabel("Start", schedule);
    startLabel->setBuddy(start_);
    scheduleLayout->addRow(scheduleForLater_);
    scheduleLayout->addRow(startLabel, start_);
    layout->addWidget(schedule);
    connect(scheduleForLater_, &QCheckBox::toggled, this, [this, startLabel](bool on) {
        draft_.setScheduleForLater(on);
        startLabel->setVisible(on);
        refreshSchedule();
        blockChanged();
    });
    connect(start_, &QDateTimeEdit::dateTimeChanged, this, [this](const QDateTime& picked) {
        const bool changesBlock = draft_.scheduleForLater;
        draft_.setScheduledStart(instantFrom(picked));
        if (changesBlock) {
            blockChanged();
        }
    });
    startLabel->setVisible(draft_.scheduleForLater);

    primary_ = makePrimary(QString(), this);
    primary_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
    connect(primary_, &QPushButton::clicked, this, [this] {
        if (draft_.scheduleForLater) {
            model_.scheduleBlock(draft_.block);
        } else {
            model_.startBlock(draft_.block);
        }
    });
    layout->addWidget(makeButtonGroup(this, {primary_}));
    refreshSchedule();
}

void BlockPlanningView::blockChanged()
{
    model_.saveBlockDraft(draft_.block);
}

void BlockPlanningView::refreshSchedule()
{
    start_->setVisible(draft_.scheduleForLater);
    retitle(primary_, draft_.scheduleForLater ? "Schedule block" : "Continue to first session plan");
}

// ---------------------------------------------------------------------------

SessionPlanningView::SessionPlanningView(AppModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    plan_ = model_.state().plannedNextSession.value_or(newBlankPlan());
    auto* layout = makeScreenLayout(this, formSpacing);
    title_ = makeTitle(QString(), this);
    layout->addWidget(title_);

    if (const auto& block = model_.state().currentBlock) {
        form_ = new SessionPlanForm(plan_, block->outcomes, FormPresentation::editable, SessionPlanFocusState{}, this);
        connect(form_, &SessionPlanForm::edited, this, [this](const SessionPlan& edited) {
            plan_ = edited;
            model_.saveSessionPlanDraft(plan_);
        });
        layout->addWidget(form_);

        auto* start = makePrimary("Start focus", this);
        start->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
        connect(start, &QPushButton::clicked, this, [this] { model_.startFocus(plan_); });
        auto* blank = makeButton("Use an explicit blank plan and start", this);
        blank->setAccessibleName("Start focus with a blank session plan");
        connect(blank, &QPushButton::clicked, this, [this] { model_.startFocus(newBlankPlan()); });
        layout->addWidget(makeButtonGroup(this, {start, blank}));
    }
    refresh();
    connect(&model_, &AppModel::stateChanged, this, &SessionPlanningView::refresh);
}

void SessionPlanningView::refresh()
{
    const auto& block = model_.state().currentBlock;
    const auto number = block ? static_cast<long long>(block->sessions.size()) + 1 : 1;
    title_->setText("Plan session " + QString::number(number));
    title_->setAccessibleName(title_->text());
    if (form_ && block) {
        form_->setOutcomes(block->outcomes);
    }
}

// ---------------------------------------------------------------------------

FocusView::FocusView(AppModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    auto* layout = makeScreenLayout(this, cycleSpacing);
    layout->addWidget(makeTitle("Focus", this));
    timer_ = new TimerLabel("Focus timer ", 64, this);
    layout->addWidget(timer_);
    planRows_ = new QWidget(this);
    new QVBoxLayout(planRows_);
    planRows_->layout()->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(planRows_);

    pause_ = makeButton("Pause", this);
    pause_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(pause_, &QPushButton::clicked, this, [this] { model_.pauseOrResumeFocus(); });
    auto* end = makeButton("End early", this);
    end->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    connect(end, &QPushButton::clicked, this, [this] { model_.endFocus(); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(pause_);
    buttons->addWidget(end);
    buttons->addStretch();
    layout->addLayout(buttons);

    refresh();
    connect(&model_, &AppModel::stateChanged, this, &FocusView::refresh);
    connect(&model_, &AppModel::displayTickChanged, this, &FocusView::refreshTimer);
}

void FocusView::refresh()
{
    refreshTimer();
    const WorkSession* session = model_.state().currentSession();
    retitle(pause_, session != nullptr && session->pausedAt ? "Resume" : "Pause");

    auto* rowsLayout = planRows_->layout();
    while (QLayoutItem* item = rowsLayout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    if (session == nullptr) {
        return;
    }
    const SessionPlan& plan = session->plan;
    rowsLayout->addWidget(makeRows({{"Outcome", orPlaceholder(plan.intendedOutcome, "Blank")},
                                    {"First action", orPlaceholder(plan.firstAction, "Not set")},
                                    {"Hazards", orPlaceholder(plan.hazardsMitigation, "Not set")},
                                    {"NICU framing", orPlaceholder(plan.nicuFraming, "Not set")}},
                                   planRows_));
}

void FocusView::refreshTimer()
{
    timer_->setTime(timerTextOrZero(model_));
}

// ---------------------------------------------------------------------------

SessionReviewView::SessionReviewView(AppModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    const WorkSession* session = model_.state().currentSession();
    review_ = session != nullptr && session->review
                  ? *session->review
                  : SessionReview{Uuid::generate(), CompletionResult::half, "", "", ""};
    nextPlan_ = model_.state().plannedNextSession.value_or(newBlankPlan());

    auto* layout = makeScreenLayout(this, formSpacing);
    layout->addWidget(makeTitle("Review session", this));

    auto* reviewForm = new SessionReviewForm(review_, FormPresentation::editable, this);
    connect(reviewForm, &SessionReviewForm::edited, this, [this](const SessionReview& edited) {
        review_ = edited;
        saveDraft();
    });
    layout->addWidget(reviewForm);

    const std::vector<Outcome> outcomes =
        model_.state().currentBlock ? model_.state().currentBlock->outcomes : std::vector<Outcome>{};
    nextPlanForm_ = new SessionPlanForm(nextPlan_, outcomes, FormPresentation::editable, SessionPlanFocusState{}, this);
    connect(nextPlanForm_, &SessionPlanForm::edited, this, [this](const SessionPlan& edited) {
        nextPlan_ = edited;
        saveDraft();
    });
    nextPlanGroup_ = nextPlanForm_;
    layout->addWidget(nextPlanForm_);

    primary_ = makePrimary(QString(), this);
    primary_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
    connect(primary_, &QPushButton::clicked, this, [this] {
        model_.saveReview(review_, isFinal() ? std::nullopt : std::optional(nextPlan_));
    });
    blankPlan_ = makeButton("Save a blank next plan and start break", this);
    connect(blankPlan_, &QPushButton::clicked, this, [this] { model_.saveReview(review_, newBlankPlan()); });
    layout->addWidget(makeButtonGroup(this, {primary_, blankPlan_}));

    refresh();
    connect(&model_, &AppModel::stateChanged, this, &SessionReviewView::refresh);
}

bool SessionReviewView::isFinal() const
{
    const auto& block = model_.state().currentBlock;
    return !block || static_cast<std::int64_t>(block->sessions.size()) >= block->cycleCount;
}

void SessionReviewView::refresh()
{
    const bool final = isFinal();
    nextPlanGroup_->setVisible(!final && model_.state().currentBlock.has_value());
    if (const auto& block = model_.state().currentBlock) {
        nextPlanForm_->setOutcomes(block->outcomes);
    }
    blankPlan_->setVisible(!final);
    retitle(primary_, final ? "Continue to block reflection" : "Save review and start break");
}

void SessionReviewView::saveDraft()
{
    model_.saveReviewDraft(review_, isFinal() ? std::nullopt : std::optional(nextPlan_));
}

// ---------------------------------------------------------------------------

BreakView::BreakView(AppModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    auto* layout = makeScreenLayout(this, cycleSpacing);
    layout->addWidget(makeTitle("Break", this));
    timer_ = new TimerLabel("Break timer ", 64, this);
    layout->addWidget(timer_);
    layout->addWidget(makeHint("The next session is planned. Quillmere will not start focus automatically.", this));
    nextRows_ = new QWidget(this);
    new QVBoxLayout(nextRows_);
    nextRows_->layout()->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(nextRows_);

    auto* end = makePrimary("End break", this);
    connect(end, &QPushButton::clicked, this, [this] { model_.endBreak(); });
    auto* extend = makeButton("Extend five minutes", this);
    connect(extend, &QPushButton::clicked, this, [this] { model_.extendBreak(); });
    auto* skip = makeButton("Skip break", this);
    skip->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(skip, &QPushButton::clicked, this, [this] { model_.skipBreak(); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(end);
    buttons->addWidget(extend);
    buttons->addWidget(skip);
    buttons->addStretch();
    layout->addLayout(buttons);

    refresh();
    connect(&model_, &AppModel::stateChanged, this, &BreakView::refresh);
    connect(&model_, &AppModel::displayTickChanged, this, &BreakView::refreshTimer);
}

void BreakView::refresh()
{
    refreshTimer();
    auto* rowsLayout = nextRows_->layout();
    while (QLayoutItem* item = rowsLayout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    if (const auto& plan = model_.state().plannedNextSession) {
        rowsLayout->addWidget(makeRows({{"Next outcome", orPlaceholder(plan->intendedOutcome, "Blank plan")},
                                        {"First action", orPlaceholder(plan->firstAction, "Not set")}},
                                       nextRows_));
    }
}

void BreakView::refreshTimer()
{
    timer_->setTime(timerTextOrZero(model_));
}

// ---------------------------------------------------------------------------

BlockReviewView::BlockReviewView(AppModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    const auto& block = model_.state().currentBlock;
    review_ = block && block->reflection ? *block->reflection : BlockReview{};

    auto* layout = makeScreenLayout(this, formSpacing);
    layout->addWidget(makeTitle("Reflect on the block", this));
    layout->addWidget(makeHint("Blank answers are accepted and remain editable in History.", this));
    auto* form = new BlockReviewForm(review_, FormPresentation::editable, this);
    connect(form, &BlockReviewForm::edited, this, [this](const BlockReview& edited) {
        review_ = edited;
        model_.saveBlockReviewDraft(review_);
    });
    layout->addWidget(form);
    auto* complete = makePrimary("Complete block", this);
    complete->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
    connect(complete, &QPushButton::clicked, this, [this] { model_.completeBlock(review_); });
    layout->addWidget(makeButtonGroup(this, {complete}));
}

} // namespace quillmere
