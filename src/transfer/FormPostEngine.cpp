#include "transfer/FormPostEngine.h"

#include "common/TextCodec.h"
#include "platform/HttpClient.h"
#include "platform/HttpFault.h"
#include "transfer/FormPostWire.h"
#include "transfer/HttpStatus.h"
#include "transfer/UploadSource.h"

#include <QFileInfo>
#include <cstring>

namespace {

constexpr char16_t kReplacementChar = 0xFFFD;

enum class Attempt { Done, Retry };

// `source` counting every byte it hands over as progress.
HttpBodySource Counted(HttpBodySource source, FormPostJob& job) {
    source.read = [read = std::move(source.read), &job](char* buffer, qint64 capacity) {
        const qint64 count = read(buffer, capacity);
        if (count > 0)
            job.bytesDone += count;
        return count;
    };
    return source;
}

HttpBodySource MemorySource(const QByteArray& bytes) {
    HttpBodySource source;
    source.length = bytes.size();
    source.read = [&bytes, offset = qint64(0)](char* buffer, qint64 capacity) mutable {
        const qint64 count = std::min<qint64>(capacity, bytes.size() - offset);
        std::memcpy(buffer, bytes.constData() + offset, static_cast<size_t>(count));
        offset += count;
        return count;
    };
    return source;
}

// The first kFormReplyLimit bytes as text. A character the limit cut in two is dropped rather
// than shown as a replacement character.
QString ReplyText(const QByteArray& reply, const QString& charset) {
    QString text = FromBytes(reply.left(kFormReplyLimit), charset);
    if (reply.size() > kFormReplyLimit) {
        while (text.endsWith(QChar(kReplacementChar)))
            text.chop(1);
    }
    return text.trimmed();
}

// The outcome of one sent request, read through the shared classification.
Attempt Judge(FormPostJob& job, const HttpResult& result, const QByteArray& reply,
              bool fileChanged) {
    switch (ClassifyHttp(result, result.status == 200)) {
    case HttpFault::NotFound:
    case HttpFault::BadStatus:
        SaveErrorPage(reply);
        job.setResult(FormPostCode::ServerPageFailed, FormPostText::ServerPageFailed,
                      result.status);
        return Attempt::Done;
    case HttpFault::BadRequest:
        job.setResult(FormPostCode::NoRequest, FormPostText::NoRequest(job.postPath), 0);
        return Attempt::Done;
    case HttpFault::NoSession:
        job.setResult(FormPostCode::NoSession, FormPostText::NoSession, result.systemError);
        return Attempt::Done;
    case HttpFault::Refused:
        if (fileChanged) {
            job.setResult(FormPostCode::XmlUnreadable, FormPostText::XmlUnreadable, 0);
            return Attempt::Done;
        }
        [[fallthrough]];
    case HttpFault::Cancelled:
    case HttpFault::Unreachable:
        job.setResult(FormPostCode::SendFailed, FormPostText::SendFailed, result.systemError);
        return Attempt::Done;
    case HttpFault::BadLength:
    case HttpFault::TimedOut:
    case HttpFault::Cut:
        // The head came but not the whole reply: the script may have acted on the post, so it
        // is not sent again, but what it answered is lost.
        if (result.status > 0) {
            job.setResult(FormPostCode::EndFailed, FormPostText::EndFailed, result.systemError);
            return Attempt::Done;
        }
        break;
    case HttpFault::None:
    case HttpFault::NoReply:
    case HttpFault::RedirectLoop:
    case HttpFault::RedirectRefused:
        break;
    }
    // Without a reply head the request may not have ended on the server: it is sent again.
    if (result.status == 0)
        return Attempt::Retry;
    job.setReply(ReplyText(reply, job.charset));
    job.setResult(FormPostCode::Ok, FormPostText::Done, 0);
    return Attempt::Done;
}

HttpRequest BaseRequest(const FormPostJob& job) {
    HttpRequest request;
    request.url = FormPostUrl(job.server, job.port, job.postPath, job.charset);
    request.headers = FormPostHeaders(job.multipart);
    request.acceptCompressed = true;
    return request;
}

Attempt SendForm(FormPostJob& job, HttpSession& session, const QByteArray& body,
                 qint32* systemError) {
    HttpRequest request = BaseRequest(job);
    request.body = Counted(MemorySource(body), job);
    job.bytesDone = 0;
    QByteArray reply;
    const HttpResult result = session.send(request, ErrorPageCollector(&reply));
    *systemError = result.systemError;
    return Judge(job, result, reply, false);
}

// The XML file streams from disk; a file that is gone or no longer has the size measured
// before the request fails the post rather than sending a body that disagrees with its
// announced length.
Attempt SendXmlForm(FormPostJob& job, HttpSession& session, const UploadPieces& pieces,
                    qint32* systemError) {
    const QFileInfo info(job.xmlFilePath);
    UploadSource source(
        pieces, job.xmlFilePath, info.size(), [](qint64) {}, [] {});
    if (!info.isFile() || !source.open()) {
        job.setResult(FormPostCode::XmlUnreadable, FormPostText::XmlUnreadable, 0);
        return Attempt::Done;
    }
    HttpRequest request = BaseRequest(job);
    request.body = Counted(source.body(), job);
    job.bytesTotal = request.body.length;
    job.bytesDone = 0;
    QByteArray reply;
    const HttpResult result = session.send(request, ErrorPageCollector(&reply));
    *systemError = result.systemError;
    return Judge(job, result, reply, source.fileChanged());
}

void RunAll(FormPostJob& job, HttpSession& session) {
    if (!session.isValid()) {
        job.setResult(FormPostCode::NoSession, FormPostText::NoSession, kHttpNoSessionError);
        return;
    }
    if (!IsHostName(job.server)) {
        job.setResult(FormPostCode::NoConnection, FormPostText::NoConnection, 0);
        return;
    }
    session.setPageCookie(job.pageHost, ToBytes(job.cookie, job.charset));
    const QByteArray body = job.multipart ? QByteArray() : ToBytes(job.formText, job.charset);
    const UploadPieces pieces =
        job.multipart ? BuildFormPostPieces(job.fieldNames, job.fieldValues,
                                            QFileInfo(job.xmlFilePath).fileName(), job.charset)
                      : UploadPieces();
    job.bytesTotal = body.size();
    qint32 systemError = 0;
    for (int attempt = 0; attempt < kFormPostAttempts; ++attempt) {
        const Attempt outcome = job.multipart ? SendXmlForm(job, session, pieces, &systemError)
                                              : SendForm(job, session, body, &systemError);
        if (outcome == Attempt::Done)
            return;
    }
    job.setResult(FormPostCode::EndFailed, FormPostText::EndFailed, systemError);
}

} // namespace

void RunFormPost(FormPostJob& job) {
    HttpSession session(job.multipart ? "MxPOSTFormEx" : "MxPOSTForm", job.abortFlag());
    RunFormPost(job, session);
}

void RunFormPost(FormPostJob& job, HttpSession& session) {
    RunAll(job, session);
    job.finish();
}
