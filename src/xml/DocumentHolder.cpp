#include "xml/DocumentHolder.h"

#include "common/Prompter.h"

#include <QFile>

namespace {

// Deletes the holder's temporary file when the load ends, however it ends.
class TempFileGuard {
public:
    explicit TempFileGuard(DocumentHolder& holder) : holder_(holder) {}
    ~TempFileGuard() {
        if (!holder_.tempPath.isEmpty())
            QFile::remove(holder_.tempPath);
        holder_.tempPath.clear();
    }
    TempFileGuard(const TempFileGuard&) = delete;
    TempFileGuard& operator=(const TempFileGuard&) = delete;

private:
    DocumentHolder& holder_;
};

// Takes a parsed document into the holder, or shows the one message its failure calls for.
template <typename Parse>
bool Replace(DocumentHolder& holder, const LoadMessages& messages, Prompter& prompter,
             Parse parse) {
    XmlDocument fresh;
    switch (parse(fresh)) {
    case XmlDocument::ParseStatus::Parsed:
        holder.document = std::move(fresh);
        return true;
    case XmlDocument::ParseStatus::CannotCreate:
        prompter.message(QString(), messages.create);
        return false;
    case XmlDocument::ParseStatus::NotWellFormed:
    case XmlDocument::ParseStatus::TooDeep:
        prompter.message(QString(), messages.load);
        return false;
    }
    return false;
}

// The whole file, or nothing when it cannot be read or is too large to hold.
bool ReadAll(QFile& file, QByteArray& bytes) {
    if (file.size() > kMaxDocumentBytes)
        return false;
    try {
        bytes = file.readAll();
    } catch (...) {
        return false;
    }
    return bytes.size() == file.size();
}

} // namespace

LoadOutcome LoadFromFile(DocumentHolder& holder, const QString& path, const LoadMessages& messages,
                         Prompter& prompter, int maxDepth) {
    holder.tempPath = path;
    const TempFileGuard guard(holder);
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly) || file.size() == 0)
        return LoadOutcome::NoText;
    QByteArray bytes;
    if (!ReadAll(file, bytes)) {
        prompter.message(QString(), messages.load);
        return LoadOutcome::Failed;
    }
    file.close();
    const bool parsed = Replace(holder, messages, prompter, [&bytes, maxDepth](XmlDocument& fresh) {
        return fresh.parseBytes(bytes, maxDepth);
    });
    return parsed ? LoadOutcome::Loaded : LoadOutcome::Failed;
}

bool LoadFromText(DocumentHolder& holder, const QString& text, const LoadMessages& messages,
                  Prompter& prompter) {
    return Replace(holder, messages, prompter,
                   [&text](XmlDocument& fresh) { return fresh.parseText(text); });
}

QString DocumentText(const DocumentHolder& holder) {
    return holder.root().xml();
}
