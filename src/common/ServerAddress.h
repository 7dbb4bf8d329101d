#pragma once

#include <QString>

// True when `location` carries an http:// or https:// scheme anywhere, in any letter case.
// Every "is this address absolute?" decision goes through here.
bool HasHttpScheme(const QString& location);

// `hostBaseUrl` + `location` when `filePathDomainAuto` is set and `location` has no scheme;
// otherwise `location` unchanged.
QString ResolveServerAddress(const QString& location, bool filePathDomainAuto,
                             const QString& hostBaseUrl);
