#pragma once

#include <QSet>
#include <QString>

// The local files that the user or page script queued for upload in this run of the control.
// A "local" entry that arrived inside a downloaded catalogue names a file nobody here chose:
// it is never sent and never opened as a local file, so a server cannot make the control
// send or run arbitrary files.
class QueuedUploads {
public:
    void note(const QString& fullPath) { paths_.insert(fullPath); }
    bool contains(const QString& fullPath) const { return paths_.contains(fullPath); }

private:
    QSet<QString> paths_;
};
