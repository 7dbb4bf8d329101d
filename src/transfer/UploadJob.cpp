#include "transfer/UploadJob.h"

#include <limits>

namespace {

// A queued size as a byte count: negative ones (refused before sending) count nothing, and
// one too large to count stops at the largest.
qint64 ByteCount(double size) {
    if (!(size > 0))
        return 0;
    constexpr double kLargest = static_cast<double>(std::numeric_limits<qint64>::max() / 2);
    return size < kLargest ? static_cast<qint64>(size) : static_cast<qint64>(kLargest);
}

} // namespace

void UploadJob::addRow(const UploadRow& row) {
    rows_.append(row);
    bytesTotal += ByteCount(row.size);
}

void UploadJob::takeBack(qint64 bytes) {
    qint64 value = bytesDone.load();
    while (!bytesDone.compare_exchange_weak(value, std::max<qint64>(0, value - bytes))) {
    }
}

void UploadJob::addAccepted(const UploadedFile& file) {
    std::lock_guard lock(acceptedLock_);
    accepted_.append(file);
}

QList<UploadedFile> UploadJob::accepted() const {
    std::lock_guard lock(acceptedLock_);
    return accepted_;
}
