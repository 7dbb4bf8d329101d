#include "transfer/UploadWire.h"

#include "common/TextCodec.h"

#include <QHash>

QString MultipartDelimiter() {
    return QStringLiteral("--") + QLatin1String(kUploadBoundary);
}

QString MultipartFieldPart(const QString& name, const QString& value) {
    return MultipartDelimiter() + "\r\nContent-Disposition: form-data; name=\"" + name +
           "\"\r\n\r\n" + value + "\r\n";
}

QByteArray MultipartClosing() {
    return "\r\n" + MultipartDelimiter().toLatin1() + "--\r\n";
}

QString MimeTypeForName(const QString& name) {
    static const QHash<QString, QString> types{
        {"gif", "image/gif"},
        {"jpg", "image/pjpeg"},
        {"jpeg", "image/pjpeg"},
        {"bmp", "image/bmp"},
        {"txt", "text/plain"},
        {"htm", "text/html"},
        {"html", "text/html"},
        {"xml", "text/xml"},
        {"zip", "application/x-zip-compressed"},
        {"avi", "video/avi"},
        {"doc", "application/msword"},
        {"xls", "application/vnd.ms-excel"},
        {"ppt", "application/vnd.ms-powerpoint"},
        {"mp3", "audio/mpeg"},
        {"pdf", "application/pdf"},
    };
    const QString lower = name.toLower();
    const qsizetype dot = lower.lastIndexOf('.');
    if (dot < 0)
        return QStringLiteral("application/octet-stream");
    return types.value(lower.mid(dot + 1), QStringLiteral("application/octet-stream"));
}

QString UploadObjectName(const QString& postPath, int row) {
    return postPath + (postPath.contains('?') ? "&upinx=" : "?upinx=") + QString::number(row);
}

QList<QByteArray> UploadHeaders() {
    return {
        kAcceptLine,
        "Accept-Language: ko",
        QByteArray("Content-Type: multipart/form-data; boundary=") + kUploadBoundary,
    };
}

QString EscapeHeadText(const QString& text) {
    QString escaped = text;
    escaped.replace('"', "%22").replace('\r', "%0D").replace('\n', "%0A");
    return escaped;
}

UploadPieces BuildUploadPieces(const UploadRow& row, const QString& charset) {
    UploadPieces pieces;
    pieces.fields = ToBytes(MultipartFieldPart("path", row.serverFolder) +
                                MultipartFieldPart("localpath", row.localPath),
                            charset);
    pieces.fileHead = ToBytes(MultipartDelimiter() +
                                  "\r\nContent-Disposition: form-data; name=\"file_attach\"; "
                                  "filename=\"" +
                                  EscapeHeadText(row.localPath) +
                                  "\"\r\nContent-Type: " + MimeTypeForName(row.name) + "\r\n\r\n",
                              charset);
    pieces.closing = MultipartClosing();
    return pieces;
}
