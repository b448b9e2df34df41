// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/Instant.h"
#include "quillmere/Uuid.h"

#include <QAbstractListModel>
#include <QDateTime>

#include <algorithm>
#include <set>
#include <vector>

namespace quillmere {

// An instant for a role: a UTC date and time, invalid for none.
inline QDateTime qtDateTime(std::optional<Instant> instant)
{
    if (!instant) {
        return {};
    }
    const auto milliseconds = std::chrono::floor<std::chrono::milliseconds>(*instant).time_since_epoch().count();
    return QDateTime::fromMSecsSinceEpoch(milliseconds, Qt::UTC);
}

// A list model over rows that carry their record's `id` and compare equal
// when a view would show them alike. update() brings the rows to a new list
// with the least a view has to redo: rows whose content changed are
// announced as changed, rows that came or went as inserted or removed, in
// runs; only a list whose records changed their order is reset.
template <typename Row>
class KeyedListModel : public QAbstractListModel {
public:
    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    // Every row in order, for a view that shows each with widgets of its own.
    const std::vector<Row>& rows() const { return rows_; }

protected:
    using QAbstractListModel::QAbstractListModel;

    // The row at `index`, or null for an index of another model or out of range.
    const Row* rowAt(const QModelIndex& index) const
    {
        if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
            return nullptr;
        }
        return &rows_[static_cast<std::size_t>(index.row())];
    }

    void update(std::vector<Row> fresh)
    {
        if (sameIdsInOrder(fresh)) {
            for (std::size_t row = 0; row < rows_.size(); ++row) {
                changeRow(row, std::move(fresh[row]));
            }
            return;
        }
        const std::set<Uuid> kept = ids(fresh);
        const std::set<Uuid> old = ids(rows_);
        if (kept.size() != fresh.size() || old.size() != rows_.size()) {
            return reset(std::move(fresh)); // a record twice: no way to tell rows apart
        }
        std::size_t row = 0;
        std::size_t next = 0;
        while (row < rows_.size() || next < fresh.size()) {
            std::size_t gone = row;
            while (gone < rows_.size() && !kept.contains(rows_[gone].id)) {
                ++gone;
            }
            if (gone > row) {
                beginRemoveRows({}, static_cast<int>(row), static_cast<int>(gone - 1));
                rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row),
                            rows_.begin() + static_cast<std::ptrdiff_t>(gone));
                endRemoveRows();
                continue;
            }
            std::size_t come = next;
            while (come < fresh.size() && !old.contains(fresh[come].id)) {
                ++come;
            }
            if (come > next) {
                beginInsertRows({}, static_cast<int>(row), static_cast<int>(row + (come - next) - 1));
                rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(row),
                             std::make_move_iterator(fresh.begin() + static_cast<std::ptrdiff_t>(next)),
                             std::make_move_iterator(fresh.begin() + static_cast<std::ptrdiff_t>(come)));
                endInsertRows();
                row += come - next;
                next = come;
                continue;
            }
            if (row == rows_.size() || next == fresh.size() || rows_[row].id != fresh[next].id) {
                return reset(std::move(fresh)); // records that moved
            }
            changeRow(row++, std::move(fresh[next++]));
        }
    }

private:
    bool sameIdsInOrder(const std::vector<Row>& fresh) const
    {
        return std::ranges::equal(rows_, fresh, {}, &Row::id, &Row::id);
    }

    static std::set<Uuid> ids(const std::vector<Row>& rows)
    {
        std::set<Uuid> ids;
        for (const Row& row : rows) {
            ids.insert(row.id);
        }
        return ids;
    }

    void changeRow(std::size_t row, Row&& fresh)
    {
        if (rows_[row] == fresh) {
            return;
        }
        rows_[row] = std::move(fresh);
        const QModelIndex changed = index(static_cast<int>(row));
        emit dataChanged(changed, changed);
    }

    void reset(std::vector<Row> fresh)
    {
        beginResetModel();
        rows_ = std::move(fresh);
        endResetModel();
    }

    std::vector<Row> rows_;
};

} // namespace quillmere
