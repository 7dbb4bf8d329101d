#include "transfer/DownloadJob.h"

#include <QMutexLocker>

DownloadRow& DownloadJob::addFolderRow(const QString& name, const QStringList& folderPath) {
    DownloadRow& row = rows_.emplace_back();
    row.name = name;
    row.folderPath = folderPath;
    row.isFolder = true;
    return row;
}

DownloadRow& DownloadJob::addFileRow(const QString& name, const QString& serverPath, qint64 size,
                                     const QStringList& folderPath) {
    DownloadRow& row = rows_.emplace_back();
    row.name = name;
    row.serverPath = serverPath;
    row.size = std::max<qint64>(size, 0);
    row.folderPath = folderPath;
    bytesTotal += row.size;
    ++fileCount;
    return row;
}

QString DownloadJob::rowFolder(int index) const {
    QString folder = settings.downloadFolder;
    for (const QString& step : row(index).folderPath)
        folder += QLatin1Char('/') + step;
    return folder;
}

void DownloadJob::cancelCurrentFile() {
    cancelFile = true;
    abortTransfer = true;
}

void DownloadJob::cancelEverything() {
    cancelAll = true;
    abortTransfer = true;
}

void DownloadJob::setStatusLine(const QString& text) {
    QMutexLocker lock(&textLock_);
    statusLine_ = text;
}

QString DownloadJob::statusLine() const {
    QMutexLocker lock(&textLock_);
    return statusLine_;
}

void DownloadJob::setCountLine(const QString& text) {
    QMutexLocker lock(&textLock_);
    countLine_ = text;
}

QString DownloadJob::countLine() const {
    QMutexLocker lock(&textLock_);
    return countLine_;
}

void DownloadJob::setResult(qint16 code, const QString& message, qint32 systemError) {
    QMutexLocker lock(&textLock_);
    resultCode_ = code;
    systemError_ = systemError;
    resultMessage_ = message;
}

QString DownloadJob::resultMessage() const {
    QMutexLocker lock(&textLock_);
    return resultMessage_;
}
