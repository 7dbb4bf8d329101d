#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class AttachTarget;
class ControlEvents;
struct ServerFolderRef;
class Prompter;
class UIConfig;
struct ControlSettings;

// Runs a folder scan of attach mode for `folder` (structured keeps its folders) and returns
// its result: 0, or the batch-ending code that stopped it. The widgets run it in the modal
// FolderScanWindow.
using FolderScanRunner = std::function<short(const QString& folder, bool structured)>;

// Attaching local files without a drag: the open-file dialog (FileAttach), the folder
// browser (FolderAttach), one file named by script (AddLocalFile) and files dropped from the
// desktop. Each file goes through the adding operation; each refusal fires OnAddfileError,
// and a batch-ending refusal stops the rest. UI thread only; every call returns when its
// dialogs and scans have closed.
class LocalAttach {
public:
    LocalAttach(AttachTarget& target, const ControlSettings& settings, const UIConfig& uiConfig,
                Prompter& prompter, ControlEvents& events, FolderScanRunner runScan);

    void fileAttach();
    void folderAttach();
    void addLocalFile(const QString& localFile);
    // Local paths dropped from the desktop, in order; ignored unless IsOutItemDrag.
    void dropPaths(const QStringList& paths);
    // Queues `paths` in order (folders scanned, files added, a path that names neither
    // reported), then fires OnLocalAttachCompleat: the local pane's add-to-upload commands
    // and drags.
    void attachPaths(const QStringList& paths);
    // AddFolder: scans `folder` structured when IsAttachFolder, flat otherwise.
    short addFolder(const QString& folder);

private:
    // Queues one file into `folder`; the adding operation's code (refusals already
    // reported), or AddCode::CancelledBatch once the catalogue has been replaced.
    short addOne(const QString& path, const ServerFolderRef& folder);

    AttachTarget& target_;
    const ControlSettings& settings_;
    const UIConfig& uiConfig_;
    Prompter& prompter_;
    ControlEvents& events_;
    FolderScanRunner runScan_;
};
