#include "MainWindow.h"

#include "Look.h"
#include "WorkflowViews.h"

#include "quillmere/QuillmereDesign.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QTabWidget>

#include <algorithm>
#include <array>
#include <cmath>

namespace quillmere {

namespace {

int points(double value)
{
    return static_cast<int>(std::lround(value));
}

struct TabDescription {
    MainWindowTab tab;
    const char* label;
    const char* icon;
};

constexpr std::array<TabDescription, 4> tabDescriptions{{
    {MainWindowTab::workCycle, "Work cycle", "timer"},
    {MainWindowTab::currentBlock, "Current block", "square.stack.3d.up"},
    {MainWindowTab::history, "History", "clock.arrow.circlepath"},
    {MainWindowTab::agentQuestions, "Agent questions", "questionmark.bubble"},
}};

int tabIndex(MainWindowTab tab)
{
    const auto found = std::ranges::find(tabDescriptions, tab, &TabDescription::tab);
    return static_cast<int>(found - tabDescriptions.begin());
}

// A widget that goes away must not be deleted at once: the signal that made
// it go (a click or an edit inside it) may still be running.
void discard(QWidget* widget)
{
    widget->hide();
    widget->setParent(nullptr);
    widget->deleteLater();
}

// Moves the keyboard to `widget` and scrolls it into view: focus given by
// the program, unlike Tab, leaves a scroll area where it is.
void focusAndReveal(QWidget* widget)
{
    widget->setFocus(Qt::OtherFocusReason);
    // Widgets added a moment ago get their places first.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    for (QWidget* up = widget->parentWidget(); up != nullptr; up = up->parentWidget()) {
        if (auto* area = qobject_cast<QScrollArea*>(up)) {
            area->ensureWidgetVisible(widget);
        }
    }
}

QVBoxLayout* makeColumn(QWidget* widget, double spacing)
{
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(points(spacing));
    return layout;
}

QLabel* makeLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

QLabel* makeLabel(const QString& text, const QFont& font, QWidget* parent)
{
    QLabel* label = makeLabel(text, parent);
    label->setFont(font);
    return label;
}

QLabel* makeSecondaryText(const QString& text, QWidget* parent)
{
    QLabel* label = makeLabel(text, parent);
    look::makeSecondary(*label);
    return label;
}

// A symbol drawn at paint time, so that it follows a palette change.
class SymbolLabel final : public QWidget {
public:
    SymbolLabel(const char* symbol, int side, QWidget* parent) : QWidget(parent), symbol_(symbol)
    {
        setFixedSize(side, side);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        look::symbolIcon(symbol_).paint(&painter, rect());
    }

private:
    const char* symbol_;
};

// An icon beside a second-level title, with a secondary line below: what a
// tab shows when it has nothing to show.
QWidget* makeEmptyState(const char* symbol, const QString& title, const QString& text, QWidget* parent)
{
    auto* empty = new QWidget(parent);
    auto* column = makeColumn(empty, QuillmereDesign::Spacing::snug);
    auto* heading = new QHBoxLayout;
    heading->setSpacing(points(QuillmereDesign::Spacing::snug));
    const QFont font = look::secondTitleFont();
    heading->addWidget(new SymbolLabel(symbol, QFontMetrics(font).height(), empty));
    heading->addWidget(makeLabel(title, font, empty), 1);
    column->addLayout(heading);
    column->addWidget(makeSecondaryText(text, empty));
    return empty;
}

QString completedHeader(const Block& block)
{
    if (!block.completedAt) {
        return QStringLiteral("Completed block");
    }
    const auto seconds = std::chrono::floor<std::chrono::seconds>(*block.completedAt).time_since_epoch().count();
    return QLocale::system().toString(QDateTime::fromSecsSinceEpoch(seconds), QLocale::ShortFormat);
}

QString sessionsTitle(const Block& block)
{
    return QStringLiteral("Sessions: %1 of %2").arg(block.sessions.size()).arg(block.cycleCount);
}

// What the preparation form edits; the rest of the block (sessions,
// reflection, times) is taken from the state, never from the form's copy.
void copyPreparation(Block& target, const Block& edited, bool includingBreak)
{
    target.focusDurationSeconds = edited.focusDurationSeconds;
    if (includingBreak) {
        target.breakDurationSeconds = edited.breakDurationSeconds;
    }
    target.cycleCount = edited.cycleCount;
    target.outcomes = edited.outcomes;
    target.whyValue = edited.whyValue;
    target.doneTest = edited.doneTest;
    target.hazards = edited.hazards;
    target.measurableCheck = edited.measurableCheck;
    target.contextNotes = edited.contextNotes;
}

WorkSession* findSession(Block& block, const Uuid& id)
{
    const auto found = std::ranges::find(block.sessions, id, &WorkSession::id);
    return found == block.sessions.end() ? nullptr : &*found;
}

QPushButton* makeButton(const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setAutoDefault(false);
    return button;
}

} // namespace

// ---------------------------------------------------------------------------

DisclosureButton::DisclosureButton(const QString& title, QWidget* parent) : QToolButton(parent)
{
    // Not checkable: a checked tool button is drawn sunken, which reads as
    // a pressed button rather than an open group.
    setAutoRaise(true);
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setFocusPolicy(Qt::StrongFocus);
    setTitle(title);
    showArrow();
    connect(this, &QToolButton::clicked, this, [this] {
        expanded_ = !expanded_;
        showArrow();
        emit expandedChanged(expanded_);
    });
}

void DisclosureButton::showExpanded(bool expanded)
{
    if (expanded_ != expanded) {
        expanded_ = expanded;
        showArrow();
    }
}

void DisclosureButton::setTitle(const QString& title)
{
    if (text() != title) {
        setText(title);
        setAccessibleName(title);
    }
}

void DisclosureButton::showArrow()
{
    setArrowType(expanded_ ? Qt::DownArrow : Qt::RightArrow);
    setAccessibleDescription(expanded_ ? tr("Expanded") : tr("Collapsed"));
}

// ---------------------------------------------------------------------------

SessionSection::SessionSection(const WorkSession& session, std::vector<Outcome> outcomes,
                               FormPresentation presentation, QWidget* parent)
    : QWidget(parent), session_(session), outcomes_(std::move(outcomes)), presentation_(presentation)
{
    auto* layout = makeColumn(this, QuillmereDesign::Spacing::snug);
    header_ = new DisclosureButton(QStringLiteral("Session %1").arg(session.number), this);
    layout->addWidget(header_, 0, Qt::AlignLeft);
    body_ = new QWidget(this);
    bodyLayout_ = makeColumn(body_, QuillmereDesign::Spacing::loose);
    bodyLayout_->setContentsMargins(points(QuillmereDesign::Spacing::loose), 0, 0, 0);
    body_->hide();
    layout->addWidget(body_);
    connect(header_, &DisclosureButton::expandedChanged, this, [this](bool expanded) {
        if (expanded) {
            buildForms();
        }
        body_->setVisible(expanded);
    });
}

bool SessionSection::isExpanded() const
{
    return header_->isExpanded();
}

void SessionSection::setExpanded(bool expanded)
{
    if (isExpanded() == expanded) {
        return;
    }
    header_->showExpanded(expanded);
    if (expanded) {
        buildForms();
    }
    body_->setVisible(expanded);
}

void SessionSection::setSession(const WorkSession& session, const std::vector<Outcome>& outcomes)
{
    header_->setTitle(QStringLiteral("Session %1").arg(session.number));
    if (plan_) {
        plan_->setOutcomes(outcomes);
        if (plan_->plan() != session.plan) {
            plan_->setPlan(session.plan);
        }
    }
    session_ = session;
    outcomes_ = outcomes;
    syncReviewForm();
}

void SessionSection::buildForms()
{
    if (plan_) {
        return;
    }
    plan_ = new SessionPlanForm(session_.plan, outcomes_, presentation_, SessionPlanFocusState{}, body_);
    bodyLayout_->addWidget(plan_);
    connect(plan_, &SessionPlanForm::edited, this, [this](const SessionPlan& plan) {
        session_.plan = plan;
        emit planEdited(session_.id, plan);
    });
    syncReviewForm();
    emit controlsChanged();
}

void SessionSection::syncReviewForm()
{
    if (!plan_) {
        return;
    }
    if (session_.review && !review_) {
        review_ = new SessionReviewForm(*session_.review, presentation_, body_);
        bodyLayout_->addWidget(review_);
        connect(review_, &SessionReviewForm::edited, this, [this](const SessionReview& review) {
            session_.review = review;
            emit reviewEdited(session_.id, review);
        });
        emit controlsChanged();
    } else if (!session_.review && review_) {
        discard(review_);
        review_ = nullptr;
    } else if (review_ && review_->review() != *session_.review) {
        review_->setReview(*session_.review);
    }
}

// ---------------------------------------------------------------------------

BlockForms::BlockForms(const Block& block, FormPresentation presentation,
                       std::function<QString(const Block&)> sessionsTitle,
                       std::function<void(Seconds)> onBreakDurationChanged, QWidget* parent)
    : QWidget(parent), blockId_(block.id), presentation_(presentation), sessionsTitle_(std::move(sessionsTitle))
{
    layout_ = makeColumn(this, QuillmereDesign::Spacing::loose);
    preparation_ = new BlockPreparationForm(block, presentation, std::move(onBreakDurationChanged), this);
    layout_->addWidget(preparation_);
    connect(preparation_, &BlockPreparationForm::edited, this, &BlockForms::preparationEdited);
    sessionsGroup_ = new FormGroup(sessionsTitle_(block), this);
    layout_->addWidget(sessionsGroup_);
    syncSessions(block);
    syncReflection(block);
}

QLabel* BlockForms::sessionsHeader() const
{
    return sessionsGroup_->header();
}

void BlockForms::setBlock(const Block& block)
{
    // Re-shown even when equal: a break step the host refused must not stay.
    preparation_->setBlock(block);
    const QString title = sessionsTitle_(block);
    if (sessionsHeader()->text() != title) {
        sessionsHeader()->setText(title);
    }
    syncSessions(block);
    syncReflection(block);
}

SessionSection* BlockForms::makeSession(const WorkSession& session, const std::vector<Outcome>& outcomes)
{
    auto* section = new SessionSection(session, outcomes, presentation_, sessionsGroup_);
    connect(section, &SessionSection::planEdited, this, &BlockForms::planEdited);
    connect(section, &SessionSection::reviewEdited, this, &BlockForms::reviewEdited);
    connect(section, &SessionSection::controlsChanged, this, &BlockForms::controlsChanged);
    return section;
}

void BlockForms::syncSessions(const Block& block)
{
    // Sections are kept by session id, so an expanded one stays expanded.
    std::vector<SessionSection*> remaining = sessions_;
    std::vector<SessionSection*> next;
    next.reserve(block.sessions.size());
    bool added = false;
    for (const WorkSession& session : block.sessions) {
        const auto found = std::ranges::find_if(
            remaining, [&](const SessionSection* section) { return section && section->sessionId() == session.id; });
        if (found != remaining.end()) {
            (*found)->setSession(session, block.outcomes);
            next.push_back(*found);
            *found = nullptr;
        } else {
            next.push_back(makeSession(session, block.outcomes));
            added = true;
        }
    }
    bool removed = false;
    for (SessionSection* section : remaining) {
        if (section) {
            discard(section);
            removed = true;
        }
    }
    if (added || removed || next != sessions_) {
        QVBoxLayout* rows = sessionsGroup_->rows();
        for (SessionSection* section : next) {
            rows->removeWidget(section);
        }
        for (SessionSection* section : next) {
            rows->addWidget(section);
        }
        sessions_ = std::move(next);
    }
    // No sessions yet: the header alone says "0 of N", without an empty card.
    sessionsGroup_->rows()->parentWidget()->setVisible(!sessions_.empty());
    if (added) {
        emit controlsChanged();
    }
}

void BlockForms::syncReflection(const Block& block)
{
    if (block.reflection && !reflection_) {
        reflection_ = new BlockReviewForm(*block.reflection, presentation_, this);
        layout_->addWidget(reflection_);
        connect(reflection_, &BlockReviewForm::edited, this, &BlockForms::reflectionEdited);
        emit controlsChanged();
    } else if (!block.reflection && reflection_) {
        discard(reflection_);
        reflection_ = nullptr;
    } else if (reflection_ && reflection_->review() != *block.reflection) {
        reflection_->setReview(*block.reflection);
    }
}

// ---------------------------------------------------------------------------

CurrentBlockView::CurrentBlockView(AppModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    layout_ = makeColumn(this, QuillmereDesign::Spacing::loose);
    layout_->addWidget(makeLabel(tr("Current block"), look::titleFont(), this));
    empty_ = makeEmptyState("square.dashed", tr("No active block"),
                            tr("Start or schedule a block from the Work cycle tab."), this);
    layout_->addWidget(empty_);
    layout_->addStretch(1);
    connect(&model_, &AppModel::stateChanged, this, &CurrentBlockView::refresh);
    refresh();
}

void CurrentBlockView::refresh()
{
    const std::optional<Block>& block = model_.state().currentBlock;
    if (forms_ && (!block || block->id != forms_->blockId())) {
        discard(forms_);
        forms_ = nullptr;
    }
    empty_->setVisible(!block);
    if (!block) {
        return;
    }
    if (forms_) {
        forms_->setBlock(*block);
        return;
    }
    forms_ = new BlockForms(*block, FormPresentation::editable, sessionsTitle,
                            [this](Seconds seconds) {
                                model_.updateBreakDuration(seconds, model_.now());
                                // A refused change leaves the state, and so
                                // no refresh follows: show the stored value.
                                if (forms_ && model_.state().currentBlock) {
                                    forms_->preparationForm()->setBlock(*model_.state().currentBlock);
                                }
                            },
                            this);
    layout_->insertWidget(layout_->count() - 1, forms_);
    connect(forms_, &BlockForms::preparationEdited, this, &CurrentBlockView::storePreparation);
    connect(forms_, &BlockForms::planEdited, this, [this](const Uuid& id, const SessionPlan& plan) {
        storeSession(id, [&](WorkSession& session) { session.plan = plan; });
    });
    connect(forms_, &BlockForms::reviewEdited, this, [this](const Uuid& id, const SessionReview& review) {
        storeSession(id, [&](WorkSession& session) { session.review = review; });
    });
    connect(forms_, &BlockForms::reflectionEdited, this, &CurrentBlockView::storeReflection);
    connect(forms_, &BlockForms::controlsChanged, this, [this] { orderFocusByLayout(this); });
    orderFocusByLayout(this);
}

void CurrentBlockView::storePreparation(const Block& edited)
{
    const std::optional<Block>& block = model_.state().currentBlock;
    if (!block || block->id != edited.id) {
        return;
    }
    // The break length is not among them: it changes through its command.
    model_.editState([&](QuillmereState& state) { copyPreparation(*state.currentBlock, edited, false); });
    model_.persistSoon();
}

void CurrentBlockView::storeSession(const Uuid& sessionId, const std::function<void(WorkSession&)>& change)
{
    const std::optional<Block>& block = model_.state().currentBlock;
    if (!block || std::ranges::find(block->sessions, sessionId, &WorkSession::id) == block->sessions.end()) {
        return;
    }
    model_.editState([&](QuillmereState& state) { change(*findSession(*state.currentBlock, sessionId)); });
    model_.persistSoon();
}

void CurrentBlockView::storeReflection(const BlockReview& review)
{
    if (!model_.state().currentBlock) {
        return;
    }
    model_.editState([&](QuillmereState& state) { state.currentBlock->reflection = review; });
    model_.persistSoon();
}

// ---------------------------------------------------------------------------

CompletedBlockEditor::CompletedBlockEditor(AppModel& model, const Block& block, QWidget* parent)
    : QWidget(parent), model_(model), blockId_(block.id), shown_(block)
{
    layout_ = makeColumn(this, QuillmereDesign::Spacing::snug);
    auto* headerRow = new QHBoxLayout;
    headerRow->setSpacing(points(QuillmereDesign::Spacing::snug));
    header_ = new DisclosureButton(completedHeader(block), this);
    header_->setFont(look::headlineFont());
    edit_ = makeButton(tr("Edit"), this);
    edit_->setAccessibleDescription(header_->text());
    headerRow->addWidget(header_);
    headerRow->addStretch(1);
    headerRow->addWidget(edit_);
    layout_->addLayout(headerRow);

    connect(header_, &DisclosureButton::expandedChanged, this, [this](bool expanded) {
        if (expanded && !forms_) {
            buildForms();
        }
        if (forms_) {
            forms_->setVisible(expanded);
        }
    });
    connect(edit_, &QPushButton::clicked, this, [this] {
        switch (presentation_) {
        case FormPresentation::readOnly: setPresentation(FormPresentation::editable); break;
        case FormPresentation::editable: setPresentation(FormPresentation::readOnly); break;
        }
    });
}

bool CompletedBlockEditor::isExpanded() const
{
    return header_->isExpanded();
}

void CompletedBlockEditor::setExpanded(bool expanded)
{
    if (isExpanded() == expanded) {
        return;
    }
    header_->showExpanded(expanded);
    if (expanded && !forms_) {
        buildForms();
    }
    if (forms_) {
        forms_->setVisible(expanded);
    }
}

void CompletedBlockEditor::setPresentation(FormPresentation presentation)
{
    if (presentation_ == presentation) {
        return;
    }
    presentation_ = presentation;
    switch (presentation) {
    case FormPresentation::editable: edit_->setText(tr("Done")); break;
    case FormPresentation::readOnly: edit_->setText(tr("Edit")); break;
    }
    // The forms take their presentation when built: build them anew, with
    // the same sessions open.
    std::vector<Uuid> expandedSessions;
    if (forms_) {
        for (const SessionSection* section : forms_->sessions()) {
            if (section->isExpanded()) {
                expandedSessions.push_back(section->sessionId());
            }
        }
        discard(forms_);
        forms_ = nullptr;
    }
    if (presentation == FormPresentation::editable) {
        setExpanded(true);
    }
    if (isExpanded() && !forms_) {
        buildForms();
    }
    if (forms_) {
        for (SessionSection* section : forms_->sessions()) {
            if (std::ranges::find(expandedSessions, section->sessionId()) != expandedSessions.end()) {
                section->setExpanded(true);
            }
        }
    }
}

void CompletedBlockEditor::setBlock(const Block& block)
{
    if (block == shown_) {
        return;
    }
    shown_ = block;
    const QString header = completedHeader(block);
    header_->setTitle(header);
    edit_->setAccessibleDescription(header);
    if (forms_) {
        forms_->setBlock(block);
    }
}

QString CompletedBlockEditor::headerText() const
{
    return header_->text();
}

void CompletedBlockEditor::buildForms()
{
    forms_ = new BlockForms(shown_, presentation_, sessionsTitle, nullptr, this);
    forms_->layout()->setContentsMargins(points(QuillmereDesign::Spacing::loose), 0, 0, 0);
    layout_->addWidget(forms_);
    connect(forms_, &BlockForms::preparationEdited, this, [this](const Block& edited) {
        write([&](Block& block) {
            copyPreparation(block, edited, true);
            return true;
        });
    });
    connect(forms_, &BlockForms::planEdited, this, [this](const Uuid& id, const SessionPlan& plan) {
        write([&](Block& block) {
            WorkSession* session = findSession(block, id);
            if (session) {
                session->plan = plan;
            }
            return session != nullptr;
        });
    });
    connect(forms_, &BlockForms::reviewEdited, this, [this](const Uuid& id, const SessionReview& review) {
        write([&](Block& block) {
            WorkSession* session = findSession(block, id);
            if (session) {
                session->review = review;
            }
            return session != nullptr;
        });
    });
    connect(forms_, &BlockForms::reflectionEdited, this, [this](const BlockReview& review) {
        write([&](Block& block) {
            block.reflection = review;
            return true;
        });
    });
    connect(forms_, &BlockForms::controlsChanged, this, &CompletedBlockEditor::controlsChanged);
    emit controlsChanged();
}

void CompletedBlockEditor::write(const std::function<bool(Block&)>& change)
{
    // Looked up afresh: the block or session may have gone since the form
    // was built, and then the edit has nowhere to go.
    const std::vector<Block>& history = model_.state().blockHistory;
    const auto found = std::ranges::find(history, blockId_, &Block::id);
    if (found == history.end()) {
        return;
    }
    Block changed = *found;
    if (!change(changed)) {
        return;
    }
    model_.editState([&](QuillmereState& state) {
        const auto target = std::ranges::find(state.blockHistory, blockId_, &Block::id);
        if (target != state.blockHistory.end()) {
            *target = std::move(changed);
        }
    });
    // Typing into the history is held back like any typing (the file holds
    // the whole history); stamps the time, and a failed save raises the alert.
    model_.persistSoon();
}

// ---------------------------------------------------------------------------

HistoryView::HistoryView(AppModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    auto* layout = makeColumn(this, QuillmereDesign::Spacing::loose);
    layout->addWidget(makeLabel(tr("Block history"), look::titleFont(), this));
    empty_ = makeEmptyState("clock", tr("No completed blocks"), tr("Completed block reflections stay here."), this);
    layout->addWidget(empty_);
    list_ = new QWidget(this);
    listLayout_ = makeColumn(list_, QuillmereDesign::Spacing::regular);
    layout->addWidget(list_);
    layout->addStretch(1);
    connect(&model_, &AppModel::stateChanged, this, &HistoryView::refresh);
    refresh();
}

CompletedBlockEditor* HistoryView::editor(const Uuid& blockId) const
{
    const auto found = std::ranges::find(editors_, blockId, &CompletedBlockEditor::blockId);
    return found == editors_.end() ? nullptr : *found;
}

void HistoryView::refresh()
{
    const std::vector<Block>& history = model_.state().blockHistory;
    empty_->setVisible(history.empty());
    list_->setVisible(!history.empty());

    // Runs on every change of the state, also while the user types in the
    // work cycle tab: one binary search and one comparison per block. Equal
    // ids (a hand-edited file) each keep an editor of their own, in order.
    std::vector<std::pair<Uuid, CompletedBlockEditor*>> existing;
    existing.reserve(editors_.size());
    for (CompletedBlockEditor* editor : editors_) {
        existing.emplace_back(editor->blockId(), editor);
    }
    std::ranges::stable_sort(existing, {}, &std::pair<Uuid, CompletedBlockEditor*>::first);
    std::vector<CompletedBlockEditor*> next;
    next.reserve(history.size());
    bool added = false;
    for (const Block& block : history) {
        auto found = std::ranges::lower_bound(existing, block.id, {}, &std::pair<Uuid, CompletedBlockEditor*>::first);
        while (found != existing.end() && found->first == block.id && !found->second) {
            ++found;
        }
        if (found != existing.end() && found->first == block.id) {
            found->second->setBlock(block);
            next.push_back(found->second);
            found->second = nullptr;
            continue;
        }
        auto* editor = new CompletedBlockEditor(model_, block, list_);
        connect(editor, &CompletedBlockEditor::controlsChanged, this, &HistoryView::renewKeyboardOrder);
        next.push_back(editor);
        added = true;
    }
    for (const auto& [id, unused] : existing) {
        if (unused) {
            discard(unused);
        }
    }
    if (next == editors_) {
        return;
    }
    for (CompletedBlockEditor* editor : next) {
        listLayout_->removeWidget(editor);
    }
    for (CompletedBlockEditor* editor : next) {
        listLayout_->addWidget(editor);
    }
    editors_ = std::move(next);
    if (added) {
        renewKeyboardOrder();
    }
}

void HistoryView::renewKeyboardOrder()
{
    orderFocusByLayout(this);
}

// ---------------------------------------------------------------------------

AgentQuestionsView::AgentQuestionsView(AppModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    auto* layout = makeColumn(this, QuillmereDesign::Spacing::loose);
    layout->addWidget(makeLabel(tr("Agent questions"), look::titleFont(), this));
    layout->addWidget(makeSecondaryText(tr("Agents can inspect the same open questions in agent-state.json."), this));

    auto* row = new QHBoxLayout;
    row->setSpacing(points(QuillmereDesign::Spacing::snug));
    newQuestion_ = new BoundedLineEdit(TextLimits::questionCharacters, this);
    newQuestion_->setPlaceholderText(tr("Add a question"));
    newQuestion_->setAccessibleName(tr("New agent question"));
    add_ = makeButton(tr("Add"), this);
    add_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
    add_->setToolTip(tr("Add (%1)").arg(add_->shortcut().toString(QKeySequence::NativeText)));
    row->addWidget(newQuestion_, 1);
    row->addWidget(add_);
    layout->addLayout(row);
    layout->addWidget(newQuestion_->note());
    connect(newQuestion_, &QLineEdit::returnPressed, this, &AgentQuestionsView::addQuestion);
    connect(add_, &QPushButton::clicked, this, &AgentQuestionsView::addQuestion);

    auto* cards = new QWidget(this);
    cardsLayout_ = makeColumn(cards, QuillmereDesign::Spacing::snug);
    layout->addWidget(cards);

    more_ = new QWidget(this);
    auto* moreRow = new QHBoxLayout(more_);
    moreRow->setContentsMargins(0, 0, 0, 0);
    moreRow->setSpacing(points(QuillmereDesign::Spacing::snug));
    moreText_ = makeSecondaryText(QString(), more_);
    showMore_ = makeButton(QString(), more_);
    moreRow->addWidget(moreText_, 1);
    moreRow->addWidget(showMore_);
    layout->addWidget(more_);
    layout->addStretch(1);
    connect(showMore_, &QPushButton::clicked, this, &AgentQuestionsView::showMore);

    connect(&model_, &AppModel::stateChanged, this, &AgentQuestionsView::refresh);
    refresh();
}

QLineEdit* AgentQuestionsView::answerField(const Uuid& questionId) const
{
    const Card* found = card(questionId);
    return found ? found->answer : nullptr;
}

QPushButton* AgentQuestionsView::saveButton(const Uuid& questionId) const
{
    const Card* found = card(questionId);
    return found ? found->save : nullptr;
}

const AgentQuestionsView::Card* AgentQuestionsView::card(const Uuid& questionId) const
{
    const auto found = std::ranges::find(cards_, questionId, &Card::id);
    return found == cards_.end() ? nullptr : &*found;
}

AgentQuestionsView::Card AgentQuestionsView::makeCard(const AgentQuestion& question)
{
    Card card;
    card.id = question.id;
    auto* frame = new QuillmereCard(QuillmereDesign::Radius::card, std::nullopt, cardsLayout_->parentWidget());
    card.card = frame;
    auto* column = makeColumn(frame, QuillmereDesign::Spacing::snug);
    card.question = makeLabel(shownText(question.question, TextLimits::questionCharacters), look::headlineFont(), frame);
    card.question->setTextInteractionFlags(Qt::TextSelectableByMouse);
    card.answer = new BoundedLineEdit(TextLimits::questionCharacters, frame);
    card.answer->setPlaceholderText(tr("Answer"));
    card.answer->setAccessibleName(tr("Answer"));
    card.answer->note()->setFieldDescription(card.question->text());
    card.save = makeButton(tr("Save answer"), frame);
    card.save->setAccessibleDescription(card.question->text());
    column->addWidget(card.question);
    if (question.askedBy) {
        card.askedBy = makeSecondaryText(
            tr("asked by %1").arg(shownText(*question.askedBy, AgentQuestions::maximumAskerCharacters)), frame);
        card.askedBy->setObjectName(QStringLiteral("askedBy"));
        card.save->setAccessibleDescription(card.question->text() + QStringLiteral(" — ") + card.askedBy->text());
        column->addWidget(card.askedBy);
    }
    column->addWidget(card.answer);
    column->addWidget(card.answer->note());
    column->addWidget(card.save, 0, Qt::AlignLeft);

    const Uuid id = question.id;
    connect(card.answer, &QLineEdit::textEdited, this, [this, id](const QString& text) {
        if (text.isEmpty()) {
            drafts_.erase(id);
        } else {
            drafts_[id] = text;
        }
    });
    connect(card.answer, &QLineEdit::returnPressed, this, [this, id] { saveAnswer(id); });
    connect(card.save, &QPushButton::clicked, this, [this, id] { saveAnswer(id); });
    return card;
}

void AgentQuestionsView::refresh()
{
    // Runs on every change of the state: one pass over the questions, and
    // work only for the questions that have (or get) a card.
    std::vector<const AgentQuestion*> shown;
    std::size_t openCount = 0;
    std::map<Uuid, QString> openDrafts;
    for (const AgentQuestion& question : model_.state().agentQuestions) {
        if (question.answeredAt) {
            continue;
        }
        ++openCount;
        if (shown.size() < cardLimit_) {
            shown.push_back(&question);
        }
        if (const auto draft = drafts_.find(question.id); draft != drafts_.end()) {
            openDrafts.insert(*draft);
        }
    }
    // A question that is no longer open cannot come back: its draft goes.
    drafts_ = std::move(openDrafts);

    std::vector<Card> remaining = cards_;
    std::vector<Card> next;
    next.reserve(shown.size());
    bool added = false;
    for (const AgentQuestion* question : shown) {
        const auto found = std::ranges::find_if(
            remaining, [&](const Card& card) { return card.card && card.id == question->id; });
        Card card;
        if (found != remaining.end()) {
            card = *found;
            found->card = nullptr;
            const QString text = shownText(question->question, TextLimits::questionCharacters);
            if (card.question->text() != text) {
                card.question->setText(text);
                card.answer->note()->setFieldDescription(text);
                card.save->setAccessibleDescription(text);
            }
        } else {
            card = makeCard(*question);
            added = true;
        }
        const auto draft = drafts_.find(question->id);
        const QString draftText = draft == drafts_.end() ? QString() : draft->second;
        if (card.answer->text() != draftText) {
            card.answer->setText(draftText);
        }
        next.push_back(card);
    }
    for (const Card& card : remaining) {
        if (card.card) {
            discard(card.card);
        }
    }

    const std::size_t hidden = openCount - next.size();
    more_->setVisible(hidden > 0);
    if (hidden > 0) {
        const QString summary = tr("Showing %L1 of %L2 open questions.").arg(next.size()).arg(openCount);
        moreText_->setText(summary);
        showMore_->setText(tr("Show %Ln more", nullptr, static_cast<int>(std::min(hidden, cardsPerPage))));
        // Every change of a description is announced to assistive technology.
        if (showMore_->accessibleDescription() != summary) {
            showMore_->setAccessibleDescription(summary);
        }
    }

    const bool sameOrder = std::ranges::equal(next, cards_, [](const Card& a, const Card& b) { return a.id == b.id; });
    cards_ = std::move(next);
    if (sameOrder) {
        return;
    }
    for (const Card& card : cards_) {
        cardsLayout_->removeWidget(card.card);
    }
    for (const Card& card : cards_) {
        cardsLayout_->addWidget(card.card);
    }
    if (added) {
        orderFocusByLayout(this);
    }
}

void AgentQuestionsView::showMore()
{
    const std::size_t firstNew = cards_.size();
    cardLimit_ += cardsPerPage;
    refresh();
    // The keyboard goes on where the new cards begin, rather than staying on
    // the button that has moved below them.
    if (firstNew < cards_.size()) {
        focusAndReveal(cards_[firstNew].answer);
    }
}

void AgentQuestionsView::addQuestion()
{
    const QString question = newQuestion_->text();
    model_.addQuestion(question);
    newQuestion_->clear();
}

void AgentQuestionsView::saveAnswer(const Uuid& questionId)
{
    const auto position = std::ranges::find(cards_, questionId, &Card::id);
    if (position == cards_.end()) {
        return;
    }
    const auto index = position - cards_.begin();
    QWidget* focus = QApplication::focusWidget();
    const bool focusInCard = focus && position->card->isAncestorOf(focus);
    const auto draft = drafts_.find(questionId);
    const QString answer = draft == drafts_.end() ? QString() : draft->second;

    model_.answerQuestion(questionId, answer);
    drafts_.erase(questionId);

    if (const Card* still = card(questionId)) {
        // Refused: the question stays, its draft is gone all the same.
        still->answer->clear();
        return;
    }
    // Keep the keyboard where the card was: the next card (the first
    // question beyond the shown ones fills the page), else the field.
    if (focusInCard) {
        focusAndReveal(cards_.empty() ? static_cast<QWidget*>(newQuestion_)
                                      : cards_[static_cast<std::size_t>(
                                                   std::min<std::ptrdiff_t>(index, std::ssize(cards_) - 1))]
                                            .answer);
    }
}

// ---------------------------------------------------------------------------

MainWindow::MainWindow(AppModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    banner_ = new QWidget(this);
    auto* bannerMargin = new QVBoxLayout(banner_);
    const int margin = points(QuillmereDesign::Spacing::snug);
    bannerMargin->setContentsMargins(margin, margin, margin, margin);
    QColor tint = look::orange;
    tint.setAlphaF(0.14f);
    auto* card = new QuillmereCard(QuillmereDesign::Radius::control, tint, banner_);
    bannerMargin->addWidget(card);
    auto* row = new QHBoxLayout(card);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(points(QuillmereDesign::Spacing::snug));
    bannerText_ = makeLabel(QString(), card);
    auto* dismiss = makeButton(tr("Dismiss"), card);
    row->addWidget(new SymbolLabel("bell.fill", QFontMetrics(bannerText_->font()).height(), card));
    row->addWidget(bannerText_, 1);
    row->addWidget(dismiss);
    layout->addWidget(banner_);
    connect(dismiss, &QPushButton::clicked, this, [this] { model_.setDueMessage({}); });

    tabs_ = new QTabWidget(this);
    tabs_->setDocumentMode(true);
    layout->addWidget(tabs_, 1);
    for (const TabDescription& description : tabDescriptions) {
        // Every tab can outgrow the window: a long history, a block with
        // many sessions, many questions, the planning forms.
        auto* area = new QScrollArea(tabs_);
        area->setWidgetResizable(true);
        area->setFrameShape(QFrame::NoFrame);
        auto* page = new QWidget(area);
        auto* padding = new QVBoxLayout(page);
        const int inset = points(QuillmereDesign::Spacing::section);
        padding->setContentsMargins(inset, inset, inset, inset);
        QWidget* content = nullptr;
        switch (description.tab) {
        case MainWindowTab::workCycle: content = workflow_ = new WorkflowView(model_, page); break;
        case MainWindowTab::currentBlock: content = currentBlock_ = new CurrentBlockView(model_, page); break;
        case MainWindowTab::history: content = history_ = new HistoryView(model_, page); break;
        case MainWindowTab::agentQuestions: content = questions_ = new AgentQuestionsView(model_, page); break;
        }
        padding->addWidget(content);
        area->setWidget(page);
        const int index = tabs_->addTab(area, look::symbolIcon(description.icon), tr(description.label));
        const QKeySequence shortcut(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + index));
        tabs_->setTabToolTip(index, QStringLiteral("%1 (%2)").arg(tr(description.label),
                                                                   shortcut.toString(QKeySequence::NativeText)));
        const MainWindowTab tab = description.tab;
        connect(new QShortcut(shortcut, this), &QShortcut::activated, this, [this, tab] { model_.setSelectedTab(tab); });
    }

    // Only now: adding the first tab selected it, which is not the user's
    // choice and must not overwrite the model's.
    syncTab();
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        if (index >= 0 && index < std::ssize(tabDescriptions)) {
            model_.setSelectedTab(tabDescriptions[static_cast<std::size_t>(index)].tab);
        }
    });
    connect(&model_, &AppModel::selectedTabChanged, this, &MainWindow::syncTab);
    connect(&model_, &AppModel::dueMessageChanged, this, &MainWindow::syncBanner);
    connect(&model_, &AppModel::lastErrorChanged, this, &MainWindow::syncAlert);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, &MainWindow::applicationStateChanged);
    syncBanner();
    // An error from start-up (an unreadable state file) is shown once the
    // window is up, not while it is being built.
    QMetaObject::invokeMethod(this, &MainWindow::syncAlert, Qt::QueuedConnection);
}

void MainWindow::syncBanner()
{
    const QString message = model_.dueMessage();
    if (bannerText_->text() != message) {
        bannerText_->setText(message);
    }
    banner_->setVisible(!message.isEmpty());
}

void MainWindow::syncTab()
{
    tabs_->setCurrentIndex(tabIndex(model_.selectedTab()));
}

void MainWindow::syncAlert()
{
    const QString error = model_.lastError();
    if (error.isEmpty()) {
        // Cleared elsewhere: nothing is left to acknowledge.
        if (alert_ && alert_->isVisible()) {
            alert_->hide();
        }
        return;
    }
    if (!alert_) {
        alert_ = new QMessageBox(QMessageBox::Warning, tr("Quillmere error"), QString(), QMessageBox::Ok, this);
        alert_->setTextFormat(Qt::PlainText);
        alert_->setWindowModality(Qt::WindowModal);
        // OK, Escape and the window's close button all finish the dialog.
        connect(alert_, &QDialog::finished, this, [this] { model_.setLastError({}); });
    }
    const QString text = error.trimmed().isEmpty() ? tr("Unknown error") : error;
    if (alert_->text() != text) {
        alert_->setText(text);
    }
    if (!alert_->isVisible()) {
        alert_->open();
    }
}

void MainWindow::applicationStateChanged(Qt::ApplicationState state)
{
    switch (state) {
    case Qt::ApplicationActive: model_.notifications().refreshAuthorization(); break;
    case Qt::ApplicationInactive:
    case Qt::ApplicationHidden:
    case Qt::ApplicationSuspended: model_.persist(); break;
    }
}

} // namespace quillmere
