#include "panes/list/FileListView.h"

#include "common/ReorderableRows.h"
#include "panes/list/FolderKeys.h"
#include "panes/list/LabelEditing.h"
#include "panes/list/ListHeader.h"
#include "panes/list/ListRowDelegate.h"

#include <QContextMenuEvent>
#include <QItemSelectionModel>
#include <QListView>
#include <QMouseEvent>
#include <QStackedLayout>
#include <QTreeView>
#include <algorithm>

namespace {
constexpr int kLargeIconSize = 32;
constexpr int kSmallIconSize = 16;

void setUpDetailsView(QTreeView* view) {
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSortingEnabled(false);
}

// Whole rows are selected in every view: the owners read the selection as rows.
void setUpIconView(QListView* view) {
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionRectVisible(true);
    view->setMovement(QListView::Static);
    view->setResizeMode(QListView::Adjust);
    view->setUniformItemSizes(true);
    view->setWordWrap(false);
    view->setTextElideMode(Qt::ElideMiddle);
}

// Large icons: a grid of big icons with the name below. Small icons: rows of small icons
// filling the width. List: columns of small icons filling the height. Every cell has one
// size, so long names are elided instead of widening their cell over the next.
void showIconMode(QListView* view, int mode) {
    const int icon = mode == 1 ? kLargeIconSize : kSmallIconSize;
    view->setViewMode(mode == 1 ? QListView::IconMode : QListView::ListMode);
    view->setIconSize(QSize(icon, icon));
    view->setFlow(mode == 3 ? QListView::TopToBottom : QListView::LeftToRight);
    view->setWrapping(true);
    view->setMovement(QListView::Static);
    view->setSpacing(mode == 1 ? 4 : 1);
}

QSize iconCellSize(int mode, const QFontMetrics& metrics) {
    const int line = metrics.height();
    switch (mode) {
    case 1:
        return {metrics.averageCharWidth() * 18, kLargeIconSize + line + 10};
    case 2:
        return {metrics.averageCharWidth() * 24, std::max(kSmallIconSize, line) + 4};
    default:
        return {metrics.averageCharWidth() * 32, std::max(kSmallIconSize, line) + 4};
    }
}
} // namespace

FileListView::FileListView(QWidget* parent)
    : QWidget(parent), stack_(new QStackedLayout(this)), details_(new QTreeView(this)),
      icons_(new QListView(this)), header_(new ListHeader(details_)),
      detailsEditing_(new LabelEditing(*details_)), iconEditing_(new LabelEditing(*icons_)) {
    stack_->setContentsMargins(0, 0, 0, 0);
    setUpDetailsView(details_);
    setUpIconView(icons_);
    details_->setHeader(header_);
    // The view's own sorting stays off (it would reset clickability); clicks sort here.
    header_->setSectionsClickable(true);
    details_->setItemDelegate(new ListRowDelegate(*this, true, this));
    iconDelegate_ = new ListRowDelegate(*this, false, this);
    icons_->setItemDelegate(iconDelegate_);
    stack_->addWidget(icons_);
    stack_->addWidget(details_);
    stack_->setCurrentWidget(details_);
    setFocusProxy(details_);
    connect(header_, &QHeaderView::sectionClicked, this, &FileListView::onHeaderClicked);
    connectView(details_);
    connectView(icons_);
}

FileListView::~FileListView() = default;

void FileListView::connectView(QAbstractItemView* view) {
    view->viewport()->installEventFilter(this);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QAbstractItemView::doubleClicked, this, &FileListView::doubleClicked);
    new FolderKeys(
        *view, [this] { emit openRequested(); }, [this] { emit upRequested(); });
    connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& pos) {
        emit contextMenuRequested(view->indexAt(pos), view->viewport()->mapToGlobal(pos));
    });
}

// Both views start with a selection model of their own; the details view's one is kept and
// shared so a change of view mode keeps the selection.
void FileListView::setModel(QAbstractItemModel* newModel) {
    QItemSelectionModel* oldShared = selection_;
    details_->setModel(newModel);
    icons_->setModel(newModel);
    QItemSelectionModel* iconsOwn = icons_->selectionModel();
    selection_ = details_->selectionModel();
    icons_->setSelectionModel(selection_);
    if (iconsOwn != selection_)
        delete iconsOwn;
    delete oldShared;
    if (selection_)
        connect(selection_, &QItemSelectionModel::selectionChanged, this,
                &FileListView::selectionChanged);
    if (newModel) {
        connect(newModel, &QAbstractItemModel::modelReset, this, &FileListView::applyColumns);
        connect(newModel, &QAbstractItemModel::modelReset, this, &FileListView::sortAgain);
        connect(newModel, &QAbstractItemModel::columnsInserted, this, &FileListView::applyColumns);
    }
    applyColumns();
}

QAbstractItemModel* FileListView::model() const {
    return details_->model();
}

QItemSelectionModel* FileListView::selectionModel() const {
    return selection_;
}

bool FileListView::setViewMode(int mode) {
    if (mode < 1 || mode > 4)
        return false;
    const bool hadFocus = currentView()->hasFocus();
    viewMode_ = mode;
    if (mode != 4) {
        showIconMode(icons_, mode);
        iconDelegate_->setCellSize(iconCellSize(mode, icons_->fontMetrics()));
        // The view measures its uniform cells when it lays them out.
        icons_->doItemsLayout();
    }
    stack_->setCurrentWidget(currentView());
    setFocusProxy(currentView());
    if (hadFocus)
        currentView()->setFocus();
    return true;
}

QAbstractItemView* FileListView::currentView() const {
    return viewMode_ == 4 ? static_cast<QAbstractItemView*>(details_) : icons_;
}

void FileListView::setColumns(const QList<ColumnSpec>& columns) {
    columns_ = columns;
    applyColumns();
}

Qt::Alignment FileListView::columnAlignment(int column) const {
    return column >= 0 && column < columns_.size() ? columns_[column].align : Qt::AlignLeft;
}

void FileListView::applyColumns() {
    QStringList titles;
    QList<Qt::Alignment> alignments;
    for (const ColumnSpec& column : columns_) {
        titles.append(column.title);
        alignments.append(column.align);
    }
    header_->setTitles(titles, alignments);
    const int modelColumns = model() ? model()->columnCount() : 0;
    for (int c = 0; c < modelColumns; ++c) {
        details_->setColumnHidden(c, !columns_.isEmpty() && c >= columns_.size());
        if (c < columns_.size() && columns_[c].width > 0)
            details_->setColumnWidth(c, columns_[c].width);
    }
}

void FileListView::setSortTypes(const QList<SortType>& types) {
    sortTypes_ = types;
}

SortType FileListView::sortTypeAt(int column) const {
    return column >= 0 && column < sortTypes_.size() ? sortTypes_[column] : SortType::String;
}

void FileListView::setHeaderTypes(const QStringList& types) {
    headerTypes_ = types;
}

void FileListView::sortByColumn(int column, bool ascending) {
    QAbstractItemModel* rows = model();
    if (!rows || column < 0 || column >= rows->columnCount())
        return;
    if (auto* reorderable = dynamic_cast<ReorderableRows*>(rows)) {
        SortRowSource source;
        source.text = [rows, column](int row) {
            return rows->index(row, column).data().toString();
        };
        source.image = [rows](int row) {
            return rows->index(row, 0).data(kImageIndexRole).toInt();
        };
        source.number = [rows, column](int row) -> std::optional<double> {
            const QVariant value = rows->index(row, column).data(kSortValueRole);
            return value.isValid() ? std::optional(value.toDouble()) : std::nullopt;
        };
        reorderable->reorderRows(
            SortedRowOrder(rows->rowCount(), sortTypeAt(column), ascending, source));
    } else {
        rows->sort(column, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    }
    if (column >= headerTypes_.size() || headerTypes_[column] != QLatin1String("image"))
        header_->setSortIndicatorState(column, ascending);
    sortColumn_ = column;
    ascending_ = ascending;
    emit sorted(column, ascending);
}

// The sort outlives a refill, so the new rows take its order and the arrow stays true.
void FileListView::sortAgain() {
    if (sortColumn_ >= 0)
        sortByColumn(sortColumn_, ascending_);
}

void FileListView::onHeaderClicked(int column) {
    if (!sortingEnabled_)
        return;
    sortByColumn(column, column != sortColumn_ ? true : !ascending_);
}

void FileListView::setHeaderColors(const QColor& background, const QColor& text) {
    header_->setColors(background, text);
}

void FileListView::setListColors(const QColor& background, const QColor& text) {
    for (QAbstractItemView* view :
         {static_cast<QAbstractItemView*>(details_), static_cast<QAbstractItemView*>(icons_)}) {
        QPalette palette = view->palette();
        palette.setColor(QPalette::Base, background);
        palette.setColor(QPalette::Text, text);
        view->setPalette(palette);
    }
}

void FileListView::setFullRowSelect(bool on) {
    fullRowSelect_ = on;
    details_->viewport()->update();
}

void FileListView::setDrawing(bool on) {
    details_->setUpdatesEnabled(on);
    icons_->setUpdatesEnabled(on);
    if (on)
        currentView()->viewport()->update();
}

QModelIndexList FileListView::selectedRows() const {
    if (!selection_)
        return {};
    QModelIndexList rows = selection_->selectedRows(0);
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    return rows;
}

void FileListView::selectAll() {
    currentView()->selectAll();
}

void FileListView::allowLabelEditing(bool allowed) {
    detailsEditing_->setAllowed(allowed);
    iconEditing_->setAllowed(allowed);
}

bool FileListView::editLabel(int row, const QString& text) {
    LabelEditing* editing = viewMode_ == 4 ? detailsEditing_ : iconEditing_;
    return model() && editing->open(model()->index(row, 0), text);
}

// Clicks on empty space matter too (the owner takes the focus and reports the click), and
// the views only signal clicks on rows.
bool FileListView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        (watched == details_->viewport() || watched == icons_->viewport())) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            const QModelIndex index = currentView()->indexAt(mouse->position().toPoint());
            emit clicked(index);
        }
    }
    return QWidget::eventFilter(watched, event);
}
