#include "transfer/DownloadRules.h"

#include "transfer/DownloadJob.h"
#include "transfer/UrlEncoder.h"

#include <QFileInfo>
#include <QList>

QString ShortServerName(const QString& name, const QString& midChar) {
    if (midChar.isEmpty())
        return name;
    const qsizetype at = name.indexOf(midChar);
    return at < 0 ? name : name.mid(at + midChar.size());
}

bool IsSafeLocalName(const QString& name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
           !name.contains(QChar(0));
}

QString BuildDownloadUrl(const QString& serverPath, const QString& hostBase, bool domainAuto) {
    if (domainAuto && !serverPath.toUpper().contains(QLatin1String("HTTP://")))
        return hostBase + serverPath;
    return serverPath;
}

QString EncodeUrlFileName(const QString& url, const QString& charset) {
    const qsizetype slash = url.lastIndexOf(QLatin1Char('/'));
    return url.left(slash + 1) + UrlEncoder(charset).encode(url.mid(slash + 1));
}

qint64 LocalFileSize(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable())
        return -1;
    return info.size();
}

namespace {

// "bytes START-END/TOTAL" or "bytes */TOTAL"; -1 for a part that is "*" or missing.
bool ParseContentRange(const QByteArray& text, qint64& start, qint64& total) {
    const QByteArray value = text.trimmed();
    if (!value.startsWith("bytes "))
        return false;
    const QList<QByteArray> halves = value.mid(6).trimmed().split('/');
    if (halves.size() != 2)
        return false;
    bool totalOk = false;
    total = halves[1] == "*" ? -1 : halves[1].toLongLong(&totalOk);
    if (halves[1] != "*" && !totalOk)
        return false;
    if (halves[0] == "*") {
        start = -1;
        return true;
    }
    bool startOk = false;
    start = halves[0].split('-').value(0).toLongLong(&startOk);
    return startOk;
}

HeadVerdict JudgeRangedHead(int status, qint64 resumeFrom, const QByteArray& contentRange) {
    qint64 start = -1;
    qint64 total = -1;
    const bool parsed = ParseContentRange(contentRange, start, total);
    if (status == 206)
        return parsed && start == resumeFrom ? HeadVerdict::Append : HeadVerdict::Unusable;
    if (status == 416)
        return parsed && start < 0 && total == resumeFrom ? HeadVerdict::Complete
                                                          : HeadVerdict::Unusable;
    return HeadVerdict::Unusable;
}

} // namespace

HeadVerdict JudgeDownloadHead(int status, qint64 resumeFrom, const QByteArray& contentRange) {
    if (status == 200)
        return HeadVerdict::WriteFromStart;
    if (status == 404)
        return HeadVerdict::NotFound;
    if (resumeFrom > 0)
        return JudgeRangedHead(status, resumeFrom, contentRange);
    return HeadVerdict::Unusable;
}

DownloadFailure DownloadFailureFor(HttpFault fault, int status, const QString& name) {
    const QString quoted = QLatin1Char('"') + name + QLatin1Char('"');
    switch (fault) {
    case HttpFault::NotFound:
        return {kDownloadNotFound, quoted + QStringLiteral(" 파일을 서버에서 찾을 수 없습니다.")};
    case HttpFault::BadStatus:
        return {kDownloadBadReply,
                quoted +
                    QStringLiteral(" 파일을 서버에서 받을 수 없습니다. (HTTP %1)").arg(status)};
    case HttpFault::Cancelled:
        return {kDownloadCancelled, QStringLiteral("사용자가 취소 하였습니다.")};
    case HttpFault::NoSession:
    case HttpFault::BadRequest:
    case HttpFault::Unreachable:
    case HttpFault::NoReply:
        return {kDownloadNoServer, QStringLiteral(" 서버에 접속 되지 않습니다.")};
    case HttpFault::BadLength:
        return {kDownloadBadReply,
                quoted + QStringLiteral(" 파일을 서버에서 받을 수 없습니다. (Content-Length)")};
    case HttpFault::RedirectLoop:
        return {kDownloadRedirectLoop,
                quoted + QStringLiteral(" 파일의 주소가 너무 여러 번 다른 곳으로 넘겨집니다.")};
    case HttpFault::RedirectRefused:
        return {kDownloadRedirectRefused,
                quoted + QStringLiteral(" 파일의 주소가 http나 https가 아닌 곳으로 넘겨집니다.")};
    case HttpFault::None:
    case HttpFault::Refused:
    case HttpFault::TimedOut:
    case HttpFault::Cut:
        break;
    }
    return {kDownloadCutShort, quoted + QStringLiteral(" 파일을 받는 중 연결이 끊어졌습니다.")};
}

DownloadFailure ChecksumFailure(const QString& name) {
    return {kDownloadChecksumMismatch,
            QLatin1Char('"') + name +
                QStringLiteral("\" 파일의 내용이 서버에서 알려준 체크섬(SHA-256)과 다릅니다.")};
}

bool IsNetworkCut(HttpFault fault) {
    return fault == HttpFault::Cut || fault == HttpFault::NoReply || fault == HttpFault::TimedOut;
}

int ResumePauseMs(const std::vector<int>& pausesMs, int streak) {
    if (streak <= 0 || pausesMs.empty())
        return 0;
    return pausesMs[std::min<size_t>(static_cast<size_t>(streak - 1), pausesMs.size() - 1)];
}
