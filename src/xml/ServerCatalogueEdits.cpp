#include "common/Prompter.h"
#include "xml/CatalogueNames.h"
#include "xml/ChangeJournal.h"
#include "xml/NewElement.h"
#include "xml/ServerCatalogue.h"
#include "xml/ServerPath.h"

using namespace CatalogueNames;

namespace {

class JournalDeleteSink : public DeleteRecordSink {
public:
    JournalDeleteSink(ChangeJournal& journal, Prompter& prompter)
        : journal_(journal), prompter_(prompter) {}
    int recordCount() const override { return journal_.recordCount(JournalList::Delete); }
    bool add(const QString& path, const QString& name, const QString& size,
             const QString& folderPath, const QString& query) override {
        return journal_.AddDeleteRecord(path, name, size, folderPath, query, prompter_);
    }
    void truncate(int keep) override { journal_.truncateList(JournalList::Delete, keep); }

private:
    ChangeJournal& journal_;
    Prompter& prompter_;
};

// Adds the file's size to `total` and, for a "server" file, hands the sink its record.
bool RecordFile(const XmlNode& file, double& total, DeleteRecordSink& sink) {
    const double size = SizeValue(file.attribute(kSize));
    total += size;
    if (file.attribute(kTranstype) != kServer)
        return true;
    const NodePathText place = ServerCatalogue::NodePath(file);
    return sink.add(file.attribute(kPath), file.attribute(kName), CatalogueSizeText(size),
                    place.parentPath, place.xpath);
}

// Records `node` (a file itself, a folder everything below it) into `total`; on a refused
// record takes back what it appended and leaves `total` as it was.
bool RecordEntry(const XmlNode& node, double& total, DeleteRecordSink& sink) {
    if (node.isNull())
        return false;
    const int mark = sink.recordCount();
    double sum = 0.0;
    const XmlNodeList files = node.name() == kFile ? XmlNodeList({node}) : node.descendants(kFile);
    for (const XmlNode& file : files) {
        if (!RecordFile(file, sum, sink)) {
            sink.truncate(mark);
            return false;
        }
    }
    total += sum;
    return true;
}

} // namespace

qint16 ServerCatalogue::SetServerReplacePathfile(const QString& dropXmlPath,
                                                 const QString& newFilePath) {
    XmlNode file = FindFile(dropXmlPath);
    if (file.isNull())
        return kCatalogueTargetMissing;
    SetExistingAttribute(file, kPath, newFilePath);
    return 0;
}

qint16 ServerCatalogue::SetServerReplacePathAllfile(const QString& oldPath,
                                                    const QString& newPath) {
    const XmlNode folder = FindFolder(oldPath);
    if (folder.isNull())
        return kCatalogueTargetMissing;
    changed();
    for (XmlNode file : folder.descendants(kFile)) {
        if (file.attribute(kTranstype) != kServer)
            continue;
        // Replacing left to right and searching on after each inserted text ends even when
        // newPath contains oldPath.
        const QString before = file.attribute(kPath);
        const QString after = QString(before).replace(oldPath, newPath);
        if (after != before)
            file.setAttribute(kPath, after);
    }
    return 0;
}

XmlNode ServerCatalogue::CreateFolderElement(const QString& name, Prompter& prompter) {
    XmlNode folder = CreateElement(holder_, kFolder, prompter);
    if (folder && !folder.setAttribute(kName, name)) {
        prompter.message(QString(), QStringLiteral("attribute 를 생성 할 수 없습니다."));
        return {};
    }
    return folder;
}

int ServerCatalogue::InsertFolder(const XmlNode& parent, const XmlNode& folder) {
    XmlNode target = parent;
    const XmlNode firstFile = parent.selectFirst(kFile);
    if (target.insertBefore(folder, firstFile).isNull())
        return -1;
    changed();
    return parent.selectAll(kFolder).count() - 1;
}

XmlNode ServerCatalogue::CreateFileElement(const QString& path, const QString& name,
                                           const QString& transtype, double size,
                                           const QString& type, const QString& modifydate,
                                           Prompter& prompter) {
    XmlNode file = CreateElement(holder_, kFile, prompter);
    if (file && !SetNewAttributes(file,
                                  {{kPath, path},
                                   {kName, name},
                                   {kTranstype, transtype},
                                   {kSize, CatalogueSizeText(size)},
                                   {QStringLiteral("type"), type},
                                   {QStringLiteral("modifydate"), modifydate}},
                                  QString(), prompter))
        return {};
    return file;
}

XmlNode ServerCatalogue::AppendFile(const XmlNode& folder, const XmlNode& file) {
    XmlNode target = folder;
    const XmlNode placed = target.appendChild(file);
    if (placed)
        changed();
    return placed;
}

bool ServerCatalogue::SetAttribute(const XmlNode& node, const QString& name, const QString& value) {
    changed();
    XmlNode target = node;
    return target.setAttribute(name, value);
}

bool ServerCatalogue::SetExistingAttribute(const XmlNode& node, const QString& name,
                                           const QString& value) {
    return node.hasAttribute(name) && SetAttribute(node, name, value);
}

bool ServerCatalogue::RemoveEntry(const XmlNode& node) {
    XmlNode parent = node.parent();
    if (parent.isNull())
        return false;
    changed();
    return parent.removeChild(node);
}

bool ServerCatalogue::MoveBefore(const XmlNode& node, const XmlNode& before) {
    XmlNode parent = node.parent();
    if (parent.isNull() || before.isNull() || !(before.parent() == parent))
        return false;
    changed();
    return !parent.insertBefore(node, before).isNull();
}

bool ServerCatalogue::MoveInto(const XmlNode& node, const XmlNode& folder) {
    const bool isEntry = node.name() == kFolder || node.name() == kFile;
    if (!isEntry || folder.name() != kFolder)
        return false;
    for (XmlNode up = folder; up; up = up.parent()) {
        if (up == node)
            return false;
    }
    const XmlNode before = node.name() == kFolder ? folder.selectFirst(kFile) : XmlNode();
    XmlNode target = folder;
    changed();
    return !target.insertBefore(node, before).isNull();
}

bool ServerCatalogue::CollectDeletes(const XmlNode& folder, double& total,
                                     DeleteRecordSink& sink) const {
    return folder.name() == kFolder && RecordEntry(folder, total, sink);
}

bool ServerCatalogue::CollectDeletes(const XmlNode& folder, double& total, ChangeJournal& journal,
                                     Prompter& prompter) const {
    JournalDeleteSink sink(journal, prompter);
    return CollectDeletes(folder, total, sink);
}

bool ServerCatalogue::DeleteEntry(const XmlNode& node, double& total, ChangeJournal& journal,
                                  Prompter& prompter) {
    JournalDeleteSink sink(journal, prompter);
    return DeleteEntry(node, total, sink);
}

bool ServerCatalogue::DeleteEntry(const XmlNode& node, double& total, DeleteRecordSink& sink) {
    if (node.parent().isNull())
        return false;
    const int mark = sink.recordCount();
    double sum = 0.0;
    if (!RecordEntry(node, sum, sink))
        return false;
    if (!RemoveEntry(node)) {
        sink.truncate(mark);
        return false;
    }
    total += sum;
    return true;
}
