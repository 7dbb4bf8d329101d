#pragma once

#include "platform/HttpClient.h"
#include "transfer/UploadWire.h"

#include <QFile>
#include <functional>

// Streams one upload body: the text pieces from memory, the file straight from disk in the
// pieces the HTTP layer asks for. The body is exactly Content-Length bytes or the request is
// aborted: a file that no longer has its queued size fails instead of sending a body that
// disagrees with its announced length. A body is sent once: it offers no rewind, so the HTTP
// layer never sends it again on its own (a kept-alive connection found dead fails the attempt)
// and the engine's attempts are the only repeats.
class UploadSource {
public:
    // `onFileBytes` is told of every run of file bytes handed to the HTTP layer; `onFileEnd`
    // when the last file byte has been handed over.
    UploadSource(UploadPieces pieces, const QString& path, qint64 fileSize,
                 std::function<void(qint64)> onFileBytes, std::function<void()> onFileEnd);
    UploadSource(const UploadSource&) = delete;
    UploadSource& operator=(const UploadSource&) = delete;

    // False when the file cannot be opened for reading or its size is not `fileSize`.
    bool open();
    // Whether the file stopped delivering its queued size while being sent.
    bool fileChanged() const { return fileChanged_; }
    // The source for the request; valid while this object lives.
    HttpBodySource body();
    // File bytes handed over by this attempt so far.
    qint64 fileBytesSent() const { return fileDone_; }

private:
    qint64 read(char* buffer, qint64 capacity);
    static qint64 CopyPiece(const QByteArray& piece, qint64 offset, char* buffer, qint64 capacity);

    UploadPieces pieces_;
    QFile file_;
    qint64 fileSize_;
    std::function<void(qint64)> onFileBytes_;
    std::function<void()> onFileEnd_;
    qint64 offset_ = 0; // position in the whole body
    qint64 fileDone_ = 0;
    bool fileChanged_ = false;
};
