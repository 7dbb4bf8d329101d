#pragma once

#include <QJSValue>
#include <QObject>
#include <QPoint>
#include <QStringList>
#include <QVariantList>
#include <map>

class ControlWindow;
class QAbstractItemView;
class QModelIndex;
class QWidget;

// `host.ui`: drives the control's real widgets with synthetic mouse and key input, as a
// user would. Panes are "serverTree", "serverList", "localTree", "localList"; a row is its
// label, a tree row a "/"-joined path of labels, or a number for the row at that position.
// Modifiers are words joined by "+": "ctrl", "shift", "alt", "meta". Every action answers
// false when its pane or row is not there. A right click leaves its popup menu open, as a
// user sees it: `key` then goes to the menu, `chooseMenu` picks an item, and any other click
// closes the menu first without choosing, as a click elsewhere does.
class UiDriver : public QObject {
    Q_OBJECT
public:
    UiDriver(ControlWindow& ctrl, QObject* parent);

    // An empty or missing row clicks the empty space at the bottom of the view.
    Q_INVOKABLE bool click(const QString& pane, const QJSValue& row, const QString& modifiers = {});
    // Press, release, press and release within the double-click time, through the window
    // as a person's double click arrives.
    Q_INVOKABLE bool doubleClick(const QString& pane, const QJSValue& row);
    Q_INVOKABLE bool rightClick(const QString& pane, const QJSValue& row);
    // The item texts of the menu the last right click in `pane` opened, a separator as "-"
    // (empty when it opened none); before any right click there, of the menu a right click on
    // the pane's selection would open.
    Q_INVOKABLE QStringList menu(const QString& pane);
    // Clicks the first item of the open popup menu whose text is `text`; false when no menu is
    // open or it has no such item.
    Q_INVOKABLE bool chooseMenu(const QString& text);
    // `name` as a key sequence names it ("F11", "Tab", "Delete", "Ctrl+C"); sent to the
    // focused widget inside the control.
    Q_INVOKABLE bool key(const QString& name, const QString& modifiers = {});
    // Types `text` into the focused widget inside the control (an open label editor, say), one
    // key press and release per character carrying that character, as a keyboard types.
    Q_INVOKABLE bool typeText(const QString& text);
    // Selects `rows` in a list `fromPane` (a tree drags its one row unselected) and drags
    // them with the mouse onto `targetRow` of `toPane`
    // (its empty space when missing); true when a drag ran. With `screenshotFile`, the control
    // is saved there while the cursor is over the target, before the release.
    Q_INVOKABLE bool dragRows(const QString& fromPane, const QJSValue& rows, const QString& toPane,
                              const QJSValue& targetRow = {}, const QString& screenshotFile = {});
    // A click on the first row and Ctrl+clicks on the others.
    Q_INVOKABLE bool selectRows(const QString& pane, const QJSValue& rows);
    // The labels the pane shows (see ShownRows); empty for a pane without a view.
    Q_INVOKABLE QStringList rows(const QString& pane);
    // The shown text of every cell, row by row (an array of arrays); an icon view shows
    // names only.
    Q_INVOKABLE QVariantList cells(const QString& pane);
    // A click on the header of `column` (its position, 0 first); false when the pane shows
    // no header (trees, and lists in an icon mode).
    Q_INVOKABLE bool clickHeader(const QString& pane, int column);
    // The whole control as a PNG file, with an open popup menu over it.
    Q_INVOKABLE bool screenshot(const QString& file);

private:
    QAbstractItemView* view(const QString& pane);
    // Where `row` is in the view's viewport, scrolled into sight; false when it is missing.
    bool rowPoint(QAbstractItemView& view, const QJSValue& row, QPoint& point);
    void settle();
    void closeMenu();
    // Where keys go: the open popup menu, else the focused widget inside the control, else
    // the focused pane, else the control itself.
    QWidget* keyTarget();

    ControlWindow& ctrl_;
    std::map<QString, QStringList> shownMenus_; // by pane
};
