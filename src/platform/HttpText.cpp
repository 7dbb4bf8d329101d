#include "platform/HttpText.h"

#include "platform/HttpClient.h"

#include <curl/curl.h>

QByteArray EncodeUrlBytes(const QByteArray& url) {
    static const char hex[] = "0123456789ABCDEF";
    QByteArray encoded;
    encoded.reserve(url.size());
    for (char c : url) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == ' ' || byte >= 0x80) {
            encoded += '%';
            encoded += hex[byte >> 4];
            encoded += hex[byte & 0x0F];
        } else {
            encoded += c;
        }
    }
    return encoded;
}

bool HasControlCharacters(QByteArrayView text, bool allowTab) {
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\t' && allowTab)
            continue;
        if (byte < 0x20 || byte == 0x7F)
            return true;
    }
    return false;
}

QByteArray CurlHeaderLine(const QByteArray& line) {
    const qsizetype colon = line.indexOf(':');
    if (colon <= 0 || !line.mid(colon + 1).trimmed().isEmpty())
        return line;
    // curl drops "Name:" lines; "Name;" is its way of sending the header with an empty value.
    return line.left(colon).trimmed() + ';';
}

bool HasHeader(const QList<QByteArray>& headers, QByteArrayView name) {
    for (const QByteArray& line : headers) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString UrlHost(const QByteArray& url) {
    CURLU* parsed = curl_url();
    if (!parsed)
        return {};
    QString host;
    char* part = nullptr;
    if (curl_url_set(parsed, CURLUPART_URL, url.constData(), CURLU_GUESS_SCHEME) == CURLUE_OK &&
        curl_url_get(parsed, CURLUPART_HOST, &part, 0) == CURLUE_OK) {
        host = QString::fromUtf8(part);
        curl_free(part);
    }
    curl_url_cleanup(parsed);
    return host;
}
