#include "common/ServerAddress.h"

bool HasHttpScheme(const QString& location) {
    const QString upper = location.toUpper();
    return upper.contains(QLatin1String("HTTP://")) || upper.contains(QLatin1String("HTTPS://"));
}

QString ResolveServerAddress(const QString& location, bool filePathDomainAuto,
                             const QString& hostBaseUrl) {
    if (filePathDomainAuto && !HasHttpScheme(location))
        return hostBaseUrl + location;
    return location;
}
