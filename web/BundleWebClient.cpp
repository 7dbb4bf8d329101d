// Writes the page client a site serves: web/vantrel.js with Qt's own qwebchannel.js put in
// at its marker line. Qt keeps that script as a resource of the WebChannel library, so the
// client always matches the Qt version the agent is built with.
#include <QCoreApplication>
#include <QFile>
#include <QWebChannel>
#include <cstdio>

namespace {

const QByteArray kMarker = "/* qwebchannel.js */";

bool readFile(const QString& path, QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    bytes = file.readAll();
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("usage: vantrel-bundle-webclient TEMPLATE OUTPUT\n", stderr);
        return 2;
    }
    // Linking alone may not load the library; an instance makes sure its resources register.
    const QWebChannel channel;
    QByteArray client, channelScript;
    if (!readFile(QString::fromLocal8Bit(argv[1]), client) ||
        !readFile(QStringLiteral(":/qtwebchannel/qwebchannel.js"), channelScript)) {
        std::fputs("vantrel-bundle-webclient: cannot read the template or qwebchannel.js\n",
                   stderr);
        return 1;
    }
    if (client.count(kMarker) != 1) {
        std::fputs("vantrel-bundle-webclient: the template needs its marker line once\n", stderr);
        return 1;
    }
    client.replace(kMarker, channelScript);
    QFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly) || out.write(client) != client.size()) {
        std::fputs("vantrel-bundle-webclient: cannot write the output\n", stderr);
        return 1;
    }
    return 0;
}
