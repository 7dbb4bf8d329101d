#include "xml/DocumentFetch.h"

#include "common/ServerAddress.h"
#include "common/WorkingFolders.h"
#include "platform/FetchToFile.h"
#include "settings/ControlSettings.h"
#include "xml/DocumentHolder.h"

#include <QFile>
#include <QRandomGenerator>
#include <QUrl>
#include <chrono>

namespace {

constexpr int kMaxTempIndex = 100000;

QString TempName(int random, qint32 ticks, int index) {
    return QStringLiteral("_%1_%2[%3].xml").arg(random).arg(ticks).arg(index);
}

qint64 DeadlineMilliseconds() {
    bool ok = false;
    const qint64 shortened = qEnvironmentVariable(kDocumentDeadlineVariable).toLongLong(&ok);
    if (ok && shortened > 0)
        return shortened;
    return std::chrono::milliseconds(kDocumentFetchDeadline).count();
}

// Sets the error triple for a fetch ended by the size or time limit; other codes leave it.
void ReportFetchLimit(ControlSettings& settings, qint16 loadCode, qint16 fetchCode,
                      const QString& location) {
    if (fetchCode == kFetchTooLarge)
        settings.setHttpError(loadCode, 0,
                              QStringLiteral("\"%1\" 문서가 %2MB보다 커서 받지 않았습니다.")
                                  .arg(location)
                                  .arg(kMaxDocumentBytes / (1024 * 1024)));
    else if (fetchCode == kFetchTimedOut)
        settings.setHttpError(loadCode, 0,
                              QStringLiteral("\"%1\" 문서를 %2초 안에 다 받지 못했습니다.")
                                  .arg(location)
                                  .arg(qMax<qint64>(DeadlineMilliseconds() / 1000, 1)));
}

// The load's code for a failed fetch.
qint16 LoadCodeFor(qint16 fetchCode, const FetchFailureCodes& codes) {
    switch (fetchCode) {
    case kFetchBadStatus:
        return codes.badStatus;
    case kFetchNoSession:
        return codes.noSession;
    case kFetchNoAddress:
        return codes.noAddress;
    case kFetchCannotCreate:
        return codes.cannotCreate;
    case kFetchWriteFailed:
        return codes.writeFailed;
    default:
        return codes.otherFailure;
    }
}

} // namespace

QString ResolveLocation(const QString& location, const QString& hostBaseUrl) {
    return HasHttpScheme(location) ? location : hostBaseUrl + location;
}

QString MakeTempPath() {
    const QString folder = DataFolder();
    if (folder.isEmpty())
        return {};
    const int random = QRandomGenerator::global()->bounded(1000);
    const auto uptime = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    const auto ticks = static_cast<qint32>(uptime.count()); // wraps like a 32-bit tick count
    for (int index = 0; index < kMaxTempIndex; ++index) {
        const QString path = folder + '/' + TempName(random, ticks, index);
        if (CreateExclusiveFile(path))
            return path;
        if (!QFile::exists(path))
            return {}; // not a name clash: the folder refuses new files
    }
    return {};
}

qint16 FetchDocument(const QString& location, const ControlSettings& settings, QString* tempPath) {
    tempPath->clear();
    const QString path = MakeTempPath();
    if (path.isEmpty())
        return kFetchCannotCreate;
    FetchOptions options;
    options.pageHost = QUrl(settings.hostBaseUrl).host();
    options.pageCookie = settings.documentCookie.toUtf8();
    options.maxBytes = kMaxDocumentBytes;
    options.timeouts.totalMilliseconds = DeadlineMilliseconds();
    const qint16 code = FetchToFile(ResolveLocation(location, settings.hostBaseUrl), path, options);
    if (code != kFetchOk) {
        QFile::remove(path);
        return code;
    }
    *tempPath = path;
    return kFetchOk;
}

std::optional<qint16> FetchForLoad(const QString& location, ControlSettings& settings,
                                   const FetchFailureCodes& codes, QString* tempPath) {
    const qint16 fetched = FetchDocument(location, settings, tempPath);
    if (fetched == kFetchOk)
        return std::nullopt;
    const qint16 code = LoadCodeFor(fetched, codes);
    ReportFetchLimit(settings, code, fetched, location);
    return code;
}
