#pragma once

#include <QString>
#include <atomic>
#include <filesystem>
#include <mutex>
#include <vector>

// One step of a folder walk: a file to queue, entering and leaving a sub-folder, or an entry
// the walk refuses (reported, never queued).
enum class ScanStep { File, EnterFolder, LeaveFolder, Refused };

struct ScanItem {
    ScanStep step = ScanStep::File;
    std::filesystem::path path; // the file or folder; empty for LeaveFolder
    short code = 0;             // the adding code of a Refused step
};

// Hands a walk's steps from the worker to the UI thread in batches, in order.
class ScanQueue {
public:
    void push(std::vector<ScanItem>& items); // moves the items in
    std::vector<ScanItem> take();            // everything pushed so far
    bool hasItems() const;                   // take() would return something
    void finish() { finished_.store(true); }
    // The walk has ended; what take() returns after this is the last of it.
    bool finished() const { return finished_.load(); }
    // The path the walk is at, for the current-item line.
    QString currentPath() const;
    void setCurrentPath(const std::filesystem::path& path);
    std::atomic<long long> filesSeen{0};

private:
    mutable std::mutex mutex_;
    std::vector<ScanItem> items_;
    QString current_;
    std::atomic<bool> finished_{false};
};

// Walks the folder `root` depth first and pushes its steps to `queue`: in each folder its
// files first, then each sub-folder between EnterFolder and LeaveFolder. Only regular files
// and real folders count: links to folders are never entered (a loop ends), and FIFOs,
// devices and sockets are skipped without being opened. A link to a file outside `root` is
// refused (-1011), so a planted link cannot queue a file the user never chose, and so is a
// folder that cannot be listed (-1012). The walk keeps its own stack, so a
// deep tree cannot overflow the thread's, and holds one directory open at a time. It ends
// early once `keepRunning` is false. `queue` is not finished here.
void ScanFolder(const std::filesystem::path& root, const std::atomic<bool>& keepRunning,
                ScanQueue& queue);
