#include "xml/CollectionCache.h"

const std::optional<XmlNodeList>* CollectionCache::find(const Key& key) const {
    for (const Entry& entry : entries_) {
        if (entry.key == key)
            return &entry.walk;
    }
    return nullptr;
}

const std::optional<XmlNodeList>& CollectionCache::store(const Key& key,
                                                         std::optional<XmlNodeList> walk) {
    if (entries_.size() >= kCapacity)
        entries_.removeFirst();
    entries_.append({key, std::move(walk)});
    return entries_.last().walk;
}
