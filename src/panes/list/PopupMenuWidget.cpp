#include "panes/list/PopupMenuWidget.h"

#include "panes/list/FileListView.h"

#include <QMenu>
#include <QTreeView>

void ShowPopupMenu(QWidget* parent, const QList<PopupMenuItem>& items, const QPoint& globalPos,
                   std::function<void(int command)> chosen) {
    if (items.isEmpty())
        return;
    auto* menu = new QMenu(parent);
    for (const PopupMenuItem& item : items) {
        if (item.separator) {
            menu->addSeparator();
            continue;
        }
        // An "&" marks the next letter as the item's key, as page authors expect of menus.
        QAction* action = menu->addAction(item.text);
        QObject::connect(action, &QAction::triggered, menu,
                         [chosen, command = item.command] { chosen(command); });
    }
    // A chosen item triggers after the menu hid, so the deletion waits for the event loop.
    QObject::connect(menu, &QMenu::aboutToHide, menu, &QObject::deleteLater);
    menu->popup(globalPos);
}

void OpenMenusOnTreeRows(QTreeView& tree, ViewMenu menu) {
    tree.setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(
        &tree, &QWidget::customContextMenuRequested, &tree, [&tree, menu](const QPoint& pos) {
            const QModelIndex index = tree.indexAt(pos);
            if (!index.isValid())
                return;
            tree.setCurrentIndex(index);
            ShowPopupMenu(&tree, menu.items(), tree.viewport()->mapToGlobal(pos), menu.chosen);
        });
}

void OpenMenusOnList(FileListView& list, ViewMenu menu) {
    QObject::connect(&list, &FileListView::contextMenuRequested, &list,
                     [&list, menu](const QModelIndex&, const QPoint& globalPos) {
                         ShowPopupMenu(&list, menu.items(), globalPos, menu.chosen);
                     });
}
