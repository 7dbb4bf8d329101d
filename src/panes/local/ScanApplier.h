#pragma once

#include "panes/local/FolderScanner.h"

#include <vector>

class AttachTarget;
class ControlEvents;
struct ServerTreeNode;

// Puts a folder walk's steps into the catalogue on the UI thread, a batch at a time. In the
// structured mode each sub-folder becomes (or joins) a catalogue folder of its name; in the
// flat mode every file goes into the starting folder. Each refusal is reported with
// OnAddfileError; a batch-ending code stops the rest. Each step costs constant time apart
// from the adding operation itself, so a whole scan is applied in linear time.
class ScanApplier {
public:
    ScanApplier(AttachTarget& target, ControlEvents& events, bool structured,
                ServerTreeNode* start);

    // Applies `items` in order; false once the batch has been ended by a refusal.
    bool apply(const std::vector<ScanItem>& items);
    bool stopped() const { return stopped_; }
    int filesAdded() const { return filesAdded_; }
    // The code that ended the batch; 0 while it runs.
    short lastCode() const { return endCode_; }

private:
    void applyOne(const ScanItem& item);
    void enter(const ScanItem& item);
    void addFile(const ScanItem& item);

    AttachTarget& target_;
    ControlEvents& events_;
    bool structured_;
    // The catalogue folder of each open walk folder; null below a refused sub-folder.
    std::vector<ServerTreeNode*> folders_;
    bool stopped_ = false;
    short endCode_ = 0;
    int filesAdded_ = 0;
};
