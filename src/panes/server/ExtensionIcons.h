#pragma once

#include <QHash>
#include <QIcon>
#include <QString>

// Small icons for server entries, judged by the name's extension through the MIME database
// (never a local file of that name), cached per extension. Each distinct icon also gets an
// index, which the "IMAGE" sort orders by. UI thread only.
class ExtensionIcons {
public:
    QIcon folderIcon() const;
    QIcon diskIcon() const;
    QIcon fileIcon(const QString& fileName);
    int fileIconIndex(const QString& fileName);

private:
    struct Entry {
        QIcon icon;
        int index = 0;
    };
    const Entry& entryFor(const QString& fileName);

    QHash<QString, Entry> byExtension_;
};
