#pragma once

#include "platform/HttpClient.h"
#include "transfer/DownloadJob.h"
#include "transfer/DownloadRules.h"
#include "transfer/RateLimiter.h"

// Where one file row goes and from which byte, as the resume rules and the user settled it.
struct FileTarget {
    QString path;          // empty: no place was chosen (the save dialog was cancelled)
    qint64 resumeFrom = 0; // bytes of `path` kept and asked to be continued
};

// How one file row ended. A failed row carries its code and message; cancel-all leaves the
// row Cancelled and `runCancelled` set, and the run ends without counting it.
struct FileRowEnd {
    DownloadFailure failure; // code 0 unless the row failed
    qint32 systemError = 0;
    bool runCancelled = false;
};

// Fetches the file of row `index` into `target` over `session`, the connection of worker
// lane `lane`. Writes only from an accepted reply head; keeps the partial-file marker beside an
// incomplete file and resumes with If-Range from it; resumes within the run after a network
// cut while tries bring new bytes, up to the job's retry count of tries that do not, pausing
// between those; holds the bytes to `limiter`; verifies the row's SHA-256 when it has one.
// Sets the row's state and the job's byte counters. Never throws.
FileRowEnd FetchFileRow(DownloadJob& job, int index, int lane, const FileTarget& target,
                        HttpSession& session, RateLimiter& limiter);
