#pragma once

#include "transfer/TransferJob.h"

#include <QHash>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <array>
#include <atomic>
#include <deque>
#include <vector>

// The result codes and messages of downloads.
inline constexpr qint16 kDownloadCancelled = -99;
inline constexpr qint16 kDownloadNoInternet = -100;
inline constexpr qint16 kDownloadNoServer = -101;
inline constexpr qint16 kDownloadNotFound = -301;
inline constexpr qint16 kDownloadCannotCreate = -302;
inline constexpr qint16 kDownloadWriteFailed = -303;
inline constexpr qint16 kDownloadBadReply = -304; // a status or range the file cannot take
inline constexpr qint16 kDownloadNoTarget = -305;
inline constexpr qint16 kDownloadTopNode = -306;
inline constexpr qint16 kDownloadNoDisk = -307;
inline constexpr qint16 kDownloadCutShort = -308; // the body ended before its length
inline constexpr qint16 kDownloadTooLarge = -309;
inline constexpr qint16 kDownloadRedirectLoop = -311;    // more redirects than are followed
inline constexpr qint16 kDownloadRedirectRefused = -312; // a redirect to neither http nor https
inline constexpr qint16 kDownloadNotAllowed = -313; // the user did not let the page pick the folder
inline constexpr qint16 kDownloadChecksumMismatch = -314; // the file's SHA-256 is not the given one
// Opening a file: it was not there or no program took it.
inline constexpr qint16 kOpenFailed = -310;

// Texts of one dialog section, copied so a worker or a window never reads the document.
class DialogTextCopy {
public:
    DialogTextCopy() = default;
    explicit DialogTextCopy(QHash<QString, QString> texts) : texts_(std::move(texts)) {}
    // The text of `label`; empty when it was not copied.
    QString text(const QString& label) const { return texts_.value(label); }

private:
    QHash<QString, QString> texts_;
};

// One queued row: a folder to create or a server file to fetch.
struct DownloadRow {
    enum State {
        Waiting,
        Checking,
        Receiving,
        Succeeded,
        Skipped,
        Cancelled,
        Failed,
        NoTarget,
        Retrying // cut by the network; resumed after a pause
    };

    QString name;       // the local name (catalogue name after ServerFileNameMidChar)
    QString serverPath; // the FILE element's path; empty for a folder row
    qint64 size = 0;    // the catalogue size in bytes
    int folder = 0;     // DownloadJob::addFolder number; kTargetFolder for the top level
    bool isFolder = false;
    QString sha256; // the FILE element's sha256 (hex); empty: not verified
    // Written by the worker, read by the window.
    std::atomic<int> state{Waiting};
    std::atomic<qint64> bytesOnDisk{0}; // the row's file on disk, resumed part included
};

// Settings copied into the job before its worker starts.
struct DownloadSettings {
    QString charset;        // upper-cased Charset
    QString downloadFolder; // the target folder ("/" separators)
    QString hostBase;       // put in front of relative server paths
    bool filePathDomainAuto = true;
    qint16 downStyle = 1;   // 0: a save dialog per file, 1: the row's folder and own name
    qint16 receiveDown = 1; // 1: ask resume/overwrite/skip for an existing file
    bool overWriteMessage = false;
    bool fixedFolder = false;
    qint16 isDownUrlEncode = 1;
    QString cookieHost;
    QByteArray cookie;
    // Beyond the classic engine: how often a row cut by the network is resumed within the run
    // (consecutive tries that bring no new byte; 0: never), the pauses before such tries,
    // how many rows run at once (1 to kMaxParallel) and the cap on the run's throughput in
    // bytes per second (0: none).
    int retryCount = 2;
    std::vector<int> retryPausesMs{1000, 3000, 5000};
    int parallel = 1;
    qint64 rateLimit = 0;
};

// The most rows a run fetches at once, each on its own connection.
inline constexpr int kMaxParallel = 4;

// A download run shared by the window (UI thread) and its workers. The workers write the
// counters, row states and status texts; the window reads them on its timer and sets only the
// cancel flags. Everything both sides touch is atomic or under `textLock_`. cancel() is the
// "cancel all" button; the run's result is its last failure, or 0 when every row succeeded.
class DownloadJob : public TransferJob {
public:
    DownloadSettings settings;
    DialogTextCopy texts;          // DOWNLOAD_WIN
    DialogTextCopy overwriteTexts; // DOWN_OVERWRITEMSG_WIN

    // The folder rows and files lie in: the download folder itself. Zero, so a row given no
    // folder (`{}`) lies there whichever way it was added.
    static constexpr int kTargetFolder = 0;

    // Folders and rows are added on the UI thread before the worker starts and never after.
    // A folder named `name` inside `parent` (a number this returned, or kTargetFolder); returns
    // its number. Rows share their folders, so a row costs the same at any depth.
    int addFolder(int parent, const QString& name);
    // The folder for `steps`, catalogue folder names from the selection down (empty: the
    // download folder itself).
    int addFolderPath(const QStringList& steps);
    // A row that creates `folder`, named after it.
    DownloadRow& addFolderRow(int folder);
    DownloadRow& addFolderRow(const QString& name, const QStringList& folderPath);
    DownloadRow& addFileRow(const QString& name, const QString& serverPath, qint64 size,
                            int folder);
    DownloadRow& addFileRow(const QString& name, const QString& serverPath, qint64 size,
                            const QStringList& folderPath);
    int rowCount() const { return static_cast<int>(rows_.size()); }
    DownloadRow& row(int index) { return rows_[static_cast<size_t>(index)]; }
    const DownloadRow& row(int index) const { return rows_[static_cast<size_t>(index)]; }

    // The catalogue folder names from the selection down to the row's folder, outermost first.
    QStringList folderSteps(const DownloadRow& row) const;
    // The row's local folder: downloadFolder followed by the row's catalogue folders.
    QString rowFolder(int index) const;

    // The row the window highlights and "cancel this file" stops: of the rows under way, the
    // one begun last; -1 when none is.
    int newestRowUnderWay() const;
    // The "cancel this file" button (any thread): the file of newestRowUnderWay() stops and
    // the run goes on, other rows under way included.
    void cancelCurrentFile();
    // A worker lane (0 .. kMaxParallel-1), before it begins the file of row `index`: lowers the
    // lane's file cancel and HTTP abort flag, keeping the abort raised when cancel-all was
    // pressed meanwhile, so no press is lost.
    void armFileCancel(int lane, int index);
    // Whether the file of `lane` was cancelled.
    bool fileCancelled(int lane) const { return lanes_[static_cast<size_t>(lane)].cancelFile; }
    // The flag the HTTP session of `lane` watches: raised by either cancel.
    const std::atomic<bool>* laneAbortFlag(int lane) const {
        return &lanes_[static_cast<size_t>(lane)].abort;
    }

    void setStatusLine(const QString& text);
    QString statusLine() const;
    void setCountLine(const QString& text);
    QString countLine() const;

    // bytesDone counts what was received plus what resumed or skipped files already held.
    std::atomic<int> fileCount{0};
    std::atomic<int> receiving{0}; // rows whose body is arriving now
    std::atomic<bool> folderCreated{false};

    // The overwrite answer that "apply to all" keeps for the rest of the batch; the workers
    // touch it one at a time, while asking.
    int overwriteChoice = 1;
    bool overwriteForAll = false;

protected:
    void cancelRequested() override;

private:
    struct Lane {
        std::atomic<bool> abort{false};
        std::atomic<bool> cancelFile{false};
        std::atomic<int> row{-1};     // the row the lane began last
        std::atomic<qint64> begun{0}; // when, in rowsBegun_ numbers
    };
    struct Folder {
        QString name;
        int parent = kTargetFolder;
    };

    std::vector<Folder> folders_{Folder{}}; // [kTargetFolder] stands for the download folder
    std::deque<DownloadRow> rows_;          // stable addresses; atomics are not movable
    std::array<Lane, kMaxParallel> lanes_;
    std::atomic<qint64> rowsBegun_{0};
    mutable QMutex textLock_;
    QString statusLine_;
    QString countLine_;
};
