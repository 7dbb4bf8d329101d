#include "panes/local/FolderScanner.h"

#include "panes/local/RealLocalNamespace.h"
#include "panes/server/ServerPaneController.h"

#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <string_view>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kBatchSize = 512;

struct Frame {
    std::vector<fs::path> folders;
    std::size_t next = 0;
};

// Steps for one folder's files go out at once; its sub-folders wait in the frame.
class Walker {
public:
    Walker(const std::atomic<bool>& keepRunning, ScanQueue& queue)
        : keepRunning_(keepRunning), queue_(queue) {}

    void run(const fs::path& root) {
        char resolved[PATH_MAX];
        if (::realpath(root.c_str(), resolved)) {
            realRoot_ = resolved;
            if (realRoot_.back() != '/')
                realRoot_ += '/';
        }
        std::vector<Frame> stack;
        stack.push_back(read(root));
        while (!stack.empty() && keepRunning_.load(std::memory_order_relaxed)) {
            Frame& top = stack.back();
            if (top.next == top.folders.size()) {
                stack.pop_back();
                if (!stack.empty())
                    add({ScanStep::LeaveFolder, {}});
                continue;
            }
            const fs::path folder = top.folders[top.next++];
            add({ScanStep::EnterFolder, folder});
            stack.push_back(read(folder));
        }
        flush();
    }

private:
    // One pass of readdir: the entry's own type comes with its name, so only links (and file
    // systems that do not tell) cost a stat.
    Frame read(const fs::path& folder) {
        Frame frame;
        queue_.setCurrentPath(folder);
        DIR* dir = ::opendir(folder.c_str());
        if (!dir) {
            add({ScanStep::Refused, folder, AddCode::FolderUnreadable});
            return frame;
        }
        std::string prefix = folder.native();
        if (prefix.empty() || prefix.back() != '/')
            prefix += '/';
        while (const dirent* entry = ::readdir(dir)) {
            if (!keepRunning_.load(std::memory_order_relaxed))
                break;
            const std::string_view name(entry->d_name);
            if (name == "." || name == "..")
                continue;
            std::string full = prefix;
            full += name;
            switch (kindOf(full, entry->d_type)) {
            case Kind::Folder:
                frame.folders.emplace_back(std::move(full));
                break;
            case Kind::File:
                add({ScanStep::File, fs::path(std::move(full))});
                break;
            case Kind::LinkedFile:
                if (leadsInside(full))
                    add({ScanStep::File, fs::path(std::move(full))});
                else
                    add({ScanStep::Refused, fs::path(std::move(full)), AddCode::LinkOutside});
                break;
            case Kind::Other:
                break;
            }
        }
        ::closedir(dir);
        return frame;
    }

    enum class Kind { Folder, File, LinkedFile, Other };

    // True when the link `path` resolves to a place below the walk's root.
    bool leadsInside(const std::string& path) const {
        char resolved[PATH_MAX];
        if (realRoot_.empty() || !::realpath(path.c_str(), resolved))
            return false;
        return std::string_view(resolved).substr(0, realRoot_.size()) == realRoot_;
    }

    // A real folder, a regular file or a link to one; never a link's folder.
    static Kind kindOf(const std::string& path, unsigned char type) {
        struct stat info {};
        if (type == DT_UNKNOWN) {
            if (::lstat(path.c_str(), &info) != 0)
                return Kind::Other;
            type = S_ISDIR(info.st_mode)   ? DT_DIR
                   : S_ISLNK(info.st_mode) ? DT_LNK
                   : S_ISREG(info.st_mode) ? DT_REG
                                           : DT_UNKNOWN;
        }
        if (type == DT_DIR)
            return Kind::Folder;
        if (type == DT_REG)
            return Kind::File;
        if (type == DT_LNK && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
            return Kind::LinkedFile;
        return Kind::Other;
    }

    void add(ScanItem item) {
        if (item.step == ScanStep::File)
            queue_.filesSeen.fetch_add(1, std::memory_order_relaxed);
        batch_.push_back(std::move(item));
        if (batch_.size() >= kBatchSize)
            flush();
    }

    void flush() {
        if (!batch_.empty())
            queue_.push(batch_);
    }

    const std::atomic<bool>& keepRunning_;
    ScanQueue& queue_;
    std::vector<ScanItem> batch_;
    std::string realRoot_; // the root with every link resolved, ending in "/"
};

} // namespace

void ScanQueue::push(std::vector<ScanItem>& items) {
    const std::lock_guard lock(mutex_);
    if (items_.empty())
        items_.swap(items);
    else
        items_.insert(items_.end(), std::make_move_iterator(items.begin()),
                      std::make_move_iterator(items.end()));
    items.clear();
}

std::vector<ScanItem> ScanQueue::take() {
    const std::lock_guard lock(mutex_);
    std::vector<ScanItem> taken;
    taken.swap(items_);
    return taken;
}

bool ScanQueue::hasItems() const {
    const std::lock_guard lock(mutex_);
    return !items_.empty();
}

QString ScanQueue::currentPath() const {
    const std::lock_guard lock(mutex_);
    return current_;
}

void ScanQueue::setCurrentPath(const fs::path& path) {
    QString text = PathText(path);
    const std::lock_guard lock(mutex_);
    current_ = std::move(text);
}

void ScanFolder(const fs::path& root, const std::atomic<bool>& keepRunning, ScanQueue& queue) {
    Walker(keepRunning, queue).run(root);
}
