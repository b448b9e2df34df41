// SPDX-License-Identifier: GPL-3.0-or-later
#include "AgentQuestionListModel.h"

#include "AppModel.h"
#include "LocalText.h"

namespace quillmere {

AgentQuestionListModel::AgentQuestionListModel(const AppModel& model, QObject* parent)
    : KeyedListModel<AgentQuestion>(parent), model_(model)
{
    refresh();
    connect(&model_, &AppModel::questionsChanged, this, &AgentQuestionListModel::refresh);
}

void AgentQuestionListModel::refresh()
{
    update(model_.state().agentQuestions);
}

QVariant AgentQuestionListModel::data(const QModelIndex& index, int role) const
{
    const AgentQuestion* question = rowAt(index);
    if (question == nullptr) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
    case TextRole: return qtText(question->question);
    case AskerRole: return qtText(question->askedBy.value_or(std::string()));
    case AskedAtRole: return qtDateTime(question->createdAt);
    case AnswerRole: return qtText(question->answer.value_or(std::string()));
    case AnsweredAtRole: return qtDateTime(question->answeredAt);
    case OpenRole: return !question->answeredAt.has_value();
    case IdRole: return qtText(question->id.toString());
    default: return {};
    }
}

QHash<int, QByteArray> AgentQuestionListModel::roleNames() const
{
    return {{Qt::DisplayRole, "display"}, {TextRole, "text"},           {AskerRole, "asker"},
            {AskedAtRole, "askedAt"},     {AnswerRole, "answer"},       {AnsweredAtRole, "answeredAt"},
            {OpenRole, "open"},           {IdRole, "questionId"}};
}

} // namespace quillmere
