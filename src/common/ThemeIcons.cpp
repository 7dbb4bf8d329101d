#include "common/ThemeIcons.h"

#include "common/FileTypes.h"

#include <QFileInfo>
#include <QMimeDatabase>
#include <QStandardPaths>
#include <array>

namespace {

std::array<QIcon, 3>& fallbacks() {
    static std::array<QIcon, 3> icons;
    return icons;
}

} // namespace

QIcon ThemeIcon(const QString& names, IconKind kind) {
    for (const QString& name : names.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QIcon themed = QIcon::fromTheme(name);
        if (!themed.isNull())
            return themed;
    }
    return fallbacks()[static_cast<std::size_t>(kind)];
}

QIcon FileTypeIcon(const QString& fileName) {
    static const QMimeDatabase database;
    const QMimeType type =
        database.mimeTypeForFile(TypeNameTail(fileName), QMimeDatabase::MatchExtension);
    return ThemeIcon(MimeIconNames(type.iconName(), type.genericIconName()) +
                         QStringLiteral(" text-x-generic"),
                     IconKind::File);
}

QString MimeIconNames(const QString& mimeIconName, const QString& genericIconName) {
    return mimeIconName + QLatin1Char(' ') + genericIconName;
}

void SetFallbackIcons(const QIcon& folder, const QIcon& drive, const QIcon& file) {
    fallbacks() = {folder, drive, file};
}

void UseInstalledIconTheme() {
    static const QString kTheme = QStringLiteral("Adwaita");
    if (!QIcon::themeName().isEmpty() && QIcon::themeName() != QLatin1String("hicolor"))
        return;
    const QString themeFolder =
        QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                               QStringLiteral("icons/") + kTheme, QStandardPaths::LocateDirectory);
    if (themeFolder.isEmpty())
        return;
    // Platforms without a desktop theme search Qt's own resources only.
    const QString iconsFolder = QFileInfo(themeFolder).path();
    if (!QIcon::themeSearchPaths().contains(iconsFolder))
        QIcon::setThemeSearchPaths(QIcon::themeSearchPaths() << iconsFolder);
    QIcon::setThemeName(kTheme);
}
