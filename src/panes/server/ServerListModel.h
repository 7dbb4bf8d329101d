#pragma once

#include "panes/server/ServerRowKind.h"
#include "xml/XmlNode.h"

#include <QList>
#include <QString>
#include <vector>

// One row of the server list: what it stands for and its catalogue element (none for "..").
struct ServerListRow {
    ServerRowKind kind = ServerRowKind::Parent;
    XmlNode element;
    bool selected = false;
};

// Told before and after every change, so a Qt model can forward it to its views.
class ServerListObserver {
public:
    virtual ~ServerListObserver() = default;
    virtual void aboutToReset() = 0;
    virtual void reset() = 0;
    virtual void aboutToInsert(int first, int last) = 0;
    virtual void inserted() = 0;
    virtual void aboutToRemove(int row) = 0;
    virtual void removed() = 0;
    virtual void rowChanged(int row) = 0;
    virtual void selectionChanged() = 0;
    // Redrawing switched off or on (SetServerListDraw); rows appended meanwhile may reach the
    // views as one batch when it is back on.
    virtual void drawingChanged(bool on) = 0;
    // The rows take a new order: `order[i]` is the old row now at place i.
    virtual void aboutToReorder() = 0;
    virtual void reordered(const std::vector<int>& order) = 0;
};

// The columns the rows fill, whatever their titles.
enum ServerListColumn { NameColumn, SizeColumn, TypeColumn, DateColumn, ServerListColumnCount };

// The server list without a window: the rows of the shown folder ("..", its folders, its
// files), their selection, and the texts and colours each row shows.
class ServerListModel {
public:
    void setObserver(ServerListObserver* observer) { observer_ = observer; }
    void setPalette(const ServerRowPalette& palette) { palette_ = palette; }
    void setFolderTypeName(const QString& name) { folderTypeName_ = name; }

    // Replaces every row by those of `folder` in one reset: ".." when `hasParent`, then its
    // FOLDER children, then its FILE children, each in document order.
    void fill(const XmlNode& folder, bool hasParent);
    void clear();

    int rowCount() const { return static_cast<int>(rows_.size()); }
    const ServerListRow& row(int index) const { return rows_[index]; }
    bool startsWithParent() const;

    // A row for a new folder at `row`; a row for a file at the end. Both return the row.
    int insertFolder(const XmlNode& folder, int row);
    int appendFile(const XmlNode& file, ServerRowKind kind);
    void removeRow(int row);
    // A queued file took the place of a server file: new kind, size and date.
    void setKind(int row, ServerRowKind kind);
    // The row of `element`; -1 when none shows it.
    int rowOf(const XmlNode& element) const;
    // The row's element changed (a rename): the views draw it again.
    void rowEdited(int row);
    // Whether the view may rename row `row` in place: every row but "..".
    bool isRenameable(int row) const;

    // Puts the rows in a new order (a header sort); `order` must be a permutation.
    void reorder(const std::vector<int>& order);
    void setDrawing(bool on);
    bool drawing() const { return drawing_; }

    // Display text of `column`; the colours of the row's kind.
    QString text(int row, int column) const;
    RowColours colours(int row) const { return palette_.of(rows_[row].kind); }

    // Selection. Rows are counted in list order.
    void setSelectedRows(const std::vector<int>& rows);
    void selectAllButParent();
    void clearSelection();
    const std::vector<int>& selectedRows() const;
    int firstSelectedRow() const;
    // Deselects ".." when it is the first selected row.
    void deselectLeadingParent();

private:
    void notifySelection();

    std::vector<ServerListRow> rows_;
    ServerRowPalette palette_;
    QString folderTypeName_;
    ServerListObserver* observer_ = nullptr;
    mutable std::vector<int> selectedCache_;
    mutable bool selectedCacheValid_ = false;
    bool drawing_ = true;
};

// Row texts shared with the queries: the display size of a `size` text.
QString DisplaySize(const QString& sizeText);
