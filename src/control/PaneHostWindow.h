#pragma once

#include "control/ControlSettings.h"
#include "control/PaneLayout.h"
#include "control/SplitterDrag.h"
#include "xml/ChangeJournal.h"
#include "xml/ServerCatalogue.h"
#include "xml/UIConfig.h"

#include <QWidget>
#include <array>
#include <functional>
#include <map>
#include <memory>

class ControlEvents;
class Prompter;
class ListPaneAccess;
class LocalAttachAccess;
class ServerPaneController;
class LocalPaneWidgets;
class ServerPaneLoading;
class ServerPaneWidgets;
class TreePaneAccess;

// The control's one child window: owns the settings and the three documents, holds the four
// panes, lays them out for the current mode and runs the document load. Tells the control
// what happened through `events`.
class PaneHostWindow : public QWidget {
    Q_OBJECT
public:
    PaneHostWindow(ControlEvents& events, QWidget* parent = nullptr);
    ~PaneHostWindow() override;

    // Every modal question goes through this; real dialogs unless the host installs another.
    Prompter& prompter() const { return *prompter_; }
    void setPrompter(Prompter* prompter) { prompter_ = prompter ? prompter : ownPrompter_.get(); }

    // Every local file or folder opened with its program goes through this; false when `path`
    // names nothing on disk (the opener is not asked) or the opener reports a failure.
    bool openLocal(const QString& path) const;
    // The opener of openLocal: the desktop's handler unless the host installs another (an
    // offscreen page host lists the paths instead). An empty one restores the desktop's.
    void setFileOpener(std::function<bool(const QString& path)> opener);

    ControlSettings& settings() { return settings_; }
    const ControlSettings& settings() const { return settings_; }

    // Which pane has the keyboard focus: 1 server tree, 2 server list, 3 local tree,
    // 4 local list, 0 before any.
    qint16 focusPane() const { return focusPane_; }
    void setFocusPane(qint16 pane) { focusPane_ = pane; }
    // The pane number (1-4) that holds `widget`, 0 for none.
    qint16 paneContaining(const QWidget* widget) const;
    // The widget that takes the keyboard focus for pane number `pane`; null for 0 or others.
    QWidget* focusTarget(qint16 pane) const;
    // Whether each pane (server tree first) is shown in the current layout.
    std::array<bool, PaneLayout::PaneCount> shownPanes() const;
    // Whether the focused pane has an in-place edit box open in one of its views.
    bool focusedPaneIsEditing() const;
    // The splitter bar colour: `SpBarColor`, or #A8A6A4 when it is not a colour.
    QColor splitterColor() const;

    // Lays the panes out again for `settings().LocalUIType`.
    void applyLayoutMode();
    const PaneLayout& layout() const { return layout_; }
    QWidget* pane(PaneLayout::Pane which) const { return panes_[which]; }
    // Puts `widget` in the place of pane `which`: reparents it to the host, gives it the
    // pane's object name ("serverTree", "serverList", "localTree", "localList") and lays the
    // panes out again. The host's empty stand-in is deleted; a widget installed before is
    // hidden and stays a child of the host. Null is ignored.
    void installPane(PaneLayout::Pane which, QWidget* widget);

    // The view a list shows: 1 large icons, 2 small icons, 3 list, 4 details. Other modes are
    // stored in the settings by the caller and leave the view as it is.
    void applyServerListViewMode(qint16 mode);
    void applyLocalListViewMode(qint16 mode);
    qint16 serverListView() const { return serverListView_; }
    qint16 localListView() const { return localListView_; }

    // Runs pane command `code` (PaneCommand); codes no pane has registered do nothing.
    void runCommand(int code);
    // Panes register the commands they carry out when they are built.
    void registerCommand(int code, std::function<void()> action);

    // The panes as script methods query them; null until the pane is built.
    ListPaneAccess* serverList() const { return serverList_; }
    ListPaneAccess* localList() const { return localList_; }
    TreePaneAccess* serverTree() const { return serverTree_; }
    TreePaneAccess* localTree() const { return localTree_; }
    void attachPanes(ListPaneAccess* serverList, ListPaneAccess* localList,
                     TreePaneAccess* serverTree, TreePaneAccess* localTree);
    // The local pane alone, leaving the server pane's as they are.
    void attachLocalPanes(ListPaneAccess* localList, TreePaneAccess* localTree) {
        localList_ = localList;
        localTree_ = localTree;
    }
    // The local pane's attaching; null until the pane is built.
    LocalAttachAccess* localAttach() const { return localAttach_; }
    void attachLocalAttach(LocalAttachAccess* attach) { localAttach_ = attach; }

    // Index of the first selected row of a list, or -1.
    int selectedServerListPosition() const;
    int selectedLocalListPosition() const;

    // Path of the folder last created (the third argument of OnNewFolderCompleat).
    QString newFolderPath;
    // Server path of the folder of the last drop.
    QString ServerCurDropPath;

    UIConfig& uiConfig() { return uiConfig_; }
    ServerCatalogue& catalogue() { return catalogue_; }
    const ServerCatalogue& catalogue() const { return catalogue_; }
    ChangeJournal& journal() { return journal_; }
    void attachServerPaneLoading(ServerPaneLoading* serverPane) { serverPaneLoading_ = serverPane; }
    // The server pane's operations (the server script methods call them).
    ServerPaneController& serverPane() const;

    // Runs the document load and reports it with OnXMLLoadCompleat; a load requested while
    // one runs (from an event handler, say) runs right after it. The start-up load, 50 ms
    // after the first showing, is followed by OnLoadCompleat.
    void requestDocumentLoad();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void placePanes();
    void updateSplitterCursor(QPoint pos);
    void runDocumentLoad();
    void requestStartupLoad();
    void registerViewModeCommands();
    void installPanes();
    // The local pane takes its colours and columns once the start-up load has brought the UI
    // configuration, and only in the layout that shows it.
    void setUpLocalPaneIfShown();

    ControlEvents& events_;
    ControlSettings settings_;
    UIConfig uiConfig_;
    ServerCatalogue catalogue_;
    ChangeJournal journal_;
    ServerPaneLoading* serverPaneLoading_ = nullptr;
    std::unique_ptr<Prompter> ownPrompter_;
    Prompter* prompter_;
    std::function<bool(const QString& path)> fileOpener_;
    PaneLayout layout_;
    std::array<QWidget*, PaneLayout::PaneCount> panes_{};
    std::array<bool, PaneLayout::PaneCount> ownPane_{true, true, true, true};
    std::map<int, std::function<void()>> commands_;
    ListPaneAccess* serverList_ = nullptr;
    ListPaneAccess* localList_ = nullptr;
    TreePaneAccess* serverTree_ = nullptr;
    TreePaneAccess* localTree_ = nullptr;
    LocalAttachAccess* localAttach_ = nullptr;
    qint16 focusPane_ = 0;
    SplitterBar draggedBar_ = SplitterBar::None;
    qint16 serverListView_ = 4;
    qint16 localListView_ = 4;
    bool shownOnce_ = false;
    bool loadRunning_ = false;
    bool loadQueued_ = false;
    bool startupLoadQueued_ = false;
    ServerPaneWidgets* serverPane_ = nullptr;
    LocalPaneWidgets* localPane_ = nullptr;
    bool startupLoadDone_ = false;
};
