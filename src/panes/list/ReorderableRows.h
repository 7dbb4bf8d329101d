#pragma once

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
