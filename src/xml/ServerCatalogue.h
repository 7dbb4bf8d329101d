#pragma once

#include "xml/CollectionCache.h"
#include "xml/DocumentHolder.h"
#include "xml/XmlNode.h"

#include <QString>
#include <QtGlobal>

class ChangeJournal;
class Prompter;
struct ControlSettings;

// Completion codes of the catalogue load (reported through OnXMLLoadCompleat).
inline constexpr qint16 kCatalogueLoaded = 0;
inline constexpr qint16 kCatalogueBadStatus = -2000;    // status other than 200
inline constexpr qint16 kCatalogueNoSession = -100;     // session could not be opened
inline constexpr qint16 kCatalogueNoAddress = -101;     // address could not be opened
inline constexpr qint16 kCatalogueCannotCreate = -2001; // temporary file not created
inline constexpr qint16 kCatalogueWriteFailed = -2002;  // write to the temporary file failed
inline constexpr qint16 kCatalogueOtherFailure = -2003; // any other fetch failure (cut body, ...)
inline constexpr qint16 kCatalogueNotLoaded = -2004;    // the document did not load

// The deepest nesting a catalogue may have, its root element counted as 1: a disk folder is
// at 2, and 4,094 folder levels fit below it. A deeper catalogue does not load, so nothing
// built from it (the tree, its view, a folder download) has to cope with unbounded depth.
inline constexpr int kMaxCatalogueDepth = 4096;

// Result of a path rewrite whose folder or file does not exist.
inline constexpr qint16 kCatalogueTargetMissing = -94;

// What FindChildByName met first under that name.
enum class ChildMatch { WithTranstype = 1, WithoutTranstype = 2, None = 3 };

// An element's place for journal records and the item query.
struct NodePathText {
    QString xpath;      // FOLDER[@name="disk"]/.../FILE[@name="f"], from the root element
    QString parentPath; // "disk/folder/": the ancestors' names, each followed by "/"
};

// Where CollectDeletes hands its delete records. The real one appends to the change journal's
// DELETELIST; the walk notes recordCount() first and truncate()s back to it on failure.
class DeleteRecordSink {
public:
    virtual ~DeleteRecordSink() = default;
    virtual int recordCount() const = 0;
    // False when the record was not appended.
    virtual bool add(const QString& path, const QString& name, const QString& size,
                     const QString& folderPath, const QString& query) = 0;
    virtual void truncate(int keep) = 0;
};

// The server catalogue: the MORVEXXML document that is the one model of the server side.
// Folders are addressed by server paths (see ServerPath.h), which match names exactly.
// Queries answer -1, "" or -1.0 when the folder is missing or nothing is loaded, never throw.
// Every change of the document goes through this class (load, inserts, attribute edits,
// removals), which drops the cached collections that the item queries read by index.
// Thread: UI thread only; handles it hands out are valid until the next change.
class ServerCatalogue {
public:
    ServerCatalogue() = default;
    ServerCatalogue(const ServerCatalogue&) = delete;
    ServerCatalogue& operator=(const ServerCatalogue&) = delete;
    ServerCatalogue(ServerCatalogue&&) = default;
    ServerCatalogue& operator=(ServerCatalogue&&) = default;

    // --- Loading

    // Takes settings.Charset (upper-cased) and InitDiskName, fetches ServerFileListXML and
    // loads it; without a location, or for an empty file, the default document with one empty
    // disk folder. Returns kCatalogueLoaded or a failure code above; the fetched file is gone
    // afterwards in every case.
    qint16 Load(ControlSettings& settings, Prompter& prompter);
    // Parses the downloaded file at `path` (empty: none) and deletes it; a missing or empty
    // file gives the default document. False, with one message shown, when nothing loaded
    // (not well-formed, or nested deeper than kMaxCatalogueDepth); the previous document
    // then stays.
    bool LoadFile(const QString& path, Prompter& prompter);
    bool isLoaded() const { return !holder_.document.isEmpty(); }
    // Moves on with every change of the document (a load included).
    quint64 revision() const { return revision_; }
    XmlNode root() const { return holder_.root(); }
    const QString& diskName() const { return diskName_; }
    const QString& encodingName() const { return encodingName_; }

    // The document element as XML text; empty when nothing is loaded.
    QString Xml() const { return DocumentText(holder_); }
    // What AllXML hands to script: a declaration naming `charset`, CR LF, then Xml(); empty
    // when Xml() is empty.
    QString AllXml(const QString& charset) const;
    // Writes AllXml(charset) in the page's character set; false when the file is not written.
    bool SaveToFile(const QString& path, const QString& charset) const;

    // --- Queries (the script methods of the same names)

    int GetDiskCount() const;
    QString GetDiskName(int index) const;
    // Folders (files) in the folder at `serverPath` (trimmed): direct children, or every
    // descendant when `isChild` is true. -1 when the folder is missing.
    int GetServerListFolderCount(const QString& serverPath, bool isChild) const;
    int GetServerListFileCount(const QString& serverPath, bool isChild) const;
    // Field `dataName` of element `index` of that collection; "" when out of range.
    QString GetServerListFolderItem(const QString& serverPath, bool isChild,
                                    const QString& dataName, int index) const;
    QString GetServerListFileItem(const QString& serverPath, bool isChild, const QString& dataName,
                                  int index) const;
    // Sum of the file sizes below the folder (trimmed path), by kind "all", "server" or
    // "local"; 0.0 for another kind, -1.0 when the folder is missing.
    double GetServerPathFileSize(const QString& sizeKind, const QString& serverPath) const;
    // The same sum over every disk folder; 0.0 without disks.
    double GetServerAllFilesize(const QString& sizeKind) const;

    // The folder (file) that `serverPath` names, taken as written (not trimmed).
    XmlNode FindFolder(const QString& serverPath) const;
    XmlNode FindFile(const QString& serverPath) const;
    static NodePathText NodePath(const XmlNode& node);
    // The "path" that script reads of a FILE: its `path` up to and including the last "/" of
    // a server file, or the last local separator of any other kind (LocalPath.h); the whole
    // path in upper case when it has no separator.
    static QString FileFolderPart(const XmlNode& file);
    // The first child of `parent` named `name` (exact), by whether it carries a transtype.
    static ChildMatch FindChildByName(const XmlNode& parent, const QString& name);

    // --- Edits

    // Sets the path of the file at `dropXmlPath` (file form, not trimmed) when it has one.
    // 0, or kCatalogueTargetMissing.
    qint16 SetServerReplacePathfile(const QString& dropXmlPath, const QString& newFilePath);
    // In every "server" file below the folder `oldPath` (not trimmed), replaces each
    // occurrence of oldPath in its path by newPath. 0, or kCatalogueTargetMissing.
    qint16 SetServerReplacePathAllfile(const QString& oldPath, const QString& newPath);

    // A new FOLDER carrying only `name`, not yet placed; empty, after a message, on failure.
    XmlNode CreateFolderElement(const QString& name, Prompter& prompter);
    // Places `folder` before the first FILE child of `parent` and returns the number of
    // FOLDER children of `parent` minus 1; -1 when it cannot be placed.
    int InsertFolder(const XmlNode& parent, const XmlNode& folder);
    // A new FILE with path, name, transtype, size ("%.0f"), type and modifydate in that order,
    // not yet placed; empty, after a message, on failure.
    XmlNode CreateFileElement(const QString& path, const QString& name, const QString& transtype,
                              double size, const QString& type, const QString& modifydate,
                              Prompter& prompter);
    // Appends `file` as the last child of `folder`; empty when it cannot be placed.
    XmlNode AppendFile(const XmlNode& folder, const XmlNode& file);
    // Sets attribute `name`, creating it when absent.
    bool SetAttribute(const XmlNode& node, const QString& name, const QString& value);
    // Changes attribute `name` only when the node already has it.
    bool SetExistingAttribute(const XmlNode& node, const QString& name, const QString& value);
    // Removes a folder or file with everything below it.
    bool RemoveEntry(const XmlNode& node);
    // Moves `node` before its sibling `before`; false when they are not siblings.
    bool MoveBefore(const XmlNode& node, const XmlNode& before);
    // Moves a FOLDER or FILE with everything below it into the FOLDER `folder`: a folder
    // before the first file there, a file last. False, with nothing changed, when either is
    // not such an element or `folder` is `node` or lies below it.
    bool MoveInto(const XmlNode& node, const XmlNode& folder);
    // Renames the FOLDER or FILE `node` inside a folder (never a top-level folder) to `name`
    // and appends its RENAMELIST record: oldPath and newPath are its server path before and
    // after ("disk/a/old", "disk/a/new"), Query its XPath under the new name; a file adds its
    // folder path ("disk/a/") as xmlPath and JournalFileKind as type. False, with the name
    // as it was and nothing recorded, when the node cannot be renamed or the record is refused.
    bool RenameEntry(const XmlNode& node, const QString& name, ChangeJournal& journal,
                     Prompter& prompter);
    // The type of a rename or drag record of `file`: "real" for a file on the server
    // (transtype "server"), "virtual" for any other, as the item query calls it "local".
    static QString JournalFileKind(const XmlNode& file);

    // Walks everything below `folder` depth first: every file's size is added to `total`,
    // every "server" file gets a delete record. When a record is refused the walk stops, the
    // records it appended are taken back, `total` is as it was and the result is false.
    bool CollectDeletes(const XmlNode& folder, double& total, DeleteRecordSink& sink) const;
    bool CollectDeletes(const XmlNode& folder, double& total, ChangeJournal& journal,
                        Prompter& prompter) const;
    // Deletes a folder or file the way the server pane does: records as CollectDeletes (a
    // file records itself), then removes it. On a refused record nothing is removed, nothing
    // stays recorded and `total` is unchanged.
    bool DeleteEntry(const XmlNode& node, double& total, ChangeJournal& journal,
                     Prompter& prompter);
    bool DeleteEntry(const XmlNode& node, double& total, DeleteRecordSink& sink);

private:
    const std::optional<XmlNodeList>& collection(const QString& serverPath, bool files,
                                                 bool allDescendants) const;
    void changed() {
        cache_.clear();
        ++revision_;
    }

    DocumentHolder holder_;
    QString diskName_;
    QString encodingName_;
    mutable CollectionCache cache_;
    quint64 revision_ = 0;
};
