#include "framework/SettingsPath.h"

#include <QDir>
#include <QFileInfo>

#include <unistd.h>

namespace {

bool Writable(const QString &path)
{
    return ::access(QFile::encodeName(path).constData(), W_OK) == 0;
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

QString SettingsFileFor(const QString &executablePath, const QString &userConfigDir)
{
    const QString beside = IniNameFor(executablePath);
    const QFileInfo file(beside);
    const QFileInfo dir(file.absolutePath());
    const bool fileOk = !file.exists() || (file.isFile() && Writable(beside));
    if (dir.isDir() && Writable(dir.absoluteFilePath()) && fileOk)
        return beside;
    QDir().mkpath(userConfigDir);
    return QDir(userConfigDir).filePath(file.fileName());
}

QString UserConfigDir()
{
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return xdg;
    return QDir::home().filePath(QStringLiteral(".config"));
}
