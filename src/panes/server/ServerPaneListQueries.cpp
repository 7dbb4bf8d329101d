// The selected-row queries that script asks of the server list.
#include "common/Formatting.h"
#include "panes/server/ServerPaneController.h"
#include "xml/ServerCatalogue.h"
#include "xml/ServerPath.h"

namespace {

QString fileField(const XmlNode& element, const QString& field) {
    const QString transtype = element.attribute(QStringLiteral("transtype"));
    if (field == QLatin1String("transtype"))
        return transtype == QLatin1String("server") ? transtype : QStringLiteral("local");
    if (field == QLatin1String("path"))
        return ServerCatalogue::FileFolderPart(element);
    if (field == QLatin1String("pathname"))
        return element.attribute(QStringLiteral("path"));
    if (field == QLatin1String("size"))
        return CatalogueSizeText(SizeValue(element.attribute(QStringLiteral("size"))));
    if (field == QLatin1String("datetime"))
        return element.attribute(QStringLiteral("modifydate"));
    return element.attribute(field);
}

} // namespace

int ServerPaneController::selectedElementRow(int index) const {
    const std::vector<int>& rows = list_.selectedRows();
    const bool leadingParent =
        !rows.empty() && list_.row(rows.front()).kind == ServerRowKind::Parent;
    const qsizetype at = qsizetype(index) + (leadingParent ? 1 : 0);
    return index >= 0 && at < qsizetype(rows.size()) ? rows[at] : -1;
}

int ServerPaneController::selectedCount() {
    list_.deselectLeadingParent();
    return static_cast<int>(list_.selectedRows().size());
}

bool ServerPaneController::selectedIsFolder(int index) const {
    const int row = selectedElementRow(index);
    return row >= 0 && list_.row(row).kind == ServerRowKind::Folder;
}

QString ServerPaneController::selectedField(const QString& field, int index) const {
    const int at = selectedElementRow(index);
    if (at < 0)
        return QString();
    const ServerListRow& row = list_.row(at);
    const XmlNode& element = row.element;
    if (field == QLatin1String("name"))
        return element.attribute(QStringLiteral("name"));
    if (field == QLatin1String("parentfolderpath"))
        return selectedPath();
    if (field == QLatin1String("spath"))
        return ServerCatalogue::NodePath(element).parentPath;
    if (field == QLatin1String("xpath"))
        return ServerCatalogue::NodePath(element).xpath;
    if (row.kind == ServerRowKind::Folder) {
        if (field == QLatin1String("size"))
            return QStringLiteral("0");
        if (field == QLatin1String("transtype"))
            return QStringLiteral("local");
        return element.attribute(field);
    }
    return fileField(element, field);
}
