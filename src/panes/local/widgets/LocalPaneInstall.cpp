#include "panes/local/widgets/LocalPaneInstall.h"

#include "control/PaneHostWindow.h"
#include "panes/list/FileListView.h"
#include "panes/local/RealLocalNamespace.h"
#include "panes/local/widgets/LocalPaneWidgets.h"

#include <QTreeView>

LocalPaneWidgets* InstallLocalPane(PaneHostWindow& host, ControlEvents& events,
                                   ServerPaneController& server) {
    LocalPaneHost paneHost{host.settings(),
                           host.uiConfig(),
                           host.catalogue(),
                           server,
                           events,
                           &host,
                           [&host]() -> Prompter& { return host.prompter(); },
                           [&host] { return host.focusPane(); },
                           [&host](qint16 pane) { host.setFocusPane(pane); },
                           [&host](int code, std::function<void()> action) {
                               host.registerCommand(code, std::move(action));
                           },
                           [&host](qint16 mode) { host.applyLocalListViewMode(mode); },
                           [&host](const QString& path) {
                               return host.openLocal(path);
                           }};
    auto* pane = new LocalPaneWidgets(std::move(paneHost), std::make_unique<RealLocalNamespace>());
    host.installPane(PaneLayout::LocalTree, pane->treeView());
    host.installPane(PaneLayout::LocalList, pane->listView());
    host.attachLocalPanes(pane, pane);
    host.attachLocalAttach(pane);
    return pane;
}
