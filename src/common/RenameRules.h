#pragma once

#include <QString>

// The name a label edit asks for, judged as every view judges it before looking at the
// folder: `code` is RenameCode::Renamed and `name` the text without its leading and trailing
// dots, or the refusal (EmptyName, BadCharacter) and an empty name.
struct RequestedName {
    short code = 0;
    QString name;
};
RequestedName RequestedNameOf(const QString& text);
