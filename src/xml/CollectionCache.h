#pragma once

#include "xml/XmlNode.h"

#include <QList>
#include <QString>
#include <optional>

// The last few element collections the catalogue queries walked, so reading a collection
// item by item costs one walk, not one per item. Keyed by server path, element kind and depth;
// a missing folder is remembered as an empty optional. The owner clears it on every change of
// the document, since the handles it holds may die with any edit.
class CollectionCache {
public:
    struct Key {
        QString path;
        bool files = false;
        bool allDescendants = false;
        bool operator==(const Key&) const = default;
    };

    // The cached walk for `key`, or nullptr when it is not cached.
    const std::optional<XmlNodeList>* find(const Key& key) const;
    // Stores a walk, dropping the least recently stored one when full.
    const std::optional<XmlNodeList>& store(const Key& key, std::optional<XmlNodeList> walk);
    void clear() { entries_.clear(); }

private:
    static constexpr int kCapacity = 8;
    struct Entry {
        Key key;
        std::optional<XmlNodeList> walk;
    };
    QList<Entry> entries_; // most recently stored last
};
