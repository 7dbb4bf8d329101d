#pragma once

#include <QString>

// The three folders remembered between the user's visits.
enum class RememberedValue { LocalUserCurrentPath, ServerUserCurrentPath, DownloadPath };

// Reads the value from the user's settings file at each call; empty when it was never written
// or cannot be read.
QString GetRemembered(RememberedValue value);
// Writes the value to the user's settings file at once; a failure is silent.
void SetRemembered(RememberedValue value, const QString& text);

// The folder of the user's settings files, $XDG_CONFIG_HOME/Morvex (~/.config/Morvex); empty
// when no absolute folder can be named, never one relative to the current folder.
QString SettingsFolder();
