#include "app/PaletteFiles.h"

#include "settings/IniFile.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What stands in the place of a file that is no regular file.
QString NotAFile(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("it is a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("it is a FIFO");
    return QStringLiteral("it is no regular file");
}

// The whole file, at most MaxPaletteBytes; empty with the reason for anything else.
std::optional<QByteArray> ReadPaletteBytes(const QString &path, QString &why)
{
    // Opened without waiting, so that a FIFO or a device in the place is refused, not read.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        why = QString::fromLocal8Bit(std::strerror(errno));
        return std::nullopt;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        why = NotAFile(status.st_mode);
        return std::nullopt;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        why = file.errorString();
        return std::nullopt;
    }
    const QString tooLarge = QStringLiteral("it is larger than 16 MB");
    if (file.size() > MaxPaletteBytes) {
        why = tooLarge;
        return std::nullopt;
    }
    // Read up to one byte past the limit: a file that grows while it is read is refused too.
    const QByteArray bytes = file.read(MaxPaletteBytes + 1);
    if (bytes.size() > MaxPaletteBytes) {
        why = tooLarge;
        return std::nullopt;
    }
    if (file.error() != QFileDevice::NoError) {
        why = file.errorString();
        return std::nullopt;
    }
    return bytes;
}

} // namespace

std::optional<TPalette> ReadPaletteFile(const QString &path, QString *why)
{
    QString reason;
    std::optional<TPalette> palette;
    if (const auto bytes = ReadPaletteBytes(path, reason)) {
        const auto named = PaletteFormatForFile(path);
        const auto seen = PaletteFormatOfBytes(*bytes);
        if (named && PaletteFormatInfo(*named).CanRead)
            palette = ReadPalette(*named, *bytes, &reason);
        // A file whose suffix names the wrong format is still read when its bytes show which.
        if (!palette && seen && seen != named) {
            QString other;
            palette = ReadPalette(*seen, *bytes, &other);
            if (!named)
                reason = other;
        }
        if (!palette && !named && !seen)
            reason = bytes->isEmpty() ? QStringLiteral("it is empty") : QStringLiteral("it is in no palette format Pigmora reads");
    }
    if (why)
        *why = palette ? QString() : QStringLiteral("The palette %1 could not be read: %2").arg(path, reason);
    return palette;
}

bool WritePaletteFile(const QString &path, const TPalette &palette, QString *why)
{
    QString reason;
    const auto format = PaletteFormatForFile(path);
    if (!format) {
        QStringList suffixes;
        for (const TPaletteFormatInfo &f : PaletteFormats())
            if (f.CanWrite)
                suffixes << QLatin1Char('.') + f.Suffixes.first();
        reason = QStringLiteral("its name ends in none of %1").arg(suffixes.join(QStringLiteral(", ")));
    } else {
        const QByteArray bytes = WritePalette(*format, palette);
        if (bytes.isEmpty())
            reason = QStringLiteral("the %1 could not be made").arg(PaletteFormatInfo(*format).Name);
        // A symlink in the place is replaced, never written through.
        else if (WriteWholeFileAtomic(path, bytes, TSymlinks::Replace, &reason))
            return true;
    }
    if (why)
        *why = QStringLiteral("The palette %1 could not be written: %2").arg(path, reason);
    return false;
}
