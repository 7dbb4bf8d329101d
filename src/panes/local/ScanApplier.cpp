#include "panes/local/ScanApplier.h"

#include "common/ControlEvents.h"
#include "panes/local/AttachTarget.h"
#include "panes/local/RealLocalNamespace.h"

ScanApplier::ScanApplier(AttachTarget& target, ControlEvents& events, bool structured,
                         ServerTreeNode* start)
    : target_(target), events_(events), structured_(structured), folders_{start} {}

std::size_t ScanApplier::applySlice(ScanQueue& queue, const std::atomic<bool>& keepRunning) {
    const auto deadline = std::chrono::steady_clock::now() + kSliceTime;
    std::size_t applied = 0;
    while (applied < kSliceSteps && !stopped_ && keepRunning.load()) {
        if (next_ == taken_.size()) {
            taken_ = queue.take();
            next_ = 0;
            if (taken_.empty())
                break;
        }
        applyOne(taken_[next_++]);
        ++applied;
        if (std::chrono::steady_clock::now() >= deadline)
            break;
    }
    return applied;
}

bool ScanApplier::hasWaitingSteps(const ScanQueue& queue) const {
    return !stopped_ && (next_ < taken_.size() || queue.hasItems());
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
        events_.addfileError(item.code, PathText(item.path));
        break;
    }
}

void ScanApplier::enter(const ScanItem& item) {
    if (!structured_)
        return;
    ServerTreeNode* parent = folders_.back();
    ServerTreeNode* child = nullptr;
    if (parent) {
        const short code = target_.enterFolder(parent, PathText(item.path.filename()), child);
        if (code != 0) {
            child = nullptr;
            events_.addfileError(code, PathText(item.path));
        }
    }
    folders_.push_back(child);
}

void ScanApplier::addFile(const ScanItem& item) {
    ServerTreeNode* folder = folders_.back();
    if (!folder)
        return;
    const short code = target_.addFile(PathText(item.path), folder);
    if (code == 0 || code == kReplacedCode)
        ++filesAdded_;
    if (code == 0)
        return;
    // A replaced entry is reported too: every non-zero code of the adding operation is.
    if (EndsBatch(code)) {
        stopped_ = true;
        endCode_ = code;
    }
    events_.addfileError(code, PathText(item.path));
}
