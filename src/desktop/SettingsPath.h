#pragma once

#include <QString>

#include <sys/types.h>

// The executable's path with its extension replaced by ".ini" (appended when it has none).
QString IniNameFor(const QString &executablePath);

// Where the settings are read at start and where the close stores them.
struct TSettingsFiles {
    QString Read;
    QString Write;
};

// The settings file of an executable, for `user`:
// - beside the executable when its folder is this user's, writable, and writable by no one else
//   (no world write, no group write unless the group is the user's private one, no sticky shared
//   folder), and the file there is absent or a
//   writable regular file of this user;
// - otherwise `configHome`/pigmora/<name>.ini, the folder created with mode 0700. A file left at
//   the old place `configHome`/<name>.ini is moved there first, once.
// A readable regular file beside the executable that cannot be written (a read-only copy or
// install) is read as long as no per-user file exists yet. A symlink, folder, FIFO or device in
// the file's place is never read or written through.
TSettingsFiles SettingsFilesFor(const QString &executablePath, const QString &configHome, uid_t user);
TSettingsFiles SettingsFilesFor(const QString &executablePath, const QString &configHome);

// Copies the settings file `from` to `to` when nothing is at `to` yet, so that a close storing
// there for the first time keeps what it does not write itself. `to` is created with mode 0600;
// a failed copy leaves no file behind.
void CopyForStore(const QString &from, const QString &to);

// $XDG_CONFIG_HOME when it is an absolute path, else ~/.config.
QString UserConfigDir();
