#include "xml/PopupMenus.h"

#include "common/FocusPanes.h"
#include "xml/UIConfig.h"

#include <algorithm>
#include <limits>

namespace {

const QString kId = QStringLiteral("id");
const QString kSeparatorId = QStringLiteral("-");

// The leading decimal number of `text` as the C library reads it ("12ab" is 12, "ab" is 0),
// held to the range of int.
int DecimalValue(const QString& text) {
    const QString trimmed = text.trimmed();
    qsizetype end = 0;
    const bool negative = end < trimmed.size() && trimmed[end] == '-';
    if (end < trimmed.size() && (trimmed[end] == '-' || trimmed[end] == '+'))
        ++end;
    qint64 value = 0;
    constexpr qint64 limit = qint64(std::numeric_limits<int>::max()) + 1;
    for (; end < trimmed.size() && trimmed[end] >= '0' && trimmed[end] <= '9'; ++end)
        value = std::min(limit, value * 10 + (trimmed[end].unicode() - '0'));
    value = negative ? -value : std::min<qint64>(value, std::numeric_limits<int>::max());
    return static_cast<int>(value);
}

bool IsServerOnly(const XmlNode& item) {
    return item.attribute(QStringLiteral("type")) == QLatin1String("server");
}

void AppendSection(QList<PopupMenuItem>& items, const UIConfig& config, const QString& key,
                   bool serverItems) {
    for (const XmlNode& item : config.Section(key).selectAll(QStringLiteral("*"))) {
        const QString id = item.attribute(kId);
        if (id == kSeparatorId)
            items.append({true, 0, QString()});
        else if (serverItems || !IsServerOnly(item))
            items.append({false, DecimalValue(id), item.attribute(QStringLiteral("name"))});
    }
}

const char* SelectionSection(int rows) {
    if (rows <= 0)
        return UIMenu::NoSelect;
    return rows == 1 ? UIMenu::OneSelect : UIMenu::MoreSelect;
}

} // namespace

QList<PopupMenuItem> PopupMenuItems(const UIConfig& config, qint16 pane,
                                    const MenuSelection& selection) {
    QList<PopupMenuItem> items;
    switch (pane) {
    case ServerTreePane:
        AppendSection(items, config, QString::fromLatin1(UIMenu::ServerTree), true);
        break;
    case LocalTreePane:
        AppendSection(items, config, QString::fromLatin1(UIMenu::LocalTree), true);
        break;
    case ServerListPane:
    case LocalListPane: {
        const QString list =
            QString::fromLatin1(pane == ServerListPane ? UIMenu::ServerList : UIMenu::LocalList);
        // Only the server list filters; nothing selected keeps every item.
        const bool serverItems =
            pane != ServerListPane || selection.rows <= 0 || selection.serverItems;
        AppendSection(items, config, list + QLatin1String(SelectionSection(selection.rows)),
                      serverItems);
        AppendSection(items, config, list + QLatin1String(UIMenu::Common), serverItems);
        break;
    }
    default:
        break;
    }
    return items;
}

int PopupEventCode(const UIConfig& config, int command) {
    const QString id = QString::number(command);
    for (const XmlNode& item : config.Section(QString::fromLatin1(UIKey::PopupMenu))
                                   .descendants(QStringLiteral("ITEM"))) {
        if (item.attribute(kId) == id)
            return DecimalValue(item.attribute(QStringLiteral("eventcode")));
    }
    return kNoEventCode;
}
