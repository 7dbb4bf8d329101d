#include "settings/ControlSettings.h"

#include <variant>
#include <vector>

namespace {

using FieldRef = std::variant<bool*, qint16*, quint16*, qint32*, double*, QString*>;

struct PersistedField {
    const char* name;
    FieldRef field;
};

// The persisted properties in their fixed exchange order.
std::vector<PersistedField> persistedFields(ControlSettings& s, bool& ieBars, QString& ieRegion) {
    return {
        {"ServerListViewMode", &s.ServerListViewMode},
        {"LocalListViewMode", &s.LocalListViewMode},
        {"OnlyExt", &s.OnlyExt},
        {"exceptionExt", &s.exceptionExt},
        {"FilePathDomainAuto", &s.FilePathDomainAuto},
        {"UploadServerAutoDomain", &s.UploadServerAutoDomain},
        {"UploadServerAutoPORT", &s.UploadServerAutoPORT},
        {"ServerFileNameMidChar", &s.ServerFileNameMidChar},
        {"HttpServerName", &s.HttpServerName},
        {"HttpPORT", &s.HttpPORT},
        {"UploadPOSTFile", &s.UploadPOSTFile},
        {"HttpSendingCancelBut", &s.HttpSendingCancelBut},
        {"HttpDownloadCancelBut", &s.HttpDownloadCancelBut},
        {"RemoteFileRunType", &s.RemoteFileRunType},
        {"OverWriteMessage", &s.OverWriteMessage},
        {"DownStyle", &s.DownStyle},
        {"Charset", &s.Charset},
        {"ReceiveDown", &s.ReceiveDown},
        {"IsFolderViewAfterDown", &s.IsFolderViewAfterDown},
        {"DownPathFix", &s.DownPathFix},
        {"LocalUIType", &s.LocalUIType},
        {"SpBarColor", &s.SpBarColor},
        {"LocalTreeAutoSelect", &s.LocalTreeAutoSelect},
        {"ServerTreeAutoSelect", &s.ServerTreeAutoSelect},
        {"ServerFileListXML", &s.ServerFileListXML},
        {"IeControlBarAllVisiable", &ieBars},
        {"OneFileLimitsize", &s.OneFileLimitsize},
        {"DiskFreeSize", &s.DiskFreeSize},
        {"ServerFileOverWrite", &s.ServerFileOverWrite},
        {"UIConfigXML", &s.UIConfigXML},
        {"ServerFileOpenLimitsize", &s.ServerFileOpenLimitsize},
        {"ListFullRowSelect", &s.ListFullRowSelect},
        {"InitDiskName", &s.InitDiskName},
        {"IsOutItemDrag", &s.IsOutItemDrag},
        {"IsDragUpload", &s.IsDragUpload},
        {"IsDragDownload", &s.IsDragDownload},
        {"IsServerToServerDrag", &s.IsServerToServerDrag},
        {"IsServerTreeDragOff", &s.IsServerTreeDragOff},
        {"IsServerTreeRename", &s.IsServerTreeRename},
        {"IsServerListRename", &s.IsServerListRename},
        {"IsLocalTreeRename", &s.IsLocalTreeRename},
        {"IsLocalListRename", &s.IsLocalListRename},
        {"IeRoundRectRgn", &ieRegion},
        {"IsAttachFolder", &s.IsAttachFolder},
        {"IsDragDownAfterEvent", &s.IsDragDownAfterEvent},
        {"IsDownUrlEncode", &s.IsDownUrlEncode},
        // Additions beyond the classic set, after it so a classic container's order holds.
        {"DownRetryCount", &s.DownRetryCount},
        {"DownParallel", &s.DownParallel},
        {"DownRateLimitKBps", &s.DownRateLimitKBps},
        {"UpRateLimitKBps", &s.UpRateLimitKBps},
    };
}

// Each reader leaves the field untouched when the text does not parse as its type.
void readInto(bool* field, const QString& text) {
    const QString t = text.trimmed();
    if (t.compare("true", Qt::CaseInsensitive) == 0) {
        *field = true;
        return;
    }
    if (t.compare("false", Qt::CaseInsensitive) == 0) {
        *field = false;
        return;
    }
    bool ok = false;
    const double number = t.toDouble(&ok);
    if (ok)
        *field = number != 0.0;
}

void readInto(qint16* field, const QString& text) {
    bool ok = false;
    const qint16 value = text.trimmed().toShort(&ok);
    if (ok)
        *field = value;
}

void readInto(quint16* field, const QString& text) {
    bool ok = false;
    const quint16 value = text.trimmed().toUShort(&ok);
    if (ok)
        *field = value;
}

void readInto(qint32* field, const QString& text) {
    bool ok = false;
    const qint32 value = text.trimmed().toInt(&ok);
    if (ok)
        *field = value;
}

void readInto(double* field, const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (ok)
        *field = value;
}

void readInto(QString* field, const QString& text) {
    *field = text;
}

QString writeOut(const bool* field) {
    return *field ? "true" : "false";
}
QString writeOut(const qint16* field) {
    return QString::number(*field);
}
QString writeOut(const quint16* field) {
    return QString::number(*field);
}
QString writeOut(const qint32* field) {
    return QString::number(*field);
}
QString writeOut(const double* field) {
    return QString::number(*field, 'g', 17);
}
QString writeOut(const QString* field) {
    return *field;
}

const QString kVersionName = QStringLiteral("_Version");

} // namespace

void LoadPropertySet(const PropertySet& set, ControlSettings& settings,
                     bool& ieControlBarAllVisiable, QString& ieRoundRectRgn) {
    // Every version so far carries the same names, so older sets load as they are.
    for (const auto& [name, field] :
         persistedFields(settings, ieControlBarAllVisiable, ieRoundRectRgn)) {
        const auto found = set.constFind(QLatin1String(name));
        if (found != set.cend())
            std::visit([&](auto* f) { readInto(f, found.value()); }, field);
    }
}

QList<QPair<QString, QString>> SavePropertySet(const ControlSettings& settings,
                                               bool ieControlBarAllVisiable,
                                               const QString& ieRoundRectRgn) {
    ControlSettings copy = settings;
    QString region = ieRoundRectRgn;
    QList<QPair<QString, QString>> out;
    out.append(
        {kVersionName,
         QStringLiteral("%1.%2").arg(kPropertySetVersionMajor).arg(kPropertySetVersionMinor)});
    for (const auto& [name, field] : persistedFields(copy, ieControlBarAllVisiable, region))
        out.append({QLatin1String(name), std::visit([](auto* f) { return writeOut(f); }, field)});
    return out;
}

void TakeHostPageValues(ControlSettings& settings, const QString& domain, const QString& port,
                        const QString& cookie) {
    settings.hostBaseUrl = port.isEmpty() ? QStringLiteral("http://%1").arg(domain)
                                          : QStringLiteral("http://%1:%2").arg(domain, port);
    if (settings.UploadServerAutoDomain && settings.HttpServerName.isEmpty())
        settings.HttpServerName = domain;
    if (settings.UploadServerAutoPORT && !port.isEmpty() && settings.HttpPORT == 80) {
        bool ok = false;
        const quint16 number = port.toUShort(&ok);
        if (ok)
            settings.HttpPORT = number;
    }
    settings.documentCookie = cookie;
}
