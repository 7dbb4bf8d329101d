#include "transfer/HttpStatus.h"

#include "common/Prompter.h"
#include "common/WorkingFolders.h"

#include <QFile>

QString ErrorPagePath() {
    const QString folder = ErrorLogFolder();
    if (folder.isEmpty() || !EnsureFolder(folder))
        return {};
    return folder + "/server_errorlog.htm";
}

bool SaveErrorPage(QByteArrayView reply) {
    QByteArrayView page = reply.first(std::min(reply.size(), kErrorPageLimit));
    const qsizetype nul = page.indexOf('\0');
    if (nul >= 0)
        page = page.first(nul);
    const QString path = ErrorPagePath();
    if (path.isEmpty())
        return false;
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(page.data(), page.size()) == page.size();
}

HttpReplyHandler ErrorPageCollector(QByteArray* page) {
    return CollectReply(page, kErrorPageLimit);
}

qint16 GetHTTPErrCode(const ControlSettings& settings) {
    return settings.httpErrorCode;
}

QString GetHTTPErrText(const ControlSettings& settings) {
    return settings.httpErrorText;
}

QString GetHTTPMSErrTxt(const ControlSettings& settings) {
    return QString::number(settings.httpSystemError);
}

void ServerErrorPageView(Prompter& prompter) {
    const QString path = ErrorPagePath();
    if (path.isEmpty())
        return;
    prompter.showPage("Preview", path);
    QFile::remove(path);
}
