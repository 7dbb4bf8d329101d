#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QCryptographicHash>
#include <QString>
#include <QtGlobal>

// The SHA-256 of a file that is being written, hashed from the bytes as they stream in. A
// resumed file's part already on disk is read once to catch up; nothing is read twice.
class FileChecksum {
public:
    FileChecksum();

    // The hash of nothing: the file starts again from its first byte.
    void restart();
    // Makes the hash cover exactly the first `length` bytes of the file at `path`, reading from
    // disk only what it does not cover yet (everything, when it covers more than `length`).
    // False when the file could not be read that far; the checksum then cannot match.
    bool catchUp(const QString& path, qint64 length);
    // Adds bytes just written after those the hash covers.
    void add(QByteArrayView bytes);
    // Whether the bytes covered hash to `expectedHex` (64 hex digits, either case). False after
    // a failed catch-up.
    bool matches(const QString& expectedHex) const;

private:
    QCryptographicHash hash_;
    qint64 covered_ = 0;
    bool readable_ = true;
};
