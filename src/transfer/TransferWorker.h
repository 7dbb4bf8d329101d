#pragma once

#include "transfer/TransferJob.h"

#include <QObject>
#include <functional>
#include <thread>

// The one worker thread of a transfer window. It never outlives its owner: going away
// cancels the job and waits for the worker to end.
class TransferWorker {
public:
    explicit TransferWorker(TransferJob& job) : job_(job) {}
    ~TransferWorker();
    TransferWorker(const TransferWorker&) = delete;
    TransferWorker& operator=(const TransferWorker&) = delete;

    // Runs `body` on a new thread; only the first call starts one.
    void start(std::function<void()> body);
    // The same, then `finished` runs on the thread of `receiver` (the window), from its event
    // loop, so the window closes as soon as the job is done instead of at its next tick; not at
    // all once `receiver` is gone.
    void start(std::function<void()> body, QObject* receiver, std::function<void()> finished);
    // Whether start() ran.
    bool started() const { return started_; }
    // Waits for the worker to end (at once when none runs).
    void wait();

private:
    TransferJob& job_;
    std::thread thread_;
    bool started_ = false;
};
