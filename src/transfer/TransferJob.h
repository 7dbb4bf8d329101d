#pragma once

#include <QString>
#include <QtGlobal>
#include <atomic>
#include <mutex>

// What every transfer run (a download, an open, an upload) shares between its worker and its
// window. The worker writes the counters and the result and ends with finish(); the window
// polls them on its timer and may cancel from its own thread at any time. The result is set
// once: the first setResult wins and later ones are ignored, so a run decides its outcome in
// one place. A job that never got a result reads as code 0 with an empty message.
class TransferJob {
public:
    TransferJob() = default;
    virtual ~TransferJob() = default;
    TransferJob(const TransferJob&) = delete;
    TransferJob& operator=(const TransferJob&) = delete;

    std::atomic<qint64> bytesTotal{0};
    std::atomic<qint64> bytesDone{0};

    // Any thread: ends the run as cancelled. The exchange under way stops within about 100 ms
    // and a question the worker waits on is released.
    void cancel();
    bool isCancelled() const { return cancelled_.load(); }
    // The flag the job's HTTP session watches: raised by cancel() and by a job's narrower
    // cancels (one file of a batch). Outlives any session of the job.
    const std::atomic<bool>* abortFlag() const { return &abort_; }

    // Sets the outcome; false, changing nothing, when one was set before.
    bool setResult(qint16 code, const QString& message, qint32 systemError = 0);
    bool hasResult() const;
    qint16 resultCode() const;
    QString resultMessage() const;
    // The secondary error number (a curl code or an HTTP status); 0 when there is none.
    qint32 systemError() const;

    // The worker's last act: after it everything the worker wrote is final.
    void finish() { finished_.store(true); }
    bool finished() const { return finished_.load(); }

protected:
    // Called by cancel() after the flags are raised, on the cancelling thread: a job whose
    // exchanges watch flags of their own raises them here.
    virtual void cancelRequested() {}

    std::atomic<bool> abort_{false};

private:
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> finished_{false};
    mutable std::mutex mutex_;
    bool resultSet_ = false;
    qint16 resultCode_ = 0;
    QString resultMessage_;
    qint32 systemError_ = 0;
};
