// SPDX-License-Identifier: GPL-3.0-or-later
#include "MenuBarPopover.h"

#include "AppModel.h"
#include "Look.h"
#include "QuillmereCard.h"
#include "QuillmereStyle.h"
#include "LocalText.h"
#include "ScreenParts_p.h"
#include "TimerLabel.h"
#include "panel/BlockProgress.h"
#include "panel/PanelParts_p.h"
#include "panel/PopoverField.h"

#include "quillmere/QuillmereDesign.h"
#include "quillmere/TextLimits.h"
#include "quillmere/TimerSnapshot.h"

#include <QApplication>
#include <QDateTime>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <chrono>

namespace quillmere {

namespace {

// The panel shows a text in three lines at most, as the desktop widget
// does, so it keeps as much of it as the widget's snapshot carries.
constexpr std::size_t panelCharacters = TextLimits::widgetCharacters;

// Buttons drawn as links: flat, so no frame until hovered, caption-sized
// text. The caller colours the text.
QPushButton* linkButton(const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setFlat(true);
    button->setFont(look::captionFont());
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

// The actions in one row, sharing the width equally, where they fit
// `width`; otherwise the first on a row of its own and the rest in a row
// under it, or each on its own row where even they do not fit side by side.
QWidget* actionRows(std::initializer_list<QPushButton*> buttons, int width, QWidget* parent)
{
    const int spacing = look::points(QuillmereDesign::Spacing::snug);
    // The width a row of `count` equal buttons needs at the widest's width.
    const auto equalRow = [spacing](int widest, qsizetype count) {
        return static_cast<int>(count) * (widest + spacing) - spacing;
    };
    int widest = 0;
    int widestOfRest = 0;
    for (const QPushButton* button : buttons) {
        widestOfRest = button == *buttons.begin() ? 0 : std::max(widestOfRest, button->sizeHint().width());
        widest = std::max(widest, button->sizeHint().width());
    }
    const bool oneRow = equalRow(widest, std::ssize(buttons)) <= width;
    const bool restInOneRow = equalRow(widestOfRest, std::ssize(buttons) - 1) <= width;
    auto* actions = new QWidget(parent);
    auto* rows = new QVBoxLayout(actions);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(spacing);
    QHBoxLayout* row = nullptr;
    for (QPushButton* button : buttons) {
        const bool second = rows->count() == 1 && row != nullptr && row->count() == 1;
        if (row == nullptr || (!oneRow && (second || !restInOneRow))) {
            row = new QHBoxLayout;
            row->setSpacing(spacing);
            rows->addLayout(row);
        }
        button->setParent(actions);
        row->addWidget(button, 1);
    }
    return actions;
}

constexpr int largeButtonHeight = 30;

} // namespace

MenuBarPopover::MenuBarPopover(AppModel& model, QWidget* parent, Hooks hooks)
    : QFrame(parent), model_(model), hooks_(std::move(hooks))
{
    if (!hooks_.quit) {
        hooks_.quit = [] { QCoreApplication::quit(); };
    }
    if (!hooks_.clock) {
        hooks_.clock = [this] { return model_.now(); };
    }

    setFixedWidth(panelWidth);
    setAutoFillBackground(true);
    setAccessibleName(QStringLiteral("Quillmere"));

    const int padding = look::points(QuillmereDesign::Spacing::loose);
    layout_ = new QVBoxLayout(this);
    layout_->setContentsMargins(padding, padding, padding, look::points(QuillmereDesign::Spacing::snug));
    layout_->setSpacing(look::points(QuillmereDesign::Spacing::regular));

    // The phase in its ring, its title and a caption beside it.
    auto* header = new QWidget(this);
    auto* headerRow = new QHBoxLayout(header);
    headerRow->setContentsMargins(0, 0, 0, 0);
    headerRow->setSpacing(look::points(QuillmereDesign::Spacing::regular));
    phaseRing_ = new PhaseRing(header);
    headerRow->addWidget(phaseRing_, 0, Qt::AlignVCenter);
    auto* headerText = new QVBoxLayout;
    headerText->setSpacing(0);
    phaseTitle_ = plainLabel(QString(), header);
    phaseTitle_->setFont(look::headlineFont());
    caption_ = plainLabel(QString(), header);
    caption_->setObjectName(QStringLiteral("caption"));
    caption_->setFont(look::captionFont());
    look::makeSecondary(*caption_);
    headerText->addStretch(1);
    headerText->addWidget(phaseTitle_);
    headerText->addWidget(caption_);
    headerText->addStretch(1);
    headerRow->addLayout(headerText, 1);
    layout_->addWidget(header);

    // The timer on a line of its own, the paused marker at its end.
    timerSection_ = new QWidget(this);
    timerSection_->setObjectName(QStringLiteral("timerSection"));
    auto* timerRow = new QHBoxLayout(timerSection_);
    timerRow->setContentsMargins(0, 0, 0, 0);
    timerRow->setSpacing(look::points(QuillmereDesign::Spacing::snug));
    // The only text that changes every second: a small opaque label of its
    // own, so that a tick repaints just these few pixels.
    timer_ = new TimerLabel(tr("Timer %1"), 36, timerSection_);
    timer_->setObjectName(QStringLiteral("timer"));
    timer_->setTextFormat(Qt::PlainText);
    timer_->setTime(QStringLiteral("--:--"));
    timerRow->addWidget(timer_, 0, Qt::AlignVCenter);
    timerRow->addStretch(1);
    pausedMarker_ = new QWidget(timerSection_);
    pausedMarker_->setObjectName(QStringLiteral("pausedMarker"));
    auto* pausedRow = new QHBoxLayout(pausedMarker_);
    pausedRow->setContentsMargins(0, 0, 0, 0);
    pausedRow->setSpacing(look::points(QuillmereDesign::Spacing::tight));
    pausedIcon_ = new QLabel(pausedMarker_);
    pausedText_ = plainLabel(tr("Paused"), pausedMarker_);
    pausedText_->setFont(look::captionFont());
    look::makeSecondary(*pausedText_);
    pausedRow->addWidget(pausedIcon_);
    pausedRow->addWidget(pausedText_);
    pausedMarker_->setAccessibleName(pausedText_->text());
    // Hiding the marker must not move the timer, nor lay out the panel.
    QSizePolicy keepsPlace = pausedMarker_->sizePolicy();
    keepsPlace.setRetainSizeWhenHidden(true);
    pausedMarker_->setSizePolicy(keepsPlace);
    pausedMarker_->hide();
    timerRow->addWidget(pausedMarker_, 0, Qt::AlignVCenter);
    layout_->addWidget(timerSection_);

    // The way to the window, the preferences and out, kept quiet under a
    // hairline.
    layout_->addWidget(new Hairline(this));
    auto* footer = new QWidget(this);
    auto* footerRow = new QHBoxLayout(footer);
    footerRow->setContentsMargins(0, 0, 0, 0);
    footerRow->setSpacing(look::points(QuillmereDesign::Spacing::snug));
    openButton_ = linkButton(tr("Open Quillmere"), footer);
    // A symbol: the panel is too narrow for a third word between the two.
    preferencesButton_ = linkButton(QString(), footer);
    quitButton_ = linkButton(tr("Quit"), footer);
    for (auto [button, shortcut] : {std::pair{openButton_, QKeySequence(Qt::CTRL | Qt::Key_O)},
                                    std::pair{preferencesButton_, QKeySequence(Qt::CTRL | Qt::Key_Comma)},
                                    std::pair{quitButton_, QKeySequence(Qt::CTRL | Qt::Key_Q)}}) {
        button->setShortcut(shortcut);
        const QString name = button == preferencesButton_ ? tr("Preferences") : button->text();
        button->setToolTip(withShortcut(name, shortcut));
        button->setAccessibleName(name);
    }
    connect(openButton_, &QPushButton::clicked, this, &MenuBarPopover::openMainWindow);
    connect(preferencesButton_, &QPushButton::clicked, this, [this] {
        if (hooks_.activateApplication) {
            hooks_.activateApplication();
        }
        model_.showPreferences();
        emit closeRequested();
    });
    connect(quitButton_, &QPushButton::clicked, this, [this] { hooks_.quit(); });
    footerRow->addWidget(openButton_);
    footerRow->addStretch(1);
    footerRow->addWidget(preferencesButton_);
    footerRow->addStretch(1);
    footerRow->addWidget(quitButton_);
    layout_->addWidget(footer);

    connect(&model_, &AppModel::stateChanged, this, &MenuBarPopover::refresh);
    connect(&model_, &AppModel::dueMessageChanged, this, &MenuBarPopover::refresh);
    connect(&model_, &AppModel::displayTickChanged, this, &MenuBarPopover::refreshTicking);
    refresh();
}

QSize MenuBarPopover::sizeHint() const
{
    // The wrapping texts decide the height, so ask the layout at the fixed
    // width rather than for its width-agnostic hint.
    return {panelWidth, layout_->hasHeightForWidth() ? layout_->totalHeightForWidth(panelWidth)
                                                     : layout_->totalSizeHint().height()};
}

void MenuBarPopover::changeEvent(QEvent* event)
{
    QFrame::changeEvent(event);
    // Colours are resolved from the palette when the sections are built; a
    // switch between light and dark needs them built again.
    if (event->type() == QEvent::PaletteChange && shown_) {
        shown_.reset();
        refresh();
    }
}

MenuBarPopover::Shown MenuBarPopover::currentlyShown() const
{
    const QuillmereState& state = model_.state();
    const WidgetSnapshot snapshot = WidgetSnapshot::make(state, model_.displayTick());
    const WorkSession* session = state.currentSession();
    Shown shown;
    shown.workflowState = state.workflowState;
    shown.phase = model_.phase();
    shown.hasBlock = state.currentBlock.has_value();
    if (state.currentBlock) {
        shown.plannedStart = state.currentBlock->plannedStart;
        shown.sessionsStarted = static_cast<std::int64_t>(state.currentBlock->sessions.size());
        shown.cycleCount = state.currentBlock->cycleCount;
    }
    shown.outcome = truncatedText(snapshot.intendedOutcome, panelCharacters);
    shown.firstAction = truncatedText(snapshot.firstAction, panelCharacters);
    shown.paused = session && session->pausedAt;
    for (const AgentQuestion& question : state.agentQuestions) {
        if (!question.answeredAt) {
            if (shown.questions.size() < listedQuestions) {
                shown.questions.emplace_back(truncatedText(question.question, panelCharacters),
                                             truncatedText(question.askedBy.value_or(""), panelCharacters));
            }
            ++shown.openQuestions;
        }
    }
    shown.dueMessage = model_.dueMessage();
    return shown;
}

void MenuBarPopover::refresh()
{
    Shown shown = currentlyShown();
    const bool changed = shown_ != shown;
    if (changed) {
        rebuild(shown);
        shown_ = std::move(shown);
    }
    refreshTicking();
    if (!changed) {
        return;
    }
    // While the panel is hidden, a section that changed height does not tell
    // the panel's layout by itself, and the layout would answer from its
    // cache.
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        child->updateGeometry();
    }
    layout_->invalidate();
    // A window of its own does not grow with height-for-width content; an
    // embedded popover is sized by its parent's layout instead.
    if (isWindow()) {
        resize(sizeHint());
    }
}

void MenuBarPopover::refreshTicking()
{
    const QuillmereState& state = model_.state();
    caption_->setText(translated(QuillmereDesign::captionSource(WidgetSnapshot::make(state, model_.displayTick()))));

    timer_->setTime(model_.timerText().value_or(QStringLiteral("--:--")));
    const auto timer = TimerSnapshot::derive(state, model_.displayTick());
    pausedMarker_->setVisible(timer && timer->isPaused);
    std::optional<double> passed;
    if (timer) {
        const auto length = static_cast<double>(timer->elapsedSeconds + std::max<std::int64_t>(timer->remainingSeconds, 0));
        passed = timer->isOvertime || length <= 0 ? 1.0 : static_cast<double>(timer->elapsedSeconds) / length;
    }
    phaseRing_->setProgress(passed);
}

void MenuBarPopover::rebuild(const Shown& shown)
{
    const QColor colour = look::phaseColour(shown.phase, palette());

    const QString phaseTitle = translated(titleSource(shown.phase));
    phaseRing_->setPhase(symbolName(shown.phase), colour);
    phaseRing_->setAccessibleName(phaseTitle);
    phaseTitle_->setText(phaseTitle);

    timerSection_->setVisible(shown.workflowState == WorkflowState::focusing ||
                              shown.workflowState == WorkflowState::breaking);
    setForeground(*timer_, colour);
    pausedIcon_->setPixmap(
        look::symbolIcon("pause.fill", look::secondary(palette())).pixmap(QSize(12, 12), devicePixelRatioF()));
    const QColor quiet = look::secondary(palette());
    setForeground(*openButton_, quiet, QPalette::ButtonText);
    setForeground(*quitButton_, quiet, QPalette::ButtonText);
    preferencesButton_->setIcon(look::symbolIcon("gearshape", quiet));

    auto* next = new QWidget(this);
    QVBoxLayout* sectionColumn = makeColumn(next, QuillmereDesign::Spacing::regular);
    auto* plan = new QuillmereCard(QuillmereDesign::Radius::card, std::nullopt, next);
    makeColumn(plan, QuillmereDesign::Spacing::none)->addWidget(makeBody(shown, plan));
    sectionColumn->addWidget(plan);
    if (shown.openQuestions > 0) {
        const QColor orange = look::legible(look::orange, palette());
        auto* questions = new QuillmereCard(QuillmereDesign::Radius::card, std::nullopt, next);
        QVBoxLayout* questionColumn = makeColumn(questions, QuillmereDesign::Spacing::snug);
        auto* link = linkButton(tr("%Ln open agent question(s)", nullptr, pluralCount(shown.openQuestions)), questions);
        setForeground(*link, orange, QPalette::ButtonText);
        link->setFont(look::headlineFont());
        link->setIcon(look::symbolIcon("questionmark.bubble", orange));
        link->setAccessibleName(link->text());
        connect(link, &QPushButton::clicked, this, [this] {
            model_.setSelectedTab(MainWindowTab::agentQuestions);
            openMainWindow();
        });
        questionColumn->addWidget(link, 0, Qt::AlignLeading);
        questionColumn->addWidget(makeQuestions(shown, questions));
        sectionColumn->addWidget(questions);
    }
    if (!shown.dueMessage.isEmpty()) {
        QColor tint = look::accent(palette());
        tint.setAlphaF(0.12f);
        auto* notice = new QuillmereCard(QuillmereDesign::Radius::control, tint, next);
        auto* due = plainLabel(shown.dueMessage, notice);
        due->setObjectName(QStringLiteral("dueMessage"));
        due->setFont(look::captionFont());
        due->setWordWrap(true);
        makeColumn(notice, QuillmereDesign::Spacing::none)->addWidget(due);
        sectionColumn->addWidget(notice);
    }
    if (QWidget* actions = makeActions(shown, next)) {
        sectionColumn->addSpacing(look::points(QuillmereDesign::Spacing::tight));
        sectionColumn->addWidget(actions);
    }

    // Keep keyboard focus where it was: pressing Pause with the space bar
    // should leave the focus on Resume, not throw it out of the panel.
    std::optional<qsizetype> focusedIndex;
    if (sections_) {
        const auto old = sections_->findChildren<QPushButton*>();
        if (const auto found = std::find(old.begin(), old.end(), QApplication::focusWidget()); found != old.end()) {
            focusedIndex = found - old.begin();
        }
        // The old sections may hold the button whose click got us here, so
        // they are deleted only once that click has been handled.
        layout_->removeWidget(sections_);
        sections_->hide();
        sections_->deleteLater();
    }
    layout_->insertWidget(2, next);
    next->show();
    sections_ = next;

    const auto buttons = next->findChildren<QPushButton*>();
    QWidget* previous = nullptr;
    for (QWidget* button : buttons) {
        if (previous) {
            setTabOrder(previous, button);
        }
        previous = button;
    }
    if (previous) {
        setTabOrder(previous, openButton_);
    }
    if (focusedIndex) {
        QWidget* target = buttons.isEmpty() ? openButton_ : buttons.value(std::min(*focusedIndex, buttons.size() - 1));
        target->setFocus(Qt::OtherFocusReason);
    }
}

QWidget* MenuBarPopover::makeBody(const Shown& shown, QWidget* parent)
{
    const auto field = [parent](const QString& label, const QString& value) {
        return new PopoverField(label, value, parent);
    };
    switch (shown.workflowState) {
    case WorkflowState::idle:
    case WorkflowState::blockPlanning:
        return field(tr("Next"), shown.plannedStart
                                     ? tr("Block scheduled for %1").arg(shortDateTime(*shown.plannedStart))
                                     : tr("No active block"));
    case WorkflowState::sessionPlanning:
    case WorkflowState::focusing:
    case WorkflowState::sessionReview:
    case WorkflowState::breaking: {
        auto* body = new QWidget(parent);
        QVBoxLayout* fields = makeColumn(body, QuillmereDesign::Spacing::regular);
        fields->addWidget(new PopoverField(tr("Outcome"),
                                           shown.outcome.empty() ? tr("No outcome set")
                                                                 : QString::fromStdString(shown.outcome),
                                           body));
        if (!shown.firstAction.empty()) {
            fields->addWidget(
                new PopoverField(tr("First action"), QString::fromStdString(shown.firstAction), body));
        }
        if (shown.hasBlock && shown.cycleCount >= 1) {
            fields->addWidget(new BlockProgress(shown.sessionsStarted.value_or(0), shown.cycleCount,
                                                look::phaseColour(shown.phase, palette()), body));
        }
        return body;
    }
    case WorkflowState::blockReview:
    case WorkflowState::complete:
        return field(tr("Reflection"), tr("Record the five block-reflection answers in the app."));
    }
    return field(QString(), QString());
}

QWidget* MenuBarPopover::makeQuestions(const Shown& shown, QWidget* parent)
{
    auto* list = new QWidget(parent);
    list->setObjectName(QStringLiteral("openQuestions"));
    list->setAccessibleName(tr("Open agent questions"));
    QVBoxLayout* rows = makeColumn(list, QuillmereDesign::Spacing::tight);
    for (const auto& [question, askedBy] : shown.questions) {
        auto* text = new ClampedText(QString::fromStdString(question), 2, list);
        text->setFont(look::calloutFont());
        rows->addWidget(text);
        if (!askedBy.empty()) {
            auto* asker = plainLabel(tr("asked by %1").arg(QString::fromStdString(askedBy)), list);
            asker->setObjectName(QStringLiteral("askedBy"));
            asker->setFont(smallCaptionFont());
            setForeground(*asker, look::secondary(palette()));
            rows->addWidget(asker);
        }
    }
    const auto unlisted = shown.openQuestions - static_cast<std::int64_t>(shown.questions.size());
    if (unlisted > 0) {
        auto* more = plainLabel(tr("and %Ln more", nullptr, pluralCount(unlisted)), list);
        more->setObjectName(QStringLiteral("moreQuestions"));
        more->setFont(smallCaptionFont());
        setForeground(*more, look::secondary(palette()));
        rows->addWidget(more);
    }
    return list;
}

QPushButton* MenuBarPopover::makeButton(const QString& text, const QKeySequence& shortcut, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setMinimumHeight(largeButtonHeight);
    button->setAccessibleName(text);
    if (!shortcut.isEmpty()) {
        button->setShortcut(shortcut);
        button->setToolTip(withShortcut(text, shortcut));
    }
    return button;
}

QWidget* MenuBarPopover::makeActions(const Shown& shown, QWidget* parent)
{
    const int width = panelWidth - 2 * look::points(QuillmereDesign::Spacing::loose);
    switch (shown.workflowState) {
    case WorkflowState::idle: {
        if (!shown.hasBlock) {
            QPushButton* plan = makeButton(tr("Plan a block"), QKeySequence(Qt::CTRL | Qt::Key_N), parent);
            look::makePrimary(*plan);
            connect(plan, &QPushButton::clicked, this, [this] {
                model_.beginBlock();
                openMainWindow();
            });
            return plan;
        }
        if (!shown.plannedStart) {
            return nullptr;
        }
        QPushButton* start = makeButton(tr("Start scheduled block now"), QKeySequence(), parent);
        look::makePrimary(*start);
        connect(start, &QPushButton::clicked, this, [this] {
            model_.startScheduledBlockNow(now());
            openMainWindow();
        });
        QPushButton* edit = makeButton(tr("Edit"), QKeySequence(), parent);
        connect(edit, &QPushButton::clicked, this, [this] {
            model_.editScheduledBlock(now());
            openMainWindow();
        });
        QPushButton* cancel = makeButton(tr("Cancel block"), QKeySequence(), parent);
        connect(cancel, &QPushButton::clicked, this, [this] { model_.cancelScheduledBlock(now()); });
        return actionRows({start, edit, cancel}, width, parent);
    }
    case WorkflowState::focusing: {
        QPushButton* pause = makeButton(shown.paused ? tr("Resume") : tr("Pause"),
                                        QKeySequence(Qt::CTRL | Qt::Key_P), parent);
        if (shown.paused) {
            look::makePrimary(*pause);
        }
        connect(pause, &QPushButton::clicked, this, [this] { model_.pauseOrResumeFocus(); });
        QPushButton* end = makeButton(tr("End focus"), QKeySequence(Qt::CTRL | Qt::Key_E), parent);
        connect(end, &QPushButton::clicked, this, [this] { model_.endFocus(); });
        return actionRows({pause, end}, width, parent);
    }
    case WorkflowState::breaking: {
        // A break runs on past its end until the person comes back.
        QPushButton* end = makeButton(tr("End break"), QKeySequence(), parent);
        look::makePrimary(*end);
        connect(end, &QPushButton::clicked, this, [this] { model_.endBreak(); });
        QPushButton* extend = makeButton(tr("Extend 5 min"), QKeySequence(), parent);
        connect(extend, &QPushButton::clicked, this, [this] { model_.extendBreak(); });
        QPushButton* skip = makeButton(tr("Skip"), QKeySequence(Qt::CTRL | Qt::Key_S), parent);
        connect(skip, &QPushButton::clicked, this, [this] { model_.skipBreak(); });
        return actionRows({end, extend, skip}, width, parent);
    }
    case WorkflowState::blockPlanning:
    case WorkflowState::sessionPlanning:
    case WorkflowState::sessionReview:
    case WorkflowState::blockReview:
    case WorkflowState::complete:
        return nullptr;
    }
    return nullptr;
}

void MenuBarPopover::openMainWindow()
{
    if (hooks_.activateApplication) {
        hooks_.activateApplication();
    }
    model_.showMainWindow();
    emit closeRequested();
}

Instant MenuBarPopover::now() const
{
    return hooks_.clock();
}

} // namespace quillmere
