#include "xml/UIConfig.h"

#include "common/Formatting.h"
#include "common/Prompter.h"
#include "settings/ControlSettings.h"
#include "xml/DocumentFetch.h"

namespace {

const QString kValue = QStringLiteral("VALUE");

// The leading decimal number of `text`, as the classic C conversion reads it; 0 when none.
int LeadingInt(const QString& text) {
    const QString trimmed = text.trimmed();
    qsizetype end = 0;
    if (end < trimmed.size() && (trimmed[end] == '-' || trimmed[end] == '+'))
        ++end;
    while (end < trimmed.size() && trimmed[end].isDigit() && end < 12)
        ++end;
    bool ok = false;
    const qlonglong value = trimmed.left(end).toLongLong(&ok);
    return ok ? static_cast<int>(qBound(0LL, value, 1LL << 20)) : 0;
}

Qt::Alignment ColumnAlignment(const QString& align) {
    if (align == QLatin1String("left"))
        return Qt::AlignLeft;
    if (align == QLatin1String("center"))
        return Qt::AlignHCenter;
    return Qt::AlignRight;
}

const FetchFailureCodes kFetchFailures{kUIConfigBadStatus,   kUIConfigNoSession,
                                       kUIConfigNoAddress,   kUIConfigCannotCreate,
                                       kUIConfigWriteFailed, kUIConfigOtherFailure};

} // namespace

UIConfigLoadResult UIConfig::FetchAndLoad(ControlSettings& settings, Prompter& prompter) {
    if (settings.UIConfigXML.isEmpty()) {
        prompter.message(QString(), QStringLiteral("UI config XML not found."));
        return {kUIConfigLoaded, false};
    }
    QString path;
    const std::optional<qint16> failure =
        FetchForLoad(settings.UIConfigXML, settings, kFetchFailures, &path);
    if (failure)
        return {*failure, false};
    if (!Load(path, prompter))
        return {kUIConfigNotLoaded, false};
    ApplyToSettings(settings);
    return {kUIConfigLoaded, true};
}

bool UIConfig::Load(const QString& path, Prompter& prompter) {
    switch (LoadFromFile(holder_, path, kUIConfigMessages, prompter)) {
    case LoadOutcome::Loaded:
        return true;
    case LoadOutcome::NoText:
        holder_.document = XmlDocument();
        return true;
    case LoadOutcome::Failed:
        return false;
    }
    return false;
}

XmlNode UIConfig::Find(const QString& key) const {
    return holder_.root().selectFirst(key);
}

QString UIConfig::GetValue(const QString& key, const QString& attribute) const {
    return Find(key).attribute(attribute);
}

int UIConfig::GetChildCount(const QString& key) const {
    return Find(key).selectAll(QStringLiteral("*")).count();
}

XmlNode UIConfig::GetChild(const QString& key, int index) const {
    return Find(key).selectAll(QStringLiteral("*")).at(index);
}

QColor UIConfig::Color(const ColorKey& key) const {
    return Color(key.path, QColor(key.fallback));
}

QColor UIConfig::Color(const char* key, const QColor& fallback) const {
    return ParseColor(GetValue(QString::fromLatin1(key), kValue), fallback);
}

QList<ColumnSpec> UIConfig::Columns(const char* key) const {
    QList<ColumnSpec> columns;
    for (const XmlNode& child : Find(QString::fromLatin1(key)).selectAll(QStringLiteral("*"))) {
        columns.append({child.attribute(QStringLiteral("name")),
                        ColumnAlignment(child.attribute(QStringLiteral("align"))),
                        LeadingInt(child.attribute(QStringLiteral("width")))});
    }
    return columns;
}

DialogTexts UIConfig::Dialog(const char* section) const {
    return DialogTexts(*this, QString::fromLatin1(section));
}

void UIConfig::ApplyToSettings(ControlSettings& settings) const {
    settings.newFolderName = GetValue(QString::fromLatin1(UIKey::NewFolderName), kValue);
    settings.dateFormat = GetValue(QString::fromLatin1(UIKey::DateFormat), kValue);
    settings.folderBrowseTitle = GetValue(QString::fromLatin1(UIKey::CommSelFolderWin), kValue);
}

QString DialogTexts::text(const QString& label) const {
    return config_->GetValue(section_ + label, kValue);
}
