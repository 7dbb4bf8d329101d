#pragma once

#include "common/ReorderableRows.h"
#include "panes/server/ExtensionIcons.h"
#include "panes/server/ServerListModel.h"

#include <QAbstractTableModel>

// The server list as a Qt model: renders a ServerListModel for the list views and forwards
// its changes. While drawing is off, rows appended at the end reach the views in one batch
// when drawing is back on (any other change sends them first), so a long series of
// AddServerFile calls costs one insertion for the views.
class ServerListItemModel : public QAbstractTableModel,
                            public ReorderableRows,
                            private ServerListObserver {
    Q_OBJECT
public:
    // Roles the file list reads besides Qt's own (the shared list's values).
    static constexpr int SelectionBarRole = Qt::UserRole + 0x40;
    static constexpr int ImageIndexRole = Qt::UserRole + 0x41;

    explicit ServerListItemModel(ServerListModel& rows, QObject* parent = nullptr);
    ~ServerListItemModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // Names are editable in place, except "..". An edit changes nothing here: it is handed on
    // as nameEdited for the pane to rename the entry.
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    void reorderRows(const std::vector<int>& order) override;

signals:
    // The user finished editing the name of `index` with `text`.
    void nameEdited(const QModelIndex& index, const QString& text);
    // The plain model's selection changed (by an operation, not by a view).
    void rowSelectionChanged();
    void drawingSwitched(bool on);

private:
    void aboutToReset() override;
    void reset() override;
    void aboutToInsert(int first, int last) override;
    void inserted() override;
    void aboutToRemove(int row) override;
    void removed() override;
    void rowChanged(int row) override;
    void selectionChanged() override;
    void drawingChanged(bool on) override;
    void aboutToReorder() override;
    void reordered(const std::vector<int>& order) override;
    void flush();
    QIcon icon(int row) const;

    ServerListModel& rows_;
    mutable ExtensionIcons icons_;
    int exposed_ = 0;        // rows the views know of
    int pending_ = 0;        // rows appended while drawing is off, not yet announced
    bool deferring_ = false; // the insertion under way is held back
};
