#include "UiDriver.h"

#include "PaneRows.h"
#include "control/ControlWindow.h"
#include "control/PaneHostWindow.h"
#include "session/ControlSession.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeySequence>
#include <QMenu>
#include <QPainter>
#include <QRegularExpression>
#include <QTest>
#include <QTreeView>
#include <memory>

namespace {

Qt::KeyboardModifiers parseModifiers(const QString& text) {
    Qt::KeyboardModifiers modifiers;
    for (const QString& word :
         text.toLower().split(QRegularExpression("[+, |]"), Qt::SkipEmptyParts)) {
        if (word == QLatin1String("ctrl") || word == QLatin1String("control"))
            modifiers |= Qt::ControlModifier;
        else if (word == QLatin1String("shift"))
            modifiers |= Qt::ShiftModifier;
        else if (word == QLatin1String("alt"))
            modifiers |= Qt::AltModifier;
        else if (word == QLatin1String("meta"))
            modifiers |= Qt::MetaModifier;
    }
    return modifiers;
}

// Names script writers use that the key-sequence parser spells differently.
QString keySequenceName(const QString& name) {
    static const QList<QPair<QString, QString>> aliases = {
        {"Delete", "Del"}, {"Escape", "Esc"}, {"PageUp", "PgUp"}, {"PageDown", "PgDown"}};
    for (const auto& [alias, canonical] : aliases) {
        if (name.compare(alias, Qt::CaseInsensitive) == 0)
            return canonical;
    }
    return name;
}

QList<QJSValue> rowList(const QJSValue& rows) {
    QList<QJSValue> list;
    if (!rows.isArray()) {
        list.append(rows);
        return list;
    }
    const int length = rows.property("length").toInt();
    for (int i = 0; i < length; ++i)
        list.append(rows.property(i));
    return list;
}

bool namesNoRow(const QJSValue& row) {
    return row.isUndefined() || row.isNull() || (row.isString() && row.toString().isEmpty());
}

QMenu* openMenu() {
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

QStringList menuTexts(const QMenu& menu) {
    QStringList texts;
    for (const QAction* action : menu.actions())
        texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

} // namespace

UiDriver::UiDriver(ControlWindow& ctrl, QObject* parent) : QObject(parent), ctrl_(ctrl) {}

void UiDriver::settle() {
    // An open popup menu holds the input; activating the control would close it.
    if (!openMenu() && !ctrl_.isActiveWindow()) {
        ctrl_.activateWindow();
        // Some window systems never grant activation; input still reaches the widgets.
        (void)QTest::qWaitForWindowActive(&ctrl_, 500);
    }
    QApplication::processEvents();
}

void UiDriver::closeMenu() {
    while (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    QApplication::processEvents();
}

QAbstractItemView* UiDriver::view(const QString& pane) {
    settle();
    return ShownView(ctrl_.paneHost().findChild<QWidget*>(pane, Qt::FindDirectChildrenOnly));
}

bool UiDriver::rowPoint(QAbstractItemView& view, const QJSValue& row, QPoint& point) {
    if (namesNoRow(row)) {
        point = view.viewport()->rect().bottomRight() - QPoint(2, 2);
        return true;
    }
    const QModelIndex index =
        row.isNumber() ? RowAt(view, row.toInt()) : FindRow(view, row.toString());
    if (!index.isValid())
        return false;
    view.scrollTo(index);
    QApplication::processEvents();
    const QRect rect = view.visualRect(index);
    if (rect.isEmpty())
        return false;
    point = rect.center();
    return true;
}

bool UiDriver::click(const QString& pane, const QJSValue& row, const QString& modifiers) {
    closeMenu();
    QAbstractItemView* target = view(pane);
    QPoint point;
    if (!target || !rowPoint(*target, row, point))
        return false;
    QTest::mouseClick(target->viewport(), Qt::LeftButton, parseModifiers(modifiers), point);
    QApplication::processEvents();
    return true;
}

bool UiDriver::doubleClick(const QString& pane, const QJSValue& row) {
    closeMenu();
    QAbstractItemView* target = view(pane);
    QPoint point;
    if (!target || !rowPoint(*target, row, point))
        return false;
    QWidget* window = target->window();
    QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {},
                       target->viewport()->mapTo(window, point));
    QApplication::processEvents();
    return true;
}

// A window system follows a right click with a context-menu event; widget-level test input
// does not, so it is sent here.
bool UiDriver::rightClick(const QString& pane, const QJSValue& row) {
    closeMenu();
    QAbstractItemView* target = view(pane);
    QPoint point;
    if (!target || !rowPoint(*target, row, point))
        return false;
    QWidget* viewport = target->viewport();
    QTest::mouseClick(viewport, Qt::RightButton, {}, point);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, point, viewport->mapToGlobal(point));
    QApplication::sendEvent(viewport, &menu);
    QApplication::processEvents();
    const QMenu* shown = openMenu();
    shownMenus_[pane] = shown ? menuTexts(*shown) : QStringList();
    return true;
}

QStringList UiDriver::menu(const QString& pane) {
    const auto shown = shownMenus_.find(pane);
    if (shown != shownMenus_.end())
        return shown->second;
    const PaneHostWindow& host = ctrl_.paneHost();
    const qint16 code =
        host.paneContaining(host.findChild<QWidget*>(pane, Qt::FindDirectChildrenOnly));
    QStringList texts;
    for (const PopupMenuItem& item : ctrl_.session().popupMenu(code))
        texts.append(item.separator ? QStringLiteral("-") : item.text);
    return texts;
}

bool UiDriver::chooseMenu(const QString& text) {
    QMenu* menu = openMenu();
    if (!menu)
        return false;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator() || action->text() != text)
            continue;
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        QApplication::processEvents();
        return true;
    }
    return false;
}

QWidget* UiDriver::keyTarget() {
    if (QMenu* menu = openMenu())
        return menu;
    QWidget* target = QApplication::focusWidget();
    if (!target || (target != &ctrl_ && !ctrl_.isAncestorOf(target)))
        target = ctrl_.paneHost().focusTarget(ctrl_.session().focusPane());
    return target ? target : &ctrl_;
}

bool UiDriver::key(const QString& name, const QString& modifiers) {
    const QKeySequence sequence = QKeySequence::fromString(keySequenceName(name));
    if (sequence.isEmpty() || sequence[0].key() == Qt::Key_unknown)
        return false;
    settle();
    QTest::keyClick(keyTarget(), sequence[0].key(),
                    sequence[0].keyboardModifiers() | parseModifiers(modifiers));
    // Enter ends an item view's edit from the event loop, and the control reports a rename
    // from there in turn: the key has done its work two rounds later.
    QApplication::processEvents();
    QApplication::processEvents();
    return true;
}

// A character beyond ASCII has no key of its own; its text is what a widget inserts.
bool UiDriver::typeText(const QString& text) {
    settle();
    for (const char32_t character : text.toUcs4()) {
        const QString typed = QString::fromUcs4(&character, 1);
        const Qt::Key key =
            character < 0x80 ? Qt::Key(typed.toUpper().at(0).unicode()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, keyTarget(), key, typed, Qt::NoModifier);
        QApplication::processEvents();
    }
    return true;
}

bool UiDriver::selectRows(const QString& pane, const QJSValue& rows) {
    const QList<QJSValue> list = rowList(rows);
    bool all = !list.isEmpty();
    for (int i = 0; i < list.size(); ++i)
        all = click(pane, list[i], i == 0 ? QString() : QStringLiteral("ctrl")) && all;
    return all;
}

// A drag as the mouse makes it: a list's rows selected, a press on the first, moves past the
// drag distance and across to the target row, and the release there. All of it goes to the source
// view's viewport, which holds the mouse while the button is down.
bool UiDriver::dragRows(const QString& fromPane, const QJSValue& rows, const QString& toPane,
                        const QJSValue& targetRow, const QString& screenshotFile) {
    closeMenu();
    // A tree drags the row it is pressed on; a list drags its selection.
    const bool fromTree = fromPane.endsWith(QLatin1String("Tree"));
    const QList<QJSValue> list = rowList(rows);
    if (list.isEmpty() || (!fromTree && !selectRows(fromPane, rows)))
        return false;
    QAbstractItemView* source = view(fromPane);
    QAbstractItemView* target = view(toPane);
    QPoint from;
    QPoint to;
    if (!source || !target || !rowPoint(*source, list.front(), from) ||
        !rowPoint(*target, targetRow, to))
        return false;
    QWidget* viewport = source->viewport();
    const QPoint over = viewport->mapFromGlobal(target->viewport()->mapToGlobal(to));
    const QPoint pastDistance(QApplication::startDragDistance() + 1, 0);
    QTest::mousePress(viewport, Qt::LeftButton, {}, from);
    QTest::mouseMove(viewport, from + pastDistance);
    QTest::mouseMove(viewport, (from + over) / 2);
    QTest::mouseMove(viewport, over);
    QApplication::processEvents();
    const bool dragging = ctrl_.session().isDragging();
    if (dragging && !screenshotFile.isEmpty())
        screenshot(screenshotFile);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, over);
    QApplication::processEvents();
    return dragging;
}

QStringList UiDriver::rows(const QString& pane) {
    QAbstractItemView* shown = view(pane);
    return shown ? ShownRows(*shown) : QStringList();
}

QVariantList UiDriver::cells(const QString& pane) {
    QVariantList table;
    QAbstractItemView* shown = view(pane);
    if (!shown || !shown->model())
        return table;
    const QAbstractItemModel& model = *shown->model();
    const auto* tree = qobject_cast<const QTreeView*>(shown);
    const int columns = tree ? model.columnCount(shown->rootIndex()) : 1;
    for (int row = 0; row < model.rowCount(shown->rootIndex()); ++row) {
        QStringList texts;
        for (int column = 0; column < columns; ++column) {
            if (!tree || !tree->isColumnHidden(column))
                texts.append(model.index(row, column, shown->rootIndex()).data().toString());
        }
        table.append(texts);
    }
    return table;
}

bool UiDriver::clickHeader(const QString& pane, int column) {
    closeMenu();
    const auto* tree = qobject_cast<const QTreeView*>(view(pane));
    if (!tree || tree->isHeaderHidden() || column < 0 || column >= tree->header()->count() ||
        tree->isColumnHidden(column))
        return false;
    QHeaderView* header = tree->header();
    const QPoint point(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                       header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, point);
    QApplication::processEvents();
    return true;
}

bool UiDriver::screenshot(const QString& file) {
    settle();
    const QPixmap control = ctrl_.grab();
    QMenu* menu = openMenu();
    if (!menu)
        return control.save(file, "PNG");
    // The menu is a window of its own: drawn where it stands over the control, the picture
    // grown to hold it.
    const QRect menuRect(ctrl_.mapFromGlobal(menu->pos()), menu->size());
    const QRect area = control.rect().united(menuRect);
    QPixmap picture(area.size());
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.drawPixmap(-area.topLeft(), control);
    painter.drawPixmap(menuRect.topLeft() - area.topLeft(), menu->grab());
    painter.end();
    return picture.save(file, "PNG");
}
