#pragma once

#include "transfer/TransferJob.h"

#include <QList>
#include <QString>
#include <QtGlobal>
#include <atomic>
#include <mutex>

// One queued file, copied from its pending catalogue entry before the worker starts.
struct UploadRow {
    QString name;         // file name as shown
    QString localPath;    // full local path ("/" separated)
    double size = 0.0;    // size when queued; the Content-Length is announced from it
    QString xpath;        // the FILE element in the catalogue
    QString serverFolder; // server folder it goes to ("disk/folder/")
    QString localDate;    // modifydate when queued
    QString typeName;     // file type name
};

// What the server answered for one accepted file.
struct UploadedFile {
    int row = -1;
    QString serverPath; // the reply: the stored file's server path
    QString serverDate; // upload time in the control's date format
};

// Result codes of an upload.
namespace UploadCode {
inline constexpr qint16 Ok = 0;
inline constexpr qint16 ListFailed = -97;
inline constexpr qint16 Cancelled = -99;
inline constexpr qint16 NoSession = -100;
inline constexpr qint16 NoConnection = -101;
inline constexpr qint16 NoRequest = -102;
inline constexpr qint16 BadTotal = -103;
inline constexpr qint16 FileUnreadable = -104;
inline constexpr qint16 SendFailed = -105;
inline constexpr qint16 EndFailed = -106;
inline constexpr qint16 ServerPageFailed = -107;
inline constexpr qint16 CatalogueUpdateFailed = -108;
inline constexpr qint16 PageError = -109;
} // namespace UploadCode

// What the worker is doing, for the window's status line.
enum class UploadStage { Connecting, Sending, Saved };

// The state of one upload run. The window owns it; everything the worker needs is copied in
// before the worker starts, and the worker only touches this record. bytesDone counts the file
// content sent, bytesTotal the queued sizes. A failure is the result; a run that sent every
// file leaves the result to FinishUpload, which sets it once the catalogue is rewritten.
class UploadJob : public TransferJob {
public:
    // --- Copied in on the UI thread before the worker starts; read-only afterwards.
    QString charset;    // upper-cased Charset
    QString server;     // HttpServerName
    QString postPath;   // the server script, with its query if any
    quint16 port = 80;  // HttpPORT
    QString pageHost;   // the page's host: the only one the cookie goes to
    QString cookie;     // the page's cookie text, sent in the page's character set
    QString dateFormat; // DATEFORMAT, strftime notation
    bool cancelButtonEnabled = true;
    qint64 rateLimit = 0; // file bytes sent per second at most (0: no cap)

    // Adds a queued file; UI thread, before the worker starts.
    void addRow(const UploadRow& row);
    const QList<UploadRow>& rows() const { return rows_; }
    int fileCount() const { return static_cast<int>(rows_.size()); }

    // --- Progress, written by the worker and read by the window.
    std::atomic<qint64> bytesThisFile{0}; // content of the current file sent so far
    std::atomic<int> currentRow{-1};
    std::atomic<int> filesDone{0};
    std::atomic<UploadStage> stage{UploadStage::Connecting};
    std::atomic<bool> sendingBody{false};
    std::atomic<bool> progressLive{false};

    // Takes back what a failed attempt counted, never below 0.
    void takeBack(qint64 bytes);

    void addAccepted(const UploadedFile& file);
    QList<UploadedFile> accepted() const;

private:
    QList<UploadRow> rows_;
    mutable std::mutex acceptedLock_;
    QList<UploadedFile> accepted_;
};
