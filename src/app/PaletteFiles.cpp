#include "app/PaletteFiles.h"

std::optional<TPalette> ReadPaletteFile(const QString &path, QString *why)
{
    if (why)
        *why = QStringLiteral("%1 could not be read").arg(path);
    return std::nullopt;
}

bool WritePaletteFile(const QString &path, const TPalette &, QString *why)
{
    if (why)
        *why = QStringLiteral("%1 could not be written").arg(path);
    return false;
}
