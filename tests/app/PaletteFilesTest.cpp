#include "app/PaletteFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

namespace {

class PaletteFiles : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString Path(const char *name) const { return dir.filePath(QLatin1String(name)); }
    static void Put(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QByteArray Bytes(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static TPalette Sample()
    {
        return {QStringLiteral("Blues"), {{QStringLiteral("500"), ReadExactColour(u"oklch(0.6 0.2 255)")->Colour}}};
    }
};

TEST_F(PaletteFiles, WrittenInTheFormatItsSuffixNamesAndReadBack)
{
    for (const char *name : {"a.gpl", "a.css", "a.tokens.json", "a.tailwind.css", "a.ase", "a.kpl", "a.soc", "a.xml"}) {
        QString why;
        ASSERT_TRUE(WritePaletteFile(Path(name), Sample(), &why)) << why.toStdString();
        const auto back = ReadPaletteFile(Path(name), &why);
        ASSERT_TRUE(back) << why.toStdString();
        EXPECT_EQ(back->Entries.at(0).Name, QStringLiteral("500")) << name;
        EXPECT_EQ(back->Entries.at(0).Colour.Rgb8(), Sample().Entries[0].Colour.Rgb8()) << name;
    }
    // A suffix that names no format, or the wrong one: the bytes tell.
    ASSERT_TRUE(QFile::copy(Path("a.tokens.json"), Path("a.json")));
    ASSERT_TRUE(QFile::copy(Path("a.ase"), Path("a.gpl.bak")));
    ASSERT_TRUE(QFile::copy(Path("a.kpl"), Path("wrong.ase")));
    for (const char *name : {"a.json", "a.gpl.bak", "wrong.ase"})
        EXPECT_TRUE(ReadPaletteFile(Path(name))) << name;
    QString why;
    EXPECT_FALSE(WritePaletteFile(Path("a.txt"), Sample(), &why));
    EXPECT_TRUE(why.startsWith(QStringLiteral("The palette %1 could not be written: its name ends in none of .gpl, .css").arg(Path("a.txt"))));
    EXPECT_FALSE(QFileInfo::exists(Path("a.txt")));
}

// Each failure is one line that names the file and says why; nothing is read from a place that
// is no regular file, and nothing waits.
TEST_F(PaletteFiles, WhatCannotBeReadSaysWhichFileAndWhy)
{
    Put(Path("empty.gpl"), {});
    Put(Path("garbage.ase"), QByteArray(4096, '\xA5'));
    Put(Path("cut.ase"), QByteArray("ASEF\0\1\0\0\0\0\0\2\0\1\0\0\0\x40", 18));
    Put(Path("nothing.txt"), "hello\n");
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("fifo.gpl")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(Path("loop2.gpl"), Path("loop1.gpl")));
    ASSERT_TRUE(QFile::link(Path("loop1.gpl"), Path("loop2.gpl")));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.gpl")));
    {
        QFile big(Path("big.gpl"));
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        big.write("GIMP Palette\n");
        ASSERT_TRUE(big.resize(MaxPaletteBytes + 1)); // sparse: no 16 MB written
    }
    const std::pair<const char *, const char *> cases[] = {
        {"empty.gpl", "it is empty"},
        {"garbage.ase", "it is no swatch exchange file (no ASEF at its start)"},
        {"cut.ase", "it is cut short"},
        {"nothing.txt", "it is in no palette format Pigmora reads"},
        {"fifo.gpl", "it is a FIFO"},
        {"loop1.gpl", "Too many levels of symbolic links"},
        {"folder.gpl", "it is a folder"},
        {"big.gpl", "it is larger than 16 MB"},
        {"missing.gpl", "No such file or directory"},
    };
    for (const auto &[name, reason] : cases) {
        QString why;
        EXPECT_FALSE(ReadPaletteFile(Path(name), &why)) << name;
        EXPECT_EQ(why, QStringLiteral("The palette %1 could not be read: %2").arg(Path(name), QLatin1String(reason))) << name;
        EXPECT_FALSE(why.contains(QLatin1Char('\n')));
    }
}

// The write replaces a symlink in its place, never what it points to, and leaves the old file
// whole when it cannot complete.
TEST_F(PaletteFiles, WritesAreAtomicAndReplaceSymlinks)
{
    Put(Path("other.txt"), "someone else's\n");
    ASSERT_TRUE(QFile::link(Path("other.txt"), Path("link.ase")));
    ASSERT_TRUE(WritePaletteFile(Path("link.ase"), Sample()));
    EXPECT_FALSE(QFileInfo(Path("link.ase")).isSymLink());
    EXPECT_EQ(Bytes(Path("other.txt")), QByteArray("someone else's\n"));

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.gpl")));
    QString why;
    EXPECT_FALSE(WritePaletteFile(Path("folder.gpl"), Sample(), &why));
    EXPECT_TRUE(why.startsWith(QStringLiteral("The palette %1 could not be written: ").arg(Path("folder.gpl"))));
    EXPECT_TRUE(QFileInfo(Path("folder.gpl")).isDir());

    Put(Path("kept.gpl"), "GIMP Palette\n1 2 3\n");
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0500), 0);
    const bool root = ::geteuid() == 0;
    EXPECT_EQ(WritePaletteFile(Path("kept.gpl"), Sample()), root);
    ::chmod(QFile::encodeName(dir.path()).constData(), 0700);
    if (!root) {
        EXPECT_EQ(Bytes(Path("kept.gpl")), QByteArray("GIMP Palette\n1 2 3\n"));
    }
}

} // namespace
