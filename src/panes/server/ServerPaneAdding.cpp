// Queueing local files for upload, and adding server files on script's word.
#include "common/Formatting.h"
#include "panes/server/ExtensionFilter.h"
#include "panes/server/LocalFileFacts.h"
#include "panes/server/ServerPaneController.h"
#include "settings/ControlSettings.h"
#include "xml/ChangeJournal.h"
#include "xml/ServerCatalogue.h"
#include "xml/ServerPath.h"

namespace {

const QString kLocal = QStringLiteral("local");

// Takes `amount` from DiskFreeSize when a limit is set; false, with nothing taken, when that
// would leave less than nothing.
bool takeDiskSpace(ControlSettings& settings, double amount) {
    if (settings.DiskFreeSize <= -1.0)
        return true;
    const double left = settings.DiskFreeSize - amount;
    if (left < 0.0)
        return false;
    settings.DiskFreeSize = left;
    return true;
}

} // namespace

void ServerPaneController::beginAddBatch() {
    if (batchDepth_++ == 0)
        overwriteAll_ = false;
}

void ServerPaneController::endAddBatch() {
    if (batchDepth_ > 0 && --batchDepth_ == 0)
        dropIndexUnlessBatch();
}

ServerPaneController::Duplicate ServerPaneController::duplicateTest(const QString& name,
                                                                    const QString& path,
                                                                    const XmlNode& folder,
                                                                    bool shown) {
    nameIndex_.prepare(folder, shown ? &list_ : nullptr);
    Duplicate result{AddCode::Accepted, nameIndex_.find(name)};
    const XmlNode& found = result.entry.element;
    if (result.entry.heldByFolder)
        result.code = AddCode::NameTaken;
    else if (found.isNull())
        result.code = AddCode::Accepted;
    else if (found.attribute(QStringLiteral("path")) == path)
        result.code = AddCode::SameFile;
    else if (found.attribute(QStringLiteral("transtype")) == kLocal)
        result.code = AddCode::AlreadyQueued;
    else if (settings_.ServerFileOverWrite == 0 || settings_.ServerFileOverWrite == 1)
        result.code = AddCode::Replaced;
    else
        result.code = AddCode::NameTaken;
    return result;
}

short ServerPaneController::askOverwrite(const OverwriteQuestion& question) {
    const quint64 before = generation_;
    const short answer = hooks_.askOverwrite(question);
    nameIndex_.invalidate();
    // The question waited for the user; a catalogue replaced meanwhile ends the batch.
    return generation_ == before ? answer : 4;
}

short ServerPaneController::replaceEntry(const Duplicate& duplicate, const QString& fullPath,
                                         double size, const QDateTime& modified) {
    const XmlNode& old = duplicate.entry.element;
    const QString date = FormatFileTime(modified, settings_.dateFormat);
    if (settings_.ServerFileOverWrite == 0 && !overwriteAll_) {
        const short answer =
            askOverwrite({old.attribute(QStringLiteral("name")), DisplaySize(old.attribute("size")),
                          old.attribute(QStringLiteral("modifydate")), SizeText(size), date});
        if (answer == 3)
            return AddCode::DeclinedOverwrite;
        if (answer != 1 && answer != 2)
            return AddCode::CancelledBatch;
        overwriteAll_ = overwriteAll_ || answer == 2;
    }
    const NodePathText place = ServerCatalogue::NodePath(old);
    if (!journal_.AddOverwriteRecord(
            old.attribute(QStringLiteral("name")), old.attribute(QStringLiteral("path")),
            CatalogueSizeText(SizeValue(old.attribute(QStringLiteral("size")))),
            old.attribute(QStringLiteral("modifydate")), place.parentPath, place.xpath, prompter_))
        return AddCode::CancelledBatch;
    catalogue_.SetExistingAttribute(old, QStringLiteral("size"), CatalogueSizeText(size));
    catalogue_.SetExistingAttribute(old, QStringLiteral("modifydate"), date);
    catalogue_.SetExistingAttribute(old, QStringLiteral("path"), fullPath);
    catalogue_.SetExistingAttribute(old, QStringLiteral("transtype"), kLocal);
    if (duplicate.entry.row >= 0)
        list_.setKind(duplicate.entry.row, ServerRowKind::LocalFile);
    return AddCode::Replaced;
}

bool ServerPaneController::queueFile(const XmlNode& folder, bool shown, const QString& fullPath,
                                     double size, const QDateTime& modified, const QString& name) {
    const XmlNode file =
        catalogue_.CreateFileElement(fullPath, name, kLocal, size, FileTypeName(name),
                                     FormatFileTime(modified, settings_.dateFormat), prompter_);
    if (file.isNull() || catalogue_.AppendFile(folder, file).isNull())
        return false;
    const int row = shown ? list_.appendFile(file, ServerRowKind::LocalFile) : -1;
    nameIndex_.appended(file, row);
    return true;
}

short ServerPaneController::addLocalFile(const QString& fullPath, ServerTreeNode* target) {
    if (!target)
        target = tree_.selected();
    LocalFileFacts facts;
    if (!target || !ReadLocalFileFacts(fullPath, facts))
        return AddCode::Unreadable;
    const bool shown = isShown(target);
    const XmlNode folder = target->element;
    const Duplicate duplicate = duplicateTest(facts.name, fullPath, folder, shown);
    short code = duplicate.code;
    if (code == AddCode::Accepted || code == AddCode::Replaced) {
        if (IsExcludedExtension(facts.name, settings_.exceptionExt))
            code = AddCode::Excluded;
        else if (!IsPermittedExtension(facts.name, settings_.OnlyExt))
            code = AddCode::NotPermitted;
        else if (settings_.OneFileLimitsize > 0.0 && facts.size > settings_.OneFileLimitsize)
            code = AddCode::TooLarge;
    }
    if (code != AddCode::Accepted && code != AddCode::Replaced) {
        dropIndexUnlessBatch();
        return code;
    }
    const double diskBefore = settings_.DiskFreeSize;
    if (code == AddCode::Replaced && settings_.DiskFreeSize > -1.0)
        settings_.DiskFreeSize += SizeValue(duplicate.entry.element.attribute("size"));
    if (!takeDiskSpace(settings_, facts.size)) {
        settings_.DiskFreeSize = diskBefore;
        dropIndexUnlessBatch();
        return AddCode::NoSpace;
    }
    if (code == AddCode::Replaced)
        code = replaceEntry(duplicate, fullPath, facts.size, facts.modified);
    else if (!queueFile(folder, shown, fullPath, facts.size, facts.modified, facts.name))
        code = AddCode::Unreadable;
    if (code == AddCode::Accepted || code == AddCode::Replaced)
        queued_.note(fullPath);
    else
        settings_.DiskFreeSize = diskBefore;
    dropIndexUnlessBatch();
    return code;
}

short ServerPaneController::addServerFile(const QString& path, const QString& name, double size,
                                          const QString& typeName, const QString& modDate) {
    if (path.isEmpty())
        return ServerFileCode::NoPath;
    if (name.isEmpty())
        return ServerFileCode::NoName;
    if (!(size >= 1.0))
        return ServerFileCode::BadSize;
    ServerTreeNode* target = tree_.selected();
    if (!target)
        return ServerFileCode::NotAdded;
    const short duplicate = duplicateTest(name, path, target->element, true).code;
    if (duplicate == AddCode::SameFile)
        return ServerFileCode::SameFile;
    if (duplicate != AddCode::Accepted)
        return ServerFileCode::NameTaken;
    const double diskBefore = settings_.DiskFreeSize;
    if (!takeDiskSpace(settings_, size))
        return ServerFileCode::NoSpace;
    const XmlNode file = catalogue_.CreateFileElement(path, name, QStringLiteral("server"), size,
                                                      typeName, modDate, prompter_);
    if (file.isNull() || catalogue_.AppendFile(target->element, file).isNull()) {
        settings_.DiskFreeSize = diskBefore;
        return ServerFileCode::NotAdded;
    }
    nameIndex_.appended(file, list_.appendFile(file, ServerRowKind::ServerFile));
    dropIndexUnlessBatch();
    return ServerFileCode::Added;
}
