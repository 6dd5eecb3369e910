#pragma once

#include "colour/PaletteFormats.h"

#include <QString>

#include <optional>

// Palette files on disk, in the format their suffix names (see colour/PaletteFormats.h).

// Reads the palette in `path`: a regular file of at most MaxPaletteBytes, in the format its
// suffix names, else the format its bytes look like. Empty, with a one-line reason naming the
// file in `why`, for anything else (no file, a directory, a FIFO, a symlink loop, too large,
// unreadable or no palette of the format).
std::optional<TPalette> ReadPaletteFile(const QString &path, QString *why = nullptr);

// Writes the palette to `path` in the format its suffix names, atomically: the old file stays
// whole until the new one is complete, and a symlink in its place is replaced, never written
// through. False, with a one-line reason naming the file in `why`, when the suffix names no
// format that can be written or the write failed.
bool WritePaletteFile(const QString &path, const TPalette &palette, QString *why = nullptr);
