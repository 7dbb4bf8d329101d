#pragma once

#include "xml/XmlNode.h"

#include <QColor>
#include <optional>

class UIConfig;

// What a server-list row stands for. Fixed when the row is inserted, so a queued file keeps
// its colours until the next fill even after its upload changed the entry.
enum class ServerRowKind { Parent, Folder, ServerFile, LocalFile, OtherFile };

// The kind of a FILE element's row, by its transtype.
ServerRowKind FileRowKind(const XmlNode& file);

// Colours of one row; an absent colour leaves the list's default.
struct RowColours {
    std::optional<QColor> text;
    std::optional<QColor> selectionBar;
};

// The server list's row colours, read from the UI configuration once per configuration.
struct ServerRowPalette {
    QColor remoteText{QRgb(0x000000)};
    QColor remoteBar{QRgb(0x08246B)};
    QColor localText{QRgb(0x3333CC)};
    QColor localBar{QRgb(0x3333CC)};

    static ServerRowPalette FromConfig(const UIConfig& config);
    RowColours of(ServerRowKind kind) const;
};
