#pragma once

#include <QAbstractItemModel>
#include <vector>

// A list model that lets the file list put its rows in a new order after a header click.
// `order[i]` is the old row that goes to place i (a permutation of all rows); the model
// moves its rows, keeps persistent indexes (and so the selection) with them and emits the
// layout signals. Models without it are sorted through QAbstractItemModel::sort().
class ReorderableRows {
public:
    virtual ~ReorderableRows() = default;
    virtual void reorderRows(const std::vector<int>& order) = 0;
};

// Where the persistent indexes `before` are once the rows take `order` (as above), for
// QAbstractItemModel::changePersistentIndexList.
inline QModelIndexList MovedIndexes(const QAbstractItemModel& model, const QModelIndexList& before,
                                    const std::vector<int>& order) {
    std::vector<int> newRowOf(order.size());
    for (std::size_t place = 0; place < order.size(); ++place)
        newRowOf[order[place]] = static_cast<int>(place);
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& old : before)
        after.append(model.index(newRowOf[old.row()], old.column()));
    return after;
}
