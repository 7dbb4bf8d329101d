#include "transfer/DownloadEngine.h"

#include "common/WorkingFolders.h"
#include "platform/HttpClient.h"
#include "transfer/DownloadFileRow.h"
#include "transfer/DownloadRules.h"

#include <QSet>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

constexpr int kMaxRedirects = 10;
constexpr auto kCancelCheck = std::chrono::milliseconds(100);

// What the lanes of one run share: the row queue, the questions, the targets being written,
// the counters and the outcome. Each lane fetches on its own connection; rows are handed out
// in order, folder rows created as they are reached, so no file is fetched before the folders
// listed above it.
class DownloadRun {
public:
    DownloadRun(DownloadJob& job, DownloadQuestions& questions)
        : job_(job), questions_(questions), limiter_(job.settings.rateLimit),
          remaining_(job.fileCount.load()) {}

    // Sets the run's result: the cancel, its last failure, or success.
    void run();

private:
    // What settling a row's target came to.
    enum class Settled { Fetch, Finished, RunCancelled };

    QString text(const char* label) const { return job_.texts.text(QLatin1String(label)); }
    QString quoted(const DownloadRow& row, const char* label) const {
        return QLatin1Char('"') + row.name + QLatin1String("\" ") + text(label);
    }
    HttpSession openSession(int lane) const;
    void runLane(HttpSession& session, int lane);
    // The next file row, creating the folder rows met on the way, and its turn to settle its
    // target; -1 when none is left or cancel-all stopped the run.
    int claimFileRow(int& turn);
    // Rows settle their targets one at a time in the order they were claimed, so the questions
    // come in the order of the list and a row naming the file of an earlier one finds it there.
    void waitForTurn(int turn);
    void endTurn();
    void runFolderRow(int index);
    bool rowNamesAreSafe(const DownloadRow& row) const;

    // In the row's turn: where row `index` goes, asking the user as the row's style wants.
    Settled settleTarget(int index, FileTarget& target);
    // The target path by the row's style; empty when none was chosen.
    QString chooseTarget(int index);
    // Applies the existing-file answer. False when the row is finished (skipped).
    bool applyResume(DownloadRow& row, FileTarget& target);
    // Two rows may name one file: a lane waits while another writes it. False on cancel-all.
    bool waitUntilFree(const QString& path);
    void holdTarget(const QString& path);
    void releaseTarget(const QString& path);

    void showCount(int waiting);
    void record(const FileRowEnd& end);

    DownloadJob& job_;
    DownloadQuestions& questions_;
    RateLimiter limiter_;

    std::mutex targetsLock_;
    std::condition_variable targetFreed_;
    QSet<QString> targetsInUse_;

    std::atomic<bool> stoppedByCancel_{false}; // cancel-all ended the rows before their end

    std::mutex lock_; // everything below
    std::condition_variable turnEnded_;
    int nextRow_ = 0;
    int turnsClaimed_ = 0;
    int turnsEnded_ = 0;
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

void DownloadRun::record(const FileRowEnd& end) {
    std::lock_guard lock(lock_);
    ++done_;
    --remaining_;
    // Rows running side by side end out of their claim order: the count follows each end.
    showCount(remaining_);
    if (end.failure.code != 0) {
        lastFailure_ = end.failure;
        lastSystemError_ = end.systemError;
    }
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

int DownloadRun::claimFileRow(int& turn) {
    std::lock_guard lock(lock_);
    while (nextRow_ < job_.rowCount()) {
        if (job_.isCancelled()) {
            stoppedByCancel_ = true;
            return -1;
        }
        const int index = nextRow_++;
        if (!job_.row(index).isFolder) {
            job_.setStatusLine(quoted(job_.row(index), "S_DownloadMsg"));
            showCount(remaining_);
            turn = turnsClaimed_++;
            return index;
        }
        runFolderRow(index);
    }
    return -1;
}

void DownloadRun::waitForTurn(int turn) {
    std::unique_lock lock(lock_);
    turnEnded_.wait(lock, [&] { return turnsEnded_ == turn; });
}

void DownloadRun::endTurn() {
    {
        std::lock_guard lock(lock_);
        ++turnsEnded_;
    }
    turnEnded_.notify_all();
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

bool DownloadRun::applyResume(DownloadRow& row, FileTarget& target) {
    const DownloadSettings& settings = job_.settings;
    if (settings.receiveDown != 1 || settings.downStyle != 1 || settings.fixedFolder)
        return true;
    const qint64 size = LocalFileSize(target.path);
    if (size <= 0)
        return true;
    if (!job_.overwriteForAll) {
        const OverwriteAnswer answer = questions_.askOverwrite(target.path);
        job_.overwriteChoice = answer.choice;
        job_.overwriteForAll = answer.forAll;
    }
    if (job_.overwriteChoice == 0) {
        target.resumeFrom = size;
        row.bytesOnDisk += size;
        job_.bytesDone += size;
    } else if (job_.overwriteChoice == 2) {
        job_.bytesDone += size;
        row.state = DownloadRow::Skipped;
        return false;
    }
    return true;
}

bool DownloadRun::waitUntilFree(const QString& path) {
    std::unique_lock lock(targetsLock_);
    while (targetsInUse_.contains(path)) {
        if (job_.isCancelled())
            return false;
        targetFreed_.wait_for(lock, kCancelCheck);
    }
    return true;
}

void DownloadRun::holdTarget(const QString& path) {
    std::lock_guard lock(targetsLock_);
    targetsInUse_.insert(path);
}

void DownloadRun::releaseTarget(const QString& path) {
    {
        std::lock_guard lock(targetsLock_);
        targetsInUse_.remove(path);
    }
    targetFreed_.notify_all();
}

DownloadRun::Settled DownloadRun::settleTarget(int index, FileTarget& target) {
    DownloadRow& row = job_.row(index);
    if (!rowNamesAreSafe(row)) {
        row.state = DownloadRow::Failed;
        record({{kDownloadCannotCreate, QLatin1Char('\'') + row.name +
                                            QStringLiteral("' 파일을 로컬에 생성 할 수 없습니다.")},
                0,
                false});
        return Settled::Finished;
    }
    const QString ownPlace = job_.rowFolder(index) + QLatin1Char('/') + row.name;
    if (!waitUntilFree(ownPlace))
        return Settled::RunCancelled;
    target.path = chooseTarget(index);
    if (!target.path.isEmpty() && !waitUntilFree(target.path))
        return Settled::RunCancelled;
    const bool wanted = target.path.isEmpty() || applyResume(row, target);
    if (job_.isCancelled())
        return Settled::RunCancelled;
    if (!wanted)
        return Settled::Finished;
    if (!target.path.isEmpty())
        holdTarget(target.path);
    return Settled::Fetch;
}

void DownloadRun::runLane(HttpSession& session, int lane) {
    for (;;) {
        int turn = 0;
        const int index = claimFileRow(turn);
        if (index < 0)
            return;
        FileTarget target;
        waitForTurn(turn);
        const Settled settled = settleTarget(index, target);
        endTurn();
        if (settled == Settled::RunCancelled) {
            stoppedByCancel_ = true;
            return;
        }
        if (settled == Settled::Finished)
            continue;
        const FileRowEnd end = FetchFileRow(job_, index, lane, target, session, limiter_);
        if (!target.path.isEmpty())
            releaseTarget(target.path);
        if (end.runCancelled) {
            stoppedByCancel_ = true;
            return;
        }
        record(end);
    }
}

HttpSession DownloadRun::openSession(int lane) const {
    HttpSession session("MxHttpDown2", job_.laneAbortFlag(lane));
    session.setFollowRedirects(kMaxRedirects);
    session.setPageCookie(job_.settings.cookieHost, job_.settings.cookie);
    return session;
}

void DownloadRun::run() {
    job_.setStatusLine(text("S_ConnentMsg"));
    const int lanes =
        std::clamp(std::min(job_.settings.parallel, job_.fileCount.load()), 1, kMaxParallel);
    std::vector<HttpSession> sessions;
    for (int lane = 0; lane < lanes; ++lane) {
        sessions.push_back(openSession(lane));
        if (!sessions.back().isValid()) {
            job_.setResult(kDownloadNoInternet, QStringLiteral("인터넷에 연결되지 않습니다."));
            return;
        }
    }
    showCount(job_.fileCount);
    std::vector<std::thread> others;
    for (int lane = 1; lane < lanes; ++lane)
        others.emplace_back([this, &sessions, lane] { runLane(sessions[lane], lane); });
    runLane(sessions[0], 0);
    for (std::thread& other : others)
        other.join();
    if (stoppedByCancel_) {
        const DownloadFailure cancelled = DownloadFailureFor(HttpFault::Cancelled, 0, {});
        job_.setResult(cancelled.code, cancelled.message);
        return;
    }
    showCount(job_.fileCount - done_);
    if (lastFailure_.code != 0)
        job_.setResult(lastFailure_.code, lastFailure_.message, lastSystemError_);
    else
        job_.setResult(0, QStringLiteral("정상 종료 하였습니다."));
}

} // namespace

void RunDownload(DownloadJob& job, DownloadQuestions& questions) {
    DownloadRun(job, questions).run();
    job.finish();
}
