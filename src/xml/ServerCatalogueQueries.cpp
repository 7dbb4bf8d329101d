#include "common/Formatting.h"
#include "xml/CatalogueNames.h"
#include "xml/ServerCatalogue.h"
#include "xml/ServerPath.h"
#include "xml/XPathText.h"

using namespace CatalogueNames;

namespace {

const QString kAll = QStringLiteral("all");

QString ParentPath(const XmlNode& node) {
    QString path;
    for (XmlNode up = node.parent(); up; up = up.parent()) {
        const QString name = up.attribute(kName);
        if (name.isEmpty())
            break;
        path.prepend(name + '/');
    }
    return path;
}

// The fields of one file as the item query names them; empty when the field gives nothing.
QString FileField(const XmlNode& file, const QString& dataName) {
    if (dataName == kName)
        return file.attribute(kName);
    if (dataName == kPath)
        return ServerCatalogue::FileFolderPart(file);
    if (dataName == QLatin1String("pathname"))
        return file.attribute(kPath);
    if (dataName == QLatin1String("parentfolderpath"))
        return ParentPath(file);
    if (dataName == kSize)
        return file.attribute(kSize);
    if (dataName == kType)
        return file.attribute(kType);
    if (dataName == QLatin1String("datetime"))
        return file.attribute(QStringLiteral("modifydate"));
    if (dataName == kTranstype)
        return file.attribute(kTranstype) == kServer ? kServer : kLocal;
    return {};
}

QString FolderField(const XmlNode& folder, const QString& dataName) {
    if (dataName == kName)
        return folder.attribute(kName);
    if (dataName == QLatin1String("parentfolderpath"))
        return ParentPath(folder);
    if (dataName == kSize)
        return QStringLiteral("0");
    return {};
}

// A named field, falling back to the attribute of that name when the field is empty.
QString ItemField(const XmlNode& node, bool file, const QString& dataName) {
    if (node.isNull() || dataName.isEmpty())
        return {};
    const QString value = file ? FileField(node, dataName) : FolderField(node, dataName);
    return value.isEmpty() ? node.attribute(dataName) : value;
}

bool CountsForKind(const XmlNode& file, const QString& sizeKind) {
    if (sizeKind == kAll)
        return true;
    return file.attribute(kTranstype) == sizeKind;
}

bool IsSizeKind(const QString& sizeKind) {
    return sizeKind == kAll || sizeKind == kServer || sizeKind == kLocal;
}

double SizeBelow(const XmlNode& folder, const QString& sizeKind) {
    double total = 0.0;
    for (const XmlNode& file : folder.descendants(kFile)) {
        if (CountsForKind(file, sizeKind))
            total += SizeValue(file.attribute(kSize));
    }
    return total;
}

} // namespace

int ServerCatalogue::GetDiskCount() const {
    int count = 0;
    for (const XmlNode& folder : root().selectAll(kFolder)) {
        if (folder.attribute(kType) == kDisk)
            ++count;
    }
    return count;
}

QString ServerCatalogue::GetDiskName(int index) const {
    const XmlNode folder = root().selectAll(kFolder).at(index);
    return folder.attribute(kType) == kDisk ? folder.attribute(kName) : QString();
}

QString ServerCatalogue::FileFolderPart(const XmlNode& file) {
    const int kind = file.attribute(kTranstype) == kServer ? kServerPathKind : kLocalPathKind;
    return SplitPath(kind, kFolderPart, file.attribute(kPath));
}

XmlNode ServerCatalogue::FindFolder(const QString& serverPath) const {
    return root().selectFirst(ServerPathXPath(serverPath, false));
}

XmlNode ServerCatalogue::FindFile(const QString& serverPath) const {
    return root().selectFirst(ServerPathXPath(serverPath, true));
}

const std::optional<XmlNodeList>& ServerCatalogue::collection(const QString& serverPath, bool files,
                                                              bool allDescendants) const {
    const CollectionCache::Key key{TrimServerPath(serverPath), files, allDescendants};
    if (const std::optional<XmlNodeList>* cached = cache_.find(key))
        return *cached;
    const XmlNode folder = FindFolder(key.path);
    std::optional<XmlNodeList> walk;
    if (folder) {
        const QString& tag = files ? kFile : kFolder;
        walk = allDescendants ? folder.descendants(tag) : folder.selectAll(tag);
    }
    return cache_.store(key, std::move(walk));
}

int ServerCatalogue::GetServerListFolderCount(const QString& serverPath, bool isChild) const {
    const std::optional<XmlNodeList>& walk = collection(serverPath, false, isChild);
    return walk ? walk->count() : -1;
}

int ServerCatalogue::GetServerListFileCount(const QString& serverPath, bool isChild) const {
    const std::optional<XmlNodeList>& walk = collection(serverPath, true, isChild);
    return walk ? walk->count() : -1;
}

QString ServerCatalogue::GetServerListFolderItem(const QString& serverPath, bool isChild,
                                                 const QString& dataName, int index) const {
    const std::optional<XmlNodeList>& walk = collection(serverPath, false, isChild);
    return walk ? ItemField(walk->at(index), false, dataName) : QString();
}

QString ServerCatalogue::GetServerListFileItem(const QString& serverPath, bool isChild,
                                               const QString& dataName, int index) const {
    const std::optional<XmlNodeList>& walk = collection(serverPath, true, isChild);
    return walk ? ItemField(walk->at(index), true, dataName) : QString();
}

double ServerCatalogue::GetServerPathFileSize(const QString& sizeKind,
                                              const QString& serverPath) const {
    if (!IsSizeKind(sizeKind))
        return 0.0;
    const XmlNode folder = FindFolder(TrimServerPath(serverPath));
    return folder ? SizeBelow(folder, sizeKind) : -1.0;
}

double ServerCatalogue::GetServerAllFilesize(const QString& sizeKind) const {
    if (!IsSizeKind(sizeKind))
        return 0.0;
    // Each disk element is summed itself, so a disk whose name no path can address (a "/" in
    // it, a non-disk folder before it) adds its files rather than a "missing" -1.0.
    double total = 0.0;
    for (const XmlNode& folder : root().selectAll(kFolder)) {
        if (folder.attribute(kType) == kDisk)
            total += SizeBelow(folder, sizeKind);
    }
    return total;
}

NodePathText ServerCatalogue::NodePath(const XmlNode& node) {
    if (node.isNull())
        return {};
    NodePathText path{NameStep(node.name(), node.attribute(kName)), ParentPath(node)};
    for (XmlNode up = node.parent(); up; up = up.parent()) {
        const QString name = up.attribute(kName);
        if (name.isEmpty())
            break;
        path.xpath.prepend(NameStep(kFolder, name) + '/');
    }
    return path;
}

ChildMatch ServerCatalogue::FindChildByName(const XmlNode& parent, const QString& name) {
    for (const XmlNode& child : parent.selectAll(QStringLiteral("*"))) {
        if (child.attribute(kName) != name)
            continue;
        return child.attribute(kTranstype).isEmpty() ? ChildMatch::WithoutTranstype
                                                     : ChildMatch::WithTranstype;
    }
    return ChildMatch::None;
}
