#include "transfer/UploadJob.h"

void UploadJob::addRow(const UploadRow& row) {
    rows_.append(row);
    bytesTotal_ += row.size;
}

void UploadJob::takeBack(qint64 bytes) {
    qint64 value = bytesSent.load();
    while (!bytesSent.compare_exchange_weak(value, std::max<qint64>(0, value - bytes))) {
    }
}

void UploadJob::setResult(qint16 code, const QString& message, qint32 systemError) {
    std::lock_guard lock(mutex_);
    if (resultSet_)
        return;
    resultSet_ = true;
    resultCode_ = code;
    resultMessage_ = message;
    systemError_ = systemError;
}

void UploadJob::overrideResult(qint16 code, const QString& message, qint32 systemError) {
    std::lock_guard lock(mutex_);
    resultSet_ = true;
    resultCode_ = code;
    resultMessage_ = message;
    systemError_ = systemError;
}

qint16 UploadJob::resultCode() const {
    std::lock_guard lock(mutex_);
    return resultCode_;
}

QString UploadJob::resultMessage() const {
    std::lock_guard lock(mutex_);
    return resultMessage_;
}

qint32 UploadJob::systemError() const {
    std::lock_guard lock(mutex_);
    return systemError_;
}

void UploadJob::addAccepted(const UploadedFile& file) {
    std::lock_guard lock(mutex_);
    accepted_.append(file);
}

QList<UploadedFile> UploadJob::accepted() const {
    std::lock_guard lock(mutex_);
    return accepted_;
}
