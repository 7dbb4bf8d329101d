#include "xml/ChangeJournal.h"

#include "common/Prompter.h"
#include "xml/NewElement.h"
#include "xml/PugiAccess.h"

#include <QCoreApplication>
#include <QLocale>
#include <QThread>

namespace {

// The fresh journal, byte for byte; whitespace-only text is dropped by the parse, so every
// list starts without children.
const QString kInitialText =
    QStringLiteral("<UDLIST>\r\n\t<DELETELIST></DELETELIST>\r\n\t<UPLOADLIST></UPLOADLIST>\r\n"
                   "<RENAMELIST></RENAMELIST>\r\n<DRAGDROPLIST></DRAGDROPLIST>\r\n"
                   "<OVERWRITEOLDLIST></OVERWRITEOLDLIST>\r\n</UDLIST>");

const QString kFile = QStringLiteral("FILE");
const QString kListPrefix = QStringLiteral("(UDList)");
const QString kOverwritePrefix = QStringLiteral("(UDList) OWList ");

const char* ListName(JournalList list) {
    switch (list) {
    case JournalList::Delete:
        return "DELETELIST";
    case JournalList::Upload:
        return "UPLOADLIST";
    case JournalList::Rename:
        return "RENAMELIST";
    case JournalList::DragDrop:
        return "DRAGDROPLIST";
    case JournalList::OverwriteOld:
        return "OVERWRITEOLDLIST";
    }
    return "";
}

JournalList MoveList(MoveKind kind) {
    return kind == MoveKind::Rename ? JournalList::Rename : JournalList::DragDrop;
}

int CacheSlot(JournalList list, RecordKind kind) {
    return static_cast<int>(list) * kRecordKindCount + static_cast<int>(kind);
}

bool OnOwningThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app == nullptr || QThread::currentThread() == app->thread();
}

// Destroys an element that was created but never placed in a list.
void Discard(const XmlNode& record) {
    pugi::xml_node raw = XmlNodeAccess::toPugi(record);
    if (raw)
        raw.parent().remove_child(raw);
}

// A new `tag` record carrying `attributes` in order, not yet placed; empty, after the message
// of the first failure, when it cannot be made.
XmlNode BuildRecord(DocumentHolder& holder, const QString& tag,
                    const QList<NewAttribute>& attributes, const QString& prefix,
                    Prompter& prompter) {
    XmlNode record = CreateElement(holder, tag, prompter);
    if (record && !SetNewAttributes(record, attributes, prefix, prompter)) {
        Discard(record);
        return {};
    }
    return record;
}

} // namespace

bool ChangeJournal::Create(Prompter& prompter) {
    Q_ASSERT(OnOwningThread());
    const bool loaded = LoadFromText(holder_, kInitialText, kJournalMessages, prompter);
    for (std::optional<QList<XmlNode>>& records : cache_)
        records.reset();
    return loaded;
}

XmlNode ChangeJournal::listElement(JournalList list) const {
    const pugi::xml_node root = XmlNodeAccess::toPugi(holder_.root());
    return XmlNodeAccess::fromPugi(root.child(ListName(list)));
}

void ChangeJournal::forget(JournalList list) const {
    for (int kind = 0; kind < kRecordKindCount; ++kind)
        cache_[CacheSlot(list, static_cast<RecordKind>(kind))].reset();
}

const QList<XmlNode>& ChangeJournal::records(JournalList list, RecordKind kind) const {
    std::optional<QList<XmlNode>>& cached = cache_[CacheSlot(list, kind)];
    if (cached)
        return *cached;
    QList<XmlNode> found;
    const XmlNode element = listElement(list);
    if (kind == RecordKind::All) {
        for (pugi::xml_node child = XmlNodeAccess::toPugi(element).first_child(); child;
             child = child.next_sibling())
            found.append(XmlNodeAccess::fromPugi(child));
    } else if (element) {
        const QString tag =
            kind == RecordKind::Folder ? QStringLiteral("FOLDER") : QStringLiteral("FILE");
        for (const XmlNode& record : element.descendants(tag))
            found.append(record);
    }
    cached = std::move(found);
    return *cached;
}

bool ChangeJournal::append(JournalList list, XmlNode record, Prompter& prompter) {
    XmlNode element = listElement(list);
    if (!element || !element.appendChild(record)) {
        Discard(record);
        prompter.message(QString(), kNoDocumentMessage);
        return false;
    }
    forget(list);
    return true;
}

bool ChangeJournal::AddDeleteRecord(const QString& path, const QString& name, const QString& size,
                                    const QString& folderPath, const QString& query,
                                    Prompter& prompter) {
    Q_ASSERT(OnOwningThread());
    QList<NewAttribute> attributes{{"path", path}, {"name", name}, {"size", size}};
    if (!folderPath.isEmpty())
        attributes.append({"type", folderPath});
    if (!query.isEmpty())
        attributes.append({"date", query, "modifydate"});
    const XmlNode record = BuildRecord(holder_, kFile, attributes, kListPrefix, prompter);
    return record && append(JournalList::Delete, record, prompter);
}

bool ChangeJournal::AddUploadRecord(const QString& path, const QString& name, const QString& size,
                                    const QString& type, const QString& date, const QString& xpath,
                                    const QString& spath, Prompter& prompter) {
    Q_ASSERT(OnOwningThread());
    const XmlNode record = BuildRecord(holder_, kFile,
                                       {{"path", path},
                                        {"name", name},
                                        {"size", size},
                                        {"type", type},
                                        {"date", date, "modifydate"},
                                        {"xpath", xpath},
                                        {"spath", spath}},
                                       kListPrefix, prompter);
    return record && append(JournalList::Upload, record, prompter);
}

bool ChangeJournal::AddMoveFileRecord(MoveKind kind, const QString& oldPath, const QString& newPath,
                                      const QString& xmlPath, const QString& query,
                                      const QString& type, Prompter& prompter) {
    Q_ASSERT(OnOwningThread());
    const XmlNode record = BuildRecord(holder_, kFile,
                                       {{"oldPath", oldPath},
                                        {"newPath", newPath},
                                        {"xmlPath", xmlPath},
                                        {"Query", query},
                                        {"type", type}},
                                       kListPrefix, prompter);
    return record && append(MoveList(kind), record, prompter);
}

bool ChangeJournal::AddMoveFolderRecord(MoveKind kind, const QString& oldPath,
                                        const QString& newPath, const QString& query,
                                        Prompter& prompter) {
    Q_ASSERT(OnOwningThread());
    const XmlNode record = BuildRecord(
        holder_, QStringLiteral("FOLDER"),
        {{"oldPath", oldPath}, {"newPath", newPath}, {"Query", query}}, kListPrefix, prompter);
    return record && append(MoveList(kind), record, prompter);
}

bool ChangeJournal::AddOverwriteRecord(const QString& name, const QString& path,
                                       const QString& size, const QString& date,
                                       const QString& xmlPath, const QString& query,
                                       Prompter& prompter) {
    Q_ASSERT(OnOwningThread());
    const XmlNode record = BuildRecord(holder_, kFile,
                                       {{"name", name},
                                        {"path", path},
                                        {"size", size},
                                        {"date", date},
                                        {"xmlPath", xmlPath},
                                        {"Query", query}},
                                       kOverwritePrefix, prompter);
    return record && append(JournalList::OverwriteOld, record, prompter);
}

void ChangeJournal::truncateList(JournalList list, int keep) {
    Q_ASSERT(OnOwningThread());
    pugi::xml_node element = XmlNodeAccess::toPugi(listElement(list));
    pugi::xml_node child = element.first_child();
    for (int position = 0; child && position < keep; ++position)
        child = child.next_sibling();
    while (child) {
        const pugi::xml_node next = child.next_sibling();
        element.remove_child(child);
        child = next;
    }
    forget(list);
}

void ChangeJournal::ClearList(JournalList list) {
    truncateList(list, 0);
}

int ChangeJournal::count(JournalList list, RecordKind kind) const {
    return static_cast<int>(records(list, kind).size());
}

QString ChangeJournal::field(JournalList list, RecordKind kind, int index,
                             const QString& attribute) const {
    const QList<XmlNode>& found = records(list, kind);
    if (index < 0 || index >= found.size())
        return {};
    return found[index].attribute(attribute);
}

double ChangeJournal::numberField(JournalList list, RecordKind kind, int index,
                                  const QString& attribute) const {
    bool ok = false;
    const double value = QLocale::c().toDouble(field(list, kind, index, attribute).trimmed(), &ok);
    return ok ? value : 0.0;
}
