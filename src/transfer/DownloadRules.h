#pragma once

#include "platform/HttpFault.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <vector>

// The download rules that need no network and no window.

// `name` with everything up to and including the first `midChar` removed when `midChar` is
// not empty and occurs in it; otherwise `name` itself.
QString ShortServerName(const QString& name, const QString& midChar);

// True when `name` may name a file or folder inside a target folder: not empty, not "." or
// "..", and holding no "/", "\" or NUL. Anything else could lead outside the folder.
bool IsSafeLocalName(const QString& name);

// `hostBase` + `serverPath` when `domainAuto` is set and the path does not hold "HTTP://" in
// any letter case; otherwise the path itself.
QString BuildDownloadUrl(const QString& serverPath, const QString& hostBase, bool domainAuto);

// `url` with the part after its last "/" URL-encoded in `charset`; the rest stays as written.
QString EncodeUrlFileName(const QString& url, const QString& charset);

// The length of the file at `path` when it is a regular file that can be read; -1 otherwise.
qint64 LocalFileSize(const QString& path);

// What a reply head means for the target file.
enum class HeadVerdict {
    WriteFromStart, // 200: the whole file; the target starts again from its first byte
    Append,         // 206 continuing exactly at the local length
    Complete,       // 416 to a ranged request whose total equals the local length
    NotFound,       // 404
    Unusable,       // anything else: the target is not touched
};

// Judges status `status` with its "Content-Range" header `contentRange` for a request that
// asked for the bytes from `resumeFrom` on (0: no Range header was sent).
HeadVerdict JudgeDownloadHead(int status, qint64 resumeFrom, const QByteArray& contentRange);

// What a download or an open reports for a failed exchange.
struct DownloadFailure {
    qint16 code = 0;
    QString message;
};

// The code and message of `fault` for the file `name` (`status`: the head's status, shown for
// BadStatus): -301 not found, -304 another status or a false Content-Length, -99 cancelled,
// -101 when nothing came back (no session, a request refused before sending, no connection,
// no reply), -311 or -312 when redirects looped or led to another scheme, -308 when the reply
// broke off (cut, stalled, timed out).
DownloadFailure DownloadFailureFor(HttpFault fault, int status, const QString& name);

// The failure of a file whose SHA-256 is not the `sha256` its catalogue entry gives: -314.
DownloadFailure ChecksumFailure(const QString& name);

// Whether a row that ended with `fault` was cut by the network (the reply broke off, or the
// connection gave no reply), so resuming it may help. Never a reply the server chose to send.
bool IsNetworkCut(HttpFault fault);

// The pause before a resume that follows `streak` consecutive tries without a new byte:
// nothing after a try that brought bytes (streak 0), else `pausesMs[streak - 1]`, the last
// one repeating; 0 when no pauses are given.
int ResumePauseMs(const std::vector<int>& pausesMs, int streak);
