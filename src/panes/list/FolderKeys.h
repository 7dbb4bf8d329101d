#pragma once

#include <QObject>
#include <functional>

class QAbstractItemView;

// Enter and Backspace in a pane's view, as users of a file manager expect: Enter opens the
// current row as a double click does, Backspace goes to the parent folder. The view never
// sees either key, so neither moves on to its parents. While a name editor is open in the
// view, both are the editor's.
class FolderKeys : public QObject {
public:
    FolderKeys(QAbstractItemView& view, std::function<void()> open, std::function<void()> up);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> open_;
    std::function<void()> up_;
};
