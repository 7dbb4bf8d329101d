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

// Every entry of kind "local" below `top`, in document order; the walk does not enter them
// and keeps no stack, so a catalogue of any depth or width costs one visit per node.
void Collect(const XmlNode& top, QList<UploadRow>& rows) {
    XmlNode node = top.firstChild();
    while (!node.isNull()) {
        const bool local = node.attribute("transtype") == QLatin1String("local");
        if (local)
            rows.append(RowFor(node));
        if (!local && !node.firstChild().isNull()) {
            node = node.firstChild();
            continue;
        }
        while (node.nextSibling().isNull()) {
            node = node.parent();
            if (node == top)
                return;
        }
        node = node.nextSibling();
    }
}

} // namespace

QList<UploadRow> CollectUploadRows(const ServerCatalogue& catalogue) {
    QList<UploadRow> rows;
    if (catalogue.isLoaded())
        Collect(catalogue.root(), rows);
    return rows;
}
