#include "control/SessionWindowsOver.h"

#include "panes/local/widgets/FolderScanWindow.h"
#include "transfer/widgets/DownloadStart.h"
#include "transfer/widgets/FormPostWindow.h"
#include "transfer/widgets/StartUpload.h"

namespace {

// Downloads open what they fetched through the session's opener, as the panes' own opens do.
DownloadHost downloadHost(ControlSession& session, QWidget* parent) {
    return {session.settings(),
            session.uiConfig(),
            session.prompter(),
            session.events(),
            parent,
            [&session](const QString& path) { session.openLocal(path); },
            [&session] {
                session.localPane().refresh();
            }};
}

} // namespace

SessionWindows SessionWindowsOver(ControlSession& session, QWidget* parent) {
    SessionWindows windows;
    windows.runFolderScan = [&session, parent](const QString& folder, bool structured) {
        return RunFolderScan(parent, session.uiConfig(), session.attachTarget(), session.events(),
                             folder, structured);
    };
    // Only files queued in this run are sent, never "local" entries a catalogue brought along.
    windows.upload = [&session, parent](const QString& postFile) {
        const UploadContext context{session.settings(), session.catalogue(), session.journal(),
                                    session.uiConfig(), session.prompter(),  parent};
        return StartUpload(context, postFile, [&session, parent](QList<UploadRow>& rows) {
            return RunUploadListBuild(parent, session.uiConfig(), session.catalogue(),
                                      session.serverPane().queued(), rows);
        });
    };
    windows.download = [&session, parent](const QList<XmlNode>& selection,
                                          const QString& dropFolder) {
        DownloadHost host = downloadHost(session, parent);
        StartDownload(host, selection, dropFolder);
    };
    windows.downloadFolder = [&session, parent](const XmlNode& folder, bool isTopNode,
                                                const QString& dropFolder) {
        DownloadHost host = downloadHost(session, parent);
        StartFolderDownload(host, folder, isTopNode, dropFolder);
    };
    windows.openServerFile = [&session, parent](const XmlNode& file) {
        DownloadHost host = downloadHost(session, parent);
        OpenServerFile(host, file);
    };
    windows.post = [&session, parent](FormPostJob& job) {
        RunFormPostWindow(job, session.uiConfig(), parent);
    };
    return windows;
}
