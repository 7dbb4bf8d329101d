#include "panes/local/FolderScanJob.h"

#include "panes/local/AttachTarget.h"

FolderScanJob::FolderScanJob(const std::filesystem::path& folder, bool structured,
                             AttachTarget& target, ControlEvents& events)
    : folder_(folder), target_(target),
      applier_(target, events, structured, target.currentFolder()) {}

FolderScanJob::~FolderScanJob() {
    stop();
    if (worker_.joinable())
        worker_.join();
}

void FolderScanJob::start() {
    if (worker_.joinable() || done_)
        return;
    worker_ = std::thread([this] {
        ScanFolder(folder_, keepRunning_, queue_);
        queue_.finish();
    });
}

ScanProgress FolderScanJob::poll() {
    if (done_)
        return ScanProgress::Finished;
    if (applying_)
        return ScanProgress::Waiting;
    // Read before the slice: a walk that had ended has pushed everything the slice can see.
    const bool walkEnded = queue_.finished();
    applying_ = true;
    applier_.applySlice(queue_, keepRunning_);
    applying_ = false;
    if (applier_.stopped()) {
        stop();
        result_ = applier_.lastCode();
    }
    if (keepRunning_.load() && applier_.hasWaitingSteps(queue_))
        return ScanProgress::StepsReady;
    if (!walkEnded)
        return ScanProgress::Waiting;
    if (worker_.joinable())
        worker_.join();
    done_ = true;
    return ScanProgress::Finished;
}
