// Renaming a folder or file of the catalogue, and its record in the change journal.
#include "xml/CatalogueNames.h"
#include "xml/ChangeJournal.h"
#include "xml/ServerCatalogue.h"

using namespace CatalogueNames;

namespace {

// Only what stands inside a folder can be renamed: a top-level folder is a disk.
bool isRenameable(const XmlNode& node) {
    return (node.name() == kFolder || node.name() == kFile) && node.parent().name() == kFolder;
}

} // namespace

bool ServerCatalogue::RenameEntry(const XmlNode& node, const QString& name, ChangeJournal& journal,
                                  Prompter& prompter) {
    if (!isRenameable(node) || name.isEmpty())
        return false;
    const QString oldName = node.attribute(kName);
    const QString folderPath = NodePath(node).parentPath;
    if (!SetAttribute(node, kName, name))
        return false;
    // The query addresses the entry as the catalogue holds it from now on.
    const QString query = NodePath(node).xpath;
    const QString oldPath = folderPath + oldName;
    const QString newPath = folderPath + name;
    const bool recorded =
        node.name() == kFolder
            ? journal.AddMoveFolderRecord(MoveKind::Rename, oldPath, newPath, query, prompter)
            : journal.AddMoveFileRecord(MoveKind::Rename, oldPath, newPath, folderPath, query,
                                        JournalFileKind(node), prompter);
    if (!recorded)
        SetAttribute(node, kName, oldName);
    return recorded;
}

QString ServerCatalogue::JournalFileKind(const XmlNode& file) {
    return file.attribute(kTranstype) == kServer ? QStringLiteral("real")
                                                 : QStringLiteral("virtual");
}
