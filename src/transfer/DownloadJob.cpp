#include "transfer/DownloadJob.h"

#include <QMutexLocker>
#include <algorithm>

int DownloadJob::addFolder(int parent, const QString& name) {
    folders_.push_back({name, parent});
    return static_cast<int>(folders_.size()) - 1;
}

int DownloadJob::addFolderPath(const QStringList& steps) {
    int folder = kTargetFolder;
    for (const QString& step : steps)
        folder = addFolder(folder, step);
    return folder;
}

DownloadRow& DownloadJob::addFolderRow(int folder) {
    DownloadRow& row = rows_.emplace_back();
    row.name = folders_[static_cast<size_t>(folder)].name;
    row.folder = folder;
    row.isFolder = true;
    return row;
}

DownloadRow& DownloadJob::addFolderRow(const QString& name, const QStringList& folderPath) {
    DownloadRow& row = addFolderRow(addFolderPath(folderPath));
    row.name = name;
    return row;
}

DownloadRow& DownloadJob::addFileRow(const QString& name, const QString& serverPath, qint64 size,
                                     int folder) {
    DownloadRow& row = rows_.emplace_back();
    row.name = name;
    row.serverPath = serverPath;
    row.size = std::max<qint64>(size, 0);
    row.folder = folder;
    bytesTotal += row.size;
    ++fileCount;
    return row;
}

DownloadRow& DownloadJob::addFileRow(const QString& name, const QString& serverPath, qint64 size,
                                     const QStringList& folderPath) {
    return addFileRow(name, serverPath, size, addFolderPath(folderPath));
}

QStringList DownloadJob::folderSteps(const DownloadRow& row) const {
    QStringList steps;
    for (int folder = row.folder; folder != kTargetFolder;
         folder = folders_[static_cast<size_t>(folder)].parent)
        steps.append(folders_[static_cast<size_t>(folder)].name);
    std::reverse(steps.begin(), steps.end());
    return steps;
}

QString DownloadJob::rowFolder(int index) const {
    QString folder = settings.downloadFolder;
    for (const QString& step : folderSteps(row(index)))
        folder += QLatin1Char('/') + step;
    return folder;
}

namespace {

bool UnderWay(int state) {
    return state == DownloadRow::Checking || state == DownloadRow::Receiving ||
           state == DownloadRow::Retrying;
}

} // namespace

int DownloadJob::newestRowUnderWay() const {
    int newest = -1;
    qint64 newestBegun = 0;
    for (const Lane& lane : lanes_) {
        const int index = lane.row;
        const qint64 begun = lane.begun;
        if (index >= 0 && begun > newestBegun && UnderWay(row(index).state)) {
            newest = index;
            newestBegun = begun;
        }
    }
    return newest;
}

void DownloadJob::cancelCurrentFile() {
    const int index = newestRowUnderWay();
    for (Lane& lane : lanes_) {
        if (index >= 0 && lane.row == index) {
            lane.cancelFile = true;
            lane.abort = true;
        }
    }
}

void DownloadJob::armFileCancel(int lane, int index) {
    Lane& armed = lanes_[static_cast<size_t>(lane)];
    armed.cancelFile = false;
    armed.abort = false;
    armed.row = index;
    armed.begun = ++rowsBegun_;
    if (isCancelled())
        armed.abort = true;
}

void DownloadJob::cancelRequested() {
    for (Lane& lane : lanes_)
        lane.abort = true;
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
