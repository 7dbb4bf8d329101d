#include "transfer/FormPostWire.h"

#include "common/TextCodec.h"

namespace {

bool IsIpv6Literal(const QString& server) {
    if (server.size() < 3 || !server.startsWith('[') || !server.endsWith(']'))
        return false;
    for (QChar c : server.mid(1, server.size() - 2)) {
        if (!(c.isDigit() || (c.toLower() >= 'a' && c.toLower() <= 'f') || c == ':' || c == '.'))
            return false;
    }
    return true;
}

} // namespace

QList<QByteArray> FormPostHeaders(bool multipart) {
    return {
        kAcceptLine,
        "Accept-Language: ko",
        multipart ? QByteArray("Content-Type: multipart/form-data; boundary=") + kUploadBoundary
                  : QByteArray("Content-Type: application/x-www-form-urlencoded"),
    };
}

QByteArray FormPostUrl(const QString& server, quint16 port, const QString& postPath,
                       const QString& charset) {
    const QString object = postPath.startsWith('/') ? postPath : '/' + postPath;
    return "http://" + server.toUtf8() + ':' + QByteArray::number(port) + ToBytes(object, charset);
}

bool IsHostName(const QString& server) {
    if (IsIpv6Literal(server))
        return true;
    if (server.isEmpty())
        return false;
    for (QChar c : server) {
        if (!(c.isLetterOrNumber() || c == '-' || c == '_' || c == '.'))
            return false;
    }
    return true;
}

bool IsSafeFieldName(const QString& name) {
    return !name.contains('"') && !name.contains('\r') && !name.contains('\n');
}

UploadPieces BuildFormPostPieces(const QStringList& names, const QStringList& values,
                                 const QString& xmlFileName, const QString& charset) {
    QString fields;
    for (qsizetype i = 0; i < names.size(); ++i)
        fields += MultipartFieldPart(names[i], values.value(i));
    UploadPieces pieces;
    pieces.fields = ToBytes(fields, charset);
    pieces.fileHead =
        ToBytes(MultipartDelimiter() +
                    "\r\nContent-Disposition: form-data; name=\"file_attach\"; "
                    "filename=\"" +
                    EscapeHeadText(xmlFileName) + "\"\r\nContent-Type: text/xml\r\n\r\n",
                charset);
    pieces.closing = MultipartClosing();
    return pieces;
}
