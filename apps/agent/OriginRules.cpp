#include "OriginRules.h"

#include <QUrl>

namespace {

const QString kLoopbackName = QStringLiteral("localhost");
const QString kLoopbackAddress = QStringLiteral("127.0.0.1");

QString normalFromUrl(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    if ((scheme != "http" && scheme != "https") || url.host().isEmpty())
        return {};
    const int defaultPort = scheme == "https" ? 443 : 80;
    const int port = url.port(defaultPort);
    QString host = url.host(QUrl::FullyEncoded).toLower();
    if (host.contains(':'))
        host = '[' + host + ']';
    QString origin = scheme + QStringLiteral("://") + host;
    if (port != defaultPort)
        origin += ':' + QString::number(port);
    return origin;
}

// One spelling per origin, for comparing.
QString comparable(const QString& origin) {
    QUrl url(origin);
    if (url.host() == kLoopbackName)
        url.setHost(kLoopbackAddress);
    return normalFromUrl(url);
}

} // namespace

QString NormalOrigin(const QString& text) {
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || !url.userInfo().isEmpty() || url.hasQuery() || url.hasFragment() ||
        !(url.path().isEmpty() || url.path() == "/"))
        return {};
    return normalFromUrl(url);
}

QString OriginOfPage(const QString& pageUrl) {
    const QUrl url(pageUrl, QUrl::StrictMode);
    return url.isValid() ? normalFromUrl(url) : QString();
}

bool SameOrigin(const QString& a, const QString& b) {
    const QString left = comparable(NormalOrigin(a));
    return !left.isEmpty() && left == comparable(NormalOrigin(b));
}

bool HostHeaderNamesAgent(const QByteArray& hostHeader, quint16 port) {
    const QString host = QString::fromLatin1(hostHeader).trimmed().toLower();
    const QString portText = QString::number(port);
    for (const QString& name : {kLoopbackAddress, kLoopbackName}) {
        if (host == name + ':' + portText || (port == 80 && host == name))
            return true;
    }
    return false;
}

OriginRules::OriginRules(OriginLists lists, bool canAsk)
    : lists_(std::move(lists)), canAsk_(canAsk) {}

bool OriginRules::listed(const QStringList& list, const QString& origin) {
    for (const QString& entry : list) {
        if (SameOrigin(entry, origin))
            return true;
    }
    return false;
}

OriginVerdict OriginRules::verdict(const QString& origin) const {
    if (NormalOrigin(origin).isEmpty())
        return OriginVerdict::Refused;
    if (listed(lists_.allowed, origin) || listed(lists_.trusted, origin))
        return OriginVerdict::Allowed;
    if (listed(lists_.refused, origin) || !canAsk_)
        return OriginVerdict::Refused;
    return OriginVerdict::Unknown;
}

bool OriginRules::isTrusted(const QString& origin) const {
    return listed(lists_.trusted, origin);
}
