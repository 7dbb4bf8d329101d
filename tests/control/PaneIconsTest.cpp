#include "IsolatedHome.h"
#include "common/ThemeIcons.h"
#include "control/ControlWindow.h"
#include "face/CMxVantrel2Ctrl.h"
#include "panes/local/LocalListModel.h"
#include "panes/server/ExtensionIcons.h"
#include "session/ControlSession.h"

#include <QIcon>
#include <QScopeGuard>
#include <gtest/gtest.h>

namespace {

QIcon localIcon(const LocalEntry& entry) {
    LocalListModel model;
    model.fill(LocalListModel::rowsFor({entry}, {}));
    return model.index(0, LocalListModel::NameColumn).data(Qt::DecorationRole).value<QIcon>();
}

LocalEntry entry(const QString& name, bool folder) {
    LocalEntry made;
    made.name = name;
    made.path = std::filesystem::path("/tmp") / name.toStdString();
    made.isFolder = folder;
    return made;
}

} // namespace

// Every pane row gets an icon with or without a desktop icon theme: the control brings a
// theme and falls back to the style's own icons when there is none at all.
TEST(PaneIcons, FoldersDrivesAndFilesHaveIconsWithAndWithoutATheme) {
    IsolatedHome home;
    const QString themeBefore = QIcon::themeName();
    const QStringList pathsBefore = QIcon::themeSearchPaths();
    const auto restore = qScopeGuard([&] {
        QIcon::setThemeSearchPaths(pathsBefore);
        QIcon::setThemeName(themeBefore);
    });
    CMxVantrel2Ctrl ctrl;
    ControlWindow window{ctrl.session()};
    ExtensionIcons server;

    // With the installed theme the types' own (or generic) icons show, not the last resort.
    const auto themed = [](const QIcon& icon, IconKind kind) {
        return !icon.isNull() && icon.cacheKey() != ThemeIcon({}, kind).cacheKey();
    };
    EXPECT_TRUE(themed(localIcon(entry("notes.txt", false)), IconKind::File));
    EXPECT_TRUE(themed(localIcon(entry("docs", true)), IconKind::Folder));
    EXPECT_TRUE(themed(server.fileIcon("photo.png"), IconKind::File));
    EXPECT_TRUE(themed(server.diskIcon(), IconKind::Drive));

    QIcon::setThemeSearchPaths({});
    QIcon::setThemeName(QStringLiteral("no-such-theme"));
    ExtensionIcons bare;
    for (const QIcon& icon :
         {bare.folderIcon(), bare.diskIcon(), bare.fileIcon("a.txt"), bare.fileIcon("no-extension"),
          localIcon(entry("a.bin", false)), localIcon(entry("docs", true))})
        EXPECT_FALSE(icon.isNull());
}
