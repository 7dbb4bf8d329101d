#pragma once

#include "control/ControlSettings.h"
#include "control/PaneLayout.h"
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
class ServerPaneLoading;
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

    ControlSettings& settings() { return settings_; }
    const ControlSettings& settings() const { return settings_; }

    // Which pane has the keyboard focus: 1 server tree, 2 server list, 3 local tree,
    // 4 local list, 0 before any.
    qint16 focusPane() const { return focusPane_; }
    void setFocusPane(qint16 pane) { focusPane_ = pane; }

    // Lays the panes out again for `settings().LocalUIType`.
    void applyLayoutMode();
    const PaneLayout& layout() const { return layout_; }
    QWidget* pane(PaneLayout::Pane which) const { return panes_[which]; }

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

    // Runs the document load and reports it with OnXMLLoadCompleat; a load requested while
    // one runs (from an event handler, say) runs right after it. The start-up load, 50 ms
    // after the first showing, is followed by OnLoadCompleat.
    void requestDocumentLoad();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void placePanes();
    void runDocumentLoad();
    void requestStartupLoad();
    void registerViewModeCommands();

    ControlEvents& events_;
    ControlSettings settings_;
    UIConfig uiConfig_;
    ServerCatalogue catalogue_;
    ChangeJournal journal_;
    ServerPaneLoading* serverPaneLoading_ = nullptr;
    std::unique_ptr<Prompter> ownPrompter_;
    Prompter* prompter_;
    PaneLayout layout_;
    std::array<QWidget*, PaneLayout::PaneCount> panes_{};
    std::map<int, std::function<void()>> commands_;
    ListPaneAccess* serverList_ = nullptr;
    ListPaneAccess* localList_ = nullptr;
    TreePaneAccess* serverTree_ = nullptr;
    TreePaneAccess* localTree_ = nullptr;
    qint16 focusPane_ = 0;
    qint16 serverListView_ = 4;
    qint16 localListView_ = 4;
    bool shownOnce_ = false;
    bool loadRunning_ = false;
    bool loadQueued_ = false;
    bool startupLoadQueued_ = false;
};
