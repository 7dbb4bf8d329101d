#pragma once

#include "common/ReorderableRows.h"
#include "panes/local/LocalNamespace.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QIcon>
#include <vector>

// What a row of the local list stands for.
enum class LocalRowKind { Computer, Volume, Folder, File };

struct LocalListRow {
    LocalRowKind kind = LocalRowKind::File;
    LocalEntry entry; // path empty for the virtual Computer row
    QString typeName;
    QString sizeText;       // files only
    QString dateText;       // items with a path, when DATEFORMAT is set
    QString iconKey;        // the type's cached icon
    bool renameable = true; // false for the Computer and volume rows and the home folder
};

// The local file list without a window: name, size, type and date of each item of the
// folder the tree selects. A fill replaces every row in one reset; type names and icons are
// judged by the name's extension (never by content) and cached per type. The selection is
// the view's, handed in by the widgets so the pane's commands can act on it.
class LocalListModel : public QAbstractTableModel, public ReorderableRows {
    Q_OBJECT
public:
    enum Column { NameColumn, SizeColumn, TypeColumn, DateColumn, ColumnCount };

    explicit LocalListModel(QObject* parent = nullptr);

    // Replaces the rows; `dateFormat` is DATEFORMAT (empty: no dates).
    void fill(std::vector<LocalListRow> rows);
    // The rows for `entries` (sorted here, folders first), and the virtual rows.
    static std::vector<LocalListRow> rowsFor(std::vector<LocalEntry> entries,
                                             const QString& dateFormat);
    static LocalListRow computerRow();
    static LocalListRow volumeRow(const LocalVolume& volume, const QString& dateFormat);
    // Adds one row at the end (a new folder); returns its index.
    int append(LocalListRow row);
    void removeRowAt(int row);
    // Shows `row` in the place of row `index` (a rename).
    void replaceRow(int index, LocalListRow row);
    void clear() { fill({}); }

    int size() const { return static_cast<int>(rows_.size()); }
    const LocalListRow& row(int index) const { return rows_.at(static_cast<std::size_t>(index)); }
    // The row showing `path`; -1 when none.
    int rowOf(const std::filesystem::path& path) const;

    // The rows selected in the view, in row order.
    void setSelectedRows(std::vector<int> rows);
    const std::vector<int>& selectedRows() const { return selected_; }
    // Asks the view to select every row.
    void requestSelectAll() { emit selectAllRequested(); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // A header sort; the selection moves with its rows.
    void reorderRows(const std::vector<int>& order) override;
    // Names of renameable rows are editable in place. An edit changes nothing here: it is
    // handed on as nameEdited for the pane to rename the item.
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    void selectAllRequested();
    // The user finished editing the name of `index` with `text`.
    void nameEdited(const QModelIndex& index, const QString& text);

private:
    QIcon iconFor(const LocalListRow& row) const;

    std::vector<LocalListRow> rows_;
    std::vector<int> selected_;
    mutable QHash<QString, QIcon> icons_;
};
