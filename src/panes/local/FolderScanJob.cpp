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

bool FolderScanJob::poll() {
    if (done_)
        return true;
    const bool finished = queue_.finished();
    const std::vector<ScanItem> items = queue_.take();
    if (!applier_.apply(items)) {
        stop();
        result_ = applier_.lastCode();
    }
    if (!finished)
        return false;
    if (worker_.joinable())
        worker_.join();
    done_ = true;
    return true;
}
