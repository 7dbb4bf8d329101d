#include "transfer/DownloadQueue.h"

#include "transfer/DownloadRules.h"

#include <vector>

namespace {

// A folder being queued: the next of its children to queue and the job's number for it.
struct OpenFolder {
    XmlNode next;
    int folder;
};

// Queues `element` inside `folder`; a FOLDER also opens on `open` so its children follow it.
void QueueElement(DownloadJob& job, const XmlNode& element, int folder, const QString& midChar,
                  std::vector<OpenFolder>& open) {
    const QString tag = element.name();
    if (tag == QLatin1String("FOLDER")) {
        const int inside = job.addFolder(folder, element.attribute(QStringLiteral("name")));
        job.addFolderRow(inside);
        open.push_back({element.firstChild(), inside});
        return;
    }
    if (tag != QLatin1String("FILE") ||
        element.attribute(QStringLiteral("transtype")) != QLatin1String("server"))
        return;
    const double size = element.attribute(QStringLiteral("size")).toDouble();
    DownloadRow& row =
        job.addFileRow(ShortServerName(element.attribute(QStringLiteral("name")), midChar),
                       element.attribute(QStringLiteral("path")),
                       size > 0 ? static_cast<qint64>(size) : 0, folder);
    row.sha256 = element.attribute(QStringLiteral("sha256")).trimmed();
}

} // namespace

void QueueDownloadElements(DownloadJob& job, const QList<XmlNode>& elements,
                           const QString& midChar) {
    std::vector<OpenFolder> open;
    for (const XmlNode& element : elements) {
        QueueElement(job, element, DownloadJob::kTargetFolder, midChar, open);
        while (!open.empty()) {
            OpenFolder& innermost = open.back();
            if (innermost.next.isNull()) {
                open.pop_back();
                continue;
            }
            const XmlNode child = innermost.next;
            const int folder = innermost.folder;
            innermost.next = child.nextSibling();
            QueueElement(job, child, folder, midChar, open);
        }
    }
}
