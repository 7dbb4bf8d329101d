#pragma once

#include "common/ControlEvents.h"
#include "common/Prompter.h"
#include "settings/ControlSettings.h"
#include "xml/UIConfig.h"
#include "xml/XmlNode.h"

#include <QList>
#include <QWidget>
#include <functional>

// What a download started from the panes works with. All members outlive the call.
struct DownloadHost {
    ControlSettings& settings;
    const UIConfig& uiConfig;
    Prompter& prompter;
    ControlEvents& events;
    QWidget* parent = nullptr;
    // Opens a local folder or file with its program; empty: the desktop's default handler.
    std::function<void(const QString& path)> openLocal;
    // Refreshes the local pane after a download into it (a drop-folder layout); may be empty.
    std::function<void()> refreshLocalPane;
};

// Downloads the selected server-list elements (FILE and FOLDER, in list order) in the
// download window: command 10002 with the list focused, the script methods and a drag onto
// the local pane (`dropFolder`). Returns 0 and does nothing when `selection` is empty;
// otherwise copies the result into the settings' error triple, fires downloadCompleted and
// returns the code.
qint16 StartDownload(DownloadHost& host, const QList<XmlNode>& selection,
                     const QString& dropFolder = QString());

// The same for the folder selected in the server tree (command 10002 with the tree focused):
// the folder and everything below it. A null folder returns 0; the tree's top node
// (`isTopNode`) fails with -306.
qint16 StartFolderDownload(DownloadHost& host, const XmlNode& folder, bool isTopNode,
                           const QString& dropFolder = QString());

// Opens a server FILE element (command 10003): fetches it into the DownFolder() in the open
// window and, on success, opens the fetched copy with its program. Fires openfileCompleted
// and returns the code (0, -99, -100, -101, -301, -302, -303, -304, -308, -309).
qint16 OpenServerFile(DownloadHost& host, const XmlNode& file);
