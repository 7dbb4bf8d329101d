#pragma once

#include "panes/local/FolderScanner.h"
#include "panes/local/ScanApplier.h"

#include <atomic>
#include <thread>

// Where a scan stands after one poll.
enum class ScanProgress {
    Finished,   // the walk has ended and everything found is applied (or dropped by a stop)
    StepsReady, // more steps wait: poll again on the next turn of the event loop
    Waiting,    // the walk has not found more yet
};

// One folder scan of attach mode: a worker thread walks the folder, and poll(), on the UI
// thread, applies one slice of what it found so far to the catalogue. Stopping (the stop
// button, or a batch-ending refusal) ends the walk after its current entry and drops the
// steps not applied yet; everything added so far stays. The worker never outlives the job.
class FolderScanJob {
public:
    FolderScanJob(const std::filesystem::path& folder, bool structured, AttachTarget& target,
                  ControlEvents& events);
    ~FolderScanJob();
    FolderScanJob(const FolderScanJob&) = delete;
    FolderScanJob& operator=(const FolderScanJob&) = delete;

    // Starts the worker; once.
    void start();
    // Applies the next slice. A poll made while one is applying (from the nested event loop
    // of a question the adding operation asks) applies nothing and answers Waiting.
    ScanProgress poll();
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
    bool applying_ = false;
    bool done_ = false;
};
