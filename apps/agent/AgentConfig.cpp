#include "AgentConfig.h"

#include "common/RememberedValues.h"

#include <QSettings>

namespace {

const QString kPortKey = QStringLiteral("agent/port");
const QString kAllowedKey = QStringLiteral("origins/allowed");
const QString kTrustedKey = QStringLiteral("origins/trusted");
const QString kRefusedKey = QStringLiteral("origins/refused");

QStringList readList(const QSettings& settings, const QString& key) {
    QStringList list;
    for (const QString& entry : settings.value(key).toStringList()) {
        if (!entry.trimmed().isEmpty())
            list.append(entry.trimmed());
    }
    return list;
}

} // namespace

AgentConfig::AgentConfig(QString file) : file_(std::move(file)) {}

QString AgentConfig::defaultFile() {
    const QString folder = SettingsFolder();
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/VantrelAgent.conf");
}

quint16 AgentConfig::port() const {
    if (file_.isEmpty())
        return kDefaultAgentPort;
    const QSettings settings(file_, QSettings::IniFormat);
    bool ok = false;
    const int port = settings.value(kPortKey).toInt(&ok);
    return ok && port > 0 && port <= 65535 ? static_cast<quint16>(port) : kDefaultAgentPort;
}

OriginLists AgentConfig::origins() const {
    if (file_.isEmpty())
        return {};
    const QSettings settings(file_, QSettings::IniFormat);
    return {readList(settings, kAllowedKey), readList(settings, kTrustedKey),
            readList(settings, kRefusedKey)};
}

void AgentConfig::remember(const QString& origin, bool allowed) const {
    if (file_.isEmpty())
        return;
    QSettings settings(file_, QSettings::IniFormat);
    const QString key = allowed ? kAllowedKey : kRefusedKey;
    QStringList list = readList(settings, key);
    if (!list.contains(origin))
        list.append(origin);
    settings.setValue(key, list);
    settings.sync();
}
