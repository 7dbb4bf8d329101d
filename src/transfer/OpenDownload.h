#pragma once

#include "transfer/DownloadJob.h"
#include "transfer/TransferJob.h"

#include <QString>
#include <atomic>

// One server file fetched into a temporary folder to be opened with its program. The window
// (UI thread) fills the inputs, starts the worker and reads the counters on its timer; its
// cancel button is cancel().
struct OpenDownloadJob : TransferJob {
    // Inputs, set before the worker starts.
    QString charset;         // upper-cased Charset
    QString requestUrl;      // the URL to fetch, already encoded as the settings ask
    QString tempFolder;      // existing folder the file goes to
    QString fileName;        // the name to save under
    qint64 knownSize = 0;    // catalogue size; 0 or less when unknown
    double sizeLimit = -1.0; // ServerFileOpenLimitsize; -1 for none
    QString cookieHost;
    QByteArray cookie;

    // Written by the worker.
    std::atomic<bool> receiving{false};
    QString savedPath; // read only once finished()
};

// The URL the open window requests: `fileUrl`, with the part after its last "/" URL-encoded
// in `charset` when `isDownUrlEncode` is 1.
QString OpenRequestUrl(const QString& fileUrl, const QString& charset, qint16 isDownUrlEncode);

// The worker: asks the size ("MxFileSize"), checks the limit, then fetches the file into a new
// file readable only by the user. Only a 200 reply is written; anything else, a cut body or a
// cancel removes the partial file and leaves savedPath empty. The result is 0 or a download
// code; the job is finished last.
void RunOpenDownload(OpenDownloadJob& job);

// Deletes the regular files directly in `folder` last written on another day than today;
// folders, links and anything else stay. Returns how many were deleted.
int CleanOldTempFiles(const QString& folder);
