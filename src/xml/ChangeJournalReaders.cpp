#include "common/Formatting.h"
#include "xml/ChangeJournal.h"

// The script's journal readers: which list, which records and which attribute each reads.

namespace {

const QString kPath = QStringLiteral("path");
const QString kName = QStringLiteral("name");
const QString kSize = QStringLiteral("size");
const QString kType = QStringLiteral("type");
const QString kDate = QStringLiteral("date");
const QString kOldPath = QStringLiteral("oldPath");
const QString kNewPath = QStringLiteral("newPath");
const QString kXmlPath = QStringLiteral("xmlPath");
const QString kQuery = QStringLiteral("Query");

// The attribute GetCurrentUploadFileData reads for selectData; empty for an unknown name.
QString UploadAttribute(const QString& selectData) {
    if (selectData == QLatin1String("modifydate"))
        return kDate;
    static const QStringList direct = {
        kPath, kName, kSize, kType, QStringLiteral("xpath"), QStringLiteral("spath")};
    return direct.contains(selectData) ? selectData : QString();
}

} // namespace

int ChangeJournal::GetServerDeleteFileCount() const {
    return count(JournalList::Delete, RecordKind::All);
}
QString ChangeJournal::GetServerDeleteFile(int index) const {
    return field(JournalList::Delete, RecordKind::All, index, kPath);
}
QString ChangeJournal::GetServerDeleteFilename(int index) const {
    return field(JournalList::Delete, RecordKind::All, index, kName);
}
QString ChangeJournal::GetServerDeleteFilePath(int index) const {
    return SplitPath(kServerPathKind, kFolderPart, GetServerDeleteFile(index));
}
double ChangeJournal::GetServerDeleteFilesize(int index) const {
    return numberField(JournalList::Delete, RecordKind::All, index, kSize);
}
QString ChangeJournal::GetServerDeleteFileXmlPath(int index) const {
    return field(JournalList::Delete, RecordKind::All, index, kType);
}
QString ChangeJournal::GetServerDeleteFileXmlQuery(int index) const {
    return field(JournalList::Delete, RecordKind::All, index, kDate);
}

int ChangeJournal::GetCurrentUploadFileCnt() const {
    return count(JournalList::Upload, RecordKind::All);
}
QString ChangeJournal::GetCurrentUploadFileData(const QString& selectData, int index) const {
    const QString attribute = UploadAttribute(selectData);
    return attribute.isEmpty() ? QString()
                               : field(JournalList::Upload, RecordKind::All, index, attribute);
}

int ChangeJournal::GetRenameFolderCount() const {
    return count(JournalList::Rename, RecordKind::Folder);
}
QString ChangeJournal::GetRenameFolderOldPath(int index) const {
    return field(JournalList::Rename, RecordKind::Folder, index, kOldPath);
}
QString ChangeJournal::GetRenameFolderNewPath(int index) const {
    return field(JournalList::Rename, RecordKind::Folder, index, kNewPath);
}
int ChangeJournal::GetRenameFileCount() const {
    return count(JournalList::Rename, RecordKind::File);
}
QString ChangeJournal::GetRenameOldFile(int index) const {
    return field(JournalList::Rename, RecordKind::File, index, kOldPath);
}
QString ChangeJournal::GetRenameNewFile(int index) const {
    return field(JournalList::Rename, RecordKind::File, index, kNewPath);
}
QString ChangeJournal::GetRenameXmlPath(int index) const {
    return field(JournalList::Rename, RecordKind::File, index, kXmlPath);
}
QString ChangeJournal::GetRenamePathType(int index) const {
    return field(JournalList::Rename, RecordKind::File, index, kType);
}
QString ChangeJournal::GetRenameName(const QString& gubun, int index) const {
    const RecordKind kind = gubun == QLatin1String("d") ? RecordKind::Folder : RecordKind::File;
    const QString newPath = field(JournalList::Rename, kind, index, kNewPath);
    return newPath.mid(newPath.lastIndexOf(QLatin1Char('/')) + 1);
}

int ChangeJournal::GetDragDropFolderCount() const {
    return count(JournalList::DragDrop, RecordKind::Folder);
}
QString ChangeJournal::GetDragFolderPath(int index) const {
    return field(JournalList::DragDrop, RecordKind::Folder, index, kOldPath);
}
QString ChangeJournal::GetDropFolderPath(int index) const {
    return field(JournalList::DragDrop, RecordKind::Folder, index, kNewPath);
}
int ChangeJournal::GetDragDropFileCount() const {
    return count(JournalList::DragDrop, RecordKind::File);
}
QString ChangeJournal::GetDragFile(int index) const {
    return field(JournalList::DragDrop, RecordKind::File, index, kOldPath);
}
QString ChangeJournal::GetDropFile(int index) const {
    return field(JournalList::DragDrop, RecordKind::File, index, kNewPath);
}
QString ChangeJournal::GetDropXmlPath(int index) const {
    return field(JournalList::DragDrop, RecordKind::File, index, kXmlPath);
}

int ChangeJournal::GetOldOWFileCount() const {
    return count(JournalList::OverwriteOld, RecordKind::All);
}
QString ChangeJournal::GetOldOWFile(int index) const {
    return field(JournalList::OverwriteOld, RecordKind::All, index, kPath);
}
QString ChangeJournal::GetOldOWFilename(int index) const {
    return field(JournalList::OverwriteOld, RecordKind::All, index, kName);
}
double ChangeJournal::GetOldOWFilesize(int index) const {
    return numberField(JournalList::OverwriteOld, RecordKind::All, index, kSize);
}
QString ChangeJournal::GetOldOWXmlPath(int index) const {
    return field(JournalList::OverwriteOld, RecordKind::All, index, kXmlPath);
}
QString ChangeJournal::GetOldOWFileDate(int index) const {
    return field(JournalList::OverwriteOld, RecordKind::All, index, kDate);
}
QString ChangeJournal::GetOldOWXmlQuery(int index) const {
    return field(JournalList::OverwriteOld, RecordKind::All, index, kQuery);
}
