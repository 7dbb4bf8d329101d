#pragma once

#include <QList>
#include <QSet>
#include <QString>

class ServerCatalogue;
struct UploadRow;

// The local files that the user or page script queued for upload in this run of the control.
// A "local" entry that arrived inside a downloaded catalogue names a file nobody here chose;
// the upload list leaves it out, so a server cannot make the control send arbitrary files.
class QueuedUploads {
public:
    void note(const QString& fullPath) { paths_.insert(fullPath); }
    bool contains(const QString& fullPath) const { return paths_.contains(fullPath); }

private:
    QSet<QString> paths_;
};

// The upload rows of the catalogue's pending "local" entries, in document order, keeping
// only files in `queued`; `skipped` counts the entries left out.
QList<UploadRow> BuildUploadRows(const ServerCatalogue& catalogue, const QueuedUploads& queued,
                                 int& skipped);
