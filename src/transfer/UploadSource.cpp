#include "transfer/UploadSource.h"

#include <cstring>

UploadSource::UploadSource(UploadPieces pieces, const QString& path, qint64 fileSize,
                           std::function<void(qint64)> onFileBytes, std::function<void()> onFileEnd)
    : pieces_(std::move(pieces)), file_(path), fileSize_(fileSize),
      onFileBytes_(std::move(onFileBytes)), onFileEnd_(std::move(onFileEnd)) {}

bool UploadSource::open() {
    if (!file_.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;
    return file_.size() == fileSize_;
}

HttpBodySource UploadSource::body() {
    HttpBodySource source;
    source.length = pieces_.contentLength(fileSize_);
    source.read = [this](char* buffer, qint64 capacity) {
        return read(buffer, capacity);
    };
    return source;
}

qint64 UploadSource::CopyPiece(const QByteArray& piece, qint64 offset, char* buffer,
                               qint64 capacity) {
    const qint64 count = std::min<qint64>(capacity, piece.size() - offset);
    std::memcpy(buffer, piece.constData() + offset, static_cast<size_t>(count));
    return count;
}

qint64 UploadSource::read(char* buffer, qint64 capacity) {
    const qint64 head = pieces_.fields.size() + pieces_.fileHead.size();
    if (offset_ < pieces_.fields.size()) {
        const qint64 count = CopyPiece(pieces_.fields, offset_, buffer, capacity);
        offset_ += count;
        return count;
    }
    if (offset_ < head) {
        const qint64 count =
            CopyPiece(pieces_.fileHead, offset_ - pieces_.fields.size(), buffer, capacity);
        offset_ += count;
        return count;
    }
    if (fileDone_ < fileSize_) {
        const qint64 count = file_.read(buffer, std::min(capacity, fileSize_ - fileDone_));
        if (count <= 0) {
            fileChanged_ = true;
            return -1;
        }
        fileDone_ += count;
        offset_ += count;
        onFileBytes_(count);
        return count;
    }
    const qint64 closingOffset = offset_ - head - fileSize_;
    if (closingOffset == 0)
        onFileEnd_();
    const qint64 count = CopyPiece(pieces_.closing, closingOffset, buffer, capacity);
    offset_ += count;
    return count;
}
