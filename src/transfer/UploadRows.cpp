#include "transfer/UploadRows.h"

#include "common/LocalPath.h"
#include "xml/ServerCatalogue.h"
#include "xml/ServerPath.h"

namespace {

UploadRow RowFor(const XmlNode& file) {
    const QString path = file.attribute("path");
    const NodePathText place = ServerCatalogue::NodePath(file);
    UploadRow row;
    row.name = LocalFileName(path);
    row.localPath = path;
    row.size = SizeValue(file.attribute("size"));
    row.xpath = place.xpath;
    row.serverFolder = place.parentPath;
    row.localDate = file.attribute("modifydate");
    row.typeName = file.attribute("type");
    return row;
}

void Collect(const XmlNode& parent, QList<UploadRow>& rows) {
    const int count = parent.childCount();
    for (int index = 0; index < count; ++index) {
        const XmlNode child = parent.child(index);
        if (child.attribute("transtype") == QLatin1String("local"))
            rows.append(RowFor(child));
        else
            Collect(child, rows);
    }
}

} // namespace

QList<UploadRow> CollectUploadRows(const ServerCatalogue& catalogue) {
    QList<UploadRow> rows;
    if (catalogue.isLoaded())
        Collect(catalogue.root(), rows);
    return rows;
}
