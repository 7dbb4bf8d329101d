#pragma once

class ControlEvents;
class LocalPaneWidgets;
class PaneHostWindow;
class ServerPaneController;

// Builds the local pane into `host`: its tree and list take the places of the placeholder
// panes, its commands are registered, and the script methods reach it through the host.
// Attaching works in every layout mode; the views only show in mode 2. Owned by `host`.
LocalPaneWidgets* InstallLocalPane(PaneHostWindow& host, ControlEvents& events,
                                   ServerPaneController& server);
