#include "common/TextCodec.h"
#include "settings/ControlSettings.h"
#include "xml/DocumentFetch.h"
#include "xml/ServerCatalogue.h"

#include <QSaveFile>

namespace {

// An attribute value that stays one value whatever the setting holds.
QString AttributeText(const QString& text) {
    return text.toHtmlEscaped().replace(QLatin1Char('\''), QStringLiteral("&apos;"));
}

QString DefaultText(const QString& encodingName, const QString& diskName) {
    return "<?xml version=\"1.0\" encoding=\"" + AttributeText(encodingName) + "\"?>" +
           "<MORVEXXML><FOLDER type='disk' name='" + AttributeText(diskName) +
           "'></FOLDER></MORVEXXML>";
}

const FetchFailureCodes kFetchFailures{kCatalogueBadStatus,   kCatalogueNoSession,
                                       kCatalogueNoAddress,   kCatalogueCannotCreate,
                                       kCatalogueWriteFailed, kCatalogueOtherFailure};

} // namespace

qint16 ServerCatalogue::Load(ControlSettings& settings, Prompter& prompter) {
    encodingName_ = settings.Charset.toUpper();
    diskName_ = settings.InitDiskName;
    QString downloaded;
    if (!settings.ServerFileListXML.isEmpty()) {
        const std::optional<qint16> failure =
            FetchForLoad(settings.ServerFileListXML, settings, kFetchFailures, &downloaded);
        if (failure)
            return *failure;
    }
    return LoadFile(downloaded, prompter) ? kCatalogueLoaded : kCatalogueNotLoaded;
}

bool ServerCatalogue::LoadFile(const QString& path, Prompter& prompter) {
    changed();
    switch (LoadFromFile(holder_, path, kCatalogueMessages, prompter, kMaxCatalogueDepth)) {
    case LoadOutcome::Loaded:
        return true;
    case LoadOutcome::Failed:
        return false;
    case LoadOutcome::NoText:
        return LoadFromText(holder_, DefaultText(encodingName_, diskName_),
                            kCatalogueDefaultMessages, prompter);
    }
    return false;
}

QString ServerCatalogue::AllXml(const QString& charset) const {
    const QString text = Xml();
    if (text.isEmpty())
        return {};
    return "<?xml version=\"1.0\" encoding=\"" + charset + "\"?>\r\n" + text;
}

bool ServerCatalogue::SaveToFile(const QString& path, const QString& charset) const {
    const QString text = AllXml(charset);
    if (text.isEmpty())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = ToBytes(text, charset);
    return file.write(bytes) == bytes.size() && file.commit();
}
