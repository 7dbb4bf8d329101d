#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Text rules of the request builder, private to the HTTP client.

// `line` as curl must be given it: "Name:" with an empty value becomes "Name;".
QByteArray CurlHeaderLine(const QByteArray& line);
// True when one of `headers` ("Name: value") carries `name`, in any letter case.
bool HasHeader(const QList<QByteArray>& headers, QByteArrayView name);
// The host part of `url`, empty when it cannot be parsed.
QString UrlHost(const QByteArray& url);
