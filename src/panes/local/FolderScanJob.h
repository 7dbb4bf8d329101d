#pragma once

#include "panes/local/FolderScanner.h"
#include "panes/local/ScanApplier.h"

#include <atomic>
#include <thread>

// One folder scan of attach mode: a worker thread walks the folder, and poll(), on the UI
// thread, applies what it found so far to the catalogue. Stopping (the stop button, or a
// batch-ending refusal) ends the walk after its current entry; everything added so far
// stays. The worker never outlives the job.
class FolderScanJob {
public:
    FolderScanJob(const std::filesystem::path& folder, bool structured, AttachTarget& target,
                  ControlEvents& events);
    ~FolderScanJob();
    FolderScanJob(const FolderScanJob&) = delete;
    FolderScanJob& operator=(const FolderScanJob&) = delete;

    // Starts the worker; once.
    void start();
    // Applies the steps found so far; true once the walk has ended and all is applied.
    bool poll();
    // The stop button.
    void stop() { keepRunning_.store(false); }
    // The path the walk is at.
    QString currentPath() const { return queue_.currentPath(); }
    // 0, or the batch-ending code that stopped the scan.
    short result() const { return result_; }
    int filesAdded() const { return applier_.filesAdded(); }

private:
    std::filesystem::path folder_;
    AttachTarget& target_;
    ScanQueue queue_;
    ScanApplier applier_;
    std::atomic<bool> keepRunning_{true};
    std::thread worker_;
    short result_ = 0;
    bool done_ = false;
};
