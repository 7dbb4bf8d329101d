#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// Points XDG_CONFIG_HOME and XDG_CACHE_HOME at a fresh temporary folder for its lifetime, so a
// test never reads or writes the real user's remembered values and working folders.
class IsolatedHome {
public:
    IsolatedHome();
    ~IsolatedHome();
    IsolatedHome(const IsolatedHome&) = delete;
    IsolatedHome& operator=(const IsolatedHome&) = delete;

    QString path() const { return dir_.path(); }
    QString configHome() const { return dir_.path() + "/config"; }
    QString cacheHome() const { return dir_.path() + "/cache"; }

private:
    QTemporaryDir dir_;
    QByteArray oldConfig_, oldCache_;
    bool hadConfig_, hadCache_;
};
