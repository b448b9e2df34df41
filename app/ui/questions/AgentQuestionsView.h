// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AgentQuestionListModel.h"
#include "AppModel.h"
#include "forms/FormComponents.h"

#include <QWidget>

#include <map>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace quillmere {

// The "Agent questions" tab: a field to add a question and one card per
// open question with an answer field. Unsaved answers are kept per question
// while the list changes around them. Cards are built a page at a time, the
// oldest questions first, and "Show more" adds the next page, so that the
// tab costs the same with ten thousand open questions as with a page of
// them.
class AgentQuestionsView : public QWidget {
    Q_OBJECT

public:
    // A screenful and more: how many cards are shown at first and how many
    // more each "Show more" adds.
    static constexpr std::size_t cardsPerPage = 20;

    explicit AgentQuestionsView(AppModel& model, QWidget* parent = nullptr);

    QLineEdit* newQuestionField() const { return newQuestion_; }
    // Hidden while every open question has its card.
    QPushButton* showMoreButton() const { return showMore_; }
    const std::map<Uuid, QString>& draftAnswers() const { return drafts_; }
    // The answer field of an open question that has its card, or null.
    QLineEdit* answerField(const Uuid& questionId) const;
    QPushButton* saveButton(const Uuid& questionId) const;

private:
    struct Card {
        Uuid id;
        QWidget* card = nullptr;
        QLabel* question = nullptr;
        // Null when no agent gave its name.
        QLabel* askedBy = nullptr;
        BoundedLineEdit* answer = nullptr;
        QPushButton* save = nullptr;
    };

    void refresh();
    void addQuestion();
    void saveAnswer(const Uuid& questionId);
    void showMore();
    Card makeCard(const AgentQuestion& question);
    const Card* card(const Uuid& questionId) const;

    AppModel& model_;
    AgentQuestionListModel questions_;
    BoundedLineEdit* newQuestion_ = nullptr;
    QPushButton* add_ = nullptr;
    QVBoxLayout* cardsLayout_ = nullptr;
    std::vector<Card> cards_;
    std::map<Uuid, QString> drafts_;
    // How many cards may be shown: grows by a page with each "Show more".
    std::size_t cardLimit_ = cardsPerPage;
    QWidget* more_ = nullptr;
    QLabel* moreText_ = nullptr;
    QPushButton* showMore_ = nullptr;
};

} // namespace quillmere
