#include "common/RenameRules.h"

#include "common/RenameCodes.h"

namespace {

// What no file name on the PC may hold; control characters would also make the catalogue
// unreadable as XML.
bool isForbidden(QChar c) {
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
    return c.unicode() < 0x20 || forbidden.contains(c);
}

} // namespace

RequestedName RequestedNameOf(const QString& text) {
    if (text.isEmpty())
        return {RenameCode::EmptyName, {}};
    for (QChar c : text) {
        if (isForbidden(c))
            return {RenameCode::BadCharacter, {}};
    }
    qsizetype first = 0;
    while (first < text.size() && text[first] == QLatin1Char('.'))
        ++first;
    qsizetype end = text.size();
    while (end > first && text[end - 1] == QLatin1Char('.'))
        --end;
    if (first == end)
        return {RenameCode::EmptyName, {}};
    return {RenameCode::Renamed, text.mid(first, end - first)};
}
