#pragma once

#include "control/PaneLayout.h"
#include "control/SplitterDrag.h"

#include <QWidget>
#include <array>
#include <memory>

class ControlSession;
class ItemDragDriver;
class LocalPaneWidgets;
class Prompter;
class ServerPaneWidgets;

// The control's one child window over a session: holds the four panes' widgets, lays them
// out for the current mode, draws and drags the splitter bars and opens the session's
// windows (transfers, folder scans, dialogs) over itself.
class PaneHostWindow : public QWidget {
    Q_OBJECT
public:
    PaneHostWindow(ControlSession& session, QWidget* parent = nullptr);
    ~PaneHostWindow() override;

    ControlSession& session() const { return session_; }

    // The pane (FocusPane) that holds `widget`, NoPane for none.
    qint16 paneContaining(const QWidget* widget) const;
    // The widget that takes the keyboard focus for `pane`; null for NoPane or others.
    QWidget* focusTarget(qint16 pane) const;
    // Whether each pane (server tree first) is shown in the current layout.
    std::array<bool, PaneLayout::PaneCount> shownPanes() const;
    // Whether the focused pane has an in-place edit box open in one of its views.
    bool focusedPaneIsEditing() const;
    // Esc: ends an item drag between the panes, if one runs.
    void cancelItemDrag();
    // F2: the focused pane renames its selected item when its view lets the user rename.
    void renameInFocusedPane();
    // The splitter bar colour: `SpBarColor`, or #A8A6A4 when it is not a colour.
    QColor splitterColor() const;

    const PaneLayout& layout() const { return layout_; }
    QWidget* pane(PaneLayout::Pane which) const { return panes_[which]; }
    // Puts `widget` in the place of pane `which`: reparents it to the host, gives it the
    // pane's object name and lays the panes out again. The pane's own widget is hidden and
    // stays a child of the host. Null is ignored.
    void installPane(PaneLayout::Pane which, QWidget* widget);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void installPanes();
    void followSession();
    void applyLayoutMode();
    void showListView(PaneLayout::Pane which, qint16 mode);
    void placePanes();
    void updateSplitterCursor(QPoint pos);

    ControlSession& session_;
    std::unique_ptr<Prompter> dialogs_;
    PaneLayout layout_;
    std::array<QWidget*, PaneLayout::PaneCount> panes_{};
    ServerPaneWidgets* serverPane_ = nullptr;
    LocalPaneWidgets* localPane_ = nullptr;
    ItemDragDriver* itemDrag_ = nullptr;
    SplitterBar draggedBar_ = SplitterBar::None;
    bool shownOnce_ = false;
};
