#include "panes/server/ServerRowKind.h"

#include "xml/UIConfig.h"

ServerRowKind FileRowKind(const XmlNode& file) {
    const QString transtype = file.attribute(QStringLiteral("transtype"));
    if (transtype == QLatin1String("server"))
        return ServerRowKind::ServerFile;
    if (transtype == QLatin1String("local"))
        return ServerRowKind::LocalFile;
    return ServerRowKind::OtherFile;
}

ServerRowPalette ServerRowPalette::FromConfig(const UIConfig& config) {
    ServerRowPalette palette;
    palette.remoteText = config.Color(UIColor::ServerListRemotetxtClr);
    palette.remoteBar = config.Color(UIColor::ServerListRemoteSelbarClr);
    palette.localText = config.Color(UIColor::ServerListLocaltxtClr);
    palette.localBar = config.Color(UIColor::ServerListLocalSelbarClr);
    return palette;
}

RowColours ServerRowPalette::of(ServerRowKind kind) const {
    switch (kind) {
    case ServerRowKind::Folder:
    case ServerRowKind::ServerFile:
        return {remoteText, remoteBar};
    case ServerRowKind::LocalFile:
        return {localText, localBar};
    case ServerRowKind::Parent:
    case ServerRowKind::OtherFile:
        break;
    }
    return {};
}
