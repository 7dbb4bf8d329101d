#pragma once

#include <QString>
#include <QUrl>

// What the control learns from the page that embeds it: the page's domain, the port of its
// location (empty when the location names none) and its cookie text.
struct HostPage {
    QString domain;
    QString port;
    QString cookie;

    static HostPage fromUrl(const QUrl& url, const QString& cookie) {
        return {url.host(), url.port() < 0 ? QString() : QString::number(url.port()), cookie};
    }
};
