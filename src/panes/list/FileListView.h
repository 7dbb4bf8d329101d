#pragma once

#include "common/ListRoles.h"
#include "panes/list/ListSort.h"
#include "xml/UIConfig.h"

#include <QColor>
#include <QList>
#include <QModelIndex>
#include <QStringList>
#include <QWidget>

class LabelEditing;
class ListHeader;
class ListRowDelegate;
class QAbstractItemModel;
class QAbstractItemView;
class QItemSelectionModel;
class QListView;
class QStackedLayout;
class QTreeView;

// One file list (server or local): one model shown in four views - 1 large icons, 2 small
// icons, 3 list, 4 details with the custom header - sharing one selection model. The owner
// gives the model, the columns and the sort types. A sort reads the column's display texts
// (or kImageIndexRole, or kSortValueRole where the model gives it) through the model and hands the
// order to the model's ReorderableRows when it has one; other models get
// QAbstractItemModel::sort().
class FileListView : public QWidget {
    Q_OBJECT
public:
    explicit FileListView(QWidget* parent = nullptr);
    ~FileListView() override;

    // The model is the owner's and must outlive the view or be replaced first (null clears).
    void setModel(QAbstractItemModel* model);
    QAbstractItemModel* model() const;
    QItemSelectionModel* selectionModel() const;

    // 1 large icons, 2 small icons, 3 list, 4 details; other values change nothing and
    // answer false.
    bool setViewMode(int mode);
    int viewMode() const { return viewMode_; }
    // The view the current mode shows; selection, current row and scroll go through it.
    QAbstractItemView* currentView() const;
    QTreeView* detailsView() const { return details_; }
    QListView* iconView() const { return icons_; }
    ListHeader* header() const { return header_; }

    // Titles, alignments and widths by position; model columns beyond them are hidden
    // (none given: every model column shows, titled by the model).
    void setColumns(const QList<ColumnSpec>& columns);
    int columnCount() const { return columns_.size(); }
    // The alignment given for `column`; left for columns without one.
    Qt::Alignment columnAlignment(int column) const;
    // Per column; columns without an entry sort as String and show the arrow.
    void setSortTypes(const QList<SortType>& types);
    SortType sortTypeAt(int column) const;
    // "image" marks a column whose header never shows the sort arrow.
    void setHeaderTypes(const QStringList& types);
    void setSortingEnabled(bool enabled) { sortingEnabled_ = enabled; }
    bool isSortingEnabled() const { return sortingEnabled_; }
    // Sorts by `column` (model sort), updates the arrow, remembers both.
    void sortByColumn(int column, bool ascending);
    int sortColumn() const { return sortColumn_; }
    bool sortAscending() const { return ascending_; }

    // Header: all four background slots and all three text slots.
    void setHeaderColors(const QColor& background, const QColor& text);
    // List background and default text colour of every view.
    void setListColors(const QColor& background, const QColor& text);
    // Off: only the first column of a selected row is highlighted in the details view.
    void setFullRowSelect(bool on);
    bool fullRowSelect() const { return fullRowSelect_; }
    // Switches repainting off while rows are added in bulk, and back on.
    void setDrawing(bool on);

    // Rows (column 0 indexes) selected, in row order.
    QModelIndexList selectedRows() const;
    void selectAll();

    // In-place editing of names (see LabelEditing.h), in every view mode: whether a slow
    // second click on the selected row opens the editor (off at first), and the editor opened
    // on the name of `row` with `text` (empty: the name itself); false when that row is not
    // editable.
    void allowLabelEditing(bool allowed);
    bool editLabel(int row, const QString& text);

signals:
    // A left click in the list; `index` is invalid when it hit no row.
    void clicked(const QModelIndex& index);
    void doubleClicked(const QModelIndex& index);
    // Enter: the selected rows are opened as a double click opens them.
    void openRequested();
    // Backspace: the parent folder is wanted.
    void upRequested();
    // A right click; `index` may be invalid; `globalPos` is where a menu should open.
    void contextMenuRequested(const QModelIndex& index, const QPoint& globalPos);
    void selectionChanged();
    void sorted(int column, bool ascending);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onHeaderClicked(int column);
    void sortAgain();
    void applyColumns();
    void connectView(QAbstractItemView* view);

    QStackedLayout* stack_;
    QTreeView* details_;
    QListView* icons_;
    ListHeader* header_;
    ListRowDelegate* iconDelegate_;
    LabelEditing* detailsEditing_;
    LabelEditing* iconEditing_;
    QItemSelectionModel* selection_ = nullptr;
    QList<ColumnSpec> columns_;
    QList<SortType> sortTypes_;
    QStringList headerTypes_;
    int viewMode_ = 4;
    int sortColumn_ = -1;
    bool ascending_ = true;
    bool sortingEnabled_ = true;
    bool fullRowSelect_ = false;
};
