// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "KeyedListModel.h"

#include "quillmere/Records.h"

namespace quillmere {

class AppModel;

// The agent questions as a list, in stored order, one row a question; kept
// in step with the model's questions, row by row.
class AgentQuestionListModel final : public KeyedListModel<AgentQuestion> {
    Q_OBJECT

public:
    enum Role {
        // The question (also the display role).
        TextRole = Qt::UserRole + 1,
        // The name the asking agent gave; empty for none.
        AskerRole,
        // When it was asked, in UTC.
        AskedAtRole,
        // The answer; empty while there is none.
        AnswerRole,
        AnsweredAtRole,
        // Whether it still waits for an answer (no answer time).
        OpenRole,
        // The question's identifier as text.
        IdRole,
    };

    explicit AgentQuestionListModel(const AppModel& model, QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    void refresh();

    const AppModel& model_;
};

} // namespace quillmere
