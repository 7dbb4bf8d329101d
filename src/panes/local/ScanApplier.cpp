#include "panes/local/ScanApplier.h"

#include "common/ControlEvents.h"
#include "panes/local/AttachTarget.h"
#include "panes/local/RealLocalNamespace.h"

ScanApplier::ScanApplier(AttachTarget& target, ControlEvents& events, bool structured,
                         const ServerFolderRef& start)
    : target_(target), events_(events), structured_(structured), folders_{start} {}

std::size_t ScanApplier::applySlice(ScanQueue& queue, const std::atomic<bool>& keepRunning) {
    const auto deadline = std::chrono::steady_clock::now() + kSliceTime;
    std::size_t applied = 0;
    // The window's event loop ran since the last slice.
    catalogueReplaced();
    while (applied < kSliceSteps && !stopped_ && keepRunning.load()) {
        if (next_ == taken_.size()) {
            taken_ = queue.take();
            next_ = 0;
            if (taken_.empty())
                break;
        }
        applyOne(taken_[next_++]);
        ++applied;
        if (catalogueReplaced() || std::chrono::steady_clock::now() >= deadline)
            break;
    }
    return applied;
}

bool ScanApplier::hasWaitingSteps(const ScanQueue& queue) const {
    return !stopped_ && (next_ < taken_.size() || queue.hasItems());
}

bool ScanApplier::catalogueReplaced() {
    if (stopped_ || target_.isCurrent(folders_.front()))
        return false;
    stopped_ = true;
    endCode_ = AddCode::CancelledBatch;
    return true;
}

void ScanApplier::refuse(short code, const std::filesystem::path& path) {
    if (!catalogueReplaced())
        events_.addfileError(code, PathText(path));
}

void ScanApplier::applyOne(const ScanItem& item) {
    switch (item.step) {
    case ScanStep::File:
        addFile(item);
        break;
    case ScanStep::EnterFolder:
        enter(item);
        break;
    case ScanStep::LeaveFolder:
        if (structured_ && folders_.size() > 1)
            folders_.pop_back();
        break;
    case ScanStep::Refused:
        refuse(item.code, item.path);
        break;
    }
}

void ScanApplier::enter(const ScanItem& item) {
    if (!structured_)
        return;
    const ServerFolderRef parent = folders_.back();
    ServerFolderRef child;
    if (parent.node != 0) {
        const short code = target_.enterFolder(parent, PathText(item.path.filename()), child);
        if (code != 0) {
            child = {};
            refuse(code, item.path);
        }
    }
    folders_.push_back(child);
}

void ScanApplier::addFile(const ScanItem& item) {
    const ServerFolderRef folder = folders_.back();
    if (folder.node == 0)
        return;
    const short code = target_.addFile(PathText(item.path), folder);
    // The overwrite question's loop may have replaced the catalogue: report nothing more.
    if (catalogueReplaced())
        return;
    if (code == AddCode::Accepted || code == AddCode::Replaced)
        ++filesAdded_;
    if (code == AddCode::Accepted)
        return;
    // A replaced entry is reported too: every non-zero code of the adding operation is.
    if (EndsBatch(code)) {
        stopped_ = true;
        endCode_ = code;
    }
    refuse(code, item.path);
}
