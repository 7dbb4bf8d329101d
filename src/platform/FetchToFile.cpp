#include "platform/FetchToFile.h"

#include "platform/HttpFault.h"

#include <QSaveFile>

namespace {

// Receives the reply: judges the status first, and only a 200 opens the file.
struct FileSink {
    FileSink(const QString& path, qint64 maxBytes) : file(path), maxBytes(maxBytes) {
        file.setDirectWriteFallback(false);
    }

    bool onHead(int status, qint64 contentLength) {
        if (status != 200)
            return false;
        if (exceeds(contentLength)) {
            code = kFetchTooLarge;
            return false;
        }
        if (!file.open(QIODevice::WriteOnly)) {
            code = kFetchCannotCreate;
            return false;
        }
        return true;
    }

    bool onBody(QByteArrayView piece) {
        if (exceeds(written + piece.size())) {
            code = kFetchTooLarge;
            return false;
        }
        written += piece.size();
        if (file.write(piece.data(), piece.size()) == piece.size())
            return true;
        code = kFetchWriteFailed;
        return false;
    }

    bool exceeds(qint64 bytes) const { return maxBytes >= 0 && bytes > maxBytes; }

    QSaveFile file; // replaces the target only on commit, so a failure leaves no partial file
    qint64 maxBytes;
    qint64 written = 0;
    qint16 code = kFetchOk;
};

qint16 CodeForFault(HttpFault fault, const FileSink& sink) {
    switch (fault) {
    case HttpFault::None:
        return kFetchOk;
    case HttpFault::NoSession:
        return kFetchNoSession;
    case HttpFault::BadRequest:
    case HttpFault::Unreachable:
    case HttpFault::NoReply:
        return kFetchNoAddress;
    case HttpFault::NotFound:
    case HttpFault::BadStatus:
        return kFetchBadStatus;
    case HttpFault::Refused:
        return sink.code != kFetchOk ? sink.code : kFetchOtherFailure;
    case HttpFault::TimedOut:
        return kFetchTimedOut;
    case HttpFault::Cancelled:
    case HttpFault::BadLength:
    case HttpFault::RedirectLoop:
    case HttpFault::RedirectRefused:
    case HttpFault::Cut:
        break;
    }
    return kFetchOtherFailure;
}

} // namespace

qint16 FetchToFile(const QString& url, const QString& path, const FetchOptions& options) {
    HttpSession session(options.agent, options.cancel);
    if (!session.isValid())
        return kFetchNoSession;
    session.setPageCookie(options.pageHost, options.pageCookie);
    session.setTimeouts(options.timeouts);
    FileSink sink(path, options.maxBytes);
    HttpReplyHandler handler;
    handler.onHead = [&sink](int status, qint64 contentLength) {
        return sink.onHead(status, contentLength);
    };
    handler.onBody = [&sink](QByteArrayView piece) {
        return sink.onBody(piece);
    };
    const HttpResult result = session.get(url.toUtf8(), {}, handler);
    const qint16 code = CodeForFault(ClassifyHttp(result, result.status == 200), sink);
    if (code != kFetchOk)
        return code;
    return sink.file.isOpen() && sink.file.commit() ? kFetchOk : kFetchWriteFailed;
}
