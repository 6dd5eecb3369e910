#include "desktop/SettingsPath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

QByteArray Native(const QString &path) { return QFile::encodeName(path); }

bool ReadOnlyFileSystem(const QString &path)
{
    struct statvfs fs {};
    return ::statvfs(Native(path).constData(), &fs) == 0 && (fs.f_flag & ST_RDONLY) != 0;
}

// A group of the user's own: named as the user, the user's primary group, no other members
// (where the umask is 002, the user's folders are writable by that group).
bool PrivateGroupOf(gid_t group, uid_t user)
{
    const struct passwd *pw = ::getpwuid(user);
    if (!pw || pw->pw_gid != group)
        return false;
    const QByteArray name = pw->pw_name;
    const struct group *gr = ::getgrgid(group);
    return gr && name == gr->gr_name && (!gr->gr_mem || !gr->gr_mem[0]);
}

// No one but its owner can add, replace or remove entries in it.
bool ClosedFolder(const struct stat &st)
{
    if (!S_ISDIR(st.st_mode) || (st.st_mode & (S_IWOTH | S_ISVTX)) != 0)
        return false;
    return (st.st_mode & S_IWGRP) == 0 || PrivateGroupOf(st.st_gid, st.st_uid);
}

enum class TBeside { Absent, Writable, ReadOnly, Unusable };

// What the file beside the executable is to `user`. Never follows a symlink in the file's place.
TBeside BesideState(const QString &file, uid_t user)
{
    struct stat folder {};
    if (::stat(Native(QFileInfo(file).absolutePath()).constData(), &folder) != 0 || !ClosedFolder(folder)
        || (folder.st_uid != user && folder.st_uid != 0))
        return TBeside::Unusable;
    const bool folderWritable = folder.st_uid == user && (user == 0 || (folder.st_mode & S_IWUSR) != 0)
                                && !ReadOnlyFileSystem(QFileInfo(file).absolutePath());

    struct stat st {};
    if (::lstat(Native(file).constData(), &st) != 0)
        return errno == ENOENT ? (folderWritable ? TBeside::Absent : TBeside::Unusable) : TBeside::Unusable;
    if (!S_ISREG(st.st_mode) || (st.st_uid != user && st.st_uid != 0))
        return TBeside::Unusable;
    const bool own = st.st_uid == user;
    const bool readable = user == 0 || (own ? (st.st_mode & S_IRUSR) != 0 : (st.st_mode & S_IROTH) != 0);
    if (!readable)
        return TBeside::Unusable;
    const bool writable = own && (user == 0 || (st.st_mode & S_IWUSR) != 0);
    return folderWritable && writable ? TBeside::Writable : TBeside::ReadOnly;
}

bool Exists(const QString &path)
{
    struct stat st {};
    return ::lstat(Native(path).constData(), &st) == 0;
}

bool RegularFileOf(const QString &path, uid_t user)
{
    struct stat st {};
    return ::lstat(Native(path).constData(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == user;
}

void MakeFolder(const QString &path)
{
    if (::mkdir(Native(path).constData(), 0700) == 0 || errno != ENOENT)
        return;
    MakeFolder(QFileInfo(path).absolutePath());
    ::mkdir(Native(path).constData(), 0700);
}

} // namespace

QString IniNameFor(const QString &executablePath)
{
    const QFileInfo info(executablePath);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > 0 ? name.left(dot) : name;
    return info.dir().filePath(stem + QStringLiteral(".ini"));
}

TSettingsFiles SettingsFilesFor(const QString &executablePath, const QString &configHome, uid_t user)
{
    const QString beside = IniNameFor(executablePath);
    const TBeside state = BesideState(beside, user);
    if (state == TBeside::Absent || state == TBeside::Writable)
        return {beside, beside};

    const QString name = QFileInfo(beside).fileName();
    const QString folder = QDir(configHome).filePath(QStringLiteral("pigmora"));
    const QString perUser = QDir(folder).filePath(name);
    MakeFolder(folder);
    const QString old = QDir(configHome).filePath(name);
    // The move never replaces a file at the new place; a failed move leaves the old file where it
    // is, and it is read from there.
    if (!Exists(perUser) && RegularFileOf(old, user)
        && ::renameat2(AT_FDCWD, Native(old).constData(), AT_FDCWD, Native(perUser).constData(), RENAME_NOREPLACE) != 0)
        return {old, perUser};
    if (!Exists(perUser) && state == TBeside::ReadOnly)
        return {beside, perUser};
    return {perUser, perUser};
}

TSettingsFiles SettingsFilesFor(const QString &executablePath, const QString &configHome)
{
    return SettingsFilesFor(executablePath, configHome, ::geteuid());
}

void CopyForStore(const QString &from, const QString &to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = source.readAll();
    const int fd = ::open(Native(to).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    if (::close(fd) != 0 || done != bytes.size())
        ::unlink(Native(to).constData());
}

QString UserConfigDir()
{
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return xdg;
    return QDir::home().filePath(QStringLiteral(".config"));
}
