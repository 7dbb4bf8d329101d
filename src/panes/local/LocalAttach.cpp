#include "panes/local/LocalAttach.h"

#include "common/ControlEvents.h"
#include "common/LocalPath.h"
#include "common/Prompter.h"
#include "common/RememberedValues.h"
#include "common/WorkingFolders.h"
#include "panes/local/AttachDialogFilter.h"
#include "panes/local/AttachTarget.h"
#include "settings/ControlSettings.h"
#include "xml/UIConfig.h"

namespace {

// The folder holding `path`, without a trailing separator unless it is the root.
QString folderOf(const QString& path) {
    QString folder = LocalFolderPart(path);
    if (folder.size() > 1)
        folder.chop(1);
    return folder.isEmpty() ? QString(kLocalPathSeparator) : folder;
}

// Keeps redrawing of the server pane off while a batch is queued, and the batch's shared
// overwrite answer with it. The batch goes into the folder selected when it begins.
class BatchScope {
public:
    BatchScope(AttachTarget& target, bool quiet)
        : target_(target), quiet_(quiet), folder_(target.currentFolder()) {
        if (quiet_)
            target_.setDrawing(false);
        target_.beginBatch();
    }
    ~BatchScope() {
        target_.endBatch();
        if (quiet_)
            target_.setDrawing(true);
    }
    BatchScope(const BatchScope&) = delete;
    BatchScope& operator=(const BatchScope&) = delete;

    const ServerFolderRef& folder() const { return folder_; }

private:
    AttachTarget& target_;
    bool quiet_;
    ServerFolderRef folder_;
};

} // namespace

LocalAttach::LocalAttach(AttachTarget& target, const ControlSettings& settings,
                         const UIConfig& uiConfig, Prompter& prompter, ControlEvents& events,
                         FolderScanRunner runScan)
    : target_(target), settings_(settings), uiConfig_(uiConfig), prompter_(prompter),
      events_(events), runScan_(std::move(runScan)) {}

// A catalogue replaced by the overwrite question's loop or by the refusal's handler ends
// the batch; nothing more is reported or added.
short LocalAttach::addOne(const QString& path, const ServerFolderRef& folder) {
    const short code = target_.addFile(path, folder);
    if (!target_.isCurrent(folder))
        return AddCode::CancelledBatch;
    if (code == AddCode::Accepted)
        return code;
    events_.addfileError(code, path);
    return target_.isCurrent(folder) ? code : AddCode::CancelledBatch;
}

void LocalAttach::fileAttach() {
    const QString start = GetRemembered(RememberedValue::LocalUserCurrentPath);
    const QStringList files =
        prompter_.openFiles(QString(), start, AttachDialogFilter(settings_.OnlyExt));
    if (files.isEmpty())
        return;
    SetRemembered(RememberedValue::LocalUserCurrentPath, folderOf(files.front()));
    {
        const BatchScope batch(target_, files.size() > 1);
        for (const QString& file : files) {
            if (EndsBatch(addOne(file, batch.folder())))
                break;
        }
    }
    events_.localAttachCompleted();
}

void LocalAttach::folderAttach() {
    const QString title = uiConfig_.GetValue(QStringLiteral("COMMSELFOLDERWIN"));
    const QString folder =
        prompter_.chooseFolder(title, GetRemembered(RememberedValue::LocalUserCurrentPath));
    if (folder.isEmpty())
        return;
    if (PathKind(folder) != 1) {
        events_.addfileError(AddCode::NotAFolder, QString());
        return;
    }
    SetRemembered(RememberedValue::LocalUserCurrentPath, folder);
    {
        const BatchScope batch(target_, true);
        addFolder(folder);
    }
    events_.localAttachCompleted();
}

void LocalAttach::addLocalFile(const QString& localFile) {
    const BatchScope batch(target_, false);
    addOne(localFile, batch.folder());
}

void LocalAttach::dropPaths(const QStringList& paths) {
    if (settings_.IsOutItemDrag)
        attachPaths(paths);
}

void LocalAttach::attachPaths(const QStringList& paths) {
    {
        const BatchScope batch(target_, true);
        for (const QString& path : paths) {
            const qint16 kind = PathKind(path);
            short code = AddCode::Unreadable;
            if (kind == 1)
                code = addFolder(path);
            else if (kind == 2)
                code = addOne(path, batch.folder());
            else
                events_.addfileError(code, path);
            // A scan's event loop may have replaced the catalogue after its last step.
            if (EndsBatch(code) || !target_.isCurrent(batch.folder()))
                break;
        }
    }
    events_.localAttachCompleted();
}

short LocalAttach::addFolder(const QString& folder) {
    if (!runScan_)
        return 0;
    const BatchScope batch(target_, false);
    return runScan_(folder, settings_.IsAttachFolder);
}
