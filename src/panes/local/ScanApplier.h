#pragma once

#include "panes/local/FolderScanner.h"
#include "panes/server/ServerFolderRef.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <vector>

class AttachTarget;
class ControlEvents;

// Puts a folder walk's steps into the catalogue on the UI thread, one bounded slice per turn
// of the event loop, so the window repaints and its stop button is heard however large the
// folder. In the structured mode each sub-folder becomes (or joins) a catalogue folder of its
// name; in the flat mode every file goes into the starting folder. Each refusal is reported
// with OnAddfileError; a batch-ending code stops the rest. Each step costs constant time
// apart from the adding operation itself, so a whole scan is applied in linear time.
//
// The page's handlers and the scan window's event loop may replace the catalogue between
// any two steps. The applier holds folders only as refs of the generation it started in,
// checks that generation after every step and at every slice, and once it is over stops
// with AddCode::CancelledBatch, reporting nothing more.
class ScanApplier {
public:
    // A slice applies at most this many steps, and starts none once its time is up.
    static constexpr std::size_t kSliceSteps = 256;
    static constexpr std::chrono::milliseconds kSliceTime{20};

    ScanApplier(AttachTarget& target, ControlEvents& events, bool structured,
                const ServerFolderRef& start);

    // Applies the next slice of the steps found so far, in order, checking `keepRunning`
    // before each step; the rest wait in the applier for the next slice. Returns the number
    // of steps applied (0 once the batch has been ended by a refusal).
    std::size_t applySlice(ScanQueue& queue, const std::atomic<bool>& keepRunning);
    // Steps are waiting for a slice, here or in `queue`.
    bool hasWaitingSteps(const ScanQueue& queue) const;
    bool stopped() const { return stopped_; }
    int filesAdded() const { return filesAdded_; }
    // The code that ended the batch; 0 while it runs.
    short lastCode() const { return endCode_; }

private:
    void applyOne(const ScanItem& item);
    void enter(const ScanItem& item);
    void addFile(const ScanItem& item);
    // Reports a refusal of `path`.
    void refuse(short code, const std::filesystem::path& path);
    // Ends the batch once the catalogue has moved on; true then.
    bool catalogueReplaced();

    AttachTarget& target_;
    ControlEvents& events_;
    bool structured_;
    // The catalogue folder of each open walk folder; no folder below a refused sub-folder.
    std::vector<ServerFolderRef> folders_;
    // Steps taken from the queue; those from `next_` on are not applied yet.
    std::vector<ScanItem> taken_;
    std::size_t next_ = 0;
    bool stopped_ = false;
    short endCode_ = 0;
    int filesAdded_ = 0;
};
