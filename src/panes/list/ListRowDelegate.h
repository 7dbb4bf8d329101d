#pragma once

#include <QStyledItemDelegate>

class FileListView;

// Paints a file-list cell with the row's own selection-bar colour and the column's
// alignment; without full-row selection only the first column shows the selection. In the
// icon views every cell has the size given, so long names are elided within it.
class ListRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    ListRowDelegate(const FileListView& list, bool detailsView, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // An invalid size lets each cell take its content's size.
    void setCellSize(QSize size) { cellSize_ = size; }

private:
    const FileListView& list_;
    bool detailsView_;
    QSize cellSize_;
};
