// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "KeyedListModel.h"

#include <optional>
#include <string>
#include <vector>

namespace quillmere {

class AppModel;

// What a row of the history shows of a completed block.
struct HistoryRow {
    Uuid id;
    std::vector<std::string> outcomes;
    std::optional<Instant> completedAt;
    std::size_t sessions = 0;
    std::int64_t cycleCount = 0;

    friend bool operator==(const HistoryRow&, const HistoryRow&) = default;
};

// The completed blocks as a list, most recent first, one row a block; kept
// in step with the model's history, row by row.
class HistoryListModel final : public KeyedListModel<HistoryRow> {
    Q_OBJECT

public:
    enum Role {
        // The first outcome's title (also the display role).
        TitleRole = Qt::UserRole + 1,
        // Every outcome's title, a QStringList.
        OutcomesRole,
        // When the block was completed, in UTC; invalid when not recorded.
        CompletedAtRole,
        // The sessions run and the cycles planned: how complete the block is.
        SessionsRole,
        CycleCountRole,
        // The block's identifier as text.
        IdRole,
    };

    explicit HistoryListModel(const AppModel& model, QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    void refresh();

    const AppModel& model_;
};

} // namespace quillmere
