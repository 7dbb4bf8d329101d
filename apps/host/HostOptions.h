#pragma once

#include "settings/ControlSettings.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <QUrl>

// The command line of vantrel-host.
struct HostOptions {
    bool offscreen = false;
    QUrl pageUrl = QUrl(QStringLiteral("http://127.0.0.1/"));
    QString cookie;
    PropertySet params;
    QSize size = QSize(900, 600);
    QString screenshotFile;
    QString windowShotsFolder;
    int timeoutSeconds = 60;
    QString pageFile;
    bool helpRequested = false;
};

// Parses the arguments after the program name. Returns false with `error` set to a one-line
// message when an option is unknown, lacks its value or has a malformed one, or no page is named.
bool ParseHostOptions(const QStringList& args, HostOptions& options, QString& error);

// The text of --help.
QString HostUsage();
