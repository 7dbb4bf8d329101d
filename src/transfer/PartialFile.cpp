#include "transfer/PartialFile.h"

#include "platform/HttpClient.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cstdio>

namespace {

constexpr qint64 kMarkerLimit = 4096;
constexpr QByteArrayView kTagLine = "ETag: ";
constexpr QByteArrayView kDateLine = "Last-Modified: ";

QByteArray Sound(const QByteArray& value) {
    const QByteArray trimmed = value.trimmed();
    return HasControlCharacters(trimmed, false) ? QByteArray() : trimmed;
}

} // namespace

QByteArray PartialValidators::ifRange() const {
    // A weak tag cannot name a byte range (RFC 9110, If-Range).
    if (!entityTag.isEmpty() && !entityTag.startsWith("W/"))
        return entityTag;
    return lastModified;
}

QString PartialMarkerPath(const QString& target) {
    const QFileInfo info(target);
    return info.path() + QStringLiteral("/.") + info.fileName() +
           QStringLiteral(".vantrel-partial");
}

bool ReadPartialMarker(const QString& target, PartialValidators& validators) {
    validators = {};
    const QString path = PartialMarkerPath(target);
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isFile() || info.size() > kMarkerLimit)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : file.read(kMarkerLimit).split('\n')) {
        if (line.startsWith(kTagLine))
            validators.entityTag = Sound(line.mid(kTagLine.size()));
        else if (line.startsWith(kDateLine))
            validators.lastModified = Sound(line.mid(kDateLine.size()));
    }
    return true;
}

bool WritePartialMarker(const QString& target, const PartialValidators& validators) {
    // Written aside and renamed into place: a link planted at the marker is replaced, never
    // written through (as a save file that resolves links would).
    const QString path = PartialMarkerPath(target);
    QTemporaryFile file(path + QStringLiteral(".XXXXXX"));
    if (!file.open())
        return false;
    const QByteArray text = kTagLine.toByteArray() + Sound(validators.entityTag) + '\n' +
                            kDateLine.toByteArray() + Sound(validators.lastModified) + '\n';
    if (file.write(text) != text.size() || !file.flush())
        return false;
    if (::rename(QFile::encodeName(file.fileName()).constData(),
                 QFile::encodeName(path).constData()) != 0)
        return false;
    file.setAutoRemove(false);
    return true;
}

void RemovePartialMarker(const QString& target) {
    QFile::remove(PartialMarkerPath(target));
}
