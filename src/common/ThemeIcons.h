#pragma once

#include <QIcon>
#include <QString>

// What an icon shows, for the fallback when the desktop's icon theme has no icon by the
// name asked for (or there is no theme at all: a fresh machine, offscreen, a minimal desktop).
enum class IconKind { Folder, Drive, File };

// The first theme icon found of `names` (icon names separated by blanks: a type's own icon,
// then its generic one), else the fallback icon of `kind`. Never null once the fallbacks are
// installed. UI thread only.
QIcon ThemeIcon(const QString& names, IconKind kind);

// The icon of a file's type, judged by its name's extension only (the file is never opened).
QIcon FileTypeIcon(const QString& fileName);
// The blank-separated theme names for a MIME type: its own icon, then its generic one.
QString MimeIconNames(const QString& mimeIconName, const QString& genericIconName);

// Installed once at start-up by the layer that has a widget style (Qt's own style icons);
// empty icons until then.
void SetFallbackIcons(const QIcon& folder, const QIcon& drive, const QIcon& file);

// Looks icon names up in a full-colour theme when the desktop names none (the offscreen and
// minimal platforms), so the theme installed with the control is found.
void UseInstalledIconTheme();
