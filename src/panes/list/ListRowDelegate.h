#pragma once

#include <QStyledItemDelegate>

class FileListView;

// Paints a file-list cell with the row's own selection-bar colour and the column's
// alignment; without full-row selection only the first column shows the selection.
class ListRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    ListRowDelegate(const FileListView& list, bool detailsView, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    const FileListView& list_;
    bool detailsView_;
};
