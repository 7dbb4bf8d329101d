#include "transfer/UploadEngine.h"

#include "common/TextCodec.h"
#include "platform/HttpFault.h"
#include "transfer/DateText.h"
#include "transfer/HttpStatus.h"
#include "transfer/RateLimiter.h"
#include "transfer/UploadSource.h"
#include "transfer/UploadWire.h"
#include "xml/ChangeJournal.h"
#include "xml/ServerCatalogue.h"
#include "xml/ServerPath.h"

namespace {

constexpr qsizetype kReplyLimit = 1023;
const QString kPageErrorMark = QStringLiteral("[page error:]");

QByteArray RequestUrl(const UploadJob& job, int row) {
    QString object = UploadObjectName(job.postPath, row);
    if (!object.startsWith('/'))
        object.prepend('/');
    return "http://" + job.server.toUtf8() + ':' + QByteArray::number(job.port) +
           ToBytes(object, job.charset);
}

// How one attempt at one file ended.
enum class Attempt { Accepted, Failed, Retry };

// The whole reply of a request whose head arrived with status 200: a stored path or a page
// error.
Attempt JudgeReplyText(UploadJob& job, int row, const QByteArray& reply) {
    const QString text = FromBytes(reply.left(kReplyLimit), job.charset).trimmed();
    if (text.startsWith(kPageErrorMark)) {
        job.setResult(UploadCode::PageError, text.mid(kPageErrorMark.size()), 0);
        return Attempt::Failed;
    }
    job.addAccepted({row, text, DateText(QDateTime::currentDateTime(), job.dateFormat)});
    return Attempt::Accepted;
}

// The outcome of one sent request, read through the shared classification.
Attempt Judge(UploadJob& job, int row, const HttpResult& result, const QByteArray& reply) {
    switch (ClassifyHttp(result, result.status == 200)) {
    case HttpFault::Cancelled:
        job.setResult(UploadCode::Cancelled, UploadText::Cancelled, result.systemError);
        return Attempt::Failed;
    case HttpFault::NotFound:
    case HttpFault::BadStatus:
        SaveErrorPage(reply);
        job.setResult(UploadCode::ServerPageFailed, UploadText::ServerPageFailed, result.status);
        return Attempt::Failed;
    case HttpFault::BadRequest:
        job.setResult(UploadCode::NoRequest, UploadText::NoRequest(job.postPath), 0);
        return Attempt::Failed;
    case HttpFault::NoSession:
        job.setResult(UploadCode::NoSession, UploadText::NoSession, result.systemError);
        return Attempt::Failed;
    case HttpFault::Unreachable:
        job.setResult(UploadCode::SendFailed, UploadText::SendFailed, result.systemError);
        return Attempt::Failed;
    case HttpFault::BadLength:
    case HttpFault::TimedOut:
    case HttpFault::Cut:
        // The head came but not the whole reply: the server may have stored the file, so it
        // is not sent again, but the text naming where it went is lost.
        if (result.status > 0) {
            job.setResult(UploadCode::EndFailed, UploadText::EndFailed, result.systemError);
            return Attempt::Failed;
        }
        break;
    case HttpFault::None:
    case HttpFault::Refused:
    case HttpFault::NoReply:
    case HttpFault::RedirectLoop:
    case HttpFault::RedirectRefused:
        break;
    }
    // Without a reply head the request may not have ended on the server: it is sent again.
    return result.status > 0 ? JudgeReplyText(job, row, reply) : Attempt::Retry;
}

// `*systemError` is the failure's number when the attempt is to be repeated.
Attempt SendOnce(UploadJob& job, HttpSession& session, RateLimiter& limiter, int index,
                 const UploadPieces& pieces, qint32* systemError) {
    const UploadRow& row = job.rows()[index];
    job.progressLive = false;
    job.stage = UploadStage::Sending;
    job.currentRow = index;
    job.bytesThisFile = 0;
    UploadSource source(
        pieces, row.localPath, static_cast<qint64>(row.size),
        [&job, &limiter](qint64 bytes) {
            job.bytesDone += bytes;
            job.bytesThisFile += bytes;
            limiter.take(bytes, job.abortFlag());
        },
        [&job] {
            job.sendingBody = false;
            job.progressLive = false;
            job.stage = UploadStage::Saved;
        });
    if (!source.open()) {
        job.setResult(UploadCode::FileUnreadable, UploadText::FileUnreadable(row.name), 0);
        return Attempt::Failed;
    }
    job.sendingBody = true;
    job.progressLive = true;
    QByteArray reply;
    const HttpRequest request{RequestUrl(job, index), "POST", UploadHeaders(), source.body()};
    const HttpResult result = session.send(request, ErrorPageCollector(&reply));
    job.sendingBody = false;
    job.progressLive = false;
    if (job.isCancelled()) {
        job.setResult(UploadCode::Cancelled, UploadText::Cancelled, result.systemError);
        return Attempt::Failed;
    }
    if (source.fileChanged()) {
        job.setResult(UploadCode::FileUnreadable, UploadText::FileUnreadable(row.name), 0);
        return Attempt::Failed;
    }
    const Attempt outcome = Judge(job, index, result, reply);
    if (outcome != Attempt::Retry)
        return outcome;
    job.takeBack(source.fileBytesSent());
    job.bytesThisFile = 0;
    *systemError = result.systemError;
    return Attempt::Retry;
}

// Up to six attempts; the result of the last failed one stands.
bool SendFile(UploadJob& job, HttpSession& session, RateLimiter& limiter, int index) {
    const UploadPieces pieces = BuildUploadPieces(job.rows()[index], job.charset);
    qint32 systemError = 0;
    for (int attempt = 0; attempt < kUploadAttempts; ++attempt) {
        const Attempt outcome = SendOnce(job, session, limiter, index, pieces, &systemError);
        if (outcome != Attempt::Retry)
            return outcome == Attempt::Accepted;
    }
    job.setResult(UploadCode::EndFailed, UploadText::EndFailed, systemError);
    return false;
}

bool TotalIsKnown(const UploadJob& job) {
    for (const UploadRow& row : job.rows()) {
        if (row.size < 0)
            return false;
    }
    return true;
}

void RunAll(UploadJob& job) {
    HttpSession session("MxPOST", job.abortFlag());
    if (!session.isValid()) {
        job.setResult(UploadCode::NoSession, UploadText::NoSession, kHttpNoSessionError);
        return;
    }
    session.setPageCookie(job.pageHost, ToBytes(job.cookie, job.charset));
    if (job.server.isEmpty()) {
        job.setResult(UploadCode::NoConnection, UploadText::NoConnection, 0);
        return;
    }
    if (!TotalIsKnown(job)) {
        job.setResult(UploadCode::BadTotal, UploadText::BadTotal, 0);
        return;
    }
    RateLimiter limiter(job.rateLimit);
    for (int index = 0; index < job.fileCount(); ++index) {
        if (!SendFile(job, session, limiter, index))
            return;
        job.filesDone = index + 1;
    }
}

bool MarkUploaded(ServerCatalogue& catalogue, const UploadRow& row, const UploadedFile& file) {
    const XmlNode node = catalogue.root().selectFirst(row.xpath);
    return node && catalogue.SetAttribute(node, "path", file.serverPath) &&
           catalogue.SetAttribute(node, "transtype", "server") &&
           catalogue.SetAttribute(node, "modifydate", file.serverDate);
}

void MarkLocalAgain(ServerCatalogue& catalogue, const UploadRow& row) {
    const XmlNode node = catalogue.root().selectFirst(row.xpath);
    if (!node)
        return;
    catalogue.SetAttribute(node, "path", row.localPath);
    catalogue.SetAttribute(node, "transtype", "local");
    catalogue.SetAttribute(node, "modifydate", row.localDate);
}

} // namespace

QString UploadText::NoRequest(const QString& postPath) {
    return QStringLiteral("서버에서 '") + postPath + QStringLiteral("' 파일을 찾을 수 없습니다.");
}

QString UploadText::FileUnreadable(const QString& name) {
    return QStringLiteral("업로드 할 '") + name + QStringLiteral("' 파일을 열수 없습니다.");
}

void RunUpload(UploadJob& job) {
    RunAll(job);
    job.progressLive = false;
    job.sendingBody = false;
    job.finish();
}

void FinishUpload(UploadJob& job, ServerCatalogue& catalogue, ChangeJournal& journal,
                  Prompter& prompter) {
    const QList<UploadedFile> accepted = job.accepted();
    for (const UploadedFile& file : accepted) {
        const UploadRow& row = job.rows()[file.row];
        journal.AddUploadRecord(file.serverPath, row.name, CatalogueSizeText(row.size),
                                row.typeName, file.serverDate, row.xpath, row.serverFolder,
                                prompter);
    }
    // A result set by now is the run's failure; the catalogue stays as it was.
    if (job.hasResult())
        return;
    bool allMarked = accepted.size() == job.fileCount();
    for (const UploadedFile& file : accepted)
        allMarked = MarkUploaded(catalogue, job.rows()[file.row], file) && allMarked;
    if (allMarked) {
        job.setResult(UploadCode::Ok, UploadText::Done, 0);
        return;
    }
    for (const UploadRow& row : job.rows())
        MarkLocalAgain(catalogue, row);
    job.setResult(UploadCode::CatalogueUpdateFailed, UploadText::CatalogueUpdateFailed, 0);
}
