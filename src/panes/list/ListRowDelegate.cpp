#include "panes/list/ListRowDelegate.h"

#include "panes/list/FileListView.h"

ListRowDelegate::ListRowDelegate(const FileListView& list, bool detailsView, QObject* parent)
    : QStyledItemDelegate(parent), list_(list), detailsView_(detailsView) {}

void ListRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    QStyleOptionViewItem cell(option);
    if (detailsView_ && index.column() > 0 && !list_.fullRowSelect())
        cell.state &= ~QStyle::State_Selected;
    const QVariant bar = index.data(kSelectionBarColorRole);
    if (bar.canConvert<QColor>() && bar.value<QColor>().isValid()) {
        cell.palette.setColor(QPalette::Active, QPalette::Highlight, bar.value<QColor>());
        cell.palette.setColor(QPalette::Inactive, QPalette::Highlight, bar.value<QColor>());
    }
    if (detailsView_ && !index.data(Qt::TextAlignmentRole).isValid())
        cell.displayAlignment = list_.columnAlignment(index.column()) | Qt::AlignVCenter;
    QStyledItemDelegate::paint(painter, cell, index);
}

QSize ListRowDelegate::sizeHint(const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    return cellSize_.isValid() ? cellSize_ : QStyledItemDelegate::sizeHint(option, index);
}
