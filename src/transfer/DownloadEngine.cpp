#include "transfer/DownloadEngine.h"

#include "common/TextCodec.h"
#include "common/WorkingFolders.h"
#include "platform/HttpClient.h"
#include "transfer/DownloadRules.h"
#include "transfer/TargetFile.h"

#include <QFile>

namespace {

constexpr int kMaxRedirects = 10;

// How far one file request got, beyond what the HTTP layer reports. `Receiving`: the head
// was accepted and the body goes into the target; `None`: no head was judged at all.
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

class DownloadRun {
public:
    DownloadRun(DownloadJob& job, DownloadQuestions& questions)
        : job_(job), questions_(questions), session_("MxHttpDown2", job.abortFlag()),
          remaining_(job.fileCount.load()) {}

    // Sets the run's result: the cancel, its last failure, or success.
    void run();

private:
    QString text(const char* label) const { return job_.texts.text(QLatin1String(label)); }
    QString quoted(const DownloadRow& row, const char* label) const {
        return QLatin1Char('"') + row.name + QLatin1String("\" ") + text(label);
    }
    void showCount(int waiting);
    void countDone(DownloadRow& row, DownloadRow::State state);
    void fail(DownloadRow& row, qint16 code, const QString& message, qint32 systemError = 0);
    void fail(DownloadRow& row, const DownloadFailure& failure, qint32 systemError);
    bool rowNamesAreSafe(const DownloadRow& row) const;
    // False when the rows ran to their end; true when cancel-all stopped them.
    bool runRows();

    void runFolderRow(int index);
    // False when the run must end (cancel-all).
    bool runFileRow(int index);
    // The target path by the row's style; empty when none was chosen.
    QString chooseTarget(int index);
    // Applies the existing-file answer. False when the row is finished (skipped).
    bool applyResume(DownloadRow& row, const QString& target, qint64& resumeFrom);
    HttpResult fetch(DownloadRow& row, const QString& target, qint64 resumeFrom, FileEnd& end);
    bool finishFileRow(DownloadRow& row, const HttpResult& result, FileEnd end, int status);

    DownloadJob& job_;
    DownloadQuestions& questions_;
    HttpSession session_;
    DownloadFailure lastFailure_; // code 0 while every row went well
    qint32 lastSystemError_ = 0;
    int done_ = 0;
    int remaining_;
};

void DownloadRun::showCount(int waiting) {
    job_.setCountLine(QStringLiteral("%1 %2 (%3 / %4)")
                          .arg(waiting)
                          .arg(text("W_CountTxt"))
                          .arg(job_.fileCount.load())
                          .arg(done_));
}

void DownloadRun::countDone(DownloadRow& row, DownloadRow::State state) {
    row.state = state;
    ++done_;
    --remaining_;
}

void DownloadRun::fail(DownloadRow& row, qint16 code, const QString& message, qint32 systemError) {
    lastFailure_ = {code, message};
    lastSystemError_ = systemError;
    countDone(row, code == kDownloadNoTarget ? DownloadRow::NoTarget : DownloadRow::Failed);
}

void DownloadRun::fail(DownloadRow& row, const DownloadFailure& failure, qint32 systemError) {
    fail(row, failure.code, failure.message, systemError);
}

bool DownloadRun::rowNamesAreSafe(const DownloadRow& row) const {
    if (!IsSafeLocalName(row.name))
        return false;
    for (const QString& step : job_.folderSteps(row)) {
        if (!IsSafeLocalName(step))
            return false;
    }
    return true;
}

void DownloadRun::runFolderRow(int index) {
    DownloadRow& row = job_.row(index);
    job_.setStatusLine(quoted(row, "S_CreateFolderMsg"));
    if (!rowNamesAreSafe(row) || !EnsureFolder(job_.rowFolder(index))) {
        lastFailure_ = {kDownloadCannotCreate,
                        QLatin1Char('\'') + row.name +
                            QStringLiteral("' 파일을 로컬에 생성 할 수 없습니다.")};
        lastSystemError_ = 0;
        row.state = DownloadRow::Failed;
        return;
    }
    row.state = DownloadRow::Succeeded;
    job_.folderCreated = true;
}

QString DownloadRun::chooseTarget(int index) {
    const DownloadRow& row = job_.row(index);
    const DownloadSettings& settings = job_.settings;
    const QString folder = job_.rowFolder(index);
    const QString ownPlace = folder + QLatin1Char('/') + row.name;
    if (settings.fixedFolder) {
        EnsureFolder(folder);
        return ownPlace;
    }
    if (settings.downStyle == 0)
        return questions_.askSavePath(ownPlace);
    if (LocalFileSize(ownPlace) > 0 && settings.overWriteMessage && settings.receiveDown == 0)
        return questions_.askSavePath(ownPlace);
    return ownPlace;
}

bool DownloadRun::applyResume(DownloadRow& row, const QString& target, qint64& resumeFrom) {
    const DownloadSettings& settings = job_.settings;
    if (settings.receiveDown != 1 || settings.downStyle != 1 || settings.fixedFolder)
        return true;
    const qint64 size = LocalFileSize(target);
    if (size <= 0)
        return true;
    if (!job_.overwriteForAll) {
        const OverwriteAnswer answer = questions_.askOverwrite(target);
        job_.overwriteChoice = answer.choice;
        job_.overwriteForAll = answer.forAll;
    }
    if (job_.overwriteChoice == 0) {
        resumeFrom = size;
        job_.bytesThisFile += size;
        job_.bytesDone += size;
    } else if (job_.overwriteChoice == 2) {
        job_.bytesDone += size;
        row.state = DownloadRow::Skipped;
        return false;
    }
    return true;
}

HttpResult DownloadRun::fetch(DownloadRow& row, const QString& target, qint64 resumeFrom,
                              FileEnd& end) {
    const DownloadSettings& settings = job_.settings;
    QString url = BuildDownloadUrl(row.serverPath, settings.hostBase, settings.filePathDomainAuto);
    if (settings.isDownUrlEncode == 1)
        url = EncodeUrlFileName(url, settings.charset);
    QList<QByteArray> headers;
    if (resumeFrom > 0)
        headers.append("Range: bytes=" + QByteArray::number(resumeFrom) + '-');

    QFile file;
    HttpReplyHandler handler;
    handler.onHead = [&](int status, qint64) {
        const HeadVerdict verdict =
            JudgeDownloadHead(status, resumeFrom, session_.replyHeader("Content-Range"));
        if (verdict == HeadVerdict::NotFound || target.isEmpty() ||
            verdict == HeadVerdict::Unusable || verdict == HeadVerdict::Complete) {
            end = verdict == HeadVerdict::NotFound   ? FileEnd::NotFound
                  : target.isEmpty()                 ? FileEnd::NoTarget
                  : verdict == HeadVerdict::Complete ? FileEnd::Complete
                                                     : FileEnd::Unusable;
            return false;
        }
        if (verdict == HeadVerdict::WriteFromStart && resumeFrom > 0) {
            // The server sent the whole file: what was counted as present starts again.
            job_.bytesDone -= job_.bytesThisFile.exchange(0);
        }
        const TargetOpen how =
            verdict == HeadVerdict::Append ? TargetOpen::Append : TargetOpen::Truncate;
        if (!OpenTargetFile(target, how, file)) {
            end = FileEnd::OpenFailed;
            return false;
        }
        end = FileEnd::Receiving;
        row.state = DownloadRow::Receiving;
        job_.receiving = true;
        return true;
    };
    handler.onBody = [&](QByteArrayView piece) {
        if (file.write(piece.data(), piece.size()) != piece.size()) {
            end = FileEnd::WriteFailed;
            return false;
        }
        job_.bytesThisFile += piece.size();
        job_.bytesDone += piece.size();
        return !job_.cancelFile.load() && !job_.isCancelled();
    };
    const HttpResult result =
        session_.get(EncodeUrlBytes(ToBytes(url, settings.charset)), headers, handler);
    file.close();
    job_.receiving = false;
    return result;
}

bool DownloadRun::finishFileRow(DownloadRow& row, const HttpResult& result, FileEnd end,
                                int status) {
    const qint32 systemError = result.systemError;
    if (job_.isCancelled()) {
        row.state = DownloadRow::Cancelled;
        return false;
    }
    switch (end) {
    case FileEnd::NotFound:
        job_.setStatusLine(quoted(row, "S_FileNotMsg"));
        job_.bytesDone += row.size;
        fail(row, DownloadFailureFor(StatusFault(status), status, row.name), systemError);
        return true;
    case FileEnd::NoTarget:
        fail(row, kDownloadNoTarget,
             row.name + QStringLiteral(" 의 저장 폴더를 지정 하지 않았습니다."));
        return true;
    case FileEnd::Unusable:
        fail(row, DownloadFailureFor(StatusFault(status), status, row.name), systemError);
        return true;
    case FileEnd::OpenFailed:
        fail(row, kDownloadCannotCreate,
             QLatin1Char('\'') + row.name + QStringLiteral("' 파일을 로컬에 생성 할 수 없습니다."));
        return true;
    case FileEnd::WriteFailed:
        fail(row, kDownloadWriteFailed,
             QStringLiteral("디스크에 '") + row.name +
                 QStringLiteral("' 파일을 저장할 수 없습니다."));
        return true;
    case FileEnd::Complete:
    case FileEnd::Receiving:
    case FileEnd::None:
        break;
    }
    if (job_.cancelFile) {
        job_.bytesTotal -= std::max<qint64>(row.size - job_.bytesThisFile, 0);
        countDone(row, DownloadRow::Cancelled);
        return true;
    }
    // Done only from an accepted head and a whole body, or a head saying the file is whole.
    const bool whole = end == FileEnd::Complete || (end == FileEnd::Receiving && result.ok());
    if (!whole) {
        fail(row, DownloadFailureFor(ClassifyHttp(result, true), status, row.name), systemError);
        return true;
    }
    job_.setStatusLine(quoted(row, "S_FileSaved"));
    countDone(row, DownloadRow::Succeeded);
    return true;
}

bool DownloadRun::runFileRow(int index) {
    DownloadRow& row = job_.row(index);
    job_.setStatusLine(quoted(row, "S_DownloadMsg"));
    showCount(remaining_);
    if (!rowNamesAreSafe(row)) {
        fail(row, kDownloadCannotCreate,
             QLatin1Char('\'') + row.name + QStringLiteral("' 파일을 로컬에 생성 할 수 없습니다."));
        return true;
    }
    const QString target = chooseTarget(index);
    qint64 resumeFrom = 0;
    const bool wanted = target.isEmpty() || applyResume(row, target, resumeFrom);
    if (job_.isCancelled())
        return false;
    if (!wanted)
        return true;
    row.state = DownloadRow::Checking;
    job_.armFileCancel();
    FileEnd end = FileEnd::None;
    const HttpResult result = fetch(row, target, resumeFrom, end);
    return finishFileRow(row, result, end, result.status);
}

bool DownloadRun::runRows() {
    const int fileCount = job_.fileCount;
    showCount(fileCount);
    for (int index = 0; index < job_.rowCount(); ++index) {
        job_.currentRow = index;
        job_.bytesThisFile = 0;
        if (job_.row(index).isFolder) {
            runFolderRow(index);
            continue;
        }
        if (!runFileRow(index))
            return true;
    }
    showCount(fileCount - done_);
    return false;
}

void DownloadRun::run() {
    job_.setStatusLine(text("S_ConnentMsg"));
    if (!session_.isValid()) {
        job_.setResult(kDownloadNoInternet, QStringLiteral("인터넷에 연결되지 않습니다."));
        return;
    }
    session_.setFollowRedirects(kMaxRedirects);
    session_.setPageCookie(job_.settings.cookieHost, job_.settings.cookie);
    if (runRows()) {
        const DownloadFailure cancelled = DownloadFailureFor(HttpFault::Cancelled, 0, {});
        job_.setResult(cancelled.code, cancelled.message);
    } else if (lastFailure_.code != 0) {
        job_.setResult(lastFailure_.code, lastFailure_.message, lastSystemError_);
    } else {
        job_.setResult(0, QStringLiteral("정상 종료 하였습니다."));
    }
}

} // namespace

void RunDownload(DownloadJob& job, DownloadQuestions& questions) {
    DownloadRun(job, questions).run();
    job.finish();
}
