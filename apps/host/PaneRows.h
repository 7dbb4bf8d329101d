#pragma once

#include <QModelIndex>
#include <QString>
#include <QStringList>

class QAbstractItemView;

// Finds and lists the rows a pane's view shows, through its model only, so it works with
// whatever model a pane installs.

// The view a pane shows now: the pane itself or its first visible item view (headers
// aside); null when the pane has none.
QAbstractItemView* ShownView(QWidget* pane);

// The row `spec` names under the view's root: a label of a top-level row, or a
// "/"-joined path of labels down a tree. Invalid when none matches.
QModelIndex FindRow(const QAbstractItemView& view, const QString& spec);
// The row at position `row` under the view's root; invalid out of range.
QModelIndex RowAt(const QAbstractItemView& view, int row);

// The labels of the rows shown: a list's top-level rows; for a tree every row whose
// parents are expanded, as its "/"-joined path, in display order.
QStringList ShownRows(const QAbstractItemView& view);
