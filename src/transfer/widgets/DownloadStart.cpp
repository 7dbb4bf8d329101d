#include "transfer/widgets/DownloadStart.h"

#include "common/WorkingFolders.h"
#include "transfer/DownloadQueue.h"
#include "transfer/DownloadRules.h"
#include "transfer/RateLimiter.h"
#include "transfer/widgets/DownloadWindow.h"
#include "transfer/widgets/OpenDownloadWindow.h"

#include <QDesktopServices>
#include <QUrl>

namespace {

constexpr qint16 kDropFolderLayout = 1; // LocalUIType above this downloads into a drop folder

template <size_t N>
DialogTextCopy CopyTexts(const UIConfig& config, const char* section,
                         const std::array<const char*, N>& labels) {
    const DialogTexts texts = config.Dialog(section);
    QHash<QString, QString> copied;
    for (const char* label : labels)
        copied.insert(QLatin1String(label), texts.text(QLatin1String(label)));
    return DialogTextCopy(copied);
}

void OpenLocal(const DownloadHost& host, const QString& path) {
    if (host.openLocal)
        host.openLocal(path);
    else
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void CopySettings(const ControlSettings& from, DownloadJob& job) {
    DownloadSettings& to = job.settings;
    to.charset = from.Charset.toUpper();
    to.hostBase = from.hostBaseUrl;
    to.filePathDomainAuto = from.FilePathDomainAuto;
    to.downStyle = from.DownStyle;
    to.receiveDown = from.ReceiveDown;
    to.overWriteMessage = from.OverWriteMessage;
    to.isDownUrlEncode = from.IsDownUrlEncode;
    to.cookieHost = QUrl(from.hostBaseUrl).host();
    to.cookie = from.documentCookie.toUtf8();
    to.retryCount = std::max<int>(from.DownRetryCount, 0);
    to.parallel = std::clamp<int>(from.DownParallel, 1, kMaxParallel);
    to.rateLimit = RateFromKBps(from.DownRateLimitKBps);
}

qint16 Report(DownloadHost& host, qint16 code, const QString& message) {
    host.settings.setHttpError(code, 0, message);
    host.events.downloadCompleted(code);
    return code;
}

// Runs the rows of `job` in the download window and reports the result.
qint16 RunDownloadWindow(DownloadHost& host, DownloadJob& job, const QString& dropFolder) {
    ControlSettings& settings = host.settings;
    const bool dropLayout = settings.LocalUIType > kDropFolderLayout;
    if (dropLayout) {
        if (dropFolder.isEmpty())
            return Report(host, kDownloadNoDisk,
                          QStringLiteral("선택한 다운위치는 디스크가 아닙니다."));
        job.settings.downloadFolder = dropFolder;
    } else if (!settings.DownPathFix.isEmpty()) {
        job.settings.downloadFolder = settings.DownPathFix;
        job.settings.fixedFolder = true;
    }
    job.texts = CopyTexts(host.uiConfig, UIDialog::DownloadWin, UIDialog::DownloadWinLabels);
    job.overwriteTexts = CopyTexts(host.uiConfig, UIDialog::DownOverwriteMsgWin,
                                   UIDialog::DownOverwriteMsgWinLabels);
    {
        DownloadWindow window(job, host.prompter, dropLayout, settings.HttpDownloadCancelBut,
                              host.parent);
        window.exec();
    }
    const qint16 code = job.resultCode();
    settings.setHttpError(code, job.systemError(), job.resultMessage());
    const QString folder = job.settings.downloadFolder;
    if (!dropLayout && code == 0 && settings.IsFolderViewAfterDown && job.settings.downStyle == 1 &&
        !folder.isEmpty())
        OpenLocal(host, folder);
    // The local pane shows what arrived in it.
    if (dropLayout && host.refreshLocalPane)
        host.refreshLocalPane();
    host.events.downloadCompleted(code);
    return code;
}

} // namespace

qint16 StartDownload(DownloadHost& host, const QList<XmlNode>& selection,
                     const QString& dropFolder) {
    if (selection.isEmpty())
        return 0;
    DownloadJob job;
    CopySettings(host.settings, job);
    QueueDownloadElements(job, selection, host.settings.ServerFileNameMidChar);
    return RunDownloadWindow(host, job, dropFolder);
}

qint16 StartFolderDownload(DownloadHost& host, const XmlNode& folder, bool isTopNode,
                           const QString& dropFolder) {
    if (folder.isNull())
        return 0;
    if (isTopNode)
        return Report(host, kDownloadTopNode,
                      QStringLiteral("최상위 ROOT 노드는 다운로드 할 수 없습니다."));
    return StartDownload(host, {folder}, dropFolder);
}

qint16 OpenServerFile(DownloadHost& host, const XmlNode& file) {
    const ControlSettings& settings = host.settings;
    OpenDownloadJob job;
    job.charset = settings.Charset.toUpper();
    const QString fileUrl = BuildDownloadUrl(file.attribute(QStringLiteral("path")),
                                             settings.hostBaseUrl, settings.FilePathDomainAuto);
    job.requestUrl = OpenRequestUrl(fileUrl, job.charset, settings.IsDownUrlEncode);
    job.tempFolder = DownFolder();
    job.fileName =
        ShortServerName(file.attribute(QStringLiteral("name")), settings.ServerFileNameMidChar);
    job.knownSize =
        static_cast<qint64>(std::max(file.attribute(QStringLiteral("size")).toDouble(), 0.0));
    job.sizeLimit = settings.ServerFileOpenLimitsize;
    job.cookieHost = QUrl(settings.hostBaseUrl).host();
    job.cookie = settings.documentCookie.toUtf8();
    qint16 code = kDownloadCannotCreate;
    if (!job.tempFolder.isEmpty()) {
        {
            OpenDownloadWindow window(
                job, CopyTexts(host.uiConfig, UIDialog::DownOpenWin, UIDialog::DownOpenWinLabels),
                host.parent);
            window.exec();
        }
        // Read only once the window is gone: an exec() ended early (the program quitting)
        // leaves the worker to the window's end, which cancels it and waits for its result.
        code = job.resultCode();
    }
    if (code == 0 && !job.savedPath.isEmpty())
        OpenLocal(host, job.savedPath);
    host.events.openfileCompleted(code);
    return code;
}
