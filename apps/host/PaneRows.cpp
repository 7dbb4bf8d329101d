#include "PaneRows.h"

#include <QAbstractItemView>
#include <QHeaderView>
#include <QListView>
#include <QTreeView>

namespace {

int labelColumn(const QAbstractItemView& view) {
    const auto* list = qobject_cast<const QListView*>(&view);
    return list ? list->modelColumn() : 0;
}

QString label(const QAbstractItemView& view, const QModelIndex& index) {
    return index.siblingAtColumn(labelColumn(view)).data(Qt::DisplayRole).toString();
}

QModelIndex childLabelled(const QAbstractItemView& view, const QModelIndex& parent,
                          const QString& text) {
    const QAbstractItemModel* model = view.model();
    const int rows = model->rowCount(parent);
    for (int row = 0; row < rows; ++row) {
        const QModelIndex index = model->index(row, labelColumn(view), parent);
        if (label(view, index) == text)
            return index;
    }
    return {};
}

void appendShownTreeRows(const QTreeView& tree, const QModelIndex& parent, const QString& prefix,
                         QStringList& rows) {
    const QAbstractItemModel* model = tree.model();
    const int count = model->rowCount(parent);
    for (int row = 0; row < count; ++row) {
        const QModelIndex index = model->index(row, 0, parent);
        if (tree.isRowHidden(row, parent))
            continue;
        const QString path =
            prefix.isEmpty() ? label(tree, index) : prefix + '/' + label(tree, index);
        rows.append(path);
        if (tree.isExpanded(index))
            appendShownTreeRows(tree, index, path, rows);
    }
}

} // namespace

QAbstractItemView* ShownView(QWidget* pane) {
    if (!pane)
        return nullptr;
    if (auto* view = qobject_cast<QAbstractItemView*>(pane))
        return view;
    for (QAbstractItemView* view : pane->findChildren<QAbstractItemView*>()) {
        if (!qobject_cast<QHeaderView*>(view) && view->isVisible())
            return view;
    }
    return nullptr;
}

QModelIndex FindRow(const QAbstractItemView& view, const QString& spec) {
    if (!view.model() || spec.isEmpty())
        return {};
    const QModelIndex whole = childLabelled(view, view.rootIndex(), spec);
    if (whole.isValid() || !spec.contains('/'))
        return whole;
    QModelIndex current = view.rootIndex();
    for (const QString& step : spec.split('/')) {
        current = childLabelled(view, current, step);
        if (!current.isValid())
            return {};
    }
    return current;
}

QModelIndex RowAt(const QAbstractItemView& view, int row) {
    if (!view.model() || row < 0)
        return {};
    return view.model()->index(row, labelColumn(view), view.rootIndex());
}

QStringList ShownRows(const QAbstractItemView& view) {
    QStringList rows;
    if (!view.model())
        return rows;
    if (const auto* tree = qobject_cast<const QTreeView*>(&view)) {
        appendShownTreeRows(*tree, tree->rootIndex(), {}, rows);
        return rows;
    }
    const int count = view.model()->rowCount(view.rootIndex());
    for (int row = 0; row < count; ++row)
        rows.append(label(view, RowAt(view, row)));
    return rows;
}
