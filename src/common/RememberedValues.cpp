#include "common/RememberedValues.h"

#include <QDir>
#include <QSettings>

namespace {

QString valueName(RememberedValue value) {
    switch (value) {
    case RememberedValue::LocalUserCurrentPath:
        return QStringLiteral("LocalUserCurrentPath");
    case RememberedValue::ServerUserCurrentPath:
        return QStringLiteral("ServerUserCurrentPath");
    case RememberedValue::DownloadPath:
        return QStringLiteral("DownloadPath");
    }
    return {};
}

QString configHome() {
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return xdg;
    const QString home = qEnvironmentVariable("HOME");
    if (!home.isEmpty() && QDir::isAbsolutePath(home))
        return home + QStringLiteral("/.config");
    return {};
}

QString settingsFile() {
    const QString folder = SettingsFolder();
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/Vantrel.conf");
}

} // namespace

QString SettingsFolder() {
    const QString home = configHome();
    return home.isEmpty() ? QString() : home + QStringLiteral("/Morvex");
}

QString GetRemembered(RememberedValue value) {
    const QString file = settingsFile();
    if (file.isEmpty())
        return {};
    const QSettings settings(file, QSettings::IniFormat);
    return settings.value(valueName(value)).toString();
}

void SetRemembered(RememberedValue value, const QString& text) {
    const QString file = settingsFile();
    if (file.isEmpty())
        return;
    QSettings settings(file, QSettings::IniFormat);
    settings.setValue(valueName(value), text);
    settings.sync();
}
