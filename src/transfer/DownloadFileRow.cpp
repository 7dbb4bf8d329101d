#include "transfer/DownloadFileRow.h"

#include "common/TextCodec.h"
#include "platform/HttpFault.h"
#include "transfer/FileChecksum.h"
#include "transfer/PartialFile.h"
#include "transfer/TargetFile.h"

#include <QFile>
#include <chrono>
#include <thread>

namespace {

constexpr auto kPauseCheck = std::chrono::milliseconds(20);

// How far one request got, beyond what the HTTP layer reports. `Receiving`: the head was
// accepted and the body goes into the target; `None`: no head was judged at all.
enum class FileEnd {
    None,
    NotFound,
    NoTarget,
    Unusable,
    Complete,
    OpenFailed,
    WriteFailed,
    Receiving
};

class FileRowFetch {
public:
    FileRowFetch(DownloadJob& job, int index, int lane, const FileTarget& target,
                 HttpSession& session, RateLimiter& limiter)
        : job_(job), row_(job.row(index)), index_(index), lane_(lane), target_(target.path),
          onDisk_(target.resumeFrom), session_(session), limiter_(limiter) {}

    FileRowEnd run();

private:
    QString quoted(const char* label) const {
        return QLatin1Char('"') + row_.name + QLatin1String("\" ") +
               job_.texts.text(QLatin1String(label));
    }
    bool verifying() const { return !row_.sha256.isEmpty(); }
    QByteArray url() const;
    // One request for the bytes from onDisk_ on.
    HttpResult request();
    bool acceptHead(int status, qint64 length);
    bool takeBody(QByteArrayView piece);
    // Whether a try that ended with `result` is worth resuming.
    bool mayResume(const HttpResult& result) const;
    // Waits `ms`, or less when a cancel comes; false then.
    bool pause(int ms) const;
    FileRowEnd judge(const HttpResult& result);
    FileRowEnd failed(const DownloadFailure& failure, qint32 systemError,
                      DownloadRow::State state = DownloadRow::Failed);
    FileRowEnd failed(HttpFault fault, const HttpResult& result) {
        return failed(DownloadFailureFor(fault, result.status, row_.name), result.systemError);
    }

    DownloadJob& job_;
    DownloadRow& row_;
    const int index_;
    const int lane_;
    const QString target_;
    qint64 onDisk_; // the start of the file that is on disk: where a resume continues
    HttpSession& session_;
    RateLimiter& limiter_;
    PartialValidators validators_; // of the version the part on disk belongs to
    bool markerCurrent_ = false;   // the marker beside the file holds validators_
    qint64 fileEnd_ = -1;          // the file's length once the reply is whole; -1: unknown
    FileChecksum checksum_;
    QFile file_;
    FileEnd end_ = FileEnd::None;
};

QByteArray FileRowFetch::url() const {
    const DownloadSettings& settings = job_.settings;
    QString text =
        BuildDownloadUrl(row_.serverPath, settings.hostBase, settings.filePathDomainAuto);
    if (settings.isDownUrlEncode == 1)
        text = EncodeUrlFileName(text, settings.charset);
    return EncodeUrlBytes(ToBytes(text, settings.charset));
}

HttpResult FileRowFetch::request() {
    QList<QByteArray> headers;
    if (onDisk_ > 0) {
        headers.append("Range: bytes=" + QByteArray::number(onDisk_) + '-');
        const QByteArray version = validators_.ifRange();
        if (!version.isEmpty())
            headers.append("If-Range: " + version);
    }
    HttpReplyHandler handler;
    handler.onHead = [this](int status, qint64 length) {
        return acceptHead(status, length);
    };
    handler.onBody = [this](QByteArrayView piece) {
        return takeBody(piece);
    };
    end_ = FileEnd::None;
    const HttpResult result = session_.get(url(), headers, handler);
    file_.close();
    if (end_ == FileEnd::Receiving || end_ == FileEnd::WriteFailed)
        --job_.receiving;
    return result;
}

bool FileRowFetch::acceptHead(int status, qint64 length) {
    const HeadVerdict verdict =
        JudgeDownloadHead(status, onDisk_, session_.replyHeader("Content-Range"));
    if (verdict == HeadVerdict::NotFound || target_.isEmpty() || verdict == HeadVerdict::Unusable ||
        verdict == HeadVerdict::Complete) {
        end_ = verdict == HeadVerdict::NotFound   ? FileEnd::NotFound
               : target_.isEmpty()                ? FileEnd::NoTarget
               : verdict == HeadVerdict::Complete ? FileEnd::Complete
                                                  : FileEnd::Unusable;
        return false;
    }
    const bool fromStart = verdict == HeadVerdict::WriteFromStart;
    if (!OpenTargetFile(target_, fromStart ? TargetOpen::Truncate : TargetOpen::Append, file_)) {
        end_ = FileEnd::OpenFailed;
        return false;
    }
    if (fromStart) {
        // The whole file comes (again): what was counted as present starts over.
        job_.bytesDone -= row_.bytesOnDisk.exchange(0);
        onDisk_ = 0;
        checksum_.restart();
    } else if (verifying()) {
        checksum_.catchUp(target_, onDisk_);
    }
    const PartialValidators reply{session_.replyHeader("ETag"),
                                  session_.replyHeader("Last-Modified")};
    if ((fromStart || !reply.entityTag.isEmpty() || !reply.lastModified.isEmpty()) &&
        !(reply == validators_)) {
        validators_ = reply;
        markerCurrent_ = false;
    }
    fileEnd_ = length >= 0 ? onDisk_ + length : -1;
    end_ = FileEnd::Receiving;
    row_.state = DownloadRow::Receiving;
    ++job_.receiving;
    return true;
}

bool FileRowFetch::takeBody(QByteArrayView piece) {
    // The marker goes down before the first byte that leaves the file incomplete; a body that
    // completes the file at once (most small files) needs none.
    if (!markerCurrent_ && (fileEnd_ < 0 || onDisk_ + piece.size() < fileEnd_)) {
        WritePartialMarker(target_, validators_);
        markerCurrent_ = true;
    }
    if (file_.write(piece.data(), piece.size()) != piece.size()) {
        end_ = FileEnd::WriteFailed;
        return false;
    }
    onDisk_ += piece.size();
    row_.bytesOnDisk += piece.size();
    job_.bytesDone += piece.size();
    if (verifying())
        checksum_.add(piece);
    limiter_.take(piece.size(), job_.laneAbortFlag(lane_));
    return !job_.fileCancelled(lane_) && !job_.isCancelled();
}

bool FileRowFetch::mayResume(const HttpResult& result) const {
    return job_.settings.retryCount > 0 && !job_.isCancelled() && !job_.fileCancelled(lane_) &&
           (end_ == FileEnd::None || end_ == FileEnd::Receiving) && !target_.isEmpty() &&
           IsNetworkCut(ClassifyHttp(result, true));
}

bool FileRowFetch::pause(int ms) const {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < until) {
        if (job_.laneAbortFlag(lane_)->load())
            return false;
        std::this_thread::sleep_for(kPauseCheck);
    }
    return true;
}

FileRowEnd FileRowFetch::run() {
    if (onDisk_ > 0)
        markerCurrent_ = ReadPartialMarker(target_, validators_);
    job_.armFileCancel(lane_, index_);
    row_.state = DownloadRow::Checking;
    int barrenTries = 0; // consecutive tries that brought no new byte
    for (;;) {
        const qint64 before = onDisk_;
        const HttpResult result = request();
        if (!mayResume(result))
            return judge(result);
        barrenTries = onDisk_ > before ? 0 : barrenTries + 1;
        if (barrenTries > job_.settings.retryCount)
            return judge(result);
        row_.state = DownloadRow::Retrying;
        if (!pause(ResumePauseMs(job_.settings.retryPausesMs, barrenTries)))
            return judge(result);
    }
}

FileRowEnd FileRowFetch::failed(const DownloadFailure& failure, qint32 systemError,
                                DownloadRow::State state) {
    row_.state = state;
    return {failure, systemError, false};
}

FileRowEnd FileRowFetch::judge(const HttpResult& result) {
    if (job_.isCancelled()) {
        row_.state = DownloadRow::Cancelled;
        return {{}, 0, true};
    }
    switch (end_) {
    case FileEnd::NotFound:
        job_.setStatusLine(quoted("S_FileNotMsg"));
        job_.bytesDone += row_.size;
        return failed(StatusFault(result.status), result);
    case FileEnd::NoTarget:
        return failed({kDownloadNoTarget,
                       row_.name + QStringLiteral(" 의 저장 폴더를 지정 하지 않았습니다.")},
                      0, DownloadRow::NoTarget);
    case FileEnd::Unusable:
        return failed(StatusFault(result.status), result);
    case FileEnd::OpenFailed:
        return failed(
            {kDownloadCannotCreate, QLatin1Char('\'') + row_.name +
                                        QStringLiteral("' 파일을 로컬에 생성 할 수 없습니다.")},
            0);
    case FileEnd::WriteFailed:
        return failed({kDownloadWriteFailed, QStringLiteral("디스크에 '") + row_.name +
                                                 QStringLiteral("' 파일을 저장할 수 없습니다.")},
                      0);
    case FileEnd::Complete:
    case FileEnd::Receiving:
    case FileEnd::None:
        break;
    }
    if (job_.fileCancelled(lane_)) {
        job_.bytesTotal -= std::max<qint64>(row_.size - row_.bytesOnDisk, 0);
        row_.state = DownloadRow::Cancelled;
        return {};
    }
    // Done only from an accepted head and a whole body, or a head saying the file is whole.
    const bool whole = end_ == FileEnd::Complete || (end_ == FileEnd::Receiving && result.ok());
    if (!whole)
        return failed(ClassifyHttp(result, true), result);
    if (verifying() && end_ == FileEnd::Complete)
        checksum_.catchUp(target_, onDisk_);
    // Whole either way: no marker may call the file partial.
    RemovePartialMarker(target_);
    if (verifying() && !checksum_.matches(row_.sha256))
        return failed(ChecksumFailure(row_.name), 0);
    job_.setStatusLine(quoted("S_FileSaved"));
    row_.state = DownloadRow::Succeeded;
    return {};
}

} // namespace

FileRowEnd FetchFileRow(DownloadJob& job, int index, int lane, const FileTarget& target,
                        HttpSession& session, RateLimiter& limiter) {
    return FileRowFetch(job, index, lane, target, session, limiter).run();
}
