#include "transfer/TransferJob.h"

void TransferJob::cancel() {
    cancelled_.store(true);
    abort_.store(true);
    cancelRequested();
}

bool TransferJob::setResult(qint16 code, const QString& message, qint32 systemError) {
    std::lock_guard lock(mutex_);
    if (resultSet_)
        return false;
    resultSet_ = true;
    resultCode_ = code;
    resultMessage_ = message;
    systemError_ = systemError;
    return true;
}

bool TransferJob::hasResult() const {
    std::lock_guard lock(mutex_);
    return resultSet_;
}

qint16 TransferJob::resultCode() const {
    std::lock_guard lock(mutex_);
    return resultCode_;
}

QString TransferJob::resultMessage() const {
    std::lock_guard lock(mutex_);
    return resultMessage_;
}

qint32 TransferJob::systemError() const {
    std::lock_guard lock(mutex_);
    return systemError_;
}
