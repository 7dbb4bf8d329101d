#include "panes/local/ScanApplier.h"

#include "common/ControlEvents.h"
#include "panes/local/AttachTarget.h"
#include "panes/local/RealLocalNamespace.h"

ScanApplier::ScanApplier(AttachTarget& target, ControlEvents& events, bool structured,
                         ServerTreeNode* start)
    : target_(target), events_(events), structured_(structured), folders_{start} {}

bool ScanApplier::apply(const std::vector<ScanItem>& items) {
    for (const ScanItem& item : items) {
        if (stopped_)
            break;
        applyOne(item);
    }
    return !stopped_;
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
