#pragma once

#include "xml/DocumentHolder.h"
#include "xml/XmlNode.h"

#include <QList>
#include <QString>
#include <array>
#include <optional>

class Prompter;

// The five lists of the journal, below its UDLIST root.
enum class JournalList { Delete, Upload, Rename, DragDrop, OverwriteOld };
inline constexpr int kJournalListCount = 5;

// Which records of a list a reader counts and indexes: every child, or only the FOLDER or
// only the FILE records.
enum class RecordKind { All, Folder, File };
inline constexpr int kRecordKindCount = 3;

// Where a move record goes: a rename to RENAMELIST, a drag to DRAGDROPLIST.
enum class MoveKind { Rename, Drag };

// The change journal: what the user did to the server side, kept for page script to read back
// and carry out. Writers append one record each as the last child of its list, with the
// attributes in a fixed order; readers address a list's records by index from 0 (the first
// appended) and answer the empty result (empty text, 0, 0.0) for a negative index, an index
// not below the count, a missing attribute or a journal never created.
//
// Thread: every call, writers included, happens on the UI thread. A worker hands its records
// to the UI thread (RunOnUiThread) and the UI thread appends them; no two threads ever touch
// the document.
//
// Readers cache the record set they walk, per list and kind, so reading every record by index
// is linear in the list's length; every change (write, clear, truncate, Create) drops the
// affected caches.
class ChangeJournal {
public:
    ChangeJournal() = default;
    ChangeJournal(const ChangeJournal&) = delete;
    ChangeJournal& operator=(const ChangeJournal&) = delete;
    ChangeJournal(ChangeJournal&&) = default;
    ChangeJournal& operator=(ChangeJournal&&) = default;

    // Replaces the journal by a fresh, empty one (the fixed UDLIST text with its five empty
    // lists). False, with "(Up&Cancel) loadXML에러" shown, when that text does not load; the
    // previous journal then stays. The document load reports that failure as -2006.
    bool Create(Prompter& prompter);
    bool isLoaded() const { return !holder_.document.isEmpty(); }
    // The whole journal as XML text without declaration; empty when never created.
    QString text() const { return DocumentText(holder_); }

    // Writers. Every value is stored as given (text); each returns false, after showing the
    // matching message, when the record was not appended (no journal: "현재 document 가
    // 없습니다."), and the list is then unchanged.

    // DELETELIST FILE: path, name, size, then type = folderPath and date = query, each only
    // when non-empty.
    bool AddDeleteRecord(const QString& path, const QString& name, const QString& size,
                         const QString& folderPath, const QString& query, Prompter& prompter);
    // UPLOADLIST FILE: path, name, size, type, date, xpath, spath.
    bool AddUploadRecord(const QString& path, const QString& name, const QString& size,
                         const QString& type, const QString& date, const QString& xpath,
                         const QString& spath, Prompter& prompter);
    // RENAMELIST or DRAGDROPLIST FILE: oldPath, newPath, xmlPath, Query, type ("real" or
    // "virtual").
    bool AddMoveFileRecord(MoveKind kind, const QString& oldPath, const QString& newPath,
                           const QString& xmlPath, const QString& query, const QString& type,
                           Prompter& prompter);
    // RENAMELIST or DRAGDROPLIST FOLDER: oldPath, newPath, Query.
    bool AddMoveFolderRecord(MoveKind kind, const QString& oldPath, const QString& newPath,
                             const QString& query, Prompter& prompter);
    // OVERWRITEOLDLIST FILE: name, path, size, date, xmlPath, Query.
    bool AddOverwriteRecord(const QString& name, const QString& path, const QString& size,
                            const QString& date, const QString& xmlPath, const QString& query,
                            Prompter& prompter);

    // Undo for an operation that appends several records and must take them all back when a
    // later append fails: note recordCount(list) before the first append, and on failure call
    // truncateList(list, noted) to remove every child appended since.
    int recordCount(JournalList list) const { return count(list, RecordKind::All); }
    // Removes the children of `list` from position `keep` on; nothing when keep >= the count.
    void truncateList(JournalList list, int keep);

    // Removes every record of `list`; the list element stays. Nothing without a journal.
    void ClearList(JournalList list);

    // Generic readers over one list's records of one kind.
    int count(JournalList list, RecordKind kind) const;
    // Attribute `attribute` of record `index`; empty when out of range or absent.
    QString field(JournalList list, RecordKind kind, int index, const QString& attribute) const;
    // The same attribute read as a decimal number; 0.0 when empty, not a number or absent.
    double numberField(JournalList list, RecordKind kind, int index,
                       const QString& attribute) const;

    // The script's journal readers, one for one.
    int GetServerDeleteFileCount() const;
    QString GetServerDeleteFile(int index) const;     // path
    QString GetServerDeleteFilename(int index) const; // name
    // The folder part of path: up to and including its last "/"; the whole path in upper case
    // when it has no "/".
    QString GetServerDeleteFilePath(int index) const;
    double GetServerDeleteFilesize(int index) const;      // size
    QString GetServerDeleteFileXmlPath(int index) const;  // type (catalogue folder path)
    QString GetServerDeleteFileXmlQuery(int index) const; // date (XPath query)

    int GetCurrentUploadFileCnt() const;
    // selectData "path", "name", "size", "type", "xpath" or "spath" reads that attribute,
    // "modifydate" reads date; any other text gives an empty string.
    QString GetCurrentUploadFileData(const QString& selectData, int index) const;

    int GetRenameFolderCount() const;
    QString GetRenameFolderOldPath(int index) const;
    QString GetRenameFolderNewPath(int index) const;
    int GetRenameFileCount() const;
    QString GetRenameOldFile(int index) const;  // oldPath
    QString GetRenameNewFile(int index) const;  // newPath
    QString GetRenameXmlPath(int index) const;  // xmlPath
    QString GetRenamePathType(int index) const; // type
    // The text after the last "/" of newPath (all of it without "/"): folder records when
    // gubun is "d", file records otherwise.
    QString GetRenameName(const QString& gubun, int index) const;

    int GetDragDropFolderCount() const;
    QString GetDragFolderPath(int index) const; // oldPath
    QString GetDropFolderPath(int index) const; // newPath
    int GetDragDropFileCount() const;
    QString GetDragFile(int index) const;    // oldPath
    QString GetDropFile(int index) const;    // newPath
    QString GetDropXmlPath(int index) const; // xmlPath

    int GetOldOWFileCount() const;
    QString GetOldOWFile(int index) const;     // path
    QString GetOldOWFilename(int index) const; // name
    double GetOldOWFilesize(int index) const;  // size
    QString GetOldOWXmlPath(int index) const;  // xmlPath
    QString GetOldOWFileDate(int index) const; // date
    QString GetOldOWXmlQuery(int index) const; // Query

    void RemoveDeleteList() { ClearList(JournalList::Delete); }
    void RemoveRenameList() { ClearList(JournalList::Rename); }
    void RemoveDragList() { ClearList(JournalList::DragDrop); }
    void RemoveOldOWList() { ClearList(JournalList::OverwriteOld); }

private:
    XmlNode listElement(JournalList list) const;
    const QList<XmlNode>& records(JournalList list, RecordKind kind) const;
    bool append(JournalList list, XmlNode record, Prompter& prompter);
    void forget(JournalList list) const;

    DocumentHolder holder_;
    // Record sets by list and kind; empty optional: not walked since the last change.
    mutable std::array<std::optional<QList<XmlNode>>, kJournalListCount * kRecordKindCount> cache_;
};
