#include "panes/local/LocalOrder.h"

#include <algorithm>

namespace {

// Compares digit runs by value (leading zeros aside) and everything else by character,
// letter case ignored.
int naturalCompare(const QString& a, const QString& b) {
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            const qsizetype startA = i, startB = j;
            while (i < a.size() && a[i].isDigit())
                ++i;
            while (j < b.size() && b[j].isDigit())
                ++j;
            QStringView runA = QStringView(a).mid(startA, i - startA);
            QStringView runB = QStringView(b).mid(startB, j - startB);
            while (runA.size() > 1 && runA.front() == u'0')
                runA = runA.mid(1);
            while (runB.size() > 1 && runB.front() == u'0')
                runB = runB.mid(1);
            if (runA.size() != runB.size())
                return runA.size() < runB.size() ? -1 : 1;
            if (const int order = runA.compare(runB))
                return order;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j] ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    return 0;
}

} // namespace

int NaturalCompare(const QString& a, const QString& b) {
    const int folded = naturalCompare(a.toCaseFolded(), b.toCaseFolded());
    return folded != 0 ? folded : naturalCompare(a, b);
}

void SortLocalEntries(std::vector<LocalEntry>& entries) {
    std::vector<QString> keys;
    keys.reserve(entries.size());
    for (const LocalEntry& entry : entries)
        keys.push_back(entry.name.toCaseFolded());
    std::vector<std::size_t> order(entries.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (entries[a].isFolder != entries[b].isFolder)
            return entries[a].isFolder;
        const int folded = naturalCompare(keys[a], keys[b]);
        return folded != 0 ? folded < 0 : naturalCompare(entries[a].name, entries[b].name) < 0;
    });
    std::vector<LocalEntry> sorted;
    sorted.reserve(entries.size());
    for (std::size_t index : order)
        sorted.push_back(std::move(entries[index]));
    entries = std::move(sorted);
}
