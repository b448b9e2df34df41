// SPDX-License-Identifier: GPL-3.0-or-later
#include "HistoryListModel.h"

#include "AppModel.h"
#include "LocalText.h"

#include <QStringList>

namespace quillmere {

HistoryListModel::HistoryListModel(const AppModel& model, QObject* parent)
    : KeyedListModel<HistoryRow>(parent), model_(model)
{
    refresh();
    connect(&model_, &AppModel::historyChanged, this, &HistoryListModel::refresh);
}

void HistoryListModel::refresh()
{
    std::vector<HistoryRow> rows;
    rows.reserve(model_.state().blockHistory.size());
    for (const Block& block : model_.state().blockHistory) {
        HistoryRow& row = rows.emplace_back(HistoryRow{block.id, {}, block.completedAt, block.sessions.size(),
                                                       block.cycleCount});
        for (const Outcome& outcome : block.outcomes) {
            row.outcomes.push_back(outcome.title);
        }
    }
    update(std::move(rows));
}

QVariant HistoryListModel::data(const QModelIndex& index, int role) const
{
    const HistoryRow* row = rowAt(index);
    if (row == nullptr) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
    case TitleRole: return row->outcomes.empty() ? QString() : qtText(row->outcomes.front());
    case OutcomesRole: {
        QStringList titles;
        for (const std::string& title : row->outcomes) {
            titles << qtText(title);
        }
        return titles;
    }
    case CompletedAtRole: return qtDateTime(row->completedAt);
    case SessionsRole: return static_cast<qlonglong>(row->sessions);
    case CycleCountRole: return static_cast<qlonglong>(row->cycleCount);
    case IdRole: return qtText(row->id.toString());
    default: return {};
    }
}

QHash<int, QByteArray> HistoryListModel::roleNames() const
{
    return {{Qt::DisplayRole, "display"},   {TitleRole, "title"},           {OutcomesRole, "outcomes"},
            {CompletedAtRole, "completedAt"}, {SessionsRole, "sessions"}, {CycleCountRole, "cycleCount"},
            {IdRole, "blockId"}};
}

} // namespace quillmere
