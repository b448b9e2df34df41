// SPDX-License-Identifier: GPL-3.0-or-later
#include "AgentQuestionsView.h"

#include "LocalText.h"
#include "Look.h"
#include "ScreenParts_p.h"
#include "forms/FormComponents.h"

#include "quillmere/QuillmereDesign.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace quillmere {

AgentQuestionsView::AgentQuestionsView(AppModel& model, QWidget* parent)
    : QWidget(parent), model_(model), questions_(model)
{
    auto* layout = makeColumn(this, QuillmereDesign::Spacing::loose);
    layout->addWidget(makeLabel(tr("Agent questions"), look::titleFont(), this));
    layout->addWidget(makeSecondaryText(tr("Agents can inspect the same open questions in agent-state.json."), this));

    auto* row = new QHBoxLayout;
    row->setSpacing(look::points(QuillmereDesign::Spacing::snug));
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
    cardsLayout_ = makeColumn(cards, QuillmereDesign::Spacing::regular);
    layout->addWidget(cards);

    const MoreRow more = makeMoreRow(QString(), this);
    more_ = more.row;
    moreText_ = more.text;
    showMore_ = more.button;
    layout->addWidget(more_);
    layout->addStretch(1);
    connect(showMore_, &QPushButton::clicked, this, &AgentQuestionsView::showMore);

    // Once per change, after the list model (connected first, when it was
    // made) has taken it in; the cards of unchanged questions are left alone.
    connect(&model_, &AppModel::questionsChanged, this, &AgentQuestionsView::refresh);
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
        card.save->setAccessibleDescription(tr("%1 — %2", "a question and who asked it").arg(card.question->text(), card.askedBy->text()));
        column->addWidget(card.askedBy);
    }
    // The answer and the button that saves it, on one line.
    auto* answerRow = new QHBoxLayout;
    answerRow->setSpacing(look::points(QuillmereDesign::Spacing::snug));
    answerRow->addWidget(card.answer, 1);
    answerRow->addWidget(card.save);
    column->addSpacing(look::points(QuillmereDesign::Spacing::tight));
    column->addLayout(answerRow);
    column->addWidget(card.answer->note());

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
    // Runs when a question came, went or changed: one pass over the
    // questions, and work only for those that have (or get) a card.
    std::vector<const AgentQuestion*> shown;
    std::size_t openCount = 0;
    std::map<Uuid, QString> openDrafts;
    for (const AgentQuestion& question : questions_.rows()) {
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
        const QString summary = tr("Showing %L1 of %L2 open question(s).", nullptr, pluralCount(static_cast<std::int64_t>(openCount)))
                                    .arg(next.size())
                                    .arg(openCount);
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

} // namespace quillmere
