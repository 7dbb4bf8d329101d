#include "PageSite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <utility>

PageSite::PageSite() : server_(std::make_unique<TestServer>(QStringList{"--root", site_.path()})) {}

bool PageSite::write(const QString& name, const QByteArray& bytes) {
    const QString file = site_.filePath(name);
    QDir().mkpath(QFileInfo(file).path());
    QFile out(file);
    return out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(bytes) == bytes.size();
}

PageSite::Run PageSite::run(const QString& script, const QStringList& params) {
    const QString page = scratch_.filePath("page.js");
    QFile file(page);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    file.write(script.toUtf8());
    file.close();
    QStringList arguments{"--offscreen", "--size", "600x400",        "--timeout",
                          "60",          "--url",  url("/page.html")};
    for (const QString& param : params)
        arguments << "--param" << param;
    arguments << page;
    QProcess host;
    host.start(VANTREL_HOST_PATH, arguments);
    const bool ended = host.waitForFinished(90000);
    return {ended && host.exitStatus() == QProcess::NormalExit ? host.exitCode() : -1,
            QString::fromUtf8(host.readAllStandardOutput()),
            QString::fromUtf8(host.readAllStandardError())};
}

bool MakeLocalSample(const QString& folder) {
    QDir dir(folder);
    if (!dir.mkpath("p") || !dir.mkpath("q"))
        return false;
    for (const auto& [name, size] : {std::pair{"m.txt", 10}, std::pair{"n.txt", 2000}}) {
        QFile out(dir.filePath(name));
        if (!out.open(QIODevice::WriteOnly) || out.write(QByteArray(size, 'v')) != size)
            return false;
    }
    return true;
}
