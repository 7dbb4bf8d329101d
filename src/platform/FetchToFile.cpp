#include "platform/FetchToFile.h"

#include <QSaveFile>

namespace {

// Receives the reply: judges the status first, and only a 200 opens the file.
struct FileSink {
    FileSink(const QString& path, qint64 maxBytes) : file(path), maxBytes(maxBytes) {
        file.setDirectWriteFallback(false);
    }

    bool onHead(int status, qint64 contentLength) {
        if (status != 200) {
            code = kFetchBadStatus;
            return false;
        }
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

qint16 CodeForFailure(const HttpResult& result, const FileSink& sink) {
    switch (result.failure) {
    case HttpFailure::None:
        return kFetchOk;
    case HttpFailure::NoSession:
        return kFetchNoSession;
    case HttpFailure::BadRequest:
    case HttpFailure::NoConnection:
        return kFetchNoAddress;
    case HttpFailure::Refused:
        return sink.code != kFetchOk ? sink.code : kFetchOtherFailure;
    case HttpFailure::TimedOut:
        return kFetchTimedOut;
    case HttpFailure::Cancelled:
    case HttpFailure::BadLength:
    case HttpFailure::RedirectLoop:
    case HttpFailure::RedirectRefused:
    case HttpFailure::CutHead:
    case HttpFailure::CutBody:
    case HttpFailure::Transfer:
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
    const qint16 code = CodeForFailure(result, sink);
    if (code != kFetchOk)
        return code;
    return sink.file.isOpen() && sink.file.commit() ? kFetchOk : kFetchWriteFailed;
}
