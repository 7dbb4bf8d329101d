// Any bytes as a downloaded catalogue: the load with its depth limit, the server tree built
// from it and dropped again, and the queries script runs on every disk.
#include "common/SilentPrompter.h"
#include "panes/server/ServerTreeModel.h"
#include "xml/ServerCatalogue.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

const QString& WorkFile() {
    static QTemporaryDir dir;
    static const QString path = dir.filePath("catalogue.xml");
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    QFile file(WorkFile());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.close();
    SilentPrompter prompter;
    ServerCatalogue catalogue;
    if (!catalogue.LoadFile(WorkFile(), prompter))
        return 0;
    ServerTreeModel tree;
    tree.build(catalogue.root());
    for (int disk = 0; disk < catalogue.GetDiskCount(); ++disk) {
        const QString name = catalogue.GetDiskName(disk);
        catalogue.GetServerListFolderCount(name, true);
        catalogue.GetServerListFileItem(name, true, QStringLiteral("path"), 0);
        catalogue.GetServerPathFileSize(QStringLiteral("all"), name);
    }
    for (const auto& top : tree.topLevel())
        ServerTreeModel::serverPath(top.get());
    tree.clear();
    catalogue.AllXml(QStringLiteral("UTF-8"));
    return 0;
}
