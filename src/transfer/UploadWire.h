#pragma once

#include "transfer/UploadJob.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The bytes of one upload request, as the server scripts of this product expect them.

// The boundary as the Content-Type header names it; each part starts with "--" and this.
inline constexpr char kUploadBoundary[] = "---------------------------Morvex-Upload-GOOD";

// The accept types every post names.
inline constexpr char kAcceptLine[] =
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, "
    "application/x-shockwave-flash, application/vnd.ms-powerpoint, "
    "application/vnd.ms-excel, application/msword, */*";

// One form field as a part: the delimiter line, a head naming `name` as written, and `value`
// as written (a part's body ends only at the next delimiter).
QString MultipartFieldPart(const QString& name, const QString& value);
// The delimiter line that starts a part, without its line end.
QString MultipartDelimiter();
// The line that ends the last part's body and the whole body.
QByteArray MultipartClosing();

// The content type sent for a file of this name: by its extension (any letter case),
// "application/octet-stream" for any other.
QString MimeTypeForName(const QString& name);

// The request's object name: `postPath` with "?upinx=" (or "&upinx=" when it already has a
// query) and the row index.
QString UploadObjectName(const QString& postPath, int row);

// The request header lines in the order they are sent. The page's cookie is not among them:
// the HTTP session adds it, and only for the page's own host.
QList<QByteArray> UploadHeaders();

// `text` with '"', CR and LF percent-encoded, so it cannot end a quoted header value or a line
// of the multipart head; any other text is returned unchanged. Only for quoted parameters of a
// part's head (the file name); field bodies go as written.
QString EscapeHeadText(const QString& text);

// The text around the file's bytes: the "path" and "localpath" fields (their values as
// written), the file part's head (the file name escaped) and the closing line.
struct UploadPieces {
    QByteArray fields;
    QByteArray fileHead;
    QByteArray closing;

    // Content-Length of a request carrying `fileSize` bytes of file content.
    qint64 contentLength(qint64 fileSize) const {
        return fields.size() + fileHead.size() + fileSize + closing.size();
    }
};

// The pieces for `row`, texts in the page's character set.
UploadPieces BuildUploadPieces(const UploadRow& row, const QString& charset);
