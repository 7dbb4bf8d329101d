#include "panes/local/LocalListModel.h"

#include "common/FileTypes.h"
#include "common/Formatting.h"
#include "common/ListRoles.h"
#include "common/ThemeIcons.h"
#include "panes/local/LocalOrder.h"
#include "panes/server/LocalFileFacts.h"

#include <QPainter>
#include <QPixmap>
#include <algorithm>

namespace {

const QString kLinkPrefix = QStringLiteral("link:");

LocalListRow rowFor(LocalEntry entry, const QString& dateFormat) {
    LocalListRow row;
    row.kind = entry.isFolder ? LocalRowKind::Folder : LocalRowKind::File;
    const LocalType type = entry.isFolder ? FolderType() : TypeOfFile(entry.name);
    row.typeName = type.name;
    row.iconKey = (entry.isSymlink ? kLinkPrefix : QString()) + type.iconName;
    if (!entry.isFolder)
        row.sizeText = SizeText(entry.size);
    row.dateText = FormatFileTime(entry.modified, dateFormat);
    row.entry = std::move(entry);
    return row;
}

// The type's icon with the link emblem in its lower left corner.
QIcon withLinkEmblem(const QIcon& base) {
    constexpr int kSide = 32;
    QPixmap pixmap = base.pixmap(kSide, kSide);
    if (pixmap.isNull()) {
        pixmap = QPixmap(kSide, kSide);
        pixmap.fill(Qt::transparent);
    }
    QPainter painter(&pixmap);
    const QIcon emblem = QIcon::fromTheme(QStringLiteral("emblem-symbolic-link"));
    if (!emblem.isNull())
        painter.drawPixmap(0, kSide / 2, emblem.pixmap(kSide / 2, kSide / 2));
    else
        painter.drawText(QRect(0, kSide / 2, kSide / 2, kSide / 2), Qt::AlignCenter,
                         QStringLiteral("↗"));
    return QIcon(pixmap);
}

} // namespace

LocalListModel::LocalListModel(QObject* parent) : QAbstractTableModel(parent) {}

std::vector<LocalListRow> LocalListModel::rowsFor(std::vector<LocalEntry> entries,
                                                  const QString& dateFormat) {
    SortLocalEntries(entries);
    std::vector<LocalListRow> rows;
    rows.reserve(entries.size());
    for (LocalEntry& entry : entries)
        rows.push_back(rowFor(std::move(entry), dateFormat));
    return rows;
}

LocalListRow LocalListModel::computerRow() {
    LocalListRow row;
    row.kind = LocalRowKind::Computer;
    row.entry.name = QStringLiteral("Computer");
    row.entry.isFolder = true;
    row.typeName = QStringLiteral("Computer");
    row.iconKey = QStringLiteral("computer");
    row.renameable = false;
    return row;
}

LocalListRow LocalListModel::volumeRow(const LocalVolume& volume, const QString& dateFormat) {
    LocalEntry entry;
    entry.name = volume.label;
    entry.path = volume.root;
    entry.isFolder = true;
    LocalListRow row = rowFor(std::move(entry), dateFormat);
    row.kind = LocalRowKind::Volume;
    row.typeName = QStringLiteral("Volume");
    row.iconKey = QStringLiteral("drive-harddisk");
    row.renameable = false;
    return row;
}

void LocalListModel::fill(std::vector<LocalListRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    selected_.clear();
    endResetModel();
}

int LocalListModel::append(LocalListRow row) {
    const int index = size();
    beginInsertRows({}, index, index);
    rows_.push_back(std::move(row));
    endInsertRows();
    return index;
}

void LocalListModel::removeRowAt(int row) {
    if (row < 0 || row >= size())
        return;
    beginRemoveRows({}, row, row);
    rows_.erase(rows_.begin() + row);
    endRemoveRows();
    std::erase(selected_, row);
    for (int& selected : selected_)
        selected -= selected > row ? 1 : 0;
}

void LocalListModel::replaceRow(int index, LocalListRow row) {
    if (index < 0 || index >= size())
        return;
    rows_[static_cast<std::size_t>(index)] = std::move(row);
    emit dataChanged(this->index(index, 0), this->index(index, ColumnCount - 1));
}

int LocalListModel::rowOf(const std::filesystem::path& path) const {
    for (int index = 0; index < size(); ++index) {
        if (rows_[static_cast<std::size_t>(index)].entry.path == path)
            return index;
    }
    return -1;
}

void LocalListModel::setSelectedRows(std::vector<int> rows) {
    std::erase_if(rows, [this](int row) { return row < 0 || row >= size(); });
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    selected_ = std::move(rows);
}

int LocalListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : size();
}

int LocalListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant LocalListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= size())
        return {};
    const LocalListRow& shown = rows_[static_cast<std::size_t>(index.row())];
    if (role == Qt::EditRole)
        return index.column() == NameColumn ? QVariant(shown.entry.name) : QVariant();
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case NameColumn:
            return shown.entry.name;
        case SizeColumn:
            return shown.sizeText;
        case TypeColumn:
            return shown.typeName;
        case DateColumn:
            return shown.dateText;
        default:
            return {};
        }
    }
    if (role == Qt::DecorationRole && index.column() == NameColumn)
        return iconFor(shown);
    if (role == kSortValueRole && index.column() == SizeColumn && shown.kind == LocalRowKind::File)
        return shown.entry.size;
    if (role == kSortValueRole && index.column() == DateColumn && shown.entry.modified.isValid())
        return static_cast<double>(shown.entry.modified.toMSecsSinceEpoch());
    return {};
}

void LocalListModel::reorderRows(const std::vector<int>& order) {
    if (order.size() != rows_.size())
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<LocalListRow> sorted;
    sorted.reserve(rows_.size());
    for (int old : order)
        sorted.push_back(std::move(rows_[static_cast<std::size_t>(old)]));
    rows_ = std::move(sorted);
    std::vector<int> selected;
    for (std::size_t place = 0; place < order.size(); ++place) {
        if (std::binary_search(selected_.begin(), selected_.end(), order[place]))
            selected.push_back(static_cast<int>(place));
    }
    selected_ = std::move(selected);
    const QModelIndexList before = persistentIndexList();
    changePersistentIndexList(before, MovedIndexes(*this, before, order));
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

Qt::ItemFlags LocalListModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.row() < size() && index.column() == NameColumn &&
        rows_[static_cast<std::size_t>(index.row())].renameable)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool LocalListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    emit nameEdited(index, value.toString());
    return true;
}

QVariant LocalListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const titles[] = {"Name", "Size", "Type", "Date"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount)
        return {};
    return QString::fromLatin1(titles[section]);
}

QIcon LocalListModel::iconFor(const LocalListRow& row) const {
    const auto cached = icons_.constFind(row.iconKey);
    if (cached != icons_.constEnd())
        return *cached;
    const bool link = row.iconKey.startsWith(kLinkPrefix);
    const IconKind kind = row.kind == LocalRowKind::File     ? IconKind::File
                          : row.kind == LocalRowKind::Volume ? IconKind::Drive
                                                             : IconKind::Folder;
    const QIcon own = ThemeIcon(link ? row.iconKey.mid(kLinkPrefix.size()) : row.iconKey, kind);
    const QIcon icon = link ? withLinkEmblem(own) : own;
    icons_.insert(row.iconKey, icon);
    return icon;
}
