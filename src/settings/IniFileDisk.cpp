// The INI file on disk: whole-file reading, the atomic replacement, and the file and session
// classes over the in-memory text.
#include "settings/IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Larger files are not settings files; refusing them keeps memory bounded.
constexpr qint64 MaxFileSize = qint64(256) * 1024 * 1024;

std::uint64_t SyncCount = 0;

} // namespace

TFileRead ReadWholeFile(const QString &fileName, QByteArray &bytes)
{
    bytes.clear();
    const QFileInfo info(fileName);
    if (!info.exists())
        return info.isSymLink() ? TFileRead::Failed : TFileRead::Missing;
    if (!info.isFile() || info.size() > MaxFileSize)
        return TFileRead::Failed;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return TFileRead::Failed;
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || bytes.size() > MaxFileSize) {
        bytes.clear();
        return TFileRead::Failed;
    }
    return TFileRead::Ok;
}


namespace {

// The temporary file beside the name, renamed over the name itself (a symlink there included).
bool ReplaceWholeFile(const QString &fileName, const QByteArray &bytes, QString &error)
{
    const QFileInfo info(fileName);
    QTemporaryFile file(info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".XXXXXX"));
    if (!file.open()) {
        error = file.errorString();
        return false;
    }
    // The new file gets the old one's permissions, or those a new file would have.
    struct stat old {};
    const QByteArray native = QFile::encodeName(info.absoluteFilePath());
    mode_t mode = 0;
    if (::lstat(native.constData(), &old) == 0 && S_ISREG(old.st_mode)) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (file.write(bytes) != bytes.size() || !file.flush() || ::fchmod(file.handle(), mode) != 0 || ::fsync(file.handle()) != 0) {
        error = file.error() != QFileDevice::NoError ? file.errorString() : QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    ++SyncCount;
    if (::rename(QFile::encodeName(file.fileName()).constData(), native.constData()) != 0) {
        error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    file.setAutoRemove(false);
    return true;
}

} // namespace

bool WriteWholeFileAtomic(const QString &fileName, const QByteArray &bytes, TSymlinks links, QString *error)
{
    QString why;
    bool written = false;
    if (links == TSymlinks::Replace) {
        written = ReplaceWholeFile(fileName, bytes, why);
    } else {
        QSaveFile file(fileName);
        if (!file.open(QIODevice::WriteOnly)) {
            why = file.errorString();
        } else if (file.write(bytes) != bytes.size() || !file.flush()) {
            why = file.errorString();
            file.cancelWriting();
            file.commit();
        } else {
            // QSaveFile syncs the temporary file to the disk once, then renames it over the old one.
            ++SyncCount;
            written = file.commit();
            if (!written)
                why = file.errorString();
        }
    }
    if (error)
        *error = why;
    return written;
}

std::uint64_t FileSyncCount() { return SyncCount; }

TIniFile::TIniFile(QString fileName) : FFileName(std::move(fileName)) {}

QString TIniFile::ReadString(const QString &section, const QString &ident, const QString &fallback) const
{
    QByteArray bytes;
    if (ReadWholeFile(FFileName, bytes) != TFileRead::Ok)
        return fallback;
    QString value;
    return FindIniValue(bytes, section, ident, value) ? value : fallback;
}

bool TIniFile::ValueExists(const QString &section, const QString &ident) const
{
    QByteArray bytes;
    QString value;
    return ReadWholeFile(FFileName, bytes) == TFileRead::Ok && FindIniValue(bytes, section, ident, value);
}

void TIniFile::WriteString(const QString &section, const QString &ident, const QString &value)
{
    TIniFileSession session(FFileName);
    session.WriteString(section, ident, value);
    session.Commit();
}

void TIniFile::DeleteKey(const QString &section, const QString &ident)
{
    TIniFileSession session(FFileName);
    session.DeleteKey(section, ident);
    session.Commit();
}

TIniFileSession::TIniFileSession(QString fileName) : FFileName(std::move(fileName))
{
    QByteArray bytes;
    FState = ReadWholeFile(FFileName, bytes);
    if (FState == TFileRead::Ok)
        FData = TIniData::Parse(bytes);
}

void TIniFileSession::FailWrite() const
{
    throw Exception(QStringLiteral("%1 に書き込めません").arg(FFileName));
}

void TIniFileSession::CheckWritable() const
{
    // A file that cannot be read cannot be changed without losing what it holds.
    if (FState == TFileRead::Failed)
        FailWrite();
}

QString TIniFileSession::ReadString(const QString &section, const QString &ident, const QString &fallback) const
{
    return FData.ReadString(section, ident, fallback);
}

int TIniFileSession::HighestNumberedIdent(const QString &section, const QString &stem) const
{
    return FData.HighestNumberedIdent(section, stem);
}

void TIniFileSession::WriteString(const QString &section, const QString &ident, const QString &value)
{
    CheckWritable();
    if (!FData.WriteString(section, ident, value))
        FailWrite();
    FChanged = true;
}

void TIniFileSession::DeleteKey(const QString &section, const QString &ident)
{
    if (FState == TFileRead::Missing)
        return;
    CheckWritable();
    if (FData.DeleteKey(section, ident))
        FChanged = true;
}

void TIniFileSession::Commit()
{
    if (!FChanged)
        return;
    if (!WriteWholeFileAtomic(FFileName, FData.Serialize()))
        FailWrite();
    FChanged = false;
}
