#pragma once

#include "transfer/UploadWire.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The bytes of a form post, as the server scripts of this product expect them.

// The request header lines in the order they are sent. Neither the cookie (the HTTP session
// adds it, for the page's own host only) nor Accept-Encoding (sent with the request's
// acceptCompressed) is among them.
QList<QByteArray> FormPostHeaders(bool multipart);

// The request's address: the script path gets a leading "/" when it lacks one and goes in the
// page's character set.
QByteArray FormPostUrl(const QString& server, quint16 port, const QString& postPath,
                       const QString& charset);

// True when `server` can stand as the host of an address as it is: a name of letters, digits,
// "-", "_" and ".", or an IPv6 address in brackets. Anything that would change the address's
// meaning ("/", "@", ":", "?", "#", spaces, control characters) makes it false.
bool IsHostName(const QString& server);

// True when `name` can go inside the quoted name of a part's head: no double quote, CR or LF.
bool IsSafeFieldName(const QString& name);

// The text around the XML file: every field as a part, the file part's head naming
// `xmlFileName` (escaped) as "text/xml", and the closing line; texts in the page's character
// set.
UploadPieces BuildFormPostPieces(const QStringList& names, const QStringList& values,
                                 const QString& xmlFileName, const QString& charset);
