#include "transfer/FileChecksum.h"

#include <QFile>

namespace {

constexpr qint64 kReadPiece = 256 * 1024;

} // namespace

FileChecksum::FileChecksum() : hash_(QCryptographicHash::Sha256) {}

void FileChecksum::restart() {
    hash_.reset();
    covered_ = 0;
    readable_ = true;
}

bool FileChecksum::catchUp(const QString& path, qint64 length) {
    if (covered_ == length && readable_)
        return true;
    if (covered_ > length || !readable_)
        restart();
    QFile file(path);
    readable_ = file.open(QIODevice::ReadOnly) && file.seek(covered_);
    while (readable_ && covered_ < length) {
        const QByteArray piece = file.read(std::min(kReadPiece, length - covered_));
        readable_ = !piece.isEmpty();
        add(piece);
    }
    return readable_;
}

void FileChecksum::add(QByteArrayView bytes) {
    hash_.addData(bytes);
    covered_ += bytes.size();
}

bool FileChecksum::matches(const QString& expectedHex) const {
    return readable_ && expectedHex.size() == 64 &&
           QString::fromLatin1(hash_.result().toHex()).compare(expectedHex, Qt::CaseInsensitive) ==
               0;
}
