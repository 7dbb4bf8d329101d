#pragma once

#include <QBasicTimer>
#include <QObject>
#include <QPersistentModelIndex>
#include <QString>

class QAbstractItemView;

// Editing item labels in place in one view, as the panes do it. The model's Qt::EditRole
// gives the name to edit, and its setData receives the result: Enter or leaving the editor
// commits, Escape cancels. When allowed, a second, slow click on the item that is already
// current and selected opens its editor after the double-click interval, as a file manager
// does (a double click in that time opens the item instead); the views' own edit triggers
// stay off, so nothing else opens one.
class LabelEditing : public QObject {
    Q_OBJECT
public:
    // Watches `view` and is owned by it; label editing starts disallowed.
    explicit LabelEditing(QAbstractItemView& view);
    // The one watching `view`; null when none does.
    static LabelEditing* of(const QAbstractItemView& view);

    void setAllowed(bool allowed);
    bool allowed() const { return allowed_; }

    // Opens the editor on `index`, scrolled into sight and focused, with `text` in it (empty:
    // the item's name), all of it selected, whether or not clicks may open one. An editor open
    // on another item ends first as Enter ends it; one open on `index` stays and takes
    // `text`. False when the item is not editable.
    bool open(const QModelIndex& index, const QString& text);

    // Whether an editor is open in `view`.
    static bool isEditing(const QAbstractItemView& view);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    QAbstractItemView& view_;
    QPersistentModelIndex clicked_; // pressed while already current and selected
    QBasicTimer slowClick_;
    bool allowed_ = false;
};
