#include "transfer/OpenDownload.h"

#include "common/TextCodec.h"
#include "platform/HttpClient.h"
#include "transfer/DownloadRules.h"
#include "transfer/TargetFile.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr int kMaxRedirects = 10;

QByteArray WireUrl(const OpenDownloadJob& job) {
    return EncodeUrlBytes(ToBytes(job.requestUrl, job.charset));
}

HttpSession OpenSession(const char* agent, OpenDownloadJob& job) {
    HttpSession session(agent, job.abortFlag());
    session.setFollowRedirects(kMaxRedirects);
    session.setPageCookie(job.cookieHost, job.cookie);
    return session;
}

qint16 FailureCode(const OpenDownloadJob& job, HttpFault fault, int status) {
    return DownloadFailureFor(fault, status, job.fileName).code;
}

// The size to show: the catalogue's when known, else the reply's length (0 when absent); or a
// negative result code.
qint64 QueryFileSize(OpenDownloadJob& job) {
    HttpSession session = OpenSession("MxFileSize", job);
    if (!session.isValid())
        return kDownloadNoInternet;
    qint64 length = 0;
    HttpReplyHandler handler;
    handler.onHead = [&](int, qint64 contentLength) {
        length = std::max<qint64>(contentLength, 0);
        return false; // the head is all this request wants
    };
    const HttpResult result = session.get(WireUrl(job), {}, handler);
    if (job.isCancelled())
        return kDownloadCancelled;
    // Any head but a 404 tells the size.
    if (result.status == 0 || result.status == 404)
        return FailureCode(job, ClassifyHttp(result, false), result.status);
    return job.knownSize > 0 ? job.knownSize : length;
}

bool OverLimit(const OpenDownloadJob& job, qint64 bytes) {
    return job.sizeLimit > -1 && static_cast<double>(bytes) > job.sizeLimit;
}

// Fetches into `path`; `created` tells whether this run made the file.
qint16 FetchFile(OpenDownloadJob& job, const QString& path, bool& created) {
    HttpSession session = OpenSession("MxHttpDown", job);
    if (!session.isValid())
        return kDownloadNoInternet;
    QFile file;
    qint16 code = 0; // the worker's own reason to stop; a refused status is the result's
    HttpReplyHandler handler;
    handler.onHead = [&](int status, qint64 contentLength) {
        if (status != 200)
            return false;
        if (OverLimit(job, contentLength)) {
            code = kDownloadTooLarge;
            return false;
        }
        created = OpenTargetFile(path, TargetOpen::CreatePrivate, file);
        if (!created) {
            code = kDownloadCannotCreate;
            return false;
        }
        job.receiving = true;
        return true;
    };
    handler.onBody = [&](QByteArrayView piece) {
        // A reply without a length, or longer than it said, is held to the limit as it comes.
        if (OverLimit(job, job.bytesDone + piece.size())) {
            code = kDownloadTooLarge;
            return false;
        }
        if (file.write(piece.data(), piece.size()) != piece.size()) {
            code = kDownloadWriteFailed;
            return false;
        }
        job.bytesDone += piece.size();
        return true;
    };
    const HttpResult result = session.get(WireUrl(job), {}, handler);
    file.close();
    job.receiving = false;
    if (job.isCancelled())
        return kDownloadCancelled;
    if (code != 0)
        return code;
    // Only an accepted head (the file was made for it) and a whole body count.
    const HttpFault fault = ClassifyHttp(result, result.status == 200);
    return created && fault == HttpFault::None ? 0 : FailureCode(job, fault, result.status);
}

qint16 OpenDownload(OpenDownloadJob& job) {
    if (!IsSafeLocalName(job.fileName))
        return kDownloadCannotCreate;
    const qint64 size = QueryFileSize(job);
    if (size < 0)
        return static_cast<qint16>(size);
    if (OverLimit(job, size))
        return kDownloadTooLarge;
    job.bytesTotal = size;
    const QString path = job.tempFolder + QLatin1Char('/') + job.fileName;
    bool created = false;
    const qint16 code = FetchFile(job, path, created);
    if (code == 0)
        job.savedPath = path;
    else if (created)
        QFile::remove(path);
    return code;
}

} // namespace

QString OpenRequestUrl(const QString& fileUrl, const QString& charset, qint16 isDownUrlEncode) {
    return isDownUrlEncode == 1 ? EncodeUrlFileName(fileUrl, charset) : fileUrl;
}

void RunOpenDownload(OpenDownloadJob& job) {
    // The window shows no message for an open: the code is the whole outcome.
    job.setResult(OpenDownload(job), QString());
    job.finish();
}

int CleanOldTempFiles(const QString& folder) {
    const QDate today = QDate::currentDate();
    int deleted = 0;
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QFileInfo& entry : entries) {
        if (entry.isSymLink() || !entry.isFile())
            continue;
        if (entry.lastModified().date() != today && QFile::remove(entry.absoluteFilePath()))
            ++deleted;
    }
    return deleted;
}
