#include "transfer/DownloadQueue.h"

#include "transfer/DownloadRules.h"

namespace {

void QueueElement(DownloadJob& job, const XmlNode& element, const QStringList& folderPath,
                  const QString& midChar);

void QueueFolder(DownloadJob& job, const XmlNode& folder, const QStringList& folderPath,
                 const QString& midChar) {
    const QString name = folder.attribute(QStringLiteral("name"));
    job.addFolderRow(name, folderPath + QStringList{name});
    const QStringList inside = folderPath + QStringList{name};
    for (int i = 0; i < folder.childCount(); ++i)
        QueueElement(job, folder.child(i), inside, midChar);
}

void QueueElement(DownloadJob& job, const XmlNode& element, const QStringList& folderPath,
                  const QString& midChar) {
    if (element.name() == QLatin1String("FOLDER")) {
        QueueFolder(job, element, folderPath, midChar);
        return;
    }
    if (element.name() != QLatin1String("FILE") ||
        element.attribute(QStringLiteral("transtype")) != QLatin1String("server"))
        return;
    const double size = element.attribute(QStringLiteral("size")).toDouble();
    job.addFileRow(ShortServerName(element.attribute(QStringLiteral("name")), midChar),
                   element.attribute(QStringLiteral("path")),
                   size > 0 ? static_cast<qint64>(size) : 0, folderPath);
}

} // namespace

void QueueDownloadElements(DownloadJob& job, const QList<XmlNode>& elements,
                           const QString& midChar) {
    for (const XmlNode& element : elements)
        QueueElement(job, element, {}, midChar);
}
