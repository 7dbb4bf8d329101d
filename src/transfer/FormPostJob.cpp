#include "transfer/FormPostJob.h"

QString FormPostText::NoRequest(const QString& postPath) {
    return QStringLiteral("서버에서 '") + postPath +
           QStringLiteral("' POST 파일을 찾을 수 없습니다.");
}

void FormPostJob::setReply(const QString& reply) {
    std::lock_guard lock(replyLock_);
    reply_ = reply;
}

QString FormPostJob::reply() const {
    std::lock_guard lock(replyLock_);
    return reply_;
}
