#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// Points XDG_CONFIG_HOME, XDG_CACHE_HOME and XDG_DATA_HOME (where the trash lives) at a fresh
// temporary folder for its lifetime, so a test never touches the real user's remembered
// values, working folders or trash.
class IsolatedHome {
public:
    IsolatedHome();
    ~IsolatedHome();
    IsolatedHome(const IsolatedHome&) = delete;
    IsolatedHome& operator=(const IsolatedHome&) = delete;

    QString path() const { return dir_.path(); }
    QString configHome() const { return dir_.path() + "/config"; }
    QString cacheHome() const { return dir_.path() + "/cache"; }
    QString dataHome() const { return dir_.path() + "/data"; }

private:
    QTemporaryDir dir_;
    QByteArray oldConfig_, oldCache_, oldData_;
    bool hadConfig_, hadCache_, hadData_;
};
