#pragma once

#include <QString>

// The executable's path with its extension replaced by ".ini" (appended when it has none).
QString IniNameFor(const QString &executablePath);

// Where the settings file of an executable lives: beside it when that folder (and an existing
// file there) is writable, so a copy run from its build or a portable folder keeps its settings
// next to it; otherwise, for an installed program, the same file name in `userConfigDir`, which
// is created when missing.
QString SettingsFileFor(const QString &executablePath, const QString &userConfigDir);

// $XDG_CONFIG_HOME, else ~/.config.
QString UserConfigDir();
